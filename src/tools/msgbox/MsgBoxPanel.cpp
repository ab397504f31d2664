#include "tools/msgbox/MsgBoxPanel.h"

#include "codegen/CodeText.h"
#include "platform/DeferredIcon.h"
#include "platform/Platform.h"
#include "tools/HelpButtonPage.h"
#include "platform/FieldText.h"
#include "tools/msgbox/MsgBoxGenerator.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QTextDocument>
#include <QVBoxLayout>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

constexpr int IconOptionSize = 56;
constexpr int IconSize = 32;
constexpr int ButtonOptionWidth = 84;

} // namespace

MsgBoxPanel::MsgBoxPanel(const ToolContext &context, QWidget *parent) : ToolPanel(parent), m_context(context)
{
    setObjectName(u"tabNotewright"_s);
    addTab(createGeneralPage(), tr("General"));
    addTab(createStylePage(), tr("Style"));
    addTab(createButtonsPage(), tr("Buttons"));

    const HelpButtonPage::Names helpNames{u"chkHelpMsgBox"_s,   u"lblFileNameMsgBox"_s, u"txtFileNameMsgBox"_s,
                                          u"cmdBrowseMsgBox"_s, u"chkAppPathMsgBox"_s,  u"lblTopicIDMsgBox"_s,
                                          u"txtTopicIDMsgBox"_s};
    m_helpPage = new HelpButtonPage(helpNames, m_context.helpFileChooser, this);
    addTab(m_helpPage, tr("Help Button"));

    // The start-up choices, through their handlers like any other choice.
    m_optNone->setChecked(true);
    m_optOK->setChecked(true);
}

QWidget *MsgBoxPanel::createGeneralPage()
{
    auto *page = new QWidget(this);

    auto *lblTitle = new QLabel(tr("&Title:"), page);
    lblTitle->setObjectName(u"lblTitle"_s);
    m_cboTitle = new QComboBox(page);
    m_cboTitle->setObjectName(u"cboTitleMsgBox"_s);
    m_cboTitle->setEditable(true);
    // The list is fixed: typing neither adds to it nor completes from it.
    m_cboTitle->setInsertPolicy(QComboBox::NoInsert);
    m_cboTitle->setCompleter(nullptr);
    m_cboTitle->addItems({tr("Error"), tr("Confirm"), tr("Warning"), tr("Information")});
    m_cboTitle->setCurrentIndex(-1);
    keepToOneLine(m_cboTitle->lineEdit());
    lblTitle->setBuddy(m_cboTitle);

    auto *lblMessage = new QLabel(tr("&Message:"), page);
    lblMessage->setObjectName(u"lblMessage"_s);
    m_txtMessage = new QPlainTextEdit(page);
    m_txtMessage->setObjectName(u"txtMessageMsgBox"_s);
    m_txtMessage->setTabChangesFocus(true);
    wrapBetweenWords(m_txtMessage);
    lblMessage->setBuddy(m_txtMessage);

    m_chkModal = new QCheckBox(tr("Make The Message Box System-Mo&dal"), page);
    m_chkModal->setObjectName(u"chkModal"_s);
    // toggled, not clicked: a reset sets the box and relies on this running.
    connect(m_chkModal, &QCheckBox::toggled, this, &MsgBoxPanel::chkModal_Click);

    auto *grid = new QGridLayout(page);
    grid->addWidget(lblTitle, 0, 0);
    grid->addWidget(m_cboTitle, 0, 1);
    grid->addWidget(lblMessage, 1, 0, Qt::AlignTop);
    grid->addWidget(m_txtMessage, 1, 1);
    grid->addWidget(m_chkModal, 2, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(1, 1);
    return page;
}

ChoiceButton::ChoiceButton(const QString &caption, QWidget *parent) : QPushButton(caption, parent)
{
    setCheckable(true);
}

void ChoiceButton::paintEvent(QPaintEvent *event)
{
    QPushButton::paintEvent(event);
    if (!isChecked())
        return;
    // A style's checked look can be a faint shade, close to its focus look:
    // the chosen option gets the palette's selection colour, as a tint and a
    // frame, in light and dark palettes alike.
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor highlight = palette().color(QPalette::Highlight);
    const QRectF area = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
    QColor tint = highlight;
    tint.setAlpha(56);
    painter.setBrush(tint);
    painter.setPen(QPen(highlight, 3));
    painter.drawRoundedRect(area, 3, 3);
}

QPushButton *MsgBoxPanel::addOption(QWidget *parent, QButtonGroup *group, const QString &name, const QString &caption,
                                    void (MsgBoxPanel::*click)())
{
    auto *option = new ChoiceButton(caption, parent);
    option->setObjectName(name);
    option->setCheckable(true);
    option->setAutoDefault(false);
    group->addButton(option);
    // An option's handler runs when it becomes the chosen one, whether the
    // user or the reset chose it.
    connect(option, &QPushButton::toggled, this, [this, click](bool on) {
        if (on)
            (this->*click)();
    });
    return option;
}

QWidget *MsgBoxPanel::createStylePage()
{
    auto *page = new QWidget(this);
    auto *group = new QButtonGroup(page);

    struct IconOption
    {
        QString name;
        QString labelName;
        QString caption;
        std::optional<QStyle::StandardPixmap> picture;
        void (MsgBoxPanel::*click)();
    };
    const IconOption options[] = {
        {u"optNone"_s, u"Label1"_s, tr("No Icon"), std::nullopt, &MsgBoxPanel::optNone_Click},
        {u"optError"_s, u"Label2"_s, tr("Error"), QStyle::SP_MessageBoxCritical, &MsgBoxPanel::optError_Click},
        {u"optQuestion"_s, u"Label3"_s, tr("Question"), QStyle::SP_MessageBoxQuestion, &MsgBoxPanel::optQuestion_Click},
        {u"optWarning"_s, u"Label4"_s, tr("Warning"), QStyle::SP_MessageBoxWarning, &MsgBoxPanel::optWarning_Click},
        {u"optInformation"_s, u"Label5"_s, tr("Information"), QStyle::SP_MessageBoxInformation,
         &MsgBoxPanel::optInformation_Click},
    };

    auto *grid = new QGridLayout(page);
    grid->setHorizontalSpacing(12);
    int column = 0;
    for (const IconOption &icon : options) {
        QPushButton *option = addOption(page, group, icon.name, QString(), icon.click);
        option->setFixedSize(IconOptionSize, IconOptionSize);
        option->setIconSize(QSize(IconSize, IconSize));
        if (icon.picture)
            option->setIcon(deferredStandardIcon(*icon.picture, option));
        option->setAccessibleName(icon.caption);
        option->setToolTip(icon.caption);
        if (icon.name == u"optNone"_s)
            m_optNone = option;

        auto *label = new QLabel(icon.caption, page);
        label->setObjectName(icon.labelName);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

        grid->addWidget(option, 0, column, Qt::AlignHCenter);
        grid->addWidget(label, 1, column, Qt::AlignHCenter | Qt::AlignTop);
        grid->setColumnStretch(column, 1);
        ++column;
    }
    grid->setRowStretch(2, 1);
    return page;
}

QWidget *MsgBoxPanel::createButtonsPage()
{
    auto *page = new QWidget(this);
    auto *picture = new QFrame(page);
    picture->setObjectName(u"Picture1"_s);
    picture->setFrameShape(QFrame::StyledPanel);
    picture->setFrameShadow(QFrame::Sunken);
    auto *group = new QButtonGroup(picture);

    struct ButtonOption
    {
        QString name;
        QString caption;
        void (MsgBoxPanel::*click)();
    };
    // One row per button set, its buttons in the order the box shows them.
    const QList<QList<ButtonOption>> rows = {
        {{u"optOK"_s, tr("OK"), &MsgBoxPanel::optOK_Click}},
        {{u"optOKCancel_OK"_s, tr("OK"), &MsgBoxPanel::optOKCancel_OK_Click},
         {u"optOKCancel_Cancel"_s, tr("Cancel"), &MsgBoxPanel::optOKCancel_Cancel_Click}},
        {{u"optAbortRetryIgnore_Abort"_s, tr("Abort"), &MsgBoxPanel::optAbortRetryIgnore_Abort_Click},
         {u"optAbortRetryIgnore_Retry"_s, tr("Retry"), &MsgBoxPanel::optAbortRetryIgnore_Retry_Click},
         {u"optAbortRetryIgnore_Ignore"_s, tr("Ignore"), &MsgBoxPanel::optAbortRetryIgnore_Ignore_Click}},
        {{u"optYesNoCancel_Yes"_s, tr("Yes"), &MsgBoxPanel::optYesNoCancel_Yes_Click},
         {u"optYesNoCancel_No"_s, tr("No"), &MsgBoxPanel::optYesNoCancel_No_Click},
         {u"optYesNoCancel_Cancel"_s, tr("Cancel"), &MsgBoxPanel::optYesNoCancel_Cancel_Click}},
        {{u"optYesNo_Yes"_s, tr("Yes"), &MsgBoxPanel::optYesNo_Yes_Click},
         {u"optYesNo_No"_s, tr("No"), &MsgBoxPanel::optYesNo_No_Click}},
        {{u"optRetryCancel_Retry"_s, tr("Retry"), &MsgBoxPanel::optRetryCancel_Retry_Click},
         {u"optRetryCancel_Cancel"_s, tr("Cancel"), &MsgBoxPanel::optRetryCancel_Cancel_Click}},
    };

    auto *grid = new QGridLayout(picture);
    grid->setSpacing(4);
    for (int row = 0; row < rows.size(); ++row) {
        for (int column = 0; column < rows[row].size(); ++column) {
            const ButtonOption &button = rows[row][column];
            QPushButton *option = addOption(picture, group, button.name, button.caption, button.click);
            option->setMinimumWidth(ButtonOptionWidth);
            if (button.name == u"optOK"_s)
                m_optOK = option;
            grid->addWidget(option, row, column);
        }
    }

    m_lblDefaultButton = new QLabel(page);
    m_lblDefaultButton->setObjectName(u"lblDefaultButton"_s);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(picture, 0, Qt::AlignHCenter);
    layout->addWidget(m_lblDefaultButton, 0, Qt::AlignHCenter);
    layout->addStretch();
    return page;
}

MsgBoxFields MsgBoxPanel::fields() const
{
    MsgBoxFields fields;
    fields.message = typedText(m_txtMessage);
    fields.title = m_cboTitle->currentText();
    fields.style = m_values;
    fields.help = m_helpPage->fields();
    return fields;
}

QString MsgBoxPanel::generate() const
{
    return generateMsgBoxCode(fields());
}

void MsgBoxPanel::test()
{
    // The box as typed: the help file goes without App.Path, which only the
    // compiled program knows.
    const MsgBoxFields box = fields();
    m_context.platform.msgBox(box.message, msgBoxButtonsValue(box), box.title, m_helpPage->liveHelp());
}

void MsgBoxPanel::reset()
{
    m_cboTitle->setCurrentIndex(-1);
    m_cboTitle->clearEditText();
    m_txtMessage->clear();
    m_chkModal->setChecked(false);
    m_optNone->setChecked(true);
    m_optOK->setChecked(true);
    m_helpPage->reset(u"0"_s);
    setCurrentIndex(0);
}

void MsgBoxPanel::optNone_Click()
{
    m_values.IconValue = vbNoIcon;
}

void MsgBoxPanel::optError_Click()
{
    m_values.IconValue = vbCritical;
}

void MsgBoxPanel::optQuestion_Click()
{
    m_values.IconValue = vbQuestion;
}

void MsgBoxPanel::optWarning_Click()
{
    m_values.IconValue = vbExclamation;
}

void MsgBoxPanel::optInformation_Click()
{
    m_values.IconValue = vbInformation;
}

void MsgBoxPanel::chooseButtons(qint32 buttonSet, qint32 defaultButton, const QString &defaultCaption)
{
    m_values.ButtonSetValue = buttonSet;
    m_values.DefaultButtonValue = defaultButton;
    m_lblDefaultButton->setText(defaultCaption);
}

void MsgBoxPanel::optOK_Click()
{
    chooseButtons(vbOKOnly, vbDefaultButton1, tr("Default Button: OK"));
}

void MsgBoxPanel::optOKCancel_OK_Click()
{
    chooseButtons(vbOKCancel, vbDefaultButton1, tr("Default Button: OK"));
}

void MsgBoxPanel::optOKCancel_Cancel_Click()
{
    chooseButtons(vbOKCancel, vbDefaultButton2, tr("Default Button: Cancel"));
}

void MsgBoxPanel::optAbortRetryIgnore_Abort_Click()
{
    chooseButtons(vbAbortRetryIgnore, vbDefaultButton1, tr("Default Button: Abort"));
}

void MsgBoxPanel::optAbortRetryIgnore_Retry_Click()
{
    chooseButtons(vbAbortRetryIgnore, vbDefaultButton2, tr("Default Button: Retry"));
}

void MsgBoxPanel::optAbortRetryIgnore_Ignore_Click()
{
    chooseButtons(vbAbortRetryIgnore, vbDefaultButton3, tr("Default Button: Ignore"));
}

void MsgBoxPanel::optYesNoCancel_Yes_Click()
{
    chooseButtons(vbYesNoCancel, vbDefaultButton1, tr("Default Button: Yes"));
}

void MsgBoxPanel::optYesNoCancel_No_Click()
{
    chooseButtons(vbYesNoCancel, vbDefaultButton2, tr("Default Button: No"));
}

void MsgBoxPanel::optYesNoCancel_Cancel_Click()
{
    chooseButtons(vbYesNoCancel, vbDefaultButton3, tr("Default Button: Cancel"));
}

void MsgBoxPanel::optYesNo_Yes_Click()
{
    chooseButtons(vbYesNo, vbDefaultButton1, tr("Default Button: Yes"));
}

void MsgBoxPanel::optYesNo_No_Click()
{
    chooseButtons(vbYesNo, vbDefaultButton2, tr("Default Button: No"));
}

void MsgBoxPanel::optRetryCancel_Retry_Click()
{
    chooseButtons(vbRetryCancel, vbDefaultButton1, tr("Default Button: Retry"));
}

void MsgBoxPanel::optRetryCancel_Cancel_Click()
{
    chooseButtons(vbRetryCancel, vbDefaultButton2, tr("Default Button: Cancel"));
}

void MsgBoxPanel::chkModal_Click()
{
    m_values.ModalValue = m_chkModal->isChecked() ? vbSystemModal : vbApplicationModal;
}
