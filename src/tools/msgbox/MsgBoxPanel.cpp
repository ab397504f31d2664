// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/msgbox/MsgBoxPanel.h"

#include "codegen/BasicLimits.h"
#include "codegen/CodeText.h"
#include "platform/Accessibility.h"
#include "platform/DeferredIcon.h"
#include "platform/FieldText.h"
#include "platform/Platform.h"
#include "tools/HelpButtonPage.h"
#include "tools/msgbox/MsgBoxGenerator.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTextDocument>
#include <QVBoxLayout>

#include <algorithm>
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
    connect(m_helpPage, &HelpButtonPage::edited, this, &MsgBoxPanel::noteEdit);

    // The start-up choices, through their handlers like any other choice.
    setFields(MsgBoxFields());
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
    m_cboTitle->setAccessibleName(tr("Title"));
    connect(m_cboTitle, &QComboBox::editTextChanged, this, &MsgBoxPanel::noteEdit);

    auto *lblMessage = new QLabel(tr("&Message:"), page);
    lblMessage->setObjectName(u"lblMessage"_s);
    m_txtMessage = new QPlainTextEdit(page);
    m_txtMessage->setObjectName(u"txtMessageMsgBox"_s);
    m_txtMessage->setTabChangesFocus(true);
    wrapBetweenWords(m_txtMessage);
    lblMessage->setBuddy(m_txtMessage);
    connect(m_txtMessage, &QPlainTextEdit::textChanged, this, &MsgBoxPanel::noteEdit);

    m_chkModal = new QCheckBox(tr("Make The Message Box System-Mo&dal"), page);
    m_chkModal->setObjectName(u"chkModal"_s);
    // toggled, not clicked: a reset sets the box and relies on this running.
    connect(m_chkModal, &QCheckBox::toggled, this, &MsgBoxPanel::chooseModality);

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
    // One of a set from the start, so that a screen reader meets it as a
    // radio button however early it asks (its group joins it later).
    setAutoExclusive(true);
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

QPushButton *MsgBoxPanel::addOption(QWidget *parent, QButtonGroup *group, const QString &name, const QString &caption)
{
    auto *option = new ChoiceButton(caption, parent);
    option->setObjectName(name);
    option->setCheckable(true);
    option->setAutoDefault(false);
    group->addButton(option);
    return option;
}

QWidget *MsgBoxPanel::createStylePage()
{
    auto *page = new QWidget(this);
    auto *group = new QButtonGroup(page);

    auto *grid = new QGridLayout(page);
    grid->setHorizontalSpacing(12);
    int column = 0;
    for (const basic::IconRow &icon : basic::msgBoxIcons()) {
        QPushButton *option = addOption(page, group, icon.widget.toString(), QString());
        // An option's handler runs when it becomes the chosen one, whether
        // the user or a reset chose it.
        connect(option, &QPushButton::toggled, this, [this, value = icon.value](bool on) {
            if (on)
                chooseIcon(value);
        });
        m_iconOptions.append({option, icon.value, 0, 0, QString()});
        option->setFixedSize(IconOptionSize, IconOptionSize);
        option->setIconSize(QSize(IconSize, IconSize));
        if (const auto picture = standardPixmap(icon.picture))
            option->setIcon(deferredStandardIcon(*picture, option));
        const QString caption = QCoreApplication::translate("MsgBoxStyles", icon.caption);
        option->setAccessibleName(caption);
        option->setToolTip(caption);

        auto *label = new QLabel(caption, page);
        label->setObjectName(icon.labelWidget.toString());
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

        grid->addWidget(option, 0, column, Qt::AlignHCenter);
        grid->addWidget(label, 1, column, Qt::AlignHCenter | Qt::AlignTop);
        grid->setColumnStretch(column, 1);
        ++column;
    }
    grid->setRowStretch(2, 1);
    setAccessibleRole(page, QAccessible::Grouping, tr("Icon"));
    tabToCheckedChoice(group->buttons());
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

    // One row per button set, its buttons in the order the box shows them;
    // an option picks the set and, by its place, the default button. The
    // OK-only set's one option goes by the set's name alone.
    const auto optionName = [](const basic::ButtonSetRow &set, const char *caption) {
        return set.buttonCount == 1 ? set.widget.toString() : set.widget + u'_' + QLatin1StringView(caption);
    };

    auto *grid = new QGridLayout(picture);
    grid->setSpacing(4);
    int row = 0;
    for (const basic::ButtonSetRow &set : basic::buttonSets()) {
        QStringList captions;
        for (const MsgBoxResult answer : set.buttons())
            captions << QCoreApplication::translate("MsgBoxStyles", basic::msgBoxResult(answer)->caption);
        int column = 0;
        for (const MsgBoxResult answer : set.buttons()) {
            const char *own = basic::msgBoxResult(answer)->caption;
            const QString &caption = captions.at(column);
            QPushButton *option = addOption(picture, group, optionName(set, own), caption);
            option->setMinimumWidth(ButtonOptionWidth);
            const StyleOption choice{option, vbNoIcon, set.value, basic::defaultButtonValue(column),
                                     tr("Default Button: %1").arg(caption)};
            connect(option, &QPushButton::toggled, this, [this, choice](bool on) {
                if (on)
                    chooseButtons(choice.buttonSet, choice.defaultButton, choice.defaultCaption);
            });
            m_buttonOptions.append(choice);
            grid->addWidget(option, row, column);
            // Read as the whole set and its default, not the caption alone.
            option->setAccessibleName(tr("%1; default %2").arg(captions.join(u", "_s), caption));
            connect(option, &QPushButton::toggled, picture, [picture, option](bool on) {
                if (on)
                    picture->setAccessibleDescription(tr("Chosen: %1").arg(option->accessibleName()));
            });
            ++column;
        }
        ++row;
    }
    setAccessibleRole(picture, QAccessible::Grouping, tr("Buttons"));
    tabToCheckedChoice(group->buttons());

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

void MsgBoxPanel::setFields(const MsgBoxFields &fields)
{
    if (m_cboTitle->currentIndex() != -1)
        m_cboTitle->setCurrentIndex(-1);
    if (m_cboTitle->currentText() != fields.title)
        m_cboTitle->setEditText(fields.title);
    setTypedText(m_txtMessage, fields.message);
    m_chkModal->setChecked(fields.style.modality == vbSystemModal);
    // A value that no option stands for leaves the first option.
    const auto pick = [](const QList<StyleOption> &options, auto matches) {
        const auto option = std::find_if(options.cbegin(), options.cend(), matches);
        (option == options.cend() ? options.constFirst() : *option).button->setChecked(true);
    };
    pick(m_iconOptions, [&](const StyleOption &o) { return o.icon == fields.style.icon; });
    pick(m_buttonOptions, [&](const StyleOption &o) {
        return o.buttonSet == fields.style.buttonSet && o.defaultButton == fields.style.defaultButton;
    });
    m_helpPage->setFields(fields.help);
    reportChange();
}

void MsgBoxPanel::test(const QString &)
{
    // The box as typed: the help file goes without App.Path, which only the
    // compiled program knows.
    const MsgBoxFields box = fields();
    m_context.platform.msgBox(box.message, msgBoxButtonsValue(box), box.title, m_helpPage->liveHelp());
}

void MsgBoxPanel::reset()
{
    setFields(MsgBoxFields());
    setCurrentIndex(0);
}

void MsgBoxPanel::chooseIcon(qint32 icon)
{
    m_values.icon = icon;
    noteEdit();
}

void MsgBoxPanel::chooseButtons(qint32 buttonSet, qint32 defaultButton, const QString &defaultCaption)
{
    m_values.buttonSet = buttonSet;
    m_values.defaultButton = defaultButton;
    m_lblDefaultButton->setText(defaultCaption);
    noteEdit();
}

void MsgBoxPanel::chooseModality(bool systemModal)
{
    m_values.modality = systemModal ? vbSystemModal : vbApplicationModal;
    noteEdit();
}
