#pragma once

#include "cli/ToolOptions.h"

// `quillkit98 generate msgbox`
CliTool msgBoxCli();
