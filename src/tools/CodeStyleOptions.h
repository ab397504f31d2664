// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/ToolOptions.h"
#include "codegen/CodeOptions.h"

#include <QString>

// Whether a tool's code shows the constants style at all.
enum class ConstantsUse { Written, NotWritten };

// The command line's --constants names|numbers and --dialect vb|libreoffice|gambas,
// which every tool takes; --constants is in the help of the tools whose code
// it changes.
void declareCodeOptions(ToolOptions &options, ConstantsUse constants);
// The code options from those options; numbers and Visual Basic when not
// given.
codegen::CodeOptions codeOptionsFromOptions(const ToolOptions &options);
// One line for standard error when an option given has no effect (names
// asked for with Gambas, which has no constants); empty otherwise.
QString codeOptionsNote(const ToolOptions &options);
// `read`'s member for the code options that every tool's object has: the
// dialect. (Only the message box's code shows its constants style.)
QList<JsonMember> codeJsonMembers();
