#pragma once

#include "app/CommandLine.h"

// `quillkit98 generate inputbox`
CliTool inputBoxCli();
