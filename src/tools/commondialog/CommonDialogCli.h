// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/ToolOptions.h"

// `quillkit98 generate commondialog`
CliTool commonDialogCli();
