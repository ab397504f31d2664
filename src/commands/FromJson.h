// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/Tool.h"

#include <QList>
#include <QStringList>

class QIODevice;

// Whether a `generate` command line names --from-json.
bool hasFromJson(const QStringList &arguments);

// `generate [TOOL] --from-json FILE|- [options]` rewritten as
// `generate TOOL --option=value ... [options]`, options given on the command
// line after the object's, so that they win. Throws CliError naming the
// member for anything the object cannot mean.
QStringList argumentsFromJson(const QStringList &arguments, const QList<Tool> &tools, QIODevice &in);
