// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

// The start-up benchmark's hook: once `window` is first exposed and painted,
// prints "shown MICROSECONDS PROCESSOR" (the wall clock since the epoch, and
// the processor time the process has used, user and system, all threads, both
// in microseconds) on standard output and ends the program. The benchmarks' floor program uses the same hook, so
// both are timed alike. Needs only Qt Widgets.
void exitWhenFirstShown(QWidget &window);

// The environment variable that turns the hook on.
inline constexpr char ExitWhenShownVariable[] = "QUILLKIT98_EXIT_WHEN_SHOWN";
