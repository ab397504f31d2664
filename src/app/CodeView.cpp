// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CodeView.h"

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

bool isIdentifierStart(QChar c)
{
    return c.isLetter() || c == u'_';
}

bool isIdentifierPart(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'$';
}

bool isKeyword(QStringView word)
{
    static const QStringList keywords{
        u"Dim"_s,     u"As"_s,      u"Select"_s,  u"Case"_s,   u"End"_s,     u"On"_s,      u"Error"_s,
        u"Goto"_s,    u"GoTo"_s,    u"Resume"_s,  u"Next"_s,   u"If"_s,      u"Then"_s,    u"Else"_s,
        u"Long"_s,    u"String"_s,  u"Integer"_s, u"Object"_s, u"Variant"_s, u"Boolean"_s, u"Set"_s,     u"Call"_s,    u"Sub"_s,
        u"Function"_s, u"Exit"_s,   u"Rem"_s,     u"Const"_s,  u"Private"_s, u"Public"_s,  u"Nothing"_s,
        u"True"_s,    u"False"_s,   u"New"_s,     u"And"_s,    u"Or"_s,      u"Not"_s,     u"Msgbox"_s,
        u"MsgBox"_s,  u"InputBox"_s, u"Chr"_s,    u"Chr$"_s,   u"App"_s,     u"Path"_s,
    };
    for (const QString &keyword : keywords) {
        if (word.compare(keyword, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool isNamedConstant(QStringView word)
{
    // BASIC's constants (vbYesNo), the common dialog's (cdlCFBoth) and
    // LibreOffice's (MB_YESNO, IDYES).
    const auto prefixed = [word](QStringView prefix) {
        return word.size() > prefix.size() && word.startsWith(prefix) && word.at(prefix.size()).isUpper();
    };
    return prefixed(u"vb") || prefixed(u"cdl") || prefixed(u"MB_") || prefixed(u"ID");
}

} // namespace

QList<CodeSpan> basicSpans(QStringView line, bool backslashEscapes)
{
    QList<CodeSpan> spans;
    const qsizetype size = line.size();
    qsizetype i = 0;
    while (i < size) {
        const QChar c = line.at(i);
        if (c == u'"') {
            // To the closing mark; a doubled mark stays inside.
            qsizetype end = i + 1;
            while (end < size) {
                if (backslashEscapes && line.at(end) == u'\\') {
                    end = std::min(end + 2, size);
                    continue;
                }
                if (line.at(end) == u'"') {
                    if (end + 1 < size && line.at(end + 1) == u'"') {
                        end += 2;
                        continue;
                    }
                    ++end;
                    break;
                }
                ++end;
            }
            spans.append({i, end - i, CodeRole::String});
            i = end;
        } else if (c == u'\'') {
            spans.append({i, size - i, CodeRole::Comment});
            break;
        } else if (isIdentifierStart(c)) {
            qsizetype end = i + 1;
            while (end < size && isIdentifierPart(line.at(end)))
                ++end;
            const QStringView word = line.sliced(i, end - i);
            if (word.compare(u"Rem", Qt::CaseInsensitive) == 0) {
                spans.append({i, size - i, CodeRole::Comment});
                break;
            }
            if (isNamedConstant(word))
                spans.append({i, end - i, CodeRole::Constant});
            else if (isKeyword(word))
                spans.append({i, end - i, CodeRole::Keyword});
            i = end;
        } else if (c.isDigit()) {
            qsizetype end = i + 1;
            while (end < size && (line.at(end).isDigit() || line.at(end) == u'.'))
                ++end;
            spans.append({i, end - i, CodeRole::Number});
            i = end;
        } else {
            ++i;
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

void BasicHighlighter::highlightBlock(const QString &text)
{
    for (const CodeSpan &span : basicSpans(text, m_backslashEscapes))
        setFormat(int(span.start), int(span.length), m_formats[int(span.role)]);
}

CodeView::CodeView(QWidget *parent)
    : QPlainTextEdit(parent), m_highlighter(new BasicHighlighter(document())), m_lblNotes(new QLabel(this))
{
    setObjectName(u"txtCode"_s);
    setAccessibleName(tr("Code"));
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
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

void CodeView::changeEvent(QEvent *event)
{
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        m_highlighter->usePalette(palette());
}
