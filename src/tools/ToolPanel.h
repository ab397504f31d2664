// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTabWidget>

class CommonDialog;
class Platform;
class ToolModel;

// What the main window lends every tool panel for its life.
struct ToolContext
{
    Platform &platform;
    // `cdlFileName`: the one help-file chooser, shared by the message-box
    // and input-box tools.
    CommonDialog &helpFileChooser;
};

// One tool's tab-page set in the main window, and the three operations the
// shell's Copy, Test and New buttons ask of the current tool.
//
// Each panel also gives and takes its whole Fields struct (`fields()`,
// `setFields()`). It is a view of its tool's model: it reports the user's
// edits to the model, and shows the model's fields whenever something else
// sets them; the model turns the fields into code.
class ToolPanel : public QTabWidget
{
    Q_OBJECT

public:
    explicit ToolPanel(QWidget *parent = nullptr);

    // Shows the designed dialog or preview live; returns when it closes.
    // `code` is the model's, for a tool whose preview shows its code.
    virtual void test(const QString &code) = 0;
    // Puts the tool (for some tools only its current page) back as after New.
    virtual void reset() = 0;
    // Makes `model` (this panel's tool's) the one this panel shows and edits.
    // A model without fields yet takes the panel's; one with fields is shown.
    void setModel(ToolModel &model);
    ToolModel *model() const;
    // Reports an edit that still waits for the event loop now, so that the
    // model is up to date before its code is used.
    void reportPendingEdit();

Q_SIGNALS:
    // A tool asks the main window to show this caption in its header strip.
    void headerCaptionRequested(const QString &caption);
    // The user may have changed the fields. Edits within one turn of the
    // event loop (a burst of keys, a reset, setFields) are reported once;
    // showing the model's fields is no edit and is not reported.
    void fieldsChanged();

protected:
    // Every edit of a field lands here; the report goes out once the event
    // loop comes round.
    void noteEdit();
    // Reports now; the end of a reset or setFields calls it so that the
    // change is reported before they return.
    void reportChange();

private:
    // Puts the model's fields into the widgets, unless they came from this
    // panel's own report.
    void showModelFields();
    void reportQueuedEdit();

    QPointer<ToolModel> m_model;
    bool m_reportQueued = false;
    // While the panel reports to its model, and while it shows the model's
    // fields: neither is to come back the other way.
    bool m_reporting = false;
    bool m_showingModel = false;
};
