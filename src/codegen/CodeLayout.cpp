// SPDX-License-Identifier: GPL-3.0-or-later
#include "codegen/CodeLayout.h"

#include "codegen/CodeText.h"

#include <algorithm>
#include <deque>
#include <numeric>

using namespace Qt::StringLiterals;

namespace codegen {

namespace {

constexpr QStringView joinText = u" & ";
constexpr QStringView breakText = u" & _";

// How often `c` occurs: indexOf finds it many characters a step, where
// QStringView::count reads them one by one.
qsizetype countOf(QStringView text, QChar c)
{
    qsizetype n = 0;
    for (qsizetype at = text.indexOf(c); at >= 0; at = text.indexOf(c, at + 1))
        ++n;
    return n;
}

// Width of a literal's value once quoted, without the two quotation marks.
qsizetype escapedLength(QStringView value)
{
    return value.size() + countOf(value, u'"');
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
    for (const CodePiece &piece : pieces)
        length += piece.width;
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
template<typename Source>
class LineBreaker
{
public:
    LineBreaker(const Source &pieces, qsizetype lineLength) : m_pieces(pieces), m_length(lineLength) {}

    // The least that the pieces from `i` on need on the line they start
    // on, up to the next chance to break.
    qsizetype needed(qsizetype i) const
    {
        if (i >= m_pieces.size())
            return 0;
        const CodePiece &piece = m_pieces.at(i);
        // Its join can end the line, " & _", with an operand at least one
        // code unit wide after it.
        if (piece.joined)
            return breakText.size();
        return ownNeed(i);
    }

    // The same, the piece's own join left out.
    qsizetype ownNeed(qsizetype i) const
    {
        const CodePiece &piece = m_pieces.at(i);
        const qsizetype width = piece.width - (piece.joined ? joinText.size() : 0);
        // A literal of two characters or more may be cut after its first.
        if (piece.kind == CodePiece::Kind::Literal && piece.text.size() > unitSize(piece.text, 0)) {
            const qsizetype cut = 2 + escapedUnitLength(piece.text, 0) + breakText.size();
            return width >= cut ? cut : std::min(cut, width + needed(i + 1));
        }
        return width + needed(i + 1);
    }

    // Writes `prefix` and the pieces from `at` on, in at most `maxLines`
    // lines (any number for -1), and returns where it stopped: at the end of
    // the pieces, or where the next line would have been one too many.
    Position run(const QString &prefix, Position at, int maxLines, const LineSink &out) const
    {
        QString line;
        line.reserve(m_length + 8);
        line += prefix;
        int lines = 1;
        bool placed = false;
        const auto mayBreak = [&] { return maxLines < 0 || lines < maxLines; };
        const auto breakLine = [&] {
            line += breakText;
            out(std::move(line));
            line = QString();
            line.reserve(m_length + 8);
            ++lines;
        };

        while (at.piece < m_pieces.size()) {
            const CodePiece &piece = m_pieces.at(at.piece);
            const qsizetype after = needed(at.piece + 1);
            // A run that starts at an operand starts after its join.
            if (piece.joined && at.offset == 0 && placed) {
                if (line.size() + joinText.size() + ownNeed(at.piece) <= m_length) {
                    line += joinText;
                } else if (mayBreak()) {
                    breakLine();
                } else {
                    out(std::move(line));
                    return at;
                }
            }
            placed = true;
            if (piece.kind == CodePiece::Kind::Code) {
                line += piece.text;
                at = {at.piece + 1, 0, -1};
                continue;
            }
            const QStringView rest = QStringView(piece.text).sliced(at.offset);
            if (at.escapedRest < 0)
                at.escapedRest = at.offset == 0 ? piece.width - 2 - (piece.joined ? joinText.size() : 0)
                                                : escapedLength(rest);
            // A last character cannot be cut off: what follows it has to
            // stay on its line.
            if (line.size() + 2 + at.escapedRest + after <= m_length || rest.size() == unitSize(rest, 0)) {
                appendQuoted(line, rest);
                at = {at.piece + 1, 0, -1};
                continue;
            }
            const bool last = !mayBreak();
            // The most of the literal that fits, one code unit or pair at
            // least, and something left for the next line.
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
            if (last) {
                out(std::move(line));
                return at;
            }
            breakLine();
        }
        out(std::move(line));
        return at;
    }

    qsizetype size() const { return m_pieces.size(); }

private:
    const Source &m_pieces;
    qsizetype m_length;
};

// The expression's value built up in `name`, each statement within limits.
template<typename Source>
void buildVariable(const QString &name, const Source &pieces, LineLimits limits, const LineSink &sink)
{
    const LineBreaker<Source> breaker(pieces, limits.length);
    Position at;
    QString prefix = name + u" = "_s;
    while (at.piece < breaker.size()) {
        at = breaker.run(prefix, at, limits.continuations + 1, sink);
        prefix = name + u" = "_s + name + joinText;
    }
}

QString uniqueName(const QString &base, const QStringList &taken)
{
    QString name = base;
    for (int n = 2; taken.contains(name, Qt::CaseInsensitive); ++n)
        name = base + QString::number(n);
    return name;
}

} // namespace

CodePiece::CodePiece(Kind kind, QString text, bool joined)
    : CodePiece(kind, text, joined,
                (kind == Kind::Literal ? 2 + escapedLength(text) : text.size()) + (joined ? joinText.size() : 0))
{
}

Pieces codePiece(QString text)
{
    return {CodePiece(CodePiece::Kind::Code, std::move(text))};
}

namespace {

// Appends `text` as operands to `pieces`: literals, each CR and the character
// after it as `lineBreak` (when there is one), each quotation mark as `quote`
// (when there is one) and any other control character as its Chr code.
// The literals refer to `text` without a copy.
void appendOperands(Pieces &pieces, QStringView text, const QString *lineBreak, const QString *quote,
                    CodeOptions::Dialect dialect)
{
    const auto operand = [&pieces](CodePiece::Kind kind, QString operandText) {
        const bool joined = !pieces.isEmpty();
        // The literals hold no quotation mark where those are operands.
        const qsizetype width = kind == CodePiece::Kind::Literal
                                    ? 2 + escapedLength(operandText) + (joined ? joinText.size() : 0)
                                    : operandText.size() + (joined ? joinText.size() : 0);
        pieces.append(CodePiece(kind, std::move(operandText), joined, width));
    };
    qsizetype runStart = 0;
    for (qsizetype at = 0; at < text.size(); ++at) {
        const QChar c = text[at];
        const bool asLineBreak = lineBreak && c == u'\r';
        const bool asQuote = quote && c == u'"';
        if (!asLineBreak && !asQuote && !needsCharCode(c))
            continue;
        operand(CodePiece::Kind::Literal, QString::fromRawData(text.data() + runStart, at - runStart));
        if (asLineBreak) {
            operand(CodePiece::Kind::Code, *lineBreak);
            // The CR and whatever follows it, normally its LF.
            ++at;
        } else if (asQuote) {
            operand(CodePiece::Kind::Code, *quote);
        } else {
            operand(CodePiece::Kind::Code, charCode(c, dialect));
        }
        runStart = std::min(at + 1, text.size());
    }
    operand(CodePiece::Kind::Literal, QString::fromRawData(text.data() + runStart, text.size() - runStart));
}

bool holdsCharCode(QStringView text)
{
    return std::any_of(text.begin(), text.end(), needsCharCode);
}

const QString &vbLineBreak()
{
    static const QString text = u"vbCrLf"_s;
    return text;
}

const QString &vbQuote()
{
    static const QString text = u"Chr(34)"_s;
    return text;
}

const QString &libreOfficeLineBreak()
{
    static const QString text = u"Chr$(13) & Chr$(10)"_s;
    return text;
}

const QString &libreOfficeQuote()
{
    static const QString text = u"Chr$(34)"_s;
    return text;
}

// The pieces that messagePieces makes of a text, made in order as they are
// asked for, a few at a time: the line breaker reads them forwards, looking
// ahead no further than the next piece or two.
class TypedPieces
{
public:
    explicit TypedPieces(const TypedText &typed)
        : m_text(typed.text),
          m_dialect(typed.dialect),
          m_lineBreak(typed.dialect == CodeOptions::Dialect::LibreOffice ? &libreOfficeLineBreak() : &vbLineBreak()),
          m_quote(typed.dialect == CodeOptions::Dialect::LibreOffice ? &libreOfficeQuote() : &vbQuote())
    {
        // A literal, then for each character written as code that code and
        // the literal after it.
        qsizetype codes = 0;
        for (qsizetype at = nextCode(0); at < m_text.size(); at = nextCode(after(at)))
            ++codes;
        m_size = 2 * codes + 1;
    }

    qsizetype size() const { return m_size; }

    const CodePiece &at(qsizetype index) const
    {
        Q_ASSERT(index >= m_first && index < m_size);
        while (m_first + qsizetype(m_window.size()) <= index)
            makeNext();
        // What lies well behind is never asked for again.
        while (m_window.size() > 64 && m_first < index - 32) {
            m_window.pop_front();
            ++m_first;
        }
        return m_window.at(std::size_t(index - m_first));
    }

    // Their length written on one line.
    qsizetype flatLength() const
    {
        qsizetype length = 0;
        for (qsizetype index = 0; index < m_size; ++index)
            length += at(index).width;
        return length;
    }

private:
    bool isCode(QChar c) const { return c == u'\r' || c == u'"' || needsCharCode(c); }

    qsizetype nextCode(qsizetype from) const
    {
        qsizetype at = from;
        while (at < m_text.size() && !isCode(m_text[at]))
            ++at;
        return at;
    }

    // Where the literal after the code at `at` starts: a CR takes the
    // character after it along.
    qsizetype after(qsizetype at) const
    {
        return std::min(at + (m_text[at] == u'\r' ? 2 : 1), m_text.size());
    }

    void makeNext() const
    {
        const bool joined = m_made > 0;
        const qsizetype join = joined ? joinText.size() : 0;
        if (m_made % 2 == 0) {
            const qsizetype end = nextCode(m_runStart);
            const QStringView literal = m_text.sliced(m_runStart, end - m_runStart);
            m_window.emplace_back(CodePiece::Kind::Literal, QString::fromRawData(literal.data(), literal.size()),
                                  joined, 2 + escapedLength(literal) + join);
            m_codeAt = end;
        } else {
            const QChar c = m_text[m_codeAt];
            QString code = c == u'\r' ? *m_lineBreak : c == u'"' ? *m_quote : charCode(c, m_dialect);
            const qsizetype width = code.size() + join;
            m_window.emplace_back(CodePiece::Kind::Code, std::move(code), joined, width);
            m_runStart = after(m_codeAt);
        }
        ++m_made;
    }

    QStringView m_text;
    CodeOptions::Dialect m_dialect;
    const QString *m_lineBreak;
    const QString *m_quote;
    qsizetype m_size = 0;
    mutable std::deque<CodePiece> m_window;
    mutable qsizetype m_first = 0;
    mutable qsizetype m_made = 0;
    mutable qsizetype m_runStart = 0;
    mutable qsizetype m_codeAt = 0;
};

} // namespace

Pieces literalPieces(QString value, CodeOptions::Dialect dialect)
{
    if (!holdsCharCode(value))
        return {CodePiece(CodePiece::Kind::Literal, std::move(value))};
    Pieces pieces;
    appendOperands(pieces, value, nullptr, nullptr, dialect);
    // The literals refer to `value`, which goes: each gets a copy of its own.
    for (CodePiece &piece : pieces) {
        if (piece.kind == CodePiece::Kind::Literal)
            piece.text = QString(piece.text.constData(), piece.text.size());
    }
    return pieces;
}

Pieces appPathPieces(QString value, CodeOptions::Dialect dialect)
{
    Pieces pieces{CodePiece(CodePiece::Kind::Code, u"App.Path"_s)};
    for (CodePiece piece : literalPieces(std::move(value), dialect)) {
        if (!piece.joined) {
            piece.joined = true;
            piece.width += joinText.size();
        }
        pieces.append(std::move(piece));
    }
    return pieces;
}

Pieces messagePieces(QStringView text, CodeOptions::Dialect dialect)
{
    const bool libreOffice = dialect == CodeOptions::Dialect::LibreOffice;
    Pieces pieces;
    appendOperands(pieces, text, libreOffice ? &libreOfficeLineBreak() : &vbLineBreak(),
                   libreOffice ? &libreOfficeQuote() : &vbQuote(), dialect);
    return pieces;
}

StatementPart messagePart(QStringView text, CodeOptions::Dialect dialect, QString variable)
{
    return {{}, std::move(variable), TypedText{text, dialect}};
}

QString flatten(const Pieces &pieces)
{
    QString text;
    text.reserve(flatLength(pieces));
    for (const CodePiece &piece : pieces) {
        if (piece.joined)
            text += joinText;
        if (piece.kind == CodePiece::Kind::Code)
            text += piece.text;
        else
            appendQuoted(text, piece.text);
    }
    return text;
}

QStringList breakStatement(const Pieces &pieces, qsizetype lineLength)
{
    QStringList lines;
    LineBreaker<Pieces>(pieces, lineLength).run({}, {}, -1, [&lines](QString &&line) { lines << std::move(line); });
    return lines;
}

QStringList layoutStatement(const QList<StatementPart> &statement, const QStringList &takenNames, LineLimits limits)
{
    QStringList lines;
    layoutStatement(statement, takenNames, limits, [&lines](QString &&line) { lines << std::move(line); });
    return lines;
}

void layoutStatement(const QList<StatementPart> &statement, const QStringList &takenNames, LineLimits limits,
                     const LineSink &sink)
{
    QList<StatementPart> parts = statement;
    QList<qsizetype> lengths;
    for (const StatementPart &part : statement)
        lengths << (part.typed ? TypedPieces(*part.typed).flatLength() : flatLength(part.pieces));
    QStringList taken = takenNames;
    // Made whole only for a statement short enough to go on its lines as
    // it is, where a typed text is short too.
    const auto allPieces = [&parts] {
        Pieces pieces;
        for (const StatementPart &part : std::as_const(parts))
            pieces += part.typed ? messagePieces(part.typed->text, part.typed->dialect) : part.pieces;
        return pieces;
    };
    const auto put = [&sink](const QStringList &lines) {
        for (QString line : lines)
            sink(std::move(line));
    };
    for (;;) {
        const qsizetype length = std::accumulate(lengths.cbegin(), lengths.cend(), qsizetype(0));
        if (length <= limits.length) {
            sink(flatten(allPieces()));
            return;
        }
        // Past this length no layout fits in the lines a statement may have.
        QStringList broken;
        if (length <= (limits.continuations + 1) * limits.length) {
            broken = breakStatement(allPieces(), limits.length);
            if (broken.size() <= limits.continuations + 1) {
                put(broken);
                return;
            }
        }

        // Too many continuations: the longest expression left goes into a
        // variable of its own.
        qsizetype longest = -1;
        for (qsizetype i = 0; i < parts.size(); ++i) {
            if (!parts.at(i).variable.isEmpty() && (longest < 0 || lengths.at(i) > lengths.at(longest)))
                longest = i;
        }
        if (longest < 0) { // nothing left to move: the best there is
            put(broken.isEmpty() ? breakStatement(allPieces(), limits.length) : broken);
            return;
        }
        StatementPart &part = parts[longest];
        const QString name = uniqueName(part.variable, taken);
        taken << name;
        sink(u"Dim "_s + name + u" As String"_s);
        if (part.typed)
            buildVariable(name, TypedPieces(*part.typed), limits, sink);
        else
            buildVariable(name, part.pieces, limits, sink);
        part = {codePiece(name), {}};
        lengths[longest] = name.size();
    }
}

QStringList wrapComment(const QString &prefix, QStringView value, const QString &indent, qsizetype lineLength)
{
    QStringList lines;
    wrapComment(prefix, value, indent, lineLength, [&lines](QString &&line) { lines << std::move(line); });
    return lines;
}

void wrapComment(const QString &prefix, QStringView value, const QString &indent, qsizetype lineLength,
                 const LineSink &sink)
{
    if (prefix.size() + value.size() <= lineLength) {
        sink(prefix + value);
        return;
    }
    // A comment line that ends in " _" would run on into the next one.
    const auto endsInContinuation = [value](qsizetype from, qsizetype end) {
        return end - from >= 2 && value[end - 1] == u'_' && value[end - 2].isSpace();
    };
    QString head = prefix;
    qsizetype at = 0;
    // The last blank at or before `from` on the line that starts at `at`:
    // searching further back would make a long word quadratic.
    const auto lastBlank = [value, &at](qsizetype from) {
        const qsizetype found = value.sliced(at, from - at + 1).lastIndexOf(u' ');
        return found < 0 ? at - 1 : at + found;
    };
    for (;;) {
        const qsizetype room = std::max<qsizetype>(lineLength - head.size(), 2);
        if (value.size() - at <= room) {
            sink(head + value.sliced(at));
            return;
        }
        // The last space that the line can end before; the line's own
        // first character is no break, or the line would be empty.
        qsizetype end = lastBlank(at + room);
        while (end > at) {
            // A run of blanks goes whole to the next line: no line ends in
            // a blank, which an editor may well strip.
            while (end > at && value[end - 1] == u' ')
                --end;
            if (end <= at || !endsInContinuation(at, end))
                break;
            end = lastBlank(end - 2); // the blank before the "_"
        }
        if (end <= at) {
            // A word longer than the line: as much of it as fits.
            end = at + room;
            if (value[end - 1].isHighSurrogate() && value[end].isLowSurrogate())
                --end;
            if (endsInContinuation(at, end))
                --end;
        }
        sink(head + value.sliced(at, end - at));
        at = end;
        head = indent;
    }
}

} // namespace codegen
