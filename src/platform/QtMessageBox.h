// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Platform.h"

#include <QDialog>
#include <QHash>
#include <QList>
#include <QStyle>

#include <optional>

class QAbstractButton;
class QLabel;
class PromptView;
class QPushButton;

// The message box that BASIC's MsgBox shows, on Qt, built from a buttons
// value: the icon, the button set in its own order, the default button, the
// modality and a Help button. Built in full by the constructor, so that it
// can be inspected without being shown; exec() returns the result code of
// the pressed button.
class BasicMessageBox : public QDialog
{
    Q_OBJECT

public:
    // The prompt's CR LF pairs show as line breaks. The Help button opens
    // the help file through `platform`.
    BasicMessageBox(Platform &platform, const QString &prompt, int buttons, const QString &title,
                    const std::optional<HelpTopic> &help, QWidget *parent = nullptr);

    // The desktop's standard icon shown, if any.
    std::optional<QStyle::StandardPixmap> standardIcon() const { return m_standardIcon; }
    // The set's buttons, left to right, without Help.
    QList<QPushButton *> answerButtons() const { return m_answerButtons; }
    // Null unless the buttons value asks for one.
    QPushButton *helpButton() const { return m_helpButton; }
    // The result code of one of the answer buttons, 0 for any other.
    int resultCode(const QAbstractButton *button) const { return m_codes.value(button); }
    // The result code that Escape and the window's close button give, or 0
    // when the set has no answer for them.
    int escapeCode() const { return m_escapeCode; }
    // The prompt as shown, bounded to the screen.
    PromptView *prompt() const { return m_prompt; }

public Q_SLOTS:
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void onButtonClicked(QAbstractButton *button);
    void showHelp();
    // Bounds the box to the screen's available area: the prompt wraps at
    // half its width and scrolls when taller than the room left.
    void fitToScreen(const QWidget *parent);

    Platform &m_platform;
    std::optional<HelpTopic> m_help;
    std::optional<QStyle::StandardPixmap> m_standardIcon;
    QList<QPushButton *> m_answerButtons;
    QHash<const QAbstractButton *, int> m_codes;
    PromptView *m_prompt = nullptr;
    QPushButton *m_helpButton = nullptr;
    int m_escapeCode = 0;
};
