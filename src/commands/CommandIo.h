// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/ToolOptions.h"

#include <QCommandLineOption>
#include <QList>
#include <QString>
#include <QStringView>

class QCommandLineParser;
class QIODevice;

// What every command does alike: its output, its errors in GNU's words
// (cli/Messages.h), the check for an option given twice, and the reading of
// a file or standard input (readSource in cli/ToolOptions.h).
namespace commands {

// The line and a line break, as UTF-8.
void writeLine(QIODevice &device, QStringView line);

// "quillkit98: MESSAGE" on one line, control characters escaped.
void writeError(QIODevice &err, QStringView message);

// "quillkit98: FILE: REASON" for a file that cannot be read or written.
void writeFileError(QIODevice &err, QStringView file, QStringView reason);

// A mistake in the command: the message, then where the help is (the
// command's own, "generate msgbox", or the program's). Returns 2.
int usageError(QIODevice &err, QStringView message, QStringView command = {});

// The same for a message that is escaped already and may have several
// lines ("Valid arguments are:" and a list).
int usageErrorLines(QIODevice &err, QStringView message, QStringView command);

// A CliError: a mistake in the command, the context ("generate msgbox") in
// front, or a file that cannot be read, without the pointer to help.
// Returns 2.
int reportedError(QIODevice &err, const CliError &error, const QString &context, QStringView command);

// Prints the text on standard output; a failed write is no success: one
// line on standard error, status 1.
int printed(QIODevice &out, QIODevice &err, QStringView text);

// "quillkit98: cannot write the output: REASON"
void writeOutputError(QIODevice &err, const QIODevice &out);

// The width that --help wraps to: the terminal's, or 80 columns.
int helpWidth(QIODevice &out);

// The first of `options` that the parse saw more than once, by its first
// name; empty when none was. A second value would silently win over the
// first.
QString givenTwice(const QCommandLineParser &parser, const QList<QCommandLineOption> &options);

} // namespace commands
