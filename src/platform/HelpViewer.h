// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class Platform;
class QLabel;
class QPushButton;
class QTextBrowser;
class QUrl;

// A window that shows an HTML or plain-text help document itself, for a
// desktop where no program opens it. Links within the document and to other
// such files beside it open in the window; other addresses go to the desktop.
// What it has to say it says in its own window, never in a message box: a
// message box can have a Help button, which opens help.
class HelpViewer : public QWidget
{
    Q_OBJECT

public:
    // A window of `owner`'s, so that it stays usable above a modal owner.
    HelpViewer(Platform &platform, QWidget *owner);

    // Whether the window can show the file at `path` (HTML or plain text).
    static bool canShow(const QString &path);

    // Shows the document at this local path, from its top.
    void showDocument(const QString &path);
    QTextBrowser *browser() const { return m_browser; }
    // Offers "Open in Browser", which hands the page shown to the desktop.
    void offerBrowser();
    // What the window says under the page (empty when all went well); it
    // goes when another page is shown.
    QString note() const;

private:
    void followLink(const QUrl &link);
    void openInBrowser();

    Platform &m_platform;
    QTextBrowser *m_browser;
    QPushButton *m_cmdBrowser;
    QLabel *m_lblNote;
};

// Opens a help document (relative to the program's folder) in the desktop's
// program for it. Where no program opens it, the built-in viewer shows it, as
// a window of `owner`'s; a file that is not there, or that the viewer cannot
// show, is told in a message box.
void openHelpDocument(Platform &platform, QWidget *owner, const QString &file);

// Shows the program's own help (relative to the program's folder) in the
// built-in viewer, which is offline and always shows the page as written;
// its "Open in Browser" hands the page to the desktop. A file that is not
// there is told in a message box; one the viewer cannot show goes to the
// desktop as openHelpDocument sends it.
void showProgramHelp(Platform &platform, QWidget *owner, const QString &file);
