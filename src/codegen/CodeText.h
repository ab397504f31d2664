// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "codegen/CodeOptions.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// Pure text helpers shared by every generator. Texts are UTF-16 code units,
// exactly as the panels' fields hold them.
namespace codegen {

// The line break of generated source text and of multi-line fields.
inline constexpr QStringView CrLf = u"\r\n";

// Joins lines with CR LF, with nothing after the last one.
QString joinLines(const QStringList &lines);

// A character that a string literal cannot hold as it is: the control
// characters below U+0020 but tab, and DEL. Source files cannot carry them
// (LibreOffice keeps its modules as XML), so they are written as Chr codes.
inline bool needsCharCode(QChar c)
{
    const char16_t u = c.unicode();
    return (u < 0x20 && u != u'\t') || u == 0x7f;
}

// The expression for one character code: `Chr(n)`, or `Chr$(n)` in
// LibreOffice Basic, as its line breaks are written.
QString charCode(QChar c, CodeOptions::Dialect dialect = CodeOptions::Dialect::VisualBasic);

// The number that BASIC's Val reads from a text: blanks, tabs and line feeds
// are ignored anywhere; an optional sign, digits with at most one decimal
// point and an optional exponent (E or D) are read, with "." as the point
// whatever the locale; "&H" and "&O" read hex and octal as 16- or 32-bit
// signed integers ("&HFFFF" is -1, "&HFFFF&" 65535). Anything that does not
// start a number, or a number too large for Val, gives 0.
double topicNumber(QStringView text);

// The shortest decimal text of a topic number: whole values below 10^15 as
// plain digits ("120", "-5", never "-0"), other finite values in the shortest
// form that reads back exactly, with BASIC's upper-case exponent ("1.5",
// "1E+20"). A value that is not finite cannot be a help context, so it is
// written as 0, like any other text that Val cannot read.
QString formatTopicNumber(double value);

// topicNumber followed by formatTopicNumber: the topic argument as written.
QString topicArgument(QStringView topicText);

// The help context that the written topic argument passes: topicNumber, but
// 0 where formatTopicNumber writes 0 (a number beyond a double, or -0). A
// live box gets the very context that the generated code would give it.
double topicContext(QStringView topicText);

// Every line break form (CR LF, lone LF, lone CR) as CR LF: a text typed into
// a multi-line field as the generators expect it.
QString toCrLf(QStringView text);

// True when the text holds a CR or LF.
bool hasLineBreak(QStringView text);

} // namespace codegen
