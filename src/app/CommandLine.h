#pragma once

#include <QList>
#include <QStringList>

class QIODevice;
struct CliTool;

// The four tools, in the selector's order.
const QList<CliTool> &cliTools();

// Runs the headless command line (`generate ...`, `--help`, `--version`).
// Returns the exit status: 0; 1 when the output cannot be written; 2 for a
// usage error, a text that cannot be read, or memory running out.
int runCommandLine(const QStringList &arguments, QIODevice &out, QIODevice &err, QIODevice &in);

// True when the arguments ask for the headless command line, not the window.
bool isHeadlessCommand(const QStringList &arguments);
