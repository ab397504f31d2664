#pragma once

#include <QString>
#include <QTabWidget>

// One tool's tab-page set in the main window, and the three operations the
// shell's Copy, Test and New buttons ask of the current tool.
class ToolPanel : public QTabWidget
{
    Q_OBJECT

public:
    using QTabWidget::QTabWidget;

    // The whole source text for the fields as they stand.
    virtual QString generate() const = 0;
    // Shows the designed dialog or preview live; returns when it closes.
    virtual void test() = 0;
    // Puts the tool (for some tools only its current page) back as it starts.
    virtual void reset() = 0;

Q_SIGNALS:
    // A tool asks the main window to show this caption in its header strip.
    void headerCaptionRequested(const QString &caption);
};

class CommonDialog;
class Platform;

// What the main window lends every tool panel for its life.
struct ToolContext
{
    Platform &platform;
    // `cdlFileName`: the one help-file chooser, shared by the message-box
    // and input-box tools.
    CommonDialog &helpFileChooser;
};
