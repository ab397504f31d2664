// SPDX-License-Identifier: GPL-3.0-or-later
#include "basic/Source.h"

#include "basic/CodePage.h"

#include <QStringDecoder>

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace basic {

namespace {

// Windows-1252 between 0x80 and 0x9F; the five bytes it leaves undefined
// stand for the control characters of the same number, so that every byte
// comes back as it was.
constexpr std::array<char16_t, 32> cp1252High{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

char16_t windows1252Char(quint8 byte)
{
    return (byte >= 0x80 && byte <= 0x9F) ? cp1252High[byte - 0x80] : char16_t(byte);
}

namespace {

QString fromWindows1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        out[i] = windows1252Char(b);
    }
    return text;
}

std::optional<QByteArray> toWindows1252(QStringView text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            bytes += char(u);
            continue;
        }
        const auto *found = std::find(cp1252High.begin(), cp1252High.end(), u);
        if (found == cp1252High.end())
            return std::nullopt;
        bytes += char(0x80 + (found - cp1252High.begin()));
    }
    return bytes;
}

bool validUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

void refuseSurrogate(QStringView text)
{
    if (const auto at = loneSurrogate(text)) {
        const QString code = QString::number(text[*at].unicode(), 16).toUpper();
        throw SourceError{u"character %1 is U+%2, half of a UTF-16 surrogate pair, which is no character"_s.arg(*at + 1).arg(code)};
    }
}

} // namespace

Encoding Encoding::named(const QString &name)
{
    Encoding encoding;
    if (name.isEmpty() || name.compare(u"auto"_s, Qt::CaseInsensitive) == 0)
        return encoding;
    if (!codepage::known(name)) {
#if defined(Q_OS_WIN)
        throw SourceError{u"'%1' is no encoding that Windows knows: name a code page (windows-1251, CP850, "
                          "ISO-8859-5, SHIFT_JIS, UTF-16LE, ...)"_s.arg(name)};
#else
        throw SourceError{u"'%1' is no encoding that this system knows (iconv -l lists them)"_s.arg(name)};
#endif
    }
    encoding.m_name = name;
    return encoding;
}

Source::Source(QByteArray bytes, const Encoding &encoding) : m_bytes(std::move(bytes))
{
    if (!encoding.isAuto()) {
        m_kind = Kind::Named;
        m_encodingName = encoding.name();
        qsizetype failedAt = 0;
        auto text = codepage::decode(m_encodingName, m_bytes, &failedAt);
        if (!text)
            throw SourceError{u"byte %1 is not text in %2"_s.arg(failedAt + 1).arg(m_encodingName)};
        m_text = std::move(*text);
        if (m_text.startsWith(QChar(0xFEFF))) {
            m_text.remove(0, 1);
            m_bom = -1; // a mark in some other encoding: its bytes are found by encoding
        }
    } else if (validUtf8(m_bytes)) {
        m_kind = Kind::Utf8;
        m_bom = m_bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
        m_text = QString::fromUtf8(QByteArrayView(m_bytes).sliced(m_bom));
    } else {
        m_kind = Kind::Windows1252;
        m_text = fromWindows1252(m_bytes);
    }
    refuseSurrogate(m_text);
}

QString Source::encodingName() const
{
    switch (m_kind) {
    case Kind::Utf8:
        return m_bom ? u"UTF-8 with BOM"_s : u"UTF-8"_s;
    case Kind::Windows1252:
        return u"windows-1252"_s;
    case Kind::Named:
        break;
    }
    return m_encodingName;
}

QByteArray Source::encode(QStringView text) const
{
    switch (m_kind) {
    case Kind::Utf8:
        return text.toUtf8();
    case Kind::Windows1252:
        if (auto bytes = toWindows1252(text))
            return *bytes;
        break;
    case Kind::Named: {
        if (auto bytes = codepage::encode(m_encodingName, text))
            return *bytes;
        break;
    }
    }
    throw SourceError{u"'%1' cannot be written in %2"_s.arg(text, encodingName())};
}

std::vector<qsizetype> Source::byteOffsets(std::span<const qsizetype> positions) const
{
    std::vector<qsizetype> offsets;
    offsets.reserve(positions.size());
    qsizetype textPos = 0;
    qsizetype bytePos = m_bom > 0 ? m_bom : 0;
    if (m_kind == Kind::Named && m_bom < 0) {
        // Where the text starts after the mark in this encoding.
        bytePos = encode(u"\uFEFF").size();
    }
    for (const qsizetype target : positions) {
        const QStringView segment = QStringView(m_text).sliced(textPos, target - textPos);
        switch (m_kind) {
        case Kind::Windows1252:
            bytePos += segment.size();
            break;
        case Kind::Utf8:
            for (qsizetype i = 0; i < segment.size(); ++i) {
                const char16_t u = segment[i].unicode();
                if (u < 0x80)
                    bytePos += 1;
                else if (u < 0x800)
                    bytePos += 2;
                else if (QChar::isHighSurrogate(u) && i + 1 < segment.size() && segment[i + 1].isLowSurrogate()) {
                    bytePos += 4;
                    ++i;
                } else
                    bytePos += 3;
            }
            break;
        case Kind::Named: {
            // Only where the segment's bytes are exactly the file's own is
            // the offset sure.
            const QByteArray bytes = encode(segment);
            if (QByteArrayView(m_bytes).sliced(bytePos).first(std::min(bytes.size(), m_bytes.size() - bytePos)) != bytes)
                throw SourceError{u"the text does not convert back to the same bytes in %1"_s.arg(m_encodingName)};
            bytePos += bytes.size();
            break;
        }
        }
        textPos = target;
        offsets.push_back(bytePos);
    }
    return offsets;
}

QByteArray Source::withChanges(std::span<const Change> changes) const
{
    std::vector<qsizetype> positions;
    positions.reserve(changes.size() * 2);
    for (const Change &change : changes) {
        positions.push_back(change.from);
        positions.push_back(change.to);
    }
    const std::vector<qsizetype> offsets = byteOffsets(positions);
    QByteArray out;
    out.reserve(m_bytes.size() + 64 * qsizetype(changes.size()));
    qsizetype done = 0;
    for (std::size_t k = 0; k < changes.size(); ++k) {
        out += QByteArrayView(m_bytes).sliced(done, offsets[2 * k] - done);
        out += encode(changes[k].replacement);
        done = offsets[2 * k + 1];
    }
    out += QByteArrayView(m_bytes).sliced(done);
    return out;
}

std::optional<qsizetype> loneSurrogate(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        if (c.isSurrogate())
            return i;
    }
    return std::nullopt;
}

QString decodeText(const QByteArray &bytes, const Encoding &encoding)
{
    return Source(bytes, encoding).text();
}

} // namespace basic
