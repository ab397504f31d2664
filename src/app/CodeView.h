// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QStringList>
#include <QPlainTextEdit>
#include <QStringView>
#include <QSyntaxHighlighter>

class QLabel;

// What a stretch of a BASIC line is, for colouring.
enum class CodeRole { Comment, String, Number, Keyword, Constant };

struct CodeSpan
{
    qsizetype start;
    qsizetype length;
    CodeRole role;

    friend bool operator==(const CodeSpan &, const CodeSpan &) = default;
};

// The coloured stretches of one line of BASIC, left to right, cut as the
// reader's lexer cuts it: string literals (quotation marks doubled inside),
// comments after an apostrophe or Rem outside a literal, numbers, keywords
// and BASIC's named constants as the reader knows them. `inComment`: the
// line before carried its comment on with " _"; `commentGoesOn` tells
// whether this line does. With backslash escapes (Gambas), a backslash in a
// literal takes the character after it, a quotation mark too. The tools'
// call words (MsgBox) are keywords too.
QList<CodeSpan> basicSpans(QStringView line, bool inComment = false, bool *commentGoesOn = nullptr,
                           bool backslashEscapes = false, const QStringList &callWords = {});

// Colours BASIC in colours taken from the palette, so that they read on a
// light and on a dark background alike.
class BasicHighlighter : public QSyntaxHighlighter
{
    Q_OBJECT

public:
    explicit BasicHighlighter(QTextDocument *document);
    // Picks the colours again, for a palette that has changed.
    void usePalette(const QPalette &palette);
    void setBackslashEscapes(bool on);
    void setCallWords(const QStringList &words);

protected:
    void highlightBlock(const QString &text) override;

private:
    QTextCharFormat m_formats[5];
    bool m_backslashEscapes = false;
    QStringList m_callWords;
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
    // The notes, and a note of its own when the code is larger than BASIC
    // takes in one procedure, show in a bar above the code.
    void showCode(const QString &code, const QStringList &notes = {});
    // The code shown, as given.
    QString code() const { return m_code; }
    // The notes shown above the code, one a line; empty when there are none.
    QString notes() const;
    // Whether literals escape with a backslash, as Gambas's do.
    void setBackslashEscapes(bool on) { m_highlighter->setBackslashEscapes(on); }
    // The tools' words that call their constructs, coloured as keywords.
    void setCallWords(const QStringList &words) { m_highlighter->setCallWords(words); }

protected:
    QMimeData *createMimeDataFromSelection() const override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // Lays the notes bar over the top of the frame and keeps the code clear
    // of it.
    void placeNotes();

    BasicHighlighter *m_highlighter;
    QLabel *m_lblNotes;
    QString m_code;
};
