// SPDX-License-Identifier: GPL-3.0-or-later
#include "lsp/MessageReader.h"

#include <QList>

#include <utility>

namespace lsp {

MessageReader::MessageReader(qint64 maxBody, qsizetype keptPrefix)
    : m_maxBody(maxBody)
    , m_keptPrefix(keptPrefix)
{
}

namespace {

// The body's length from a header block, or -1 where it names none.
qint64 contentLength(QByteArrayView header)
{
    qint64 length = -1;
    for (const QByteArray &line : header.toByteArray().split('\n')) {
        const QByteArray trimmed = line.trimmed();
        const qsizetype colon = trimmed.indexOf(':');
        if (colon < 0)
            continue;
        if (trimmed.left(colon).trimmed().toLower() != "content-length")
            continue;
        const QByteArray value = trimmed.mid(colon + 1).trimmed();
        bool ok = false;
        const qint64 n = value.toLongLong(&ok);
        if (!ok || n < 0 || value.startsWith('+') || value.startsWith('-'))
            return -1;
        length = n;
    }
    return length;
}

} // namespace

void MessageReader::feed(QByteArrayView bytes, std::vector<Frame> &frames)
{
    while (!bytes.isEmpty()) {
        if (m_expected < 0) {
            // Only the header's end is looked for; it may straddle two reads.
            const qsizetype before = m_header.size();
            m_header.append(bytes.first(std::min<qsizetype>(bytes.size(), MaxHeader + 4 - m_header.size())));
            const qsizetype end = m_header.indexOf("\r\n\r\n");
            if (end < 0) {
                if (m_header.size() >= MaxHeader + 4) {
                    frames.push_back({Frame::Kind::BadHeader, {}, 0});
                    // Starts afresh after what was taken.
                    bytes = bytes.sliced(m_header.size() - before);
                    m_header.clear();
                    continue;
                }
                return;
            }
            const qsizetype used = end + 4 - before;
            bytes = bytes.sliced(used);
            const qint64 length = contentLength(QByteArrayView(m_header).first(end));
            m_header.clear();
            if (length < 0) {
                frames.push_back({Frame::Kind::BadHeader, {}, 0});
                continue;
            }
            m_expected = length;
            m_received = 0;
            m_body.clear();
            if (length <= m_maxBody)
                m_body.reserve(qsizetype(length));
        }
        const qint64 wanted = m_expected - m_received;
        const qsizetype take = qsizetype(std::min<qint64>(wanted, bytes.size()));
        const bool whole = m_expected <= m_maxBody;
        if (whole)
            m_body.append(bytes.first(take));
        else if (m_body.size() < m_keptPrefix)
            m_body.append(bytes.first(std::min<qsizetype>(take, m_keptPrefix - m_body.size())));
        if (!whole) {
            // Members may come in any order: what follows a huge text is kept too.
            m_tail.append(bytes.first(take).last(std::min<qsizetype>(take, m_keptPrefix)));
            if (m_tail.size() > 2 * m_keptPrefix)
                m_tail.remove(0, m_tail.size() - m_keptPrefix);
        }
        m_received += take;
        bytes = bytes.sliced(take);
        if (m_received == m_expected) {
            if (!whole)
                m_body += "\n" + std::exchange(m_tail, QByteArray());
            frames.push_back({whole ? Frame::Kind::Body : Frame::Kind::TooLarge, std::move(m_body), m_expected});
            m_body = QByteArray();
            m_expected = -1;
        }
    }
}

} // namespace lsp
