// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reader/CodeReader.h"

#include <QJsonObject>
#include <QList>
#include <QStringList>

class QIODevice;

// `quillkit98 read [--tool TOOL] [--file FILE]`, from the program name on:
// prints the JSON object of the first code found, or one line on `err` and
// returns 2.
int runRead(const QStringList &arguments, const QList<Tool> &tools, QIODevice &out, QIODevice &err, QIODevice &in);

// The object `read` prints: "tool", and one member per option of
// `generate TOOL`, named as the option. Members that the found code has no
// say in (another page's, the help file without help) are null.
QJsonObject readResultJson(const ReadResult &result);

// Whether a `generate` command line names --from-json.
bool hasFromJson(const QStringList &arguments);

// `generate [TOOL] --from-json FILE|- [options]` rewritten as
// `generate TOOL --option=value ... [options]`, options given on the command
// line after the object's, so that they win. Throws CliError naming the
// member for anything the object cannot mean.
QStringList argumentsFromJson(const QStringList &arguments, const QList<Tool> &tools, QIODevice &in);
