// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/StartUp.h"

#include <QStringList>

#include <optional>

class QIODevice;

// Runs the headless command line (`generate ...`, `--help`, `--version`).
// Returns the exit status: 0; 1 when the output cannot be written; 2 for a
// usage error, a text that cannot be read, or memory running out.
int runCommandLine(const QStringList &arguments, QIODevice &out, QIODevice &err, QIODevice &in);

// The window's options from the arguments (the program's name first); null,
// with `error` set, for an unknown option or a bad value.
std::optional<WindowOptions> parseWindowOptions(const QStringList &arguments, QString *error);

// True when the arguments ask for the headless command line, not the window.
bool isHeadlessCommand(const QStringList &arguments);
