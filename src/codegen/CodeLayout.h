// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "basic/Limits.h"
#include "codegen/CodeOptions.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <optional>

// Laying out statements so that the BASIC editor loads them: no physical
// line longer than it accepts, no statement over more line continuations
// than it allows. A statement that already fits on one line is written
// exactly as it reads.
namespace codegen {

struct LineLimits
{
    // UTF-16 code units in one physical line.
    qsizetype length = basic::MaxLineLength;
    // Line continuations (" _") in one statement.
    int continuations = 24;
};

// One piece of a statement. Before an operand joined to the one before it
// by " & ", the layout may break the line; it may also cut a literal.
struct CodePiece
{
    enum class Kind : quint8 {
        Code,    // written as it is, never split
        Literal, // a string literal's value: quoted and split as needed
    };

    CodePiece(Kind kind, QString text, bool joined = false);
    // With its width known: no quotation mark in a literal, for one.
    CodePiece(Kind kind, QString text, bool joined, qsizetype width)
        : text(std::move(text)), width(width), kind(kind), joined(joined)
    {
    }

    QString text;
    // Its length when written on one line, " & " before it included.
    qsizetype width;
    Kind kind;
    // " & " before it: a string operand after another.
    bool joined;
};
using Pieces = QList<CodePiece>;

Pieces codePiece(QString text);
// A single-line text as a string expression: one literal piece holding its
// value, or, where it holds control characters, literals joined with their
// Chr codes (see needsCharCode).
Pieces literalPieces(QString value, CodeOptions::Dialect dialect = CodeOptions::Dialect::VisualBasic);
// A typed text as one string expression, piece by piece: each CR (and the
// one character after it) becomes `" & vbCrLf & "`, each quotation mark
// `" & Chr(34) & "`, each other control character `" & Chr(n) & "`. The
// pieces refer to `text` without a copy: it must outlive them. LibreOffice
// Basic has no vbCrLf of its own: there a line break is
// `Chr$(13) & Chr$(10)`, a quotation mark `Chr$(34)` and any other control
// character `Chr$(n)`.
Pieces messagePieces(QStringView text,
                     CodeOptions::Dialect dialect = CodeOptions::Dialect::VisualBasic);
// `App.Path & ` and the text as literalPieces writes it.
Pieces appPathPieces(QString value, CodeOptions::Dialect dialect = CodeOptions::Dialect::VisualBasic);

// The pieces written on one line: what the statement is when it fits.
QString flatten(const Pieces &pieces);

// A typed text to be laid out as messagePieces makes it, its pieces made as
// the layout reaches them: a text of quotation marks or line breaks has many
// times its own size in pieces. The text must outlive the layout.
struct TypedText
{
    QStringView text;
    CodeOptions::Dialect dialect = CodeOptions::Dialect::VisualBasic;
};

// One part of a statement: fixed code, or a string expression that may be
// moved into a variable of its own when the statement gets too long.
struct StatementPart
{
    Pieces pieces;
    // For an expression, the variable's name when it has to be built up
    // separately; empty for fixed code.
    QString variable;
    // When set, the part is this text's pieces, and `pieces` is not used.
    std::optional<TypedText> typed = {};
};

// A typed text (see messagePieces) as a part built up in `variable` when the
// statement gets too long.
StatementPart messagePart(QStringView text, CodeOptions::Dialect dialect, QString variable);

// Takes the lines of code one at a time, in order.
using LineSink = std::function<void(QString &&line)>;

// Hands each of the lines to `sink`.
inline void writeLines(const LineSink &sink, QStringList lines)
{
    for (QString &line : lines)
        sink(std::move(line));
}

// A statement's physical lines within `limits`: the statement itself on one
// line when that fits; otherwise broken after " & " and with literals split,
// and, when that still takes too many continuations, its longest
// expressions first built up in variables (declared with Dim, their names
// kept apart from `takenNames`, compared as BASIC does, without case) over
// as many statements as they need.
QStringList layoutStatement(const QList<StatementPart> &parts, const QStringList &takenNames,
                            LineLimits limits = {});
// The same lines, each handed to `sink` as soon as it is laid out, so that
// however long the statement, its lines never all exist at once.
void layoutStatement(const QList<StatementPart> &parts, const QStringList &takenNames, LineLimits limits,
                     const LineSink &sink);

// Lays out the pieces of one statement, breaking lines as needed, with no
// limit on the number of continuations.
QStringList breakStatement(const Pieces &pieces, qsizetype lineLength);

// A comment line "prefix + value" split over as many lines as it takes, the
// following ones as `indent` + the rest, with no character lost and no
// surrogate pair cut. Lines break between words: a line ends before a run
// of spaces, and the run starts the next line, right after the indent, so
// that joining the lines' rests as they are gives the value. A word longer than a
// line is cut inside only then, with its line filled to `lineLength` (one
// or two less where a surrogate pair would be split or the line would end
// in " _", which continues a comment onto the next line); the next line
// goes on with the word's next character.
QStringList wrapComment(const QString &prefix, QStringView value, const QString &indent,
                        qsizetype lineLength = LineLimits{}.length);
// The same lines, each handed to `sink` as it is made.
void wrapComment(const QString &prefix, QStringView value, const QString &indent, qsizetype lineLength,
                 const LineSink &sink);

} // namespace codegen
