// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIODevice>
#include <QStringList>

#include <memory>

// The program's standard streams and arguments, the same on every system:
// bytes pass unchanged (no CR added before LF), text is UTF-8 to pipes and
// files, and a Windows console gets its Unicode output.

// Before anything is read or written.
void prepareStandardStreams();

// The arguments as the user typed them (on Windows from the wide command
// line, not the ANSI code page of argv).
QStringList programArguments(int argc, char **argv);

// Standard output (1) or error (2) for the program's UTF-8 bytes,
// unbuffered; nullptr with the reason in `error`.
std::unique_ptr<QIODevice> openStandardOutput(int fd, QString &error);

// Standard input, unbuffered.
std::unique_ptr<QIODevice> openStandardInput(QString &error);

// Standard error for a message before the command line runs.
void writeStandardError(const QString &text);

// The window needs no console: one that Windows opened for the program
// alone (started from Explorer) is closed.
void releaseOwnConsole();
