// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/HelpButtonPage.h"

#include "codegen/CodeText.h"
#include "platform/CommonDialog.h"
#include "platform/FieldText.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

using namespace Qt::StringLiterals;

HelpButtonPage::HelpButtonPage(const Names &names, CommonDialog &chooser, QWidget *parent)
    : QWidget(parent),
      m_chooser(chooser),
      m_chkHelp(new QCheckBox(tr("&Include Help Button"), this)),
      m_lblFile(new QLabel(tr("Help &File:"), this)),
      m_txtFile(new QLineEdit(this)),
      m_cmdBrowse(new QToolButton(this)),
      m_chkAppPath(new QCheckBox(tr("&Use App.Path + Your Help File"), this)),
      m_lblTopic(new QLabel(tr("To&pic ID:"), this)),
      m_txtTopic(new QLineEdit(this))
{
    m_chkHelp->setObjectName(names.chkHelp);
    m_lblFile->setObjectName(names.lblFile);
    m_txtFile->setObjectName(names.txtFile);
    m_cmdBrowse->setObjectName(names.cmdBrowse);
    m_chkAppPath->setObjectName(names.chkAppPath);
    m_lblTopic->setObjectName(names.lblTopic);
    m_txtTopic->setObjectName(names.txtTopic);

    keepToOneLine(m_txtFile);
    keepToOneLine(m_txtTopic);
    m_cmdBrowse->setText(u"..."_s);
    m_cmdBrowse->setToolTip(tr("Choose a help file"));
    m_cmdBrowse->setAccessibleName(tr("Choose a help file"));
    m_lblFile->setBuddy(m_txtFile);
    m_lblTopic->setBuddy(m_txtTopic);

    auto *grid = new QGridLayout(this);
    grid->addWidget(m_chkHelp, 0, 0, 1, 3);
    grid->addWidget(m_lblFile, 1, 0);
    grid->addWidget(m_txtFile, 1, 1);
    grid->addWidget(m_cmdBrowse, 1, 2);
    grid->addWidget(m_chkAppPath, 2, 1, 1, 2);
    grid->addWidget(m_lblTopic, 3, 0);
    grid->addWidget(m_txtTopic, 3, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(4, 1);

    setTabOrder(m_chkHelp, m_txtFile);
    setTabOrder(m_txtFile, m_cmdBrowse);
    setTabOrder(m_cmdBrowse, m_chkAppPath);
    setTabOrder(m_chkAppPath, m_txtTopic);

    // toggled, not clicked: a reset sets the box and relies on this running.
    connect(m_chkHelp, &QCheckBox::toggled, this, &HelpButtonPage::enableHelpFields);
    connect(m_cmdBrowse, &QToolButton::clicked, this, &HelpButtonPage::chooseHelpFile);
    enableHelpFields(false);
    setFields(HelpFields());

    for (QCheckBox *check : {m_chkHelp, m_chkAppPath})
        connect(check, &QCheckBox::toggled, this, &HelpButtonPage::edited);
    for (QLineEdit *edit : {m_txtFile, m_txtTopic})
        connect(edit, &QLineEdit::textChanged, this, &HelpButtonPage::edited);
}

HelpFields HelpButtonPage::fields() const
{
    return {m_chkHelp->isChecked(), m_chkAppPath->isChecked(), m_txtFile->text(), m_txtTopic->text()};
}

std::optional<HelpTopic> HelpButtonPage::liveHelp() const
{
    if (!m_chkHelp->isChecked())
        return std::nullopt;
    return HelpTopic{m_txtFile->text(), codegen::topicContext(m_txtTopic->text())};
}

void HelpButtonPage::setFields(const HelpFields &fields)
{
    m_txtFile->setText(fields.helpFile);
    m_chkAppPath->setChecked(fields.appPath);
    m_txtTopic->setText(fields.topicId);
    m_chkHelp->setChecked(fields.help);
}

void HelpButtonPage::enableHelpFields(bool on)
{
    for (QWidget *w : {static_cast<QWidget *>(m_lblFile), static_cast<QWidget *>(m_txtFile),
                       static_cast<QWidget *>(m_cmdBrowse), static_cast<QWidget *>(m_lblTopic),
                       static_cast<QWidget *>(m_txtTopic), static_cast<QWidget *>(m_chkAppPath)})
        w->setEnabled(on);
}

void HelpButtonPage::chooseHelpFile()
{
    // The chooser has CancelError on: a cancel or any failure leaves the field.
    if (!m_chooser.showOpen().confirmed())
        return;
    m_txtFile->setText(m_chooser.fileName());
}
