// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

// What BASIC itself holds: the prompt the classic boxes show, and the size of
// one procedure that its editor takes. The code is written whole whatever
// its size; these only say when BASIC will not show or take all of it.
namespace codegen {

// Characters of a prompt that the classic message and input boxes show; the
// rest is cut off without a word.
inline constexpr qsizetype PromptShownLength = 1024;

// Bytes of one block of code: the classic editor refuses a larger procedure,
// and LibreOffice hangs compiling some of that size.
inline constexpr qsizetype BlockSizeLimit = 64 * 1024;

// The longest name BASIC takes for a variable.
inline constexpr qsizetype IdentifierLength = 255;

// Why a text cannot be a BASIC variable name: empty, not a letter (A to Z)
// first, a character other than letters, digits and "_", longer than
// IdentifierLength, or a reserved word. Empty when it can be one.
QString identifierProblem(QStringView name);

// Characters of a text as a reader counts them: a surrogate pair is one.
qsizetype characterCount(QStringView text);

// Bytes of a text in UTF-8, as `generate` writes it.
qsizetype utf8Size(QStringView text);

bool promptTooLong(QStringView prompt);
bool blockTooLarge(QStringView code);

// One sentence saying that the classic boxes cut the prompt; empty when they
// show all of it.
QString promptLengthNote(QStringView prompt);

// One sentence saying that the code is larger than one procedure may be;
// empty when it is not.
QString blockSizeNote(QStringView code);
// The same for code of this many bytes in UTF-8.
QString blockSizeNoteForBytes(qint64 utf8Bytes);

} // namespace codegen
