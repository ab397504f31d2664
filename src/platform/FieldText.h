// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QLineEdit;
class QPlainTextEdit;

// A line edit keeps a pasted line break, which would split a generated line
// (a string literal or a comment) in two. After this each line break that
// arrives in the field becomes one blank, so no pasted text is lost. Nor is
// any cut off: the field takes texts of any length, not QLineEdit's 32767.
void keepToOneLine(QLineEdit *edit);

// A multi-line field that wraps between words only, a word too long for a
// line running on past the edge. Qt would break such a word too, in time that
// grows with the square of its length: a pasted text of some megabytes
// without a blank would hold the window for hours.
void wrapBetweenWords(QPlainTextEdit *edit);

// A prompt as a Qt label shows it: each line break (CR LF, or a lone CR or
// LF) as one "\n".
QString displayedLines(QString prompt);

// The text of a multi-line field exactly as typed, with each line break as
// CR LF. Unlike toPlainText(), no character is changed (a no-break space
// stays one).
QString typedText(const QPlainTextEdit *edit);
// Puts such a text (line breaks as CR LF, or lone CR or LF) into the field.
void setTypedText(QPlainTextEdit *edit, const QString &text);
