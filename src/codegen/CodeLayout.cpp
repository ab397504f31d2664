#include "codegen/CodeLayout.h"


#include <algorithm>
#include <vector>

using namespace Qt::StringLiterals;

namespace codegen {

namespace {

constexpr QStringView joinText = u" & ";
constexpr QStringView breakText = u" & _";

// Width of a literal's value once quoted, without the two quotation marks.
qsizetype escapedLength(QStringView value)
{
    return value.size() + value.count(u'"');
}

// The code units from `at` that must stay together: a surrogate pair.
qsizetype unitSize(QStringView text, qsizetype at)
{
    return at + 1 < text.size() && text[at].isHighSurrogate() && text[at + 1].isLowSurrogate() ? 2 : 1;
}

qsizetype escapedUnitLength(QStringView text, qsizetype at)
{
    return text[at] == u'"' ? 2 : unitSize(text, at);
}

// Appends a literal's value quoted, quotation marks doubled.
void appendQuoted(QString &line, QStringView value)
{
    line += u'"';
    qsizetype from = 0;
    for (qsizetype quote = value.indexOf(u'"'); quote >= 0; quote = value.indexOf(u'"', quote + 1)) {
        line += value.sliced(from, quote + 1 - from);
        line += u'"';
        from = quote + 1;
    }
    line += value.sliced(from);
    line += u'"';
}

qsizetype flatLength(const Pieces &pieces)
{
    qsizetype length = 0;
    for (const CodePiece &piece : pieces) {
        switch (piece.kind) {
        case CodePiece::Kind::Code:
            length += piece.text.size();
            break;
        case CodePiece::Kind::Join:
            length += joinText.size();
            break;
        case CodePiece::Kind::Literal:
            length += 2 + escapedLength(piece.text);
            break;
        }
    }
    return length;
}

// Where a layout stopped: a piece, and within a literal the code units
// already written and the quoted width of what is left of it.
struct Position
{
    qsizetype piece = 0;
    qsizetype offset = 0;
    qsizetype escapedRest = -1; // -1: not yet measured
};

// Greedy layout of a list of pieces: every line as full as it gets. Before
// each piece, the line keeps room for the least that must follow it on the
// same line before the next chance to break, so no line ever overflows.
class LineBreaker
{
public:
    LineBreaker(const Pieces &pieces, qsizetype lineLength)
        : m_pieces(pieces), m_length(lineLength), m_needed(std::size_t(pieces.size()) + 1, 0)
    {
        for (qsizetype i = pieces.size() - 1; i >= 0; --i) {
            const CodePiece &piece = pieces.at(i);
            const qsizetype after = m_needed[std::size_t(i + 1)];
            qsizetype needed = 0;
            switch (piece.kind) {
            case CodePiece::Kind::Code:
                needed = piece.text.size() + after;
                break;
            case CodePiece::Kind::Join:
                needed = std::min(breakText.size(), joinText.size() + after);
                break;
            case CodePiece::Kind::Literal:
                needed = 2 + escapedLength(piece.text) + after;
                // A literal of two characters or more may be cut after its first.
                if (piece.text.size() > unitSize(piece.text, 0))
                    needed = std::min(needed, 2 + escapedUnitLength(piece.text, 0) + breakText.size());
                break;
            }
            m_needed[std::size_t(i)] = needed;
        }
    }

    // Writes `prefix` and the pieces from `at` on, in at most `maxLines`
    // lines (any number for -1), and returns where it stopped: at the end of
    // the pieces, or where the next line would have been one too many.
    Position run(const QString &prefix, Position at, int maxLines, QStringList &out) const
    {
        QString line;
        line.reserve(m_length + 8);
        line += prefix;
        int lines = 1;
        bool placed = false;
        const auto mayBreak = [&] { return maxLines < 0 || lines < maxLines; };
        const auto breakLine = [&] {
            line += breakText;
            out << line;
            line = QString();
            line.reserve(m_length + 8);
            ++lines;
        };

        while (at.piece < m_pieces.size()) {
            const CodePiece &piece = m_pieces.at(at.piece);
            const qsizetype after = m_needed[std::size_t(at.piece + 1)];
            switch (piece.kind) {
            case CodePiece::Kind::Code:
                line += piece.text;
                ++at.piece;
                placed = true;
                break;
            case CodePiece::Kind::Join:
                ++at.piece;
                if (line.size() + joinText.size() + after <= m_length) {
                    line += joinText;
                } else if (mayBreak() || !placed) {
                    breakLine();
                } else {
                    out << line;
                    return at;
                }
                break;
            case CodePiece::Kind::Literal: {
                const QStringView rest = QStringView(piece.text).sliced(at.offset);
                if (at.escapedRest < 0)
                    at.escapedRest = escapedLength(rest);
                // A last character cannot be cut off: what follows it has to
                // stay on its line.
                if (line.size() + 2 + at.escapedRest + after <= m_length || rest.size() == unitSize(rest, 0)) {
                    appendQuoted(line, rest);
                    at = {at.piece + 1, 0, -1};
                    placed = true;
                    break;
                }
                const bool last = !mayBreak();
                // The most of the literal that fits, one code unit or pair
                // at least, and something left for the next line.
                const qsizetype room = m_length - line.size() - 2 - (last ? 0 : breakText.size());
                qsizetype size = 0;
                qsizetype width = 0;
                while (size < rest.size()) {
                    const qsizetype unit = unitSize(rest, size);
                    const qsizetype unitWidth = escapedUnitLength(rest, size);
                    if (size > 0 && (width + unitWidth > room || size + unit >= rest.size()))
                        break;
                    size += unit;
                    width += unitWidth;
                }
                appendQuoted(line, rest.first(size));
                at.offset += size;
                at.escapedRest -= width;
                placed = true;
                if (at.offset == piece.text.size())
                    at = {at.piece + 1, 0, -1};
                if (last) {
                    out << line;
                    return at;
                }
                breakLine();
                break;
            }
            }
        }
        out << line;
        return at;
    }

    qsizetype size() const { return m_pieces.size(); }

private:
    const Pieces &m_pieces;
    qsizetype m_length;
    // The least each piece on needs on the line it starts on.
    std::vector<qsizetype> m_needed;
};

// The expression's value built up in `name`, each statement within limits.
QStringList buildVariable(const QString &name, const Pieces &pieces, LineLimits limits)
{
    const LineBreaker breaker(pieces, limits.length);
    QStringList lines;
    Position at;
    QString prefix = name + u" = "_s;
    while (at.piece < breaker.size()) {
        at = breaker.run(prefix, at, limits.continuations + 1, lines);
        prefix = name + u" = "_s + name + joinText;
    }
    return lines;
}

QString uniqueName(const QString &base, const QStringList &taken)
{
    QString name = base;
    for (int n = 2; taken.contains(name, Qt::CaseInsensitive); ++n)
        name = base + QString::number(n);
    return name;
}

} // namespace

Pieces codePiece(QString text)
{
    return {{CodePiece::Kind::Code, std::move(text)}};
}

Pieces literalPieces(QString value)
{
    return {{CodePiece::Kind::Literal, std::move(value)}};
}

Pieces messagePieces(QStringView text)
{
    Pieces pieces;
    const auto operand = [&pieces](CodePiece::Kind kind, QString operandText) {
        if (!pieces.isEmpty())
            pieces.append({CodePiece::Kind::Join, {}});
        pieces.append({kind, std::move(operandText)});
    };
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'"')
            continue;
        operand(CodePiece::Kind::Literal, QString::fromRawData(text.data() + runStart, i - runStart));
        if (c == u'\r') {
            operand(CodePiece::Kind::Code, u"vbCrLf"_s);
            ++i; // the CR and whatever follows it, normally its LF
        } else {
            operand(CodePiece::Kind::Code, u"Chr(34)"_s);
        }
        runStart = std::min(i + 1, text.size());
    }
    operand(CodePiece::Kind::Literal, QString::fromRawData(text.data() + runStart, text.size() - runStart));
    return pieces;
}

QString flatten(const Pieces &pieces)
{
    QString text;
    text.reserve(flatLength(pieces));
    for (const CodePiece &piece : pieces) {
        switch (piece.kind) {
        case CodePiece::Kind::Code:
            text += piece.text;
            break;
        case CodePiece::Kind::Join:
            text += joinText;
            break;
        case CodePiece::Kind::Literal:
            appendQuoted(text, piece.text);
            break;
        }
    }
    return text;
}

QStringList breakStatement(const Pieces &pieces, qsizetype lineLength)
{
    QStringList lines;
    LineBreaker(pieces, lineLength).run({}, {}, -1, lines);
    return lines;
}

QStringList layoutStatement(const QList<StatementPart> &statement, const QStringList &takenNames, LineLimits limits)
{
    QList<StatementPart> parts = statement;
    QStringList taken = takenNames;
    QStringList lines;
    for (;;) {
        Pieces pieces;
        for (const StatementPart &part : std::as_const(parts))
            pieces += part.pieces;
        const qsizetype length = flatLength(pieces);
        if (length <= limits.length)
            return lines << flatten(pieces);
        // Past this length no layout fits in the lines a statement may have.
        QStringList broken;
        if (length <= (limits.continuations + 1) * limits.length) {
            broken = breakStatement(pieces, limits.length);
            if (broken.size() <= limits.continuations + 1)
                return lines + broken;
        }

        // Too many continuations: the longest expression left goes into a
        // variable of its own.
        qsizetype longest = -1;
        qsizetype longestLength = 0;
        for (qsizetype i = 0; i < parts.size(); ++i) {
            const qsizetype length = flatLength(parts.at(i).pieces);
            if (!parts.at(i).variable.isEmpty() && length > longestLength) {
                longest = i;
                longestLength = length;
            }
        }
        if (longest < 0) // nothing left to move: the best there is
            return lines + (broken.isEmpty() ? breakStatement(pieces, limits.length) : broken);
        StatementPart &part = parts[longest];
        const QString name = uniqueName(part.variable, taken);
        taken << name;
        lines << u"Dim "_s + name + u" As String"_s;
        lines += buildVariable(name, part.pieces, limits);
        part = {codePiece(name), {}};
    }
}

QStringList wrapComment(const QString &prefix, QStringView value, const QString &indent, qsizetype lineLength)
{
    if (prefix.size() + value.size() <= lineLength)
        return {prefix + value};
    QStringList lines;
    QString head = prefix;
    qsizetype at = 0;
    for (;;) {
        const qsizetype room = std::max<qsizetype>(lineLength - head.size(), 2);
        if (value.size() - at <= room) {
            lines << head + value.sliced(at);
            return lines;
        }
        qsizetype end = at + room;
        if (value[end - 1].isHighSurrogate() && value[end].isLowSurrogate())
            --end;
        // A comment line that ends in " _" would run on into the next one.
        if (end - at > 2 && value[end - 1] == u'_' && value[end - 2].isSpace())
            --end;
        lines << head + value.sliced(at, end - at);
        at = end;
        head = indent;
    }
}

} // namespace codegen
