// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/QtMessageBox.h"

#include "basic/MsgBoxStyles.h"
#include "platform/Accessibility.h"
#include "platform/DeferredIcon.h"
#include "platform/FieldText.h"
#include "platform/HelpViewer.h"
#include "platform/PromptView.h"
#include "platform/QtPlatform.h"

#include <QAccessible>
#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// The result codes of a button set, in the order the box shows them. An
// unknown set shows OK alone, as the desktop does.
QList<int> buttonSet(int buttons)
{
    const QList<int> codes = basic::msgBoxButtonCodes(buttons & MsgBoxButtonSetMask);
    return codes.isEmpty() ? QList<int>{vbOK} : codes;
}

std::optional<QStyle::StandardPixmap> standardIconFor(int buttons)
{
    const basic::IconRow *icon = basic::msgBoxIcon(buttons & MsgBoxIconMask);
    return icon ? standardPixmap(icon->picture) : std::nullopt;
}

// Qt's own caption for the standard button, so that it reads as the
// desktop's boxes do in the user's language; untranslated, the box keeps its
// access keys on Abort, Retry and Ignore, which Qt's captions lack.
QString caption(const char *qt, const char *own)
{
    const QString qtCaption = QCoreApplication::translate("QPlatformTheme", qt);
    if (qtCaption != QLatin1StringView(qt))
        return qtCaption;
    return QCoreApplication::translate("MsgBoxStyles", own);
}

QString buttonText(int code)
{
    const basic::MsgBoxResultRow *row = basic::msgBoxResult(code);
    return row ? caption(row->qtCaption, row->accessCaption) : QString();
}

} // namespace

BasicMessageBox::BasicMessageBox(Platform &platform, const QString &prompt, int buttons, const QString &title,
                                 const std::optional<HelpTopic> &help, QWidget *parent)
    : QDialog(parent),
      m_platform(platform),
      m_help(help),
      m_standardIcon(standardIconFor(buttons))
{
    installAccessibility();
    setObjectName(u"msgBox"_s);
    // Qt reads "[*]" in a title as the modified-mark placeholder; doubled,
    // it shows as typed.
    // Without a title, BASIC shows the program's title.
    setWindowTitle(title.isEmpty() ? ProgramTitle.toString() : QString(title).replace(u"[*]"_s, u"[*][*]"_s));

    const QList<int> codes = buttonSet(buttons);
    // Escape and the close button answer Cancel; a lone OK answers OK; a box
    // without either can only be answered by its buttons.
    if (codes.contains(vbCancel))
        m_escapeCode = vbCancel;
    else if (codes == QList<int>{vbOK})
        m_escapeCode = vbOK;

    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint;
    if (m_escapeCode != 0)
        flags |= Qt::WindowCloseButtonHint;
    // System-modal: the strongest a desktop offers an application is a box
    // that blocks all its windows and stays above other programs' windows.
    if (buttons & vbSystemModal)
        flags |= Qt::WindowStaysOnTopHint;
    setWindowFlags(flags);
    setWindowModality(Qt::ApplicationModal);

    auto *grid = new QGridLayout(this);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    int textColumn = 0;
    if (m_standardIcon) {
        auto *icon = new QLabel(this);
        icon->setObjectName(u"icon"_s);
        const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
        icon->setPixmap(style()->standardIcon(*m_standardIcon, nullptr, this).pixmap(size, size));
        icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
        grid->addWidget(icon, 0, 0, Qt::AlignTop);
        textColumn = 1;
    }

    m_prompt = new PromptView(prompt, this);
    m_prompt->setObjectName(u"prompt"_s);
    m_prompt->setTextInteractionFlags(
        Qt::TextInteractionFlags(style()->styleHint(QStyle::SH_MessageBox_TextInteractionFlags, nullptr, this))
        & (Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard));
    // Read with the title when the box opens, as the desktop's alerts are:
    // the box's description, and the message as its text (a screen reader
    // reads an alert's text, as it reads a desktop message box's label).
    setAccessibleRole(this, QAccessible::AlertMessage);
    const QString spokenPrompt = spokenText(m_prompt->text(), 2000);
    setAccessibleDescription(spokenPrompt);
    setAccessibleRole(m_prompt, QAccessible::StaticText, spokenPrompt.isEmpty() ? tr("Message") : spokenPrompt);
    auto *promptColumn = new QVBoxLayout;
    promptColumn->setSpacing(6);
    promptColumn->addWidget(m_prompt, 0, Qt::AlignLeft | Qt::AlignVCenter);
    if (QLabel *note = m_prompt->cutNote(this))
        promptColumn->addWidget(note);
    // The live box shows all of a long prompt; the code's box will not.
    if (QLabel *note = m_prompt->lengthNote(this))
        promptColumn->addWidget(note);
    grid->addLayout(promptColumn, 0, textColumn);
    grid->setColumnMinimumWidth(textColumn, 120);
    grid->setColumnStretch(textColumn, 1);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(16);

    // Every button goes in with the same role, so that the box keeps the
    // set's own order whatever the desktop's convention for roles.
    auto *buttonBox = new QDialogButtonBox(this);
    buttonBox->setCenterButtons(style()->styleHint(QStyle::SH_MessageBox_CenterButtons, nullptr, this));
    for (const int code : codes) {
        QPushButton *button = buttonBox->addButton(buttonText(code), QDialogButtonBox::ActionRole);
        m_answerButtons << button;
        m_codes.insert(button, code);
    }
    if (buttons & vbMsgBoxHelpButton) {
        m_helpButton = buttonBox->addButton(caption("Help", QT_TRANSLATE_NOOP("MsgBoxStyles", "Help")),
                                            QDialogButtonBox::ActionRole);
        // Help answers nothing: the box stays open.
        connect(m_helpButton, &QPushButton::clicked, this, &BasicMessageBox::showHelp);
    }
    connect(buttonBox, &QDialogButtonBox::clicked, this, &BasicMessageBox::onButtonClicked);
    grid->addWidget(buttonBox, 1, 0, 1, textColumn + 1);

    // A default position the set lacks falls back to its first button.
    qsizetype defaultIndex = basic::defaultButtonIndex(buttons);
    if (defaultIndex >= m_answerButtons.size())
        defaultIndex = 0;
    QPushButton *defaultButton = m_answerButtons.at(defaultIndex);
    defaultButton->setDefault(true);
    defaultButton->setFocus();

    fitToScreen(parent);
}

void BasicMessageBox::fitToScreen(const QWidget *parent)
{
    const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const QRect room = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    // Wide prompts wrap at half the screen, as desktop message boxes do.
    m_prompt->fitWithin(120, room.width() / 2, QWIDGETSIZE_MAX);
    // What the icon, the buttons and the margins take; the prompt gets the
    // rest of the height, short of the title bar and frame.
    const int others = layout()->sizeHint().height() - m_prompt->height();
    int promptRoom = room.height() - others - WindowFrameAllowance;
    m_prompt->fitWithin(120, room.width() / 2, promptRoom);
    // A scrolling prompt can change what else the box needs (a note that
    // wraps differently): take any excess from the prompt once more.
    layout()->activate();
    if (const int excess = layout()->sizeHint().height() + WindowFrameAllowance - room.height(); excess > 0) {
        promptRoom -= excess;
        m_prompt->fitWithin(120, room.width() / 2, promptRoom);
        layout()->activate();
    }
}

void BasicMessageBox::reject()
{
    if (m_escapeCode != 0)
        done(m_escapeCode);
}

void BasicMessageBox::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

void BasicMessageBox::onButtonClicked(QAbstractButton *button)
{
    if (const int code = resultCode(button))
        done(code);
}

void BasicMessageBox::showHelp()
{
    // Without a help file there is nothing to open.
    if (!m_help || m_help->file.isEmpty())
        return;
    openHelpDocument(m_platform, this, m_help->file);
}

int QtPlatform::msgBox(const QString &prompt, int buttons, const QString &title, const std::optional<HelpTopic> &help)
{
    BasicMessageBox box(*this, prompt, buttons, title, help, QApplication::activeWindow());
    return box.exec();
}
