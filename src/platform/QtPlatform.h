#pragma once

#include "platform/Platform.h"

// The platform services on Qt: Qt's dialogs, clipboard and desktop services.
class QtPlatform final : public Platform
{
public:
    int msgBox(const QString &prompt, int buttons, const QString &title,
               const std::optional<HelpTopic> &help) override;
    QString inputBox(const QString &prompt, const QString &title, const QString &defaultText,
                     const std::optional<HelpTopic> &help) override;
    std::unique_ptr<CommonDialog> createCommonDialog(QWidget *owner) override;

    void clearClipboard() override;
    bool setClipboardText(const QString &text) override;

    bool shellOpen(const QString &target, const QString &directory) override;

    void sleep(int milliseconds) override;

    QString appPath() const override;
    QDate currentDate() const override;
    QString dateText(const QDate &date) const override;
};
