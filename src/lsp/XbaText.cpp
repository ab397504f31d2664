// SPDX-License-Identifier: GPL-3.0-or-later
#include "lsp/XbaText.h"

using namespace Qt::StringLiterals;

namespace lsp {

namespace {

// The character an entity at `at` (its '&') stands for, and its length; 0
// for one that is not decoded.
std::pair<char32_t, qsizetype> entityAt(QStringView text, qsizetype at)
{
    const qsizetype semicolon = text.indexOf(u';', at);
    if (semicolon < 0 || semicolon - at > 12)
        return {0, 0};
    const QStringView name = text.sliced(at + 1, semicolon - at - 1);
    const qsizetype length = semicolon - at + 1;
    static const std::pair<QStringView, char32_t> named[]{
        {u"quot", U'"'}, {u"amp", U'&'}, {u"lt", U'<'}, {u"gt", U'>'}, {u"apos", U'\''},
    };
    for (const auto &[entity, c] : named) {
        if (name == entity)
            return {c, length};
    }
    if (name.size() < 2 || name.front() != u'#')
        return {0, 0};
    bool ok = false;
    const uint code = name.startsWith(u"#x") || name.startsWith(u"#X") ? name.sliced(2).toUInt(&ok, 16)
                                                                      : name.sliced(1).toUInt(&ok, 10);
    if (!ok || code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return {0, 0};
    return {char32_t(code), length};
}

} // namespace

std::optional<XbaText> basicOfXba(const QString &file)
{
    const qsizetype open = file.indexOf(u"<script:module"_s);
    if (open < 0)
        return std::nullopt;
    const qsizetype tagEnd = file.indexOf(u'>', open);
    if (tagEnd < 0 || file.at(tagEnd - 1) == u'/')
        return std::nullopt;
    const qsizetype close = file.indexOf(u"</script:module>"_s, tagEnd);
    if (close < 0)
        return std::nullopt;
    XbaText result;
    result.basic.reserve(close - tagEnd);
    result.fileOffsets.reserve(std::size_t(close - tagEnd) + 1);
    for (qsizetype i = tagEnd + 1; i < close;) {
        const QChar c = file.at(i);
        if (c == u'<')
            return std::nullopt; // CDATA, a comment or an element: not plain text
        if (c != u'&') {
            result.basic += c;
            result.fileOffsets.push_back(i);
            ++i;
            continue;
        }
        const auto [decoded, length] = entityAt(file, i);
        if (length == 0)
            return std::nullopt;
        const QString text = QString::fromUcs4(&decoded, 1);
        for (const QChar unit : text) {
            result.basic += unit;
            result.fileOffsets.push_back(i);
        }
        i += length;
    }
    result.fileOffsets.push_back(close);
    return result;
}

} // namespace lsp
