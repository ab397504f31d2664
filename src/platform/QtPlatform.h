// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Platform.h"

// The platform services on Qt: Qt's dialogs, clipboard and desktop services.
class QtPlatform final : public Platform
{
public:
    // Turns off Qt's own settings file (keepToolkitStateInMemory).
    QtPlatform();

    int msgBox(const QString &prompt, int buttons, const QString &title,
               const std::optional<HelpTopic> &help) override;
    QString inputBox(const QString &prompt, const QString &title, const QString &defaultText,
                     const std::optional<HelpTopic> &help) override;
    std::unique_ptr<CommonDialog> createCommonDialog(QWidget *owner) override;

    void clearClipboard() override;
    bool setClipboardText(const QString &text) override;
    QString clipboardText() const override;

    bool shellOpen(const QString &target, const QString &directory) override;
    QString documentPath(const QString &target) const override;

    void sleep(int milliseconds) override;

    QString appPath() const override;
    QDate currentDate() const override;
    QString dateText(const QDate &date) const override;
};

// Qt's own dialogs keep their state (a file dialog's history, folder and
// view, the colour dialog's custom colours) in the user's "QtProject"
// settings file, and create its folders when missing. The program keeps no
// files: this points the user's settings where no file can be created, so
// those writes go nowhere. The state lives in memory for the run.
void keepToolkitStateInMemory();
