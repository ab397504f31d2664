// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/ToolOptions.h"
#include "tools/header/HeaderFields.h"

#include <QDate>

// `quillkit98 generate header`
CliTool headerCli();

// The fields the options describe: the start-up state (empty fields, the
// date defaults of `today`) with every given option written over it.
HeaderFields headerFieldsFromOptions(const ToolOptions &options, const QDate &today, const QString &todayText);
