// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/header/HeaderPreview.h"

#include "platform/Accessibility.h"
#include "platform/WindowPlacement.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

// The window is laid out in twips like the code-editor window it imitates.
QRect twipsRect(const QWidget *widget, int left, int top, int width, int height)
{
    return twipsToPixels(QRect(left, top, width, height), widget);
}

// The object and procedure boxes of a code window: they only show a name.
QComboBox *procedureBox(const QString &objectName, const QString &text, QWidget *parent)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(objectName);
    combo->setEditable(true);
    combo->setEditText(text);
    combo->setEnabled(false);
    QFont font;
    font.setFamilies({u"MS Sans Serif"_s, u"Microsoft Sans Serif"_s});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    font.setBold(true);
    combo->setFont(font);
    return combo;
}

} // namespace

HeaderPreview::HeaderPreview(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_combo1(procedureBox(u"Combo1"_s, u"(General)"_s, this)),
      m_combo2(procedureBox(u"Combo2"_s, u"(Declarations)"_s, this)),
      m_txtTest(new QPlainTextEdit(this)),
      m_cmdClose(new QPushButton(tr("&Close"), this))
{
    setObjectName(u"frmTest"_s);
    setWindowTitle(tr("Header Generator - Test (Code)"));
    setAttribute(Qt::WA_DeleteOnClose);

    m_txtTest->setObjectName(u"txtTest"_s);
    m_txtTest->setLineWrapMode(QPlainTextEdit::NoWrap);
    // The text is read-only in use; Tab belongs to the window's focus order.
    m_txtTest->setTabChangesFocus(true);
    m_txtTest->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_txtTest->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont code;
    // Liberation Mono and Cousine share Courier New's metrics.
    code.setFamilies({u"Courier New"_s, u"Liberation Mono"_s, u"Cousine"_s});
    code.setStyleHint(QFont::Monospace);
    code.setFixedPitch(true);
    code.setPointSizeF(9.75);
    m_txtTest->setFont(code);
    // Green, as light as a dark theme's background needs to read it.
    QPalette palette = m_txtTest->palette();
    palette.setColor(QPalette::Text, readableColour(QColor(0, 128, 0), palette.color(QPalette::Base)));
    m_txtTest->setPalette(palette);

    m_cmdClose->setObjectName(u"cmdClose"_s);
    connect(m_cmdClose, &QPushButton::clicked, this, &HeaderPreview::closePreview);

    m_combo1->setGeometry(twipsRect(this, 135, 90, 3075, 315));
    m_combo2->setGeometry(twipsRect(this, 3420, 90, 4335, 315));
    m_txtTest->setGeometry(twipsRect(this, 135, 540, 7620, 3525));
    m_cmdClose->setGeometry(twipsRect(this, 6480, 4185, 1275, 330));
    setFixedSize(twipsRect(this, 0, 0, 7890, 4620).size());

    setTabOrder(m_txtTest, m_cmdClose);
    setTabOrder(m_cmdClose, m_combo1);
    setTabOrder(m_combo1, m_combo2);
    m_txtTest->setFocus();
}

void HeaderPreview::setText(const QString &block)
{
    m_txtTest->setPlainText(block);
}

void HeaderPreview::closePreview()
{
    close();
}
