// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/ToolPanel.h"
#include "tools/msgbox/MsgBoxFields.h"

#include <QList>
#include <QPushButton>

class HelpButtonPage;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;

// One option of the Style and Buttons pages: a checkable button whose
// checked state shows in the palette's selection colour, unmistakable
// next to the focus.
class ChoiceButton : public QPushButton
{
    Q_OBJECT

public:
    ChoiceButton(const QString &caption, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
};

// `tabNotewright`: the message-box tool. The user designs a box (message,
// title, icon, buttons and default button, modality, Help button); the
// option and check-box handlers keep the style values in step, and Copy,
// Test and New read or reset them.
class MsgBoxPanel : public ToolPanel
{
    Q_OBJECT

public:
    MsgBoxPanel(const ToolContext &context, QWidget *parent = nullptr);

    // The fields as they stand, the message with CR LF line breaks.
    MsgBoxFields fields() const;

    void test(const QString &code) override;
    void reset() override;

    void setFields(const MsgBoxFields &fields);

private:
    // One icon option or one button option of the Style and Buttons pages.
    struct StyleOption
    {
        QPushButton *button;
        qint32 icon;
        qint32 buttonSet;
        qint32 defaultButton;
        QString defaultCaption;
    };

    QWidget *createGeneralPage();
    QWidget *createStylePage();
    QWidget *createButtonsPage();
    QPushButton *addOption(QWidget *parent, QButtonGroup *group, const QString &name, const QString &caption);

    void chooseIcon(qint32 icon);
    void chooseButtons(qint32 buttonSet, qint32 defaultButton, const QString &defaultCaption);
    void chooseModality(bool systemModal);

    const ToolContext &m_context;
    MsgBoxStyleValues m_values;

    QComboBox *m_cboTitle = nullptr;
    QPlainTextEdit *m_txtMessage = nullptr;
    QCheckBox *m_chkModal = nullptr;
    QList<StyleOption> m_iconOptions;
    QList<StyleOption> m_buttonOptions;
    QLabel *m_lblDefaultButton = nullptr;
    HelpButtonPage *m_helpPage = nullptr;
};
