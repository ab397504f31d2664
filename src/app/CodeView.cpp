// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CodeView.h"

#include "basic/Lexer.h"
#include "basic/Names.h"
#include "codegen/BasicLimits.h"

#include <QEvent>
#include <QLabel>
#include <QFontDatabase>
#include <QMimeData>
#include <QTextCursor>
#include <QTextDocumentFragment>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

QFont codeFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
#if defined(Q_OS_WIN)
    // Qt names Courier New, and where it is missing Windows' font mapper takes
    // a proportional serif face: the first monospaced face present instead.
    const QStringList present = QFontDatabase::families();
    for (const QString &family : {u"Courier New"_s, u"Liberation Mono"_s, u"Cousine"_s, u"Consolas"_s,
                                  u"Lucida Console"_s, u"DejaVu Sans Mono"_s}) {
        if (present.contains(family, Qt::CaseInsensitive) && QFontDatabase::isFixedPitch(family)) {
            font.setFamily(family);
            return font;
        }
    }
    for (const QString &family : present) {
        if (QFontDatabase::isFixedPitch(family) && !QFontDatabase::isPrivateFamily(family)
            && !family.startsWith(u'@')) {
            font.setFamily(family);
            break;
        }
    }
#endif
    return font;
}

bool isKeyword(QStringView word)
{
    static const QStringList keywords{
        u"Dim"_s,     u"As"_s,     u"Select"_s,  u"Case"_s,    u"End"_s,    u"On"_s,      u"Error"_s, u"Goto"_s,
        u"GoTo"_s,    u"Resume"_s, u"Next"_s,    u"If"_s,      u"Then"_s,   u"Else"_s,    u"Long"_s,  u"String"_s,
        u"Integer"_s, u"Object"_s, u"Variant"_s, u"Boolean"_s, u"Set"_s,    u"Call"_s,    u"Sub"_s,   u"Function"_s,
        u"Exit"_s,    u"Rem"_s,    u"Const"_s,   u"Private"_s, u"Public"_s, u"Nothing"_s, u"True"_s,  u"False"_s,
        u"New"_s,     u"And"_s,    u"Or"_s,      u"Not"_s,     u"Chr"_s,    u"Chr$"_s,    u"App"_s,   u"Path"_s,
    };
    for (const QString &keyword : keywords) {
        if (word.compare(keyword, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// BASIC's named constants, as the reader knows them: the buttons, results
// and flags of both dialects (vbYesNo, cdlCFBoth, MB_YESNO, IDYES) and the
// text constants (vbCrLf).
bool isNamedConstant(QStringView word)
{
    return basic::findName(word) != nullptr || basic::textConstant(word).has_value();
}

} // namespace

QList<CodeSpan> basicSpans(QStringView line, bool inComment, bool *commentGoesOn, bool backslashEscapes,
                           const QStringList &callWords)
{
    QList<CodeSpan> spans;
    // A comment carried on by the line before: the line is comment too, and
    // is read as one, so that its own " _" carries it on again.
    const QString text = (inComment ? u"'"_s : QString()) + line + u"\nx"_s;
    const qsizetype shift = inComment ? 1 : 0;
    if (commentGoesOn)
        *commentGoesOn = false;
    for (const basic::Token &token : basic::tokenize(text, backslashEscapes)) {
        const qsizetype start = std::max<qsizetype>(token.pos - shift, 0);
        if (start >= line.size())
            break;
        const qsizetype length = std::min<qsizetype>(token.pos + token.len - shift, line.size()) - start;
        switch (token.kind) {
        case basic::TokenKind::Comment:
            spans.append({start, length, CodeRole::Comment});
            // The lexer took the next line into the comment.
            if (commentGoesOn)
                *commentGoesOn = token.pos + token.len - shift > line.size();
            break;
        case basic::TokenKind::String:
        case basic::TokenKind::BadString:
            spans.append({start, length, CodeRole::String});
            break;
        case basic::TokenKind::Number:
            spans.append({start, length, CodeRole::Number});
            break;
        case basic::TokenKind::Directive:
            spans.append({start, length, CodeRole::Keyword});
            break;
        case basic::TokenKind::Ident: {
            const QStringView word = line.sliced(start, length);
            if (isNamedConstant(word))
                spans.append({start, length, CodeRole::Constant});
            else if (isKeyword(word) || callWords.contains(word, Qt::CaseInsensitive))
                spans.append({start, length, CodeRole::Keyword});
            break;
        }
        case basic::TokenKind::Punct:
        case basic::TokenKind::Newline:
            break;
        }
    }
    return spans;
}

BasicHighlighter::BasicHighlighter(QTextDocument *document) : QSyntaxHighlighter(document) {}

void BasicHighlighter::usePalette(const QPalette &palette)
{
    // Hues that read on the background: darker ones on a light base,
    // lighter ones on a dark base.
    const bool dark = palette.color(QPalette::Base).lightness() < 128;
    const auto format = [](const QColor &colour, bool bold = false, bool italic = false) {
        QTextCharFormat f;
        f.setForeground(colour);
        if (bold)
            f.setFontWeight(QFont::Bold);
        f.setFontItalic(italic);
        return f;
    };
    m_formats[int(CodeRole::Comment)] = format(dark ? QColor(0x7f, 0xb8, 0x6a) : QColor(0x00, 0x74, 0x00), false, true);
    m_formats[int(CodeRole::String)] = format(dark ? QColor(0xe6, 0xa0, 0x7c) : QColor(0xa3, 0x15, 0x15));
    m_formats[int(CodeRole::Number)] = format(dark ? QColor(0xb5, 0xce, 0xa8) : QColor(0x09, 0x6b, 0x4b));
    m_formats[int(CodeRole::Keyword)] = format(dark ? QColor(0x7c, 0xa8, 0xff) : QColor(0x00, 0x00, 0xc0), true);
    m_formats[int(CodeRole::Constant)] = format(dark ? QColor(0x4e, 0xc9, 0xb0) : QColor(0x6a, 0x2c, 0x91));
    rehighlight();
}

void BasicHighlighter::setBackslashEscapes(bool on)
{
    if (on == m_backslashEscapes)
        return;
    m_backslashEscapes = on;
    rehighlight();
}

void BasicHighlighter::setCallWords(const QStringList &words)
{
    if (words == m_callWords)
        return;
    m_callWords = words;
    rehighlight();
}

void BasicHighlighter::highlightBlock(const QString &text)
{
    // State 1: a comment that the line before carries on with " _".
    bool goesOn = false;
    for (const CodeSpan &span : basicSpans(text, previousBlockState() == 1, &goesOn, m_backslashEscapes, m_callWords))
        setFormat(int(span.start), int(span.length), m_formats[int(span.role)]);
    setCurrentBlockState(goesOn ? 1 : 0);
}

CodeView::CodeView(QWidget *parent)
    : QPlainTextEdit(parent), m_highlighter(new BasicHighlighter(document())), m_lblNotes(new QLabel(this))
{
    setObjectName(u"txtCode"_s);
    setAccessibleName(tr("Code"));
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setUndoRedoEnabled(false);
    setTabChangesFocus(true);
    m_highlighter->usePalette(palette());

    m_lblNotes->setObjectName(u"lblCodeNotes"_s);
    // Prose, not code: the window's own font.
    m_lblNotes->setFont(QFont());
    m_lblNotes->setWordWrap(true);
    m_lblNotes->setTextFormat(Qt::PlainText);
    m_lblNotes->setMargin(4);
    m_lblNotes->setForegroundRole(QPalette::ToolTipText);
    m_lblNotes->setBackgroundRole(QPalette::ToolTipBase);
    m_lblNotes->setAutoFillBackground(true);
    m_lblNotes->hide();
}

QString CodeView::notes() const
{
    return m_lblNotes->isHidden() ? QString() : m_lblNotes->text();
}

void CodeView::placeNotes()
{
    const int frame = frameWidth();
    const int width = this->width() - 2 * frame;
    const int height = m_lblNotes->isHidden() ? 0 : m_lblNotes->heightForWidth(width);
    m_lblNotes->setGeometry(frame, frame, width, height);
    setViewportMargins(0, height, 0, 0);
}

void CodeView::resizeEvent(QResizeEvent *event)
{
    QPlainTextEdit::resizeEvent(event);
    placeNotes();
}

void CodeView::showCode(const QString &code, const QStringList &toolNotes)
{
    QStringList allNotes = toolNotes;
    if (const QString note = codegen::blockSizeNote(code); !note.isEmpty())
        allNotes << note;
    const QString noteText = allNotes.join(u'\n');
    if (noteText != notes()) {
        m_lblNotes->setText(noteText);
        m_lblNotes->setVisible(!allNotes.isEmpty());
        // Read with the view by a screen reader, as the bar is seen with it.
        setAccessibleDescription(noteText);
        placeNotes();
    }

    if (code == m_code)
        return;
    QString lines = code;
    lines.replace(u"\r\n"_s, u"\n"_s);
    if (m_code.isEmpty()) {
        m_code = code;
        setPlainText(lines);
        return;
    }
    m_code = code;
    // A keystroke changes a few characters: replacing only what differs
    // leaves the other lines laid out and coloured, and keeps the scroll
    // position and selection where they were.
    const QString shown = document()->toRawText().replace(QChar::ParagraphSeparator, u'\n');
    qsizetype prefix = 0;
    const qsizetype common = qMin(shown.size(), lines.size());
    while (prefix < common && shown.at(prefix) == lines.at(prefix))
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < common - prefix && shown.at(shown.size() - 1 - suffix) == lines.at(lines.size() - 1 - suffix))
        ++suffix;
    QTextCursor cursor(document());
    cursor.setPosition(int(prefix));
    cursor.setPosition(int(shown.size() - suffix), QTextCursor::KeepAnchor);
    cursor.insertText(lines.sliced(prefix, lines.size() - suffix - prefix));
}

QMimeData *CodeView::createMimeDataFromSelection() const
{
    // The raw text keeps every character as it is in the code (toPlainText
    // would turn a no-break space into a blank); only the breaks between
    // lines become CR LF.
    QString text = textCursor().selection().toRawText();
    text.replace(QChar::ParagraphSeparator, u"\r\n"_s);
    auto *data = new QMimeData;
    data->setText(text);
    return data;
}

void CodeView::showEvent(QShowEvent *event)
{
    // The fixed-width font is found and loaded when the view first shows, so
    // that a start with the view closed does without it; a font set on the
    // view stays.
    if (!testAttribute(Qt::WA_SetFont))
        setFont(codeFont());
    QPlainTextEdit::showEvent(event);
}

void CodeView::changeEvent(QEvent *event)
{
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        m_highlighter->usePalette(palette());
}
