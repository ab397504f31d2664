#pragma once

#include <QString>

class QLineEdit;
class QPlainTextEdit;

// A line edit keeps a pasted line break, which would split a generated line
// (a string literal or a comment) in two. After this each line break that
// arrives in the field becomes one blank, so no pasted text is lost.
void keepToOneLine(QLineEdit *edit);

// The text of a multi-line field exactly as typed, with each line break as
// CR LF. Unlike toPlainText(), no character is changed (a no-break space
// stays one).
QString typedText(const QPlainTextEdit *edit);
