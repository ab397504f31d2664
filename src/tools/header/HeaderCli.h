#pragma once

#include "app/CommandLine.h"

// `quillkit98 generate header`
CliTool headerCli();
