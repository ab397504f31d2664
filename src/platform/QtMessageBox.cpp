#include "platform/QtMessageBox.h"

#include "platform/FieldText.h"
#include "platform/QtPlatform.h"

#include <QAccessible>
#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

using namespace Qt::StringLiterals;

namespace {

constexpr int DefaultButtonStep = vbDefaultButton2;

// The result codes of a button set, in the order the box shows them. An
// unknown set shows OK alone, as the desktop does.
QList<int> buttonSet(int buttons)
{
    const QList<int> codes = msgBoxButtonCodes(buttons & MsgBoxButtonSetMask);
    return codes.isEmpty() ? QList<int>{vbOK} : codes;
}

std::optional<QStyle::StandardPixmap> standardIconFor(int buttons)
{
    switch (buttons & MsgBoxIconMask) {
    case vbCritical:
        return QStyle::SP_MessageBoxCritical;
    case vbQuestion:
        return QStyle::SP_MessageBoxQuestion;
    case vbExclamation:
        return QStyle::SP_MessageBoxWarning;
    case vbInformation:
        return QStyle::SP_MessageBoxInformation;
    default:
        return std::nullopt;
    }
}

QString buttonText(int code)
{
    switch (code) {
    case vbOK:
        return BasicMessageBox::tr("OK");
    case vbCancel:
        return BasicMessageBox::tr("Cancel");
    case vbAbort:
        return BasicMessageBox::tr("&Abort");
    case vbRetry:
        return BasicMessageBox::tr("&Retry");
    case vbIgnore:
        return BasicMessageBox::tr("&Ignore");
    case vbYes:
        return BasicMessageBox::tr("&Yes");
    case vbNo:
        return BasicMessageBox::tr("&No");
    }
    return {};
}


} // namespace

BasicMessageBox::BasicMessageBox(Platform &platform, const QString &prompt, int buttons, const QString &title,
                                 const std::optional<HelpTopic> &help, QWidget *parent)
    : QDialog(parent),
      m_platform(platform),
      m_help(help),
      m_standardIcon(standardIconFor(buttons))
{
    setObjectName(u"msgBox"_s);
    // Qt reads "[*]" in a title as the modified-mark placeholder; doubled,
    // it shows as typed.
    setWindowTitle(QString(title).replace(u"[*]"_s, u"[*][*]"_s));

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

    auto *text = new QLabel(this);
    text->setObjectName(u"prompt"_s);
    // Exactly what was typed: no markup, no access keys.
    text->setTextFormat(Qt::PlainText);
    text->setText(displayedLines(prompt));
    text->setTextInteractionFlags(
        Qt::TextInteractionFlags(style()->styleHint(QStyle::SH_MessageBox_TextInteractionFlags, nullptr, this)));
    text->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    int widest = 0;
    for (const QString &line : text->text().split(u'\n'))
        widest = qMax(widest, text->fontMetrics().horizontalAdvance(line));
    const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const int widthLimit = screen ? screen->availableGeometry().width() / 2 : 640;
    if (widest > widthLimit) {
        text->setWordWrap(true);
        text->setMinimumWidth(widthLimit);
    }
    grid->addWidget(text, 0, textColumn);
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
        m_helpButton = buttonBox->addButton(tr("Help"), QDialogButtonBox::ActionRole);
        // Help answers nothing: the box stays open.
        connect(m_helpButton, &QPushButton::clicked, this, &BasicMessageBox::showHelp);
    }
    connect(buttonBox, &QDialogButtonBox::clicked, this, &BasicMessageBox::onButtonClicked);
    grid->addWidget(buttonBox, 1, 0, 1, textColumn + 1);

    // A default position the set lacks falls back to its first button.
    qsizetype defaultIndex = (buttons & MsgBoxDefaultButtonMask) / DefaultButtonStep;
    if (defaultIndex >= m_answerButtons.size())
        defaultIndex = 0;
    QPushButton *defaultButton = m_answerButtons.at(defaultIndex);
    defaultButton->setDefault(true);
    defaultButton->setFocus();
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
    m_platform.openDocument(m_help->file);
}

int QtPlatform::msgBox(const QString &prompt, int buttons, const QString &title, const std::optional<HelpTopic> &help)
{
    BasicMessageBox box(*this, prompt, buttons, title, help, QApplication::activeWindow());
    return box.exec();
}
