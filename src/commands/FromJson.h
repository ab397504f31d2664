// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/Tool.h"

#include <QHash>
#include <QList>
#include <QStringList>

class QIODevice;

// Whether a `generate` command line names --from-json.
bool hasFromJson(const QStringList &arguments);

// What `generate [TOOL] --from-json FILE|- [options]` asks for: the
// command line `generate TOOL [options]`, and the object's members as the
// values of the options of those names, for the tool to read through the
// same checks as the command line's (ToolOptions::setOtherValues). An
// option given on the command line wins over its member. Throws CliError
// naming the member for anything the object cannot mean.
struct FromJsonCommand
{
    QStringList arguments;
    QHash<QString, QStringList> values;
};
FromJsonCommand commandFromJson(const QStringList &arguments, const QList<Tool> &tools, QIODevice &in);
