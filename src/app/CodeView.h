// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPlainTextEdit>
#include <QStringView>
#include <QSyntaxHighlighter>

// What a stretch of a BASIC line is, for colouring.
enum class CodeRole { Comment, String, Number, Keyword, Constant };

struct CodeSpan
{
    qsizetype start;
    qsizetype length;
    CodeRole role;

    friend bool operator==(const CodeSpan &, const CodeSpan &) = default;
};

// The coloured stretches of one line of BASIC, left to right: string
// literals (quotation marks doubled inside), comments after an apostrophe or
// Rem outside a literal, numbers, keywords and BASIC's named constants.
QList<CodeSpan> basicSpans(QStringView line);

// Colours BASIC in colours taken from the palette, so that they read on a
// light and on a dark background alike.
class BasicHighlighter : public QSyntaxHighlighter
{
    Q_OBJECT

public:
    explicit BasicHighlighter(QTextDocument *document);
    // Picks the colours again, for a palette that has changed.
    void usePalette(const QPalette &palette);

protected:
    void highlightBlock(const QString &text) override;

private:
    QTextCharFormat m_formats[5];
};

// The code pane: the current tool's code as Copy would place it, read-only
// but selectable, in the fixed-width font, long lines scrolled and not
// wrapped. A copied selection has CR LF line breaks, like Copy.
class CodeView : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit CodeView(QWidget *parent = nullptr);

    // Shows the code (CR LF lines); an unchanged text leaves the view as is.
    void showCode(const QString &code);
    // The code shown, as given.
    QString code() const { return m_code; }

protected:
    QMimeData *createMimeDataFromSelection() const override;
    void changeEvent(QEvent *event) override;

private:
    BasicHighlighter *m_highlighter;
    QString m_code;
};
