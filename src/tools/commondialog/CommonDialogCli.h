// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/ToolOptions.h"

#include "tools/commondialog/CommonDialogFields.h"

// `quillkit98 generate commondialog`
CliTool commonDialogCli();

// The --dialog and --fonts values that stand for a page and a choice of
// fonts ("save", "both").
QString dialogChoice(DialogKind page);
QString fontsChoice(FontsToDisplay fonts);
