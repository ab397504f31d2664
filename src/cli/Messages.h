// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCommandLineOption>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

class QCommandLineParser;

// The command line's messages in the wording of the GNU tools, so that
// scripts and users read them as they read every other tool's.
namespace cli {

// "quillkit98"
QString programName();

// "quillkit98: MESSAGE", control characters shown as escapes: what is quoted
// from the command line or a file cannot move a terminal's cursor.
QString programMessage(QStringView message);

// "Try 'quillkit98 --help' for more information.", or with the command
// ("generate msgbox") whose help tells more.
QString tryHelp(QStringView command = {});

// "FILE:LINE:COLUMN: MESSAGE", as compilers report a place in a file;
// standard input is "-".
QString locatedMessage(QStringView file, qsizetype line, qsizetype column, QStringView message);

// "FILE: REASON" for a file that cannot be read ("notes: Is a directory").
QString fileMessage(QStringView file, QStringView reason);

// What a failed QCommandLineParser::parse() of `arguments` (the program
// first) refused, as getopt says it: "unrecognized option '--bogus'",
// "option '--icon' requires an argument", "option '--declare' doesn't allow
// an argument". `options` are those the parser was given.
QString parseError(const QCommandLineParser &parser, const QStringList &arguments,
                   const QList<QCommandLineOption> &options);

// "invalid argument 'VALUE' for '--OPTION'; valid arguments are a, b, c"
QString invalidArgument(QStringView option, QStringView value, const QStringList &valid);

} // namespace cli
