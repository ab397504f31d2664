// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/header/HeaderReader.h"

#include "tools/header/HeaderTexts.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

bool readComment(const ReadContext &c, qint32 index, ReadResult &result)
{
    const basic::Tokens &t = c.t;
    // The block is whole comment lines, read as lines: a line that ends in
    // " _" carries a comment on, but each line still reads as itself.
    const QStringView source = t.source();
    qsizetype next = t.pos(index);
    const auto nextLine = [&]() -> std::optional<QStringView> {
        if (next >= source.size())
            return std::nullopt;
        qsizetype end = next;
        while (end < source.size() && source[end] != u'\r' && source[end] != u'\n')
            ++end;
        const QStringView line = source.sliced(next, end - next);
        next = end + ((end + 1 < source.size() && source[end] == u'\r' && source[end + 1] == u'\n') ? 2 : 1);
        return line;
    };
    const auto isRule = [](QStringView comment) {
        if (!comment.startsWith(u'\''))
            return false;
        const QStringView stars = comment.sliced(1).trimmed();
        return stars.size() >= 10 && std::all_of(stars.begin(), stars.end(), [](QChar c) { return c == u'*'; });
    };
    // A value too long for its line goes on over comment lines indented
    // under its start.
    constexpr qsizetype indent = header::ValueColumn;
    const auto isContinuation = [](QStringView comment) {
        return comment.size() > indent && comment.startsWith(u'\'')
               && std::all_of(comment.begin() + 1, comment.begin() + indent, [](QChar c) { return c == u' '; });
    };
    std::optional<QStringView> line = nextLine();
    if (!line || !isRule(*line))
        return false;
    line = nextLine();
    HeaderFields fields;
    std::vector<QStringView> pieces;
    for (const header::HeaderLine &headerLine : header::headerLines()) {
        if (!line || !line->startsWith(u'\''))
            return false;
        QStringView text = line->sliced(1);
        if (text.startsWith(u' '))
            text = text.sliced(1);
        const QString &caption = headerLine.caption;
        const qsizetype blanks = headerLine.blanks;
        if (!text.startsWith(caption, Qt::CaseInsensitive))
            return false;
        QStringView value = text.sliced(caption.size());
        qsizetype spaces = 0;
        while (spaces < value.size() && value[spaces] == u' ')
            ++spaces;
        // The blanks the block lines its values up with; any more belong to
        // the value. Gathered first, so that a long value is copied once.
        pieces.clear();
        pieces.push_back(value.sliced(spaces >= blanks ? blanks : spaces));
        qsizetype size = pieces.back().size();
        std::optional<QStringView> previous = line;
        line = nextLine();
        while (line && isContinuation(*line)) {
            // The program breaks a value before the blanks between words,
            // and inside a word only when a line is full; a person's own
            // wrap stands for one space.
            const QStringView rest = line->sliced(indent);
            if (!rest.startsWith(u' ') && previous->size() < header::LineLength - header::CutWordSlack) {
                pieces.push_back(u" ");
                size += 1;
            }
            pieces.push_back(rest);
            size += rest.size();
            previous = line;
            line = nextLine();
        }
        QString &field = fields.*headerLine.field;
        field.reserve(size);
        for (const QStringView piece : pieces)
            field += piece;
    }
    if (!line || !isRule(*line))
        return false;
    result.fields = fields;
    return true;
}

} // namespace

ToolReader headerReader()
{
    return {.readComment = readComment, .sought = u"file header block"_s, .soughtAlone = u"file header block"_s};
}
