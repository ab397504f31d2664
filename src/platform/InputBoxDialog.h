// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Platform.h"

#include <QDialog>

#include <optional>

class QDialogButtonBox;
class PromptView;
class QLineEdit;

// The input box: the prompt, an editable line that starts with the default
// answer, OK and Cancel stacked on the right, and a Help button when the box
// has a help file. The constructor builds it whole, so that it can be
// inspected without being shown.
class InputBoxDialog : public QDialog
{
    Q_OBJECT

public:
    InputBoxDialog(const QString &prompt, const QString &title, const QString &defaultText, bool withHelp,
                   QWidget *parent = nullptr);

    // The typed text once confirmed; empty after Cancel, Escape or closing.
    QString answer() const;

    PromptView *prompt() const { return m_prompt; }
    QLineEdit *answerEdit() const { return m_answer; }
    QDialogButtonBox *buttonBox() const { return m_buttons; }

Q_SIGNALS:
    // Help (the button or F1) was pressed; the box stays open.
    void helpRequested();

private:
    // Bounds the box to the screen's available area.
    void fitToScreen(const QWidget *parent);

    PromptView *m_prompt;
    QLineEdit *m_answer;
    QDialogButtonBox *m_buttons;
};

// Shows the input box modally over `owner` and returns its answer. With a
// help file, Help opens it in its associated program through the platform's
// shell open, as the main window's Help button does.
QString runInputBox(Platform &platform, QWidget *owner, const QString &prompt, const QString &title,
                    const QString &defaultText, const std::optional<HelpTopic> &help);
