#pragma once

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

// Message-box result codes, as BASIC's MsgBox returns them.
enum MsgBoxResult : int {
    vbOK = 1,
    vbCancel = 2,
    vbAbort = 3,
    vbRetry = 4,
    vbIgnore = 5,
    vbYes = 6,
    vbNo = 7,
};

// The buttons value of a plain warning with an OK button (48 + 0).
inline constexpr int vbOKOnlyWarning = 48;

// The title that a box without one of its own shows, as BASIC shows the
// program's title.
inline constexpr QStringView ProgramTitle = u"Quillkit 98";

// The shell-open show state that the callers pass (SW_HIDE).
inline constexpr int ShowStateHidden = 0;

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

    // Opens a document, web address or "mailto:" address in its associated
    // program. Returns false when nothing could be opened.
    virtual bool shellOpen(QWidget *owner, const QString &verb, const QString &target,
                           const QString &parameters, const QString &directory, int showState) = 0;

    // Blocks the calling thread.
    virtual void sleep(int milliseconds) = 0;

    // The program's folder, without a trailing separator except at a root.
    virtual QString appPath() const = 0;

    virtual QDate currentDate() const = 0;
    // The default conversion of a date to text: the user's short date format,
    // with a four-digit year.
    virtual QString dateText(const QDate &date) const = 0;

    // The help file setting, made once at start-up.
    QString helpFile() const { return m_helpFile; }
    void setHelpFile(const QString &path) { m_helpFile = path; }

private:
    QString m_helpFile;
};
