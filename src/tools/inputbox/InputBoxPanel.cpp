// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/inputbox/InputBoxPanel.h"

#include "codegen/BasicLimits.h"
#include "codegen/CodeText.h"
#include "platform/DeferredIcon.h"
#include "platform/FieldText.h"
#include "platform/Platform.h"
#include "tools/HelpButtonPage.h"
#include "tools/inputbox/InputBoxGenerator.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStyle>

using namespace Qt::StringLiterals;

namespace {

QLabel *fieldLabel(const QString &objectName, const QString &caption, QWidget *field, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(objectName);
    label->setBuddy(field);
    return label;
}

QLineEdit *lineEdit(const QString &objectName, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    keepToOneLine(edit);
    return edit;
}

} // namespace

InputBoxPanel::InputBoxPanel(const ToolContext &context, QWidget *parent) : ToolPanel(parent), m_context(context)
{
    setObjectName(u"tabInputBox"_s);

    m_helpPage = new HelpButtonPage({.chkHelp = u"chkHelpInputBox"_s,
                                     .lblFile = u"lblHelpFileInputBox"_s,
                                     .txtFile = u"txtHelpFileInputBox"_s,
                                     .cmdBrowse = u"cmdBrowseInputBox"_s,
                                     .chkAppPath = u"chkAppPathInputBox"_s,
                                     .lblTopic = u"lblTopicIDInputBox"_s,
                                     .txtTopic = u"txtTopicIDInputBox"_s},
                                    context.helpFileChooser, this);

    addTab(createGeneralPage(), tr("General"));
    addTab(m_helpPage, tr("Help Button"));
    addTab(createVariablePage(), tr("Variable"));

    connect(m_helpPage, &HelpButtonPage::edited, this, &InputBoxPanel::noteEdit);
    for (QLineEdit *edit : {m_txtTitleInputBox, m_txtDefaultInputBox, m_txtVariableName})
        connect(edit, &QLineEdit::textChanged, this, &InputBoxPanel::noteEdit);
    connect(m_txtMessageInputBox, &QPlainTextEdit::textChanged, this, &InputBoxPanel::noteEdit);
    connect(m_chkDeclareVariable, &QCheckBox::toggled, this, &InputBoxPanel::noteEdit);
    connect(m_txtVariableName, &QLineEdit::textChanged, this, &InputBoxPanel::checkVariableName);

    setFields(InputBoxFields());
    checkVariableName();
}

QWidget *InputBoxPanel::createGeneralPage()
{
    auto *page = new QWidget(this);
    m_txtTitleInputBox = lineEdit(u"txtTitleInputBox"_s, page);
    m_txtMessageInputBox = new QPlainTextEdit(page);
    m_txtMessageInputBox->setObjectName(u"txtMessageInputBox"_s);
    // Tab leaves the field, as in every other field of the window.
    m_txtMessageInputBox->setTabChangesFocus(true);
    wrapBetweenWords(m_txtMessageInputBox);
    m_txtDefaultInputBox = lineEdit(u"txtDefaultInputBox"_s, page);

    // The message-box panel's labels of the same captions are element 0.
    auto *lblTitle = fieldLabel(u"lblTitle_1"_s, tr("&Title:"), m_txtTitleInputBox, page);
    auto *lblMessage = fieldLabel(u"lblMessage_1"_s, tr("&Message:"), m_txtMessageInputBox, page);
    auto *lblDefault = fieldLabel(u"lblDefault"_s, tr("&Default:"), m_txtDefaultInputBox, page);

    auto *grid = new QGridLayout(page);
    grid->addWidget(lblTitle, 0, 0);
    grid->addWidget(m_txtTitleInputBox, 0, 1);
    grid->addWidget(lblMessage, 1, 0, Qt::AlignTop);
    grid->addWidget(m_txtMessageInputBox, 1, 1);
    grid->addWidget(lblDefault, 2, 0);
    grid->addWidget(m_txtDefaultInputBox, 2, 1);
    grid->setRowStretch(1, 1);
    grid->setColumnStretch(1, 1);
    // The message label sits level with the first line of text.
    lblMessage->setContentsMargins(0, m_txtMessageInputBox->frameWidth() + 2, 0, 0);

    setTabOrder(m_txtTitleInputBox, m_txtMessageInputBox);
    setTabOrder(m_txtMessageInputBox, m_txtDefaultInputBox);
    return page;
}

QWidget *InputBoxPanel::createVariablePage()
{
    auto *page = new QWidget(this);
    m_txtVariableName = lineEdit(u"txtVariableName"_s, page);
    m_chkDeclareVariable = new QCheckBox(tr("Dec&lare The Variable"), page);
    m_chkDeclareVariable->setObjectName(u"chkDeclareVariable"_s);
    auto *lblVariableName = fieldLabel(u"lblVariableName"_s, tr("N&ame:"), m_txtVariableName, page);

    // Why the name cannot be a variable, under it while it cannot; the mark
    // in the field draws the eye to it. Its picture is looked up in the icon
    // theme only when first drawn: the lookup costs start-up milliseconds.
    m_variableMark = new QAction(deferredStandardIcon(QStyle::SP_MessageBoxWarning, m_txtVariableName), QString(),
                                 m_txtVariableName);
    m_txtVariableName->addAction(m_variableMark, QLineEdit::TrailingPosition);
    m_lblVariableProblem = new QLabel(page);
    m_lblVariableProblem->setObjectName(u"lblVariableProblem"_s);
    m_lblVariableProblem->setWordWrap(true);
    m_lblVariableProblem->setTextFormat(Qt::PlainText);

    auto *grid = new QGridLayout(page);
    grid->addWidget(lblVariableName, 0, 0);
    grid->addWidget(m_txtVariableName, 0, 1);
    grid->addWidget(m_lblVariableProblem, 1, 1);
    grid->addWidget(m_chkDeclareVariable, 2, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(3, 1);

    setTabOrder(m_txtVariableName, m_chkDeclareVariable);
    return page;
}

InputBoxFields InputBoxPanel::fields() const
{
    InputBoxFields fields;
    fields.title = m_txtTitleInputBox->text();
    fields.message = typedText(m_txtMessageInputBox);
    fields.defaultAnswer = m_txtDefaultInputBox->text();
    fields.help = m_helpPage->fields();
    fields.variableName = m_txtVariableName->text();
    fields.declareVariable = m_chkDeclareVariable->isChecked();
    return fields;
}

void InputBoxPanel::setFields(const InputBoxFields &fields)
{
    m_txtTitleInputBox->setText(fields.title);
    setTypedText(m_txtMessageInputBox, fields.message);
    m_txtDefaultInputBox->setText(fields.defaultAnswer);
    // Unchecking the help box disables its group through its handler.
    m_helpPage->setFields(fields.help);
    m_txtVariableName->setText(fields.variableName);
    m_chkDeclareVariable->setChecked(fields.declareVariable);
    reportChange();
}

void InputBoxPanel::test(const QString &)
{
    const InputBoxFields box = fields();
    // The help file goes as typed: App.Path is for the generated code only.
    // The answer is only there to be seen; nothing keeps it.
    m_context.platform.inputBox(box.message, box.title, box.defaultAnswer, m_helpPage->liveHelp());
}

void InputBoxPanel::checkVariableName()
{
    const QString problem = codegen::identifierProblem(m_txtVariableName->text());
    m_variableMark->setVisible(!problem.isEmpty());
    m_variableMark->setToolTip(problem);
    // The mark's button is read by the action's text.
    m_variableMark->setText(problem);
    m_lblVariableProblem->setText(problem);
    m_lblVariableProblem->setVisible(!problem.isEmpty());
    // A screen reader reads the reason with the field.
    m_txtVariableName->setAccessibleDescription(problem);
}

void InputBoxPanel::reset()
{
    setFields(InputBoxFields::afterNew());
    setCurrentIndex(0);
}
