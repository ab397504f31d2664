// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Platform.h"
#include "tools/HelpFields.h"

#include <QWidget>

class CommonDialog;
class QCheckBox;
class QLabel;
class QLineEdit;
class QToolButton;

// The "Help Button" page of the message-box and input-box tools: include a
// Help button, the help file with its "..." chooser, App.Path, the topic ID.
// The two tools name the controls differently; the behaviour is the same.
class HelpButtonPage : public QWidget
{
    Q_OBJECT

public:
    struct Names
    {
        QString chkHelp;
        QString lblFile;
        QString txtFile;
        QString cmdBrowse;
        QString chkAppPath;
        QString lblTopic;
        QString txtTopic;
    };

    // `chooser` is the main window's help-file chooser, shared by both tools.
    HelpButtonPage(const Names &names, CommonDialog &chooser, QWidget *parent = nullptr);

    HelpFields fields() const;
    void setFields(const HelpFields &fields);

    // What a live test passes to the dialog: the help file as typed (App.Path
    // is for the compiled program only) and the topic number, when help is on.
    std::optional<HelpTopic> liveHelp() const;

Q_SIGNALS:
    // Any of the page's fields changed.
    void edited();

private:
    void enableHelpFields(bool on);
    void chooseHelpFile();

    CommonDialog &m_chooser;
    QCheckBox *m_chkHelp;
    QLabel *m_lblFile;
    QLineEdit *m_txtFile;
    QToolButton *m_cmdBrowse;
    QCheckBox *m_chkAppPath;
    QLabel *m_lblTopic;
    QLineEdit *m_txtTopic;
};
