#pragma once

#include <QStringList>

class QIODevice;

// Runs the headless command line (`generate ...`, `--help`, `--version`).
// Returns the exit status: 0, or 2 for a usage error.
int runCommandLine(const QStringList &arguments, QIODevice &out, QIODevice &err, QIODevice &in);

// True when the arguments ask for the headless command line, not the window.
bool isHeadlessCommand(const QStringList &arguments);
