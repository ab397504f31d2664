// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "codegen/CodeLayout.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// Gambas source text: its string literals and the layout of statements that
// hold long ones. Gambas escapes inside a literal with a backslash, as C
// does, and goes on with an expression on the next line after an operator
// or a comma, with no continuation mark.
namespace codegen::gambas {

struct Limits
{
    // UTF-16 code units in one physical line. The compiler takes lines of
    // any length; this keeps them to what BASIC's editors take.
    qsizetype length = basic::MaxLineLength;
    // Literals joined by " & " in one expression: the compiler refuses an
    // expression of 64 operands ("Expression too complex").
    int operands = 48;
};

// How one character is written inside a literal: a backslash before "\" and
// a quotation mark, \r \n \t for CR, LF and tab, \xHH for any other control
// character (below U+0020, and DEL); anything else as it is.
QString escapedChar(QChar c);

// The text as one Gambas string literal, quotation marks included.
QString literal(QStringView text);

// One part of a statement: fixed code, never split, or a text written as a
// string expression, which may be cut into literals joined by " & " and,
// when even that takes too many of them, built up first in a String
// variable of its own.
struct Part
{
    enum class Kind { Code, Text };
    Kind kind;
    QString text;
    // For a text, the variable it is built up in when it must be.
    QString variable;
};

inline Part code(QString text)
{
    return {Part::Kind::Code, std::move(text), {}};
}
inline Part text(QString value, QString variable)
{
    return {Part::Kind::Text, std::move(value), std::move(variable)};
}

// The statement's physical lines, each starting with `indent`: on one line
// when it fits; otherwise texts are cut into literals, a line ending after
// " &" (or after the comma before a fixed part), the following lines
// indented two more spaces. A text that would need more than
// `limits.operands` literals is first built up in its variable
// (`Dim V As String`, `V = ...`, `V &= ...`), its name kept apart, without
// case, from `takenNames`.
QStringList statement(const QList<Part> &parts, const QString &indent = {}, const QStringList &takenNames = {},
                      Limits limits = {});
// The same lines, each handed to `sink` as it is made.
void statement(const QList<Part> &parts, const QString &indent, const QStringList &takenNames, Limits limits,
               const LineSink &sink);

} // namespace codegen::gambas
