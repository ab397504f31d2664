// SPDX-License-Identifier: GPL-3.0-or-later
#include "lsp/TextDocument.h"

#include <algorithm>
#include <limits>

namespace lsp {

TextDocument::TextDocument(QString text)
    : m_text(std::move(text))
{
}

void TextDocument::index() const
{
    if (!m_lineStarts.empty())
        return;
    m_lineStarts.push_back(0);
    const QChar *data = m_text.constData();
    const qsizetype size = m_text.size();
    for (qsizetype i = 0; i < size; ++i) {
        if (data[i] == u'\r') {
            if (i + 1 < size && data[i + 1] == u'\n')
                ++i;
            m_lineStarts.push_back(i + 1);
        } else if (data[i] == u'\n') {
            m_lineStarts.push_back(i + 1);
        }
    }
}

qsizetype TextDocument::lineEnd(qsizetype line) const
{
    if (line + 1 >= qsizetype(m_lineStarts.size()))
        return m_text.size();
    qsizetype end = m_lineStarts[std::size_t(line + 1)];
    if (end > 0 && m_text[end - 1] == u'\n')
        --end;
    if (end > m_lineStarts[std::size_t(line)] && m_text[end - 1] == u'\r')
        --end;
    return end;
}

namespace {

// UTF-8 bytes of the UTF-16 unit at i (a whole pair counts at its first half).
int utf8Length(QStringView text, qsizetype i)
{
    const char16_t c = text[i].unicode();
    if (c < 0x80)
        return 1;
    if (c < 0x800)
        return 2;
    if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode()))
        return 4;
    if (QChar::isLowSurrogate(c) && i > 0 && QChar::isHighSurrogate(text[i - 1].unicode()))
        return 0;
    return 3;
}

} // namespace

qsizetype TextDocument::offsetAt(Position position, PositionEncoding encoding) const
{
    index();
    if (position.line < 0)
        return 0;
    if (position.line >= qsizetype(m_lineStarts.size()))
        return m_text.size();
    const qsizetype start = m_lineStarts[std::size_t(position.line)];
    const qsizetype end = lineEnd(position.line);
    const qsizetype character = std::max(position.character, 0);
    if (encoding == PositionEncoding::Utf16)
        return std::min(start + character, end);
    qsizetype offset = start;
    for (qsizetype bytes = 0; offset < end;) {
        const int length = utf8Length(m_text, offset);
        if (bytes + length > character)
            break;
        bytes += length;
        ++offset;
        if (length == 4)
            ++offset;
    }
    return offset;
}

Position TextDocument::positionAt(qsizetype offset, PositionEncoding encoding) const
{
    qsizetype line = 0;
    return positionAt(offset, encoding, &line);
}

Position TextDocument::positionAt(qsizetype offset, PositionEncoding encoding, qsizetype *hint) const
{
    index();
    offset = std::clamp<qsizetype>(offset, 0, m_text.size());
    const qsizetype lines = qsizetype(m_lineStarts.size());
    qsizetype line = std::clamp<qsizetype>(*hint, 0, lines - 1);
    if (m_lineStarts[std::size_t(line)] > offset || offset - m_lineStarts[std::size_t(line)] > 4096) {
        const auto after = std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), offset);
        line = qsizetype(after - m_lineStarts.begin()) - 1;
    } else {
        while (line + 1 < lines && m_lineStarts[std::size_t(line + 1)] <= offset)
            ++line;
    }
    *hint = line;
    const qsizetype start = m_lineStarts[std::size_t(line)];
    qsizetype character = offset - start;
    if (encoding == PositionEncoding::Utf8) {
        character = 0;
        for (qsizetype i = start; i < offset; ++i)
            character += utf8Length(m_text, i);
    }
    return {int(line), int(std::min<qsizetype>(character, std::numeric_limits<int>::max()))};
}

qsizetype TextDocument::lineCount() const
{
    index();
    return qsizetype(m_lineStarts.size());
}

void TextDocument::replace(qsizetype from, qsizetype to, const QString &text)
{
    // Room for what typing adds, not the tenth of a large text that QString
    // would add: megabytes kept for nothing in a large module.
    if (const qsizetype needed = m_text.size() + text.size() - (to - from); needed > m_text.capacity())
        m_text.reserve(needed + 64 * 1024);
    m_text.replace(from, to - from, text);
    if (m_lineStarts.empty())
        return;
    // The index kept up: only the starts within the edit, or next to it
    // (a CR and an LF may meet or part there), are found again.
    const qsizetype delta = text.size() - (to - from);
    const auto low = std::lower_bound(m_lineStarts.begin() + 1, m_lineStarts.end(), from);
    const auto high = std::upper_bound(low, m_lineStarts.end(), to + 1);
    for (auto i = high; i != m_lineStarts.end(); ++i)
        *i += delta;
    std::vector<qsizetype> found;
    const qsizetype size = m_text.size();
    for (qsizetype s = std::max<qsizetype>(from, 1); s <= std::min(from + text.size() + 1, size); ++s) {
        const QChar before = m_text[s - 1];
        if (before == u'\n' || (before == u'\r' && (s >= size || m_text[s] != u'\n')))
            found.push_back(s);
    }
    const auto at = m_lineStarts.erase(low, high);
    m_lineStarts.insert(at, found.begin(), found.end());
}

} // namespace lsp
