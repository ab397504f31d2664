#pragma once

#include "cli/ToolOptions.h"

// `quillkit98 generate commondialog`
CliTool commonDialogCli();
