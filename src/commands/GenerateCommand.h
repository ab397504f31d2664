// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/Tool.h"

#include <QList>
#include <QString>
#include <QStringList>

class QIODevice;

// `quillkit98 generate TOOL [options]` and `generate [TOOL] --from-json
// FILE|- [options]`, from the program name on: prints the tool's code, as
// Copy would. Returns the exit status: 0; 1 when the output cannot be
// written; 2 for a usage error or a text that cannot be read.
int runGenerate(const QStringList &arguments, const QList<Tool> &tools, QIODevice &out, QIODevice &err,
                QIODevice &in);

// "Tools:" and each tool's name and summary, as `generate --help` and the
// program's --help list them.
QString toolListText(const QList<Tool> &tools, int width);

// The options of one tool, as its own --help shows them.
QString toolHelpText(const CliTool &tool, int width);
