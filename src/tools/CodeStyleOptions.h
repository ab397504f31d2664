// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "codegen/CodeOptions.h"

#include <QString>

class ToolOptions;

// The command line's --constants names|numbers and --dialect vb|libreoffice|gambas,
// which every tool takes.
void declareCodeOptions(ToolOptions &options);
// The code options from those options; numbers and Visual Basic when not
// given.
codegen::CodeOptions codeOptionsFromOptions(const ToolOptions &options);
// One line for standard error when an option given has no effect (names
// asked for with Gambas, which has no constants); empty otherwise.
QString codeOptionsNote(const ToolOptions &options);
