// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/MainWindow.h"
#include "support/FakePlatform.h"

#include <QTest>
#include <QWidget>

#include <functional>
#include <memory>

// The main window on a fake platform, driven through its real widgets by
// objectName, as a user would.
class GuiHarness
{
public:
    GuiHarness();
    ~GuiHarness();

    FakePlatform platform;
    std::unique_ptr<MainWindow> window;

    // The widget with this objectName; fails the test when there is none.
    template<typename T = QWidget>
    T *find(const QString &objectName) const
    {
        T *widget = window->findChild<T *>(objectName);
        if (!widget)
            qFatal("no widget named %s", qPrintable(objectName));
        return widget;
    }

    // Clicks a button (or selector image) by objectName with the mouse.
    void click(const QString &objectName) const;
    // Clicks the selector image of a tool: "imgNotewright", "imgAskwright"...
    void selectTool(const QString &imageName) const;
    // Presses Copy and returns what the clipboard then holds.
    QString copy();
    // Replaces a line edit's, combo box's or text edit's text by typing, as a
    // user would (select all, then type). Line breaks type Return.
    void type(const QString &objectName, const QString &text) const;

    // Clicks a button that opens a modal window and runs `whileShown` on that
    // window once it is up; `whileShown` closes or hides it. Should it not, or
    // should a check fail, a guard closes the window so that the run cannot
    // hang, and the test fails.
    void whileModal(const QString &button, const std::function<void(QWidget *modal)> &whileShown) const;

    // Runs `action` from the event loop and reports whether the program's
    // event loop then ended by itself (within a few seconds) with status 0.
    static bool endsTheProgram(const std::function<void()> &action);
};
