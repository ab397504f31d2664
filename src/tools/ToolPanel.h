// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "codegen/CodeOptions.h"

#include <QString>
#include <QStringList>
#include <QTabWidget>

class CommonDialog;
class Platform;

// What the main window lends every tool panel for its life.
struct ToolContext
{
    Platform &platform;
    // `cdlFileName`: the one help-file chooser, shared by the message-box
    // and input-box tools.
    CommonDialog &helpFileChooser;
    // How the code is written; the window's choice, the same for every tool.
    const codegen::CodeOptions &codeOptions;
};

// One tool's tab-page set in the main window, and the three operations the
// shell's Copy, Test and New buttons ask of the current tool.
//
// Each panel also gives and takes its whole Fields struct (`fields()`,
// `setFields()`), and reports through codeChanged() every change of what
// Copy would produce.
class ToolPanel : public QTabWidget
{
    Q_OBJECT

public:
    explicit ToolPanel(QWidget *parent = nullptr);

    // The whole source text for the fields as they stand.
    virtual QString generate() const = 0;
    // Shows the designed dialog or preview live; returns when it closes.
    virtual void test() = 0;
    // Puts the tool (for some tools only its current page) back as after New.
    virtual void reset() = 0;
    // Why the code for the fields as they stand would not compile, which
    // Copy and Test say instead of going on; empty when it would.
    virtual QString inputProblem() const { return {}; }
    // Sentences on the code for the code view: what does not compile, what
    // BASIC will not show. Empty when there is nothing to say.
    virtual QStringList codeNotes() const { return {}; }
    // The code options have changed: reports the new code.
    void codeOptionsChanged() { reportChange(); }

Q_SIGNALS:
    // A tool asks the main window to show this caption in its header strip.
    void headerCaptionRequested(const QString &caption);
    // What generate() gives has changed. Edits within one turn of the event
    // loop (a burst of keys, a reset, setFields) are reported once.
    void codeChanged();

protected:
    // Every edit of a field lands here; the check for a change of the code
    // runs once the event loop comes round.
    void noteEdit();
    // Checks now; the end of a reset or setFields calls it so that the change
    // is reported before they return.
    void reportChange();
    // Takes the code as it stands as the start; the end of each panel's
    // constructor calls it.
    void startTracking();

private:
    QString m_reportedCode;
    bool m_checkQueued = false;
};
