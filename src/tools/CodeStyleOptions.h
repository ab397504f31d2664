// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "codegen/CodeOptions.h"

class ToolOptions;

// The command line's --constants names|numbers and --dialect vb|libreoffice,
// which every tool takes.
void declareCodeOptions(ToolOptions &options);
// The code options from those options; numbers and Visual Basic when not
// given.
codegen::CodeOptions codeOptionsFromOptions(const ToolOptions &options);
