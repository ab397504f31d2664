// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/ToolOptions.h"
#include "tools/ToolReading.h"

#include <QJsonObject>

#include "tools/commondialog/CommonDialogFields.h"

// `quillkit98 generate commondialog`
CliTool commonDialogCli();

// The --dialog and --fonts values that stand for a page and a choice of
// fonts ("save", "both").
QString dialogChoice(DialogKind page);
QString fontsChoice(FontsToDisplay fonts);

// `read`'s members for the tool, and their values for fields read back.
QList<JsonMember> commonDialogJsonMembers();
QJsonObject commonDialogJson(const ReadResult &result);
