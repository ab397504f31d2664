// SPDX-License-Identifier: GPL-3.0-or-later
#include "lsp/MessageReader.h"

#include <QList>

#include <utility>

using namespace Qt::StringLiterals;

namespace lsp {

MessageReader::MessageReader(qint64 maxBody, qsizetype keptPrefix)
    : m_maxBody(maxBody)
    , m_keptPrefix(keptPrefix)
{
}

namespace {

constexpr char LengthName[] = "content-length";
constexpr qsizetype LengthNameSize = sizeof LengthName - 1;

// Where the next "Content-Length" starts, in any case, or -1.
qsizetype findLengthHeader(QByteArrayView data, qsizetype from)
{
    for (qsizetype i = from; i + LengthNameSize <= data.size(); ++i) {
        if ((data[i] | 0x20) == 'c' && qstrnicmp(data.data() + i, LengthName, LengthNameSize) == 0)
            return i;
    }
    return -1;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Where a whole "Content-Length: N" CR LF line starts in the data, or -1.
// No JSON text holds one: the name could only be in a string, and a string
// holds no raw line break.
qsizetype lengthLineIn(QByteArrayView data)
{
    for (qsizetype i = findLengthHeader(data, 0); i >= 0; i = findLengthHeader(data, i + 1)) {
        qsizetype k = i + LengthNameSize;
        while (k < data.size() && (data[k] == ' ' || data[k] == '\t'))
            ++k;
        if (k >= data.size() || data[k] != ':')
            continue;
        ++k;
        while (k < data.size() && (data[k] == ' ' || data[k] == '\t'))
            ++k;
        const qsizetype digits = k;
        while (k < data.size() && data[k] >= '0' && data[k] <= '9')
            ++k;
        if (k > digits && k + 1 < data.size() && data[k] == '\r' && data[k + 1] == '\n')
            return i;
    }
    return -1;
}

// The body's length from a header block (CR LF lines), or -1 with the
// reason and the end of the line at fault, where the search for the next
// header goes on.
qint64 contentLength(QByteArrayView header, QString *reason, qsizetype *faultEnd)
{
    qint64 length = -1;
    *faultEnd = header.size();
    for (QByteArrayView rest = header;;) {
        const qsizetype eol = rest.indexOf("\r\n");
        const QByteArrayView text = eol < 0 ? rest : rest.first(eol);
        *faultEnd = header.size() - rest.size() + text.size();
        rest = eol < 0 ? QByteArrayView() : rest.sliced(eol + 2);
        if (text.contains('\n') || text.contains('\r')) {
            *reason = u"a header line ends in LF or CR alone, not CR LF"_s;
            return -1;
        }
        const qsizetype colon = text.indexOf(':');
        if (colon <= 0) {
            *reason = u"a header line is no \"Name: value\""_s;
            return -1;
        }
        if (text.first(colon).trimmed().compare(LengthName, Qt::CaseInsensitive) != 0) {
            if (eol < 0)
                break;
            continue;
        }
        const QByteArrayView value = text.sliced(colon + 1).trimmed();
        bool ok = !value.isEmpty() && value.size() <= 18;
        for (const char c : value)
            ok = ok && c >= '0' && c <= '9';
        const qint64 n = ok ? value.toLongLong(&ok) : -1;
        if (!ok || (length >= 0 && n != length)) {
            *reason = u"Content-Length is no length: "_s
                      + QString::fromLatin1(value.first(std::min<qsizetype>(value.size(), 40)));
            return -1;
        }
        length = n;
        if (eol < 0)
            break;
    }
    if (length < 0) {
        *reason = u"a header without Content-Length"_s;
        *faultEnd = header.size();
    }
    return length;
}

} // namespace

void MessageReader::feed(QByteArrayView bytes)
{
    m_input.append(bytes);
}

void MessageReader::feed(QByteArrayView bytes, std::vector<Frame> &frames)
{
    feed(bytes);
    while (std::optional<Frame> frame = next())
        frames.push_back(std::move(*frame));
}

void MessageReader::compact()
{
    if (m_at >= m_input.size()) {
        m_input.clear();
        m_at = 0;
    } else if (m_at >= 64 * 1024) {
        m_input.remove(0, m_at);
        m_at = 0;
    }
}

std::optional<Frame> MessageReader::badHeader(const QString &reason, qsizetype skip)
{
    // Past the fault, so that the search finds the next header.
    m_at = std::min(m_at + std::max<qsizetype>(skip, 1), m_input.size());
    m_skipping = true;
    if (std::exchange(m_quiet, true))
        return std::nullopt;
    return Frame{Frame::Kind::BadHeader, {}, 0, reason};
}

void MessageReader::skipFrom(const QByteArray &bytes)
{
    m_input = bytes + QByteArrayView(m_input).sliced(m_at);
    m_at = 0;
    m_skipping = true;
    m_quiet = true;
}

void MessageReader::skipBody(const QByteArray &body)
{
    skipFrom(body.mid(1));
}

std::optional<Frame> MessageReader::dropBody()
{
    if (m_expected < 0)
        return std::nullopt;
    QByteArray kept = std::exchange(m_body, QByteArray());
    if (!m_tail.isEmpty())
        kept += "\n" + std::exchange(m_tail, QByteArray());
    Frame frame{Frame::Kind::Stalled, kept.left(m_keptPrefix), m_expected,
                u"a body of %1 bytes stopped after %2"_s.arg(m_expected).arg(m_received)};
    m_expected = -1;
    m_received = 0;
    m_bodyStarted = false;
    m_recent.clear();
    skipFrom(kept.mid(1));
    return frame;
}

MessageReader::Step MessageReader::readHeader(std::optional<Frame> &frame)
{
    if (m_skipping) {
        const qsizetype found = findLengthHeader(m_input, m_at);
        if (found < 0) {
            // Only what may be the start of the name is kept.
            m_at = std::max(m_at, m_input.size() - LengthNameSize + 1);
            compact();
            return Step::Wait;
        }
        m_at = found;
        m_skipping = false;
    }
    // Blank lines between messages are no fault.
    while (m_at < m_input.size() && isBlank(m_input[m_at]))
        ++m_at;
    const QByteArrayView rest = QByteArrayView(m_input).sliced(m_at);
    const QByteArrayView head = rest.first(std::min<qsizetype>(rest.size(), MaxHeader + 4));
    const qsizetype end = head.indexOf("\r\n\r\n");
    const qsizetype lfEnd = head.indexOf("\n\n");
    if (lfEnd >= 0 && (end < 0 || lfEnd < end)) {
        frame = badHeader(u"a header ends in LF alone, not CR LF"_s, 1);
        return Step::Again;
    }
    if (end < 0) {
        if (rest.size() >= MaxHeader + 4) {
            frame = badHeader(u"a header longer than 8 KB"_s, 1);
            return Step::Again;
        }
        compact();
        return Step::Wait;
    }
    QString reason;
    qsizetype faultEnd = 0;
    const qint64 length = contentLength(head.first(end), &reason, &faultEnd);
    if (length < 0) {
        frame = badHeader(reason, faultEnd);
        return Step::Again;
    }
    m_at += end + 4;
    m_expected = length;
    m_received = 0;
    m_bodyStarted = false;
    m_body.clear();
    m_tail.clear();
    m_recent.clear();
    if (length <= m_maxBody)
        m_body.reserve(qsizetype(length));
    return Step::Read;
}

bool MessageReader::skippedNoMessage(QByteArrayView bytes, std::optional<Frame> &frame)
{
    // A message is an object or an array: a body that starts otherwise is the
    // next frame's header or garbage, and is read as such.
    qsizetype first = 0;
    while (first < bytes.size() && isBlank(bytes[first]))
        ++first;
    if (first == bytes.size())
        return false;
    m_bodyStarted = true;
    if (bytes[first] == '{' || bytes[first] == '[')
        return false;
    const qint64 size = m_expected;
    m_expected = -1;
    m_at += first;
    m_skipping = true;
    if (!std::exchange(m_quiet, true))
        frame = Frame{Frame::Kind::BadBody, {}, size, u"a body of %1 bytes that is no JSON message"_s.arg(size)};
    return true;
}

bool MessageReader::cutAtHeaderInside(QByteArrayView bytes, qsizetype take, std::optional<Frame> &frame)
{
    // A header inside the body: its length was wrong, and the frames that
    // came after it are read from there. The body's last bytes are looked at
    // again, for a header cut between two reads.
    const QByteArray joint = m_recent + bytes.first(std::min(take, RecentBytes)).toByteArray();
    std::optional<qsizetype> found; // from the start of bytes; below 0 in the last bytes
    if (const qsizetype inJoint = lengthLineIn(joint); inJoint >= 0)
        found = inJoint - m_recent.size();
    else if (const qsizetype inBytes = lengthLineIn(bytes); inBytes >= 0)
        found = inBytes;
    if (!found) {
        m_recent.append(bytes.last(std::min(take, RecentBytes)));
        m_recent.remove(0, std::max<qsizetype>(0, m_recent.size() - RecentBytes));
        return false;
    }
    const qint64 size = m_expected;
    const QByteArray before = *found < 0 ? m_recent.sliced(m_recent.size() + *found) : QByteArray();
    m_input = before + QByteArrayView(m_input).sliced(m_at + std::max<qsizetype>(*found, 0)).toByteArray();
    m_at = 0;
    m_expected = -1;
    m_body.clear();
    m_tail.clear();
    m_recent.clear();
    if (!std::exchange(m_quiet, true))
        frame = Frame{Frame::Kind::BadBody,
                      {},
                      size,
                      u"a body of %1 bytes with the next header inside: its length was wrong"_s.arg(size)};
    return true;
}

std::optional<Frame> MessageReader::next()
{
    for (;;) {
        std::optional<Frame> fault;
        if (m_expected < 0) {
            const Step step = readHeader(fault);
            if (fault)
                return fault;
            if (step == Step::Wait)
                return std::nullopt;
            if (step == Step::Again)
                continue;
        }
        const QByteArrayView available = QByteArrayView(m_input).sliced(m_at);
        const qsizetype take = qsizetype(std::min<qint64>(m_expected - m_received, available.size()));
        const QByteArrayView bytes = available.first(take);
        if ((!m_bodyStarted && skippedNoMessage(bytes, fault))
            || (m_bodyStarted && cutAtHeaderInside(bytes, take, fault))) {
            if (fault)
                return fault;
            continue;
        }
        const bool whole = m_expected <= m_maxBody;
        if (whole)
            m_body.append(bytes);
        else if (m_body.size() < m_keptPrefix)
            m_body.append(bytes.first(std::min<qsizetype>(take, m_keptPrefix - m_body.size())));
        if (!whole) {
            // Members may come in any order: what follows a huge text is kept too.
            m_tail.append(bytes.last(std::min<qsizetype>(take, m_keptPrefix)));
            if (m_tail.size() > 2 * m_keptPrefix)
                m_tail.remove(0, m_tail.size() - m_keptPrefix);
        }
        m_received += take;
        m_at += take;
        if (m_received < m_expected) {
            compact();
            return std::nullopt;
        }
        if (!whole)
            m_body += "\n" + std::exchange(m_tail, QByteArray());
        Frame frame{whole ? Frame::Kind::Body : Frame::Kind::TooLarge, std::move(m_body), m_expected, {}};
        m_body = QByteArray();
        m_expected = -1;
        m_quiet = false;
        compact();
        return frame;
    }
}

} // namespace lsp
