// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/ToolOptions.h"
#include "tools/ToolReading.h"

#include <QJsonObject>

// `quillkit98 generate inputbox`
CliTool inputBoxCli();

// `read`'s members for the tool, and their values for fields read back.
QList<JsonMember> inputBoxJsonMembers();
QJsonObject inputBoxJson(const ReadResult &result);
// What an editor's hover shows of a call read back.
QStringList inputBoxHover(const ReadResult &result);
