#pragma once

#include "app/CommandLine.h"

// `quillkit98 generate msgbox`
CliTool msgBoxCli();
