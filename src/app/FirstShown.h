// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

class QWidget;

// Runs `action` once `widget` has painted for the first time, as soon as the
// event loop comes round after that paint (and so after the window has been
// handed to the window system): for work that the first sight of the window
// does without. Nothing runs if the widget goes before it paints.
void afterFirstPaint(QWidget &widget, std::function<void()> action);

// The start-up benchmark's hook: once `window` is first exposed and painted,
// prints "shown MICROSECONDS PROCESSOR" (the wall clock since the epoch, and
// the processor time the process has used, user and system, all threads, both
// in microseconds) on standard output and ends the program. The benchmarks' floor program uses the same hook, so
// both are timed alike. Needs only Qt Widgets.
void exitWhenFirstShown(QWidget &window);

// The environment variable that turns the hook on.
inline constexpr char ExitWhenShownVariable[] = "QUILLKIT98_EXIT_WHEN_SHOWN";
