// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/ToolOptions.h"
#include "tools/ToolReading.h"

#include <QJsonObject>
#include "tools/header/HeaderFields.h"

#include <QDate>

// `quillkit98 generate header`
CliTool headerCli();

// The fields the options describe: the start-up state (empty fields, the
// date defaults of `today`) with every given option written over it.
HeaderFields headerFieldsFromOptions(const ToolOptions &options, const QDate &today, const QString &todayText);

// `read`'s members for the tool, and their values for fields read back.
QList<JsonMember> headerJsonMembers();
QJsonObject headerJson(const ReadResult &result);
