// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/CommonDialog.h"
#include "platform/Platform.h"

#include <QHash>
#include <QList>
#include <QQueue>
#include <QStringList>

// A platform that shows nothing. Tests preload its answers (the next
// input-box text, the next dialog outcome and file, the next message-box
// result) and read back every call it received, with its arguments.
class FakePlatform : public Platform
{
public:
    struct MsgBoxCall
    {
        QString prompt;
        int buttons = 0;
        QString title;
        std::optional<HelpTopic> help;
    };
    struct InputBoxCall
    {
        QString prompt;
        QString title;
        QString defaultText;
        std::optional<HelpTopic> help;
    };
    struct ShellOpenCall
    {
        QString target;
        QString directory;
    };
    // One showing of a common dialog, with every property as it stood.
    struct DialogCall
    {
        DialogKind kind;
        QString dialogTitle;
        QString filter;
        QString defaultExt;
        qint32 flags = 0;
        bool cancelError = false;
    };
    // What the next dialog showing does; Confirmed with a file by default.
    struct DialogAnswer
    {
        DialogOutcome::Status status = DialogOutcome::Status::Confirmed;
        QString fileName;
        QString error;
    };

    // Answers, taken in order; when a queue is empty the default answer is
    // used (OK, an empty text, a confirmed dialog with no file).
    QQueue<int> msgBoxAnswers;
    QQueue<QString> inputBoxAnswers;
    QQueue<DialogAnswer> dialogAnswers;
    bool shellOpenSucceeds = true;
    // The documents that exist: the target as asked for, and its real file.
    QHash<QString, QString> documents;
    bool clipboardWorks = true;

    // What was asked, in order.
    QList<MsgBoxCall> msgBoxCalls;
    QList<InputBoxCall> inputBoxCalls;
    QList<ShellOpenCall> shellOpenCalls;
    QList<DialogCall> dialogCalls;
    // Every property write to any common dialog, as "Name=value", in order.
    QStringList dialogPropertyWrites;
    QList<int> sleeps;
    // Every call by name ("msgBox", "clearClipboard", ...), in order.
    QStringList log;

    QString clipboard;
    QString appFolder = QStringLiteral("/opt/quillkit98");
    QDate today = QDate(2026, 12, 6);

    int msgBox(const QString &prompt, int buttons, const QString &title,
               const std::optional<HelpTopic> &help) override;
    QString inputBox(const QString &prompt, const QString &title, const QString &defaultText,
                     const std::optional<HelpTopic> &help) override;
    std::unique_ptr<CommonDialog> createCommonDialog(QWidget *owner) override;
    void clearClipboard() override;
    bool setClipboardText(const QString &text) override;
    QString clipboardText() const override { return clipboard; }
    bool shellOpen(const QString &target, const QString &directory) override;
    QString documentPath(const QString &target) const override { return documents.value(target); }
    void sleep(int milliseconds) override;
    QString appPath() const override { return appFolder; }
    QDate currentDate() const override { return today; }
    // The real conversion, so that tests see the user's short date format.
    QString dateText(const QDate &date) const override;
};
