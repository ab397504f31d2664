#pragma once

#include "cli/ToolOptions.h"

// `quillkit98 generate inputbox`
CliTool inputBoxCli();
