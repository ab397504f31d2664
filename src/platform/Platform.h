// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "basic/Constants.h"

#include <QDate>
#include <QString>
#include <QStringView>

#include <memory>
#include <optional>

class QWidget;
class CommonDialog;

// A help file and the topic within it, for the message box and input box.
struct HelpTopic
{
    QString file;
    double context = 0;

    friend bool operator==(const HelpTopic &, const HelpTopic &) = default;
};

// The title that a box without one of its own shows, as BASIC shows the
// program's title.
inline constexpr QStringView ProgramTitle = u"Quillkit 98";

// Everything the program asks of the desktop. The Qt implementation serves
// the running program; tests use a recording fake preloaded with answers.
class Platform
{
public:
    virtual ~Platform() = default;

    // A modal message box. `buttons` is the sum of the style flags (button
    // set, icon, default button, 4096 system-modal, 16384 Help button).
    // Returns the result code of the pressed button.
    virtual int msgBox(const QString &prompt, int buttons, const QString &title,
                       const std::optional<HelpTopic> &help) = 0;

    // A modal input box; returns the typed text, or an empty text on cancel.
    virtual QString inputBox(const QString &prompt, const QString &title, const QString &defaultText,
                             const std::optional<HelpTopic> &help) = 0;

    // A new common dialog component, owned by the caller for its whole life.
    virtual std::unique_ptr<CommonDialog> createCommonDialog(QWidget *owner) = 0;

    virtual void clearClipboard() = 0;
    // Places plain text on the clipboard; false when it could not be placed.
    virtual bool setClipboardText(const QString &text) = 0;
    // The clipboard's plain text; empty when it holds none.
    virtual QString clipboardText() const = 0;

    // Opens a document (relative to `directory`), web address or "mailto:"
    // address in its associated program. False when nothing could be opened.
    virtual bool shellOpen(const QString &target, const QString &directory) = 0;
    // The same, with documents found from the program's folder.
    bool openDocument(const QString &target) { return shellOpen(target, appPath()); }
    // The absolute path of a document that openDocument would open, found the
    // same way; empty when there is no such file (or the target is an address).
    virtual QString documentPath(const QString &target) const = 0;

    // Blocks the calling thread.
    virtual void sleep(int milliseconds) = 0;

    // The program's folder, without a trailing separator except at a root.
    virtual QString appPath() const = 0;

    virtual QDate currentDate() const = 0;
    // The default conversion of a date to text: the user's short date format,
    // with a four-digit year.
    virtual QString dateText(const QDate &date) const = 0;
};
