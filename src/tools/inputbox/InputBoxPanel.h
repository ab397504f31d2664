// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/ToolPanel.h"
#include "tools/inputbox/InputBoxFields.h"

class HelpButtonPage;
class QAction;
class QLabel;
class QCheckBox;
class QLineEdit;
class QPlainTextEdit;

// `tabInputBox`: the input-box tool's pages "General", "Help Button" and
// "Variable".
class InputBoxPanel : public ToolPanel
{
    Q_OBJECT

public:
    InputBoxPanel(const ToolContext &context, QWidget *parent = nullptr);

    // The fields as they stand, the message's line breaks as CR LF.
    InputBoxFields fields() const;
    void setFields(const InputBoxFields &fields);

    void test(const QString &code) override;
    void reset() override;

private:
    QWidget *createGeneralPage();
    // Marks the variable's field and says why when it is no BASIC name.
    void checkVariableName();
    QWidget *createVariablePage();

    const ToolContext &m_context;

    QLineEdit *m_txtTitleInputBox = nullptr;
    QPlainTextEdit *m_txtMessageInputBox = nullptr;
    QLineEdit *m_txtDefaultInputBox = nullptr;
    HelpButtonPage *m_helpPage = nullptr;
    QLineEdit *m_txtVariableName = nullptr;
    QCheckBox *m_chkDeclareVariable = nullptr;
    QLabel *m_lblVariableProblem = nullptr;
    QAction *m_variableMark = nullptr;
};
