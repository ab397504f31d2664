// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FieldText.h"

#include "codegen/CodeText.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QValidator>

#include <limits>

using namespace Qt::StringLiterals;

namespace {

class SingleLineValidator : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString &input, int &pos) const override
    {
        if (codegen::hasLineBreak(input)) {
            const QString before = oneLine(input.left(pos));
            input = before + oneLine(input.mid(pos));
            pos = int(before.size());
        }
        return Acceptable;
    }

private:
    static QString oneLine(QStringView text) { return codegen::toCrLf(text).replace(u"\r\n"_s, u" "_s); }
};

} // namespace

void keepToOneLine(QLineEdit *edit)
{
    edit->setValidator(new SingleLineValidator(edit));
    edit->setMaxLength(std::numeric_limits<int>::max());
}

void wrapBetweenWords(QPlainTextEdit *edit)
{
    edit->setWordWrapMode(QTextOption::WordWrap);
}

QString typedText(const QPlainTextEdit *edit)
{
    QString text = edit->document()->toRawText();
    for (QChar &c : text) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = u'\n';
    }
    return codegen::toCrLf(text);
}

QString displayedLines(QString prompt)
{
    prompt.replace(u"\r\n"_s, u"\n"_s);
    prompt.replace(u'\r', u'\n');
    return prompt;
}

void setTypedText(QPlainTextEdit *edit, const QString &text)
{
    // Nothing to do is nothing done: setPlainText would still reset the
    // cursor and the undo history, and report a change.
    const QString lines = displayedLines(text);
    if (typedText(edit) != codegen::toCrLf(lines))
        edit->setPlainText(lines);
}
