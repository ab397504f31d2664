// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PromptView.h"

#include "codegen/BasicLimits.h"
#include "platform/FieldText.h"

#include <QAbstractTextDocumentLayout>
#include <QLabel>
#include <QLocale>
#include <QScrollBar>
#include <QTextDocument>

using namespace Qt::StringLiterals;

PromptView::PromptView(const QString &prompt, QWidget *parent)
    : QTextEdit(parent),
      m_fullLength(prompt.size()),
      m_lengthNote(codegen::promptLengthNote(prompt))
{
    setReadOnly(true);
    setAcceptRichText(false);
    setFrameShape(QFrame::NoFrame);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    setFocusPolicy(Qt::NoFocus);
    // It reads as a label: the window's colours, no margin of its own.
    QPalette palette = this->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    palette.setColor(QPalette::Text, palette.color(QPalette::WindowText));
    setPalette(palette);
    viewport()->setAutoFillBackground(false);
    document()->setDocumentMargin(0);
    qsizetype shown = qMin(prompt.size(), ShownLimit);
    // Never half a character.
    if (shown < prompt.size() && prompt.at(shown - 1).isHighSurrogate())
        --shown;
    setPlainText(displayedLines(prompt.left(shown)));
}

QLabel *PromptView::cutNote(QWidget *parent)
{
    if (!isCut())
        return nullptr;
    if (!m_cutNote) {
        const QLocale locale;
        m_cutNote = new QLabel(tr("Only the first %1 of the prompt's %2 characters are shown here.")
                                   .arg(locale.toString(ShownLimit), locale.toString(m_fullLength)),
                               parent);
        m_cutNote->setObjectName(u"cutNote"_s);
        m_cutNote->setWordWrap(true);
        QFont italic = m_cutNote->font();
        italic.setItalic(true);
        m_cutNote->setFont(italic);
    }
    return m_cutNote;
}

QLabel *PromptView::lengthNote(QWidget *parent)
{
    if (m_lengthNote.isEmpty())
        return nullptr;
    if (!m_lengthNoteLabel) {
        m_lengthNoteLabel = new QLabel(m_lengthNote, parent);
        m_lengthNoteLabel->setObjectName(u"lengthNote"_s);
        m_lengthNoteLabel->setWordWrap(true);
        m_lengthNoteLabel->setTextFormat(Qt::PlainText);
        QFont italic = m_lengthNoteLabel->font();
        italic.setItalic(true);
        m_lengthNoteLabel->setFont(italic);
    }
    return m_lengthNoteLabel;
}

void PromptView::fitWithin(int minWidth, int maxWidth, int maxHeight)
{
    int widest = 0;
    const QFontMetrics metrics(font());
    const QString text = toPlainText();
    for (const QStringView line : QStringView(text).split(u'\n'))
        widest = qMax(widest, metrics.horizontalAdvance(line.toString()));
    // A little slack, so that a line that just fits is not wrapped by rounding.
    const int textWidth = qBound(minWidth, widest + 2, qMax(minWidth, maxWidth));
    document()->setTextWidth(textWidth);
    int height = contentHeight();
    int width = textWidth;
    if (height > maxHeight) {
        // The scroll bar takes its width beside the text, not from it.
        width += verticalScrollBar()->sizeHint().width();
        height = qMax(metrics.lineSpacing(), maxHeight);
        setFocusPolicy(Qt::StrongFocus);
        setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    }
    m_hint = QSize(width, height);
    setFixedSize(m_hint);
    updateGeometry();
}

int PromptView::contentHeight() const
{
    return qCeil(document()->size().height());
}
