#pragma once

class QLineEdit;

// A line edit keeps a pasted line break, which would split a generated line
// (a string literal or a comment) in two. After this each line break that
// arrives in the field becomes one blank, so no pasted text is lost.
void keepToOneLine(QLineEdit *edit);
