#pragma once

#include "app/CommandLine.h"

// `quillkit98 generate commondialog`
CliTool commonDialogCli();
