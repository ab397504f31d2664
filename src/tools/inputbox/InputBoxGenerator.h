// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "codegen/CodeLayout.h"
#include "codegen/CodeOptions.h"
#include "tools/inputbox/InputBoxFields.h"

#include <QString>

// The Askwright code: an optional Dim line and the InputBox statement that
// stores the answer, between the begin and end markers. CR LF between the
// lines, none after the last.
QString generateInputBox(const InputBoxFields &fields, const codegen::CodeOptions &options = {});
// The same code, handed to `sink` a line at a time, to be joined by CR LF: a
// prompt of any length is written without the whole code ever in memory.
void writeInputBox(const InputBoxFields &fields, const codegen::CodeOptions &options, const codegen::LineSink &sink);

// Why the code for these fields would not compile: the variable that
// receives the answer is no BASIC name (see codegen::identifierProblem).
// Empty when it would.
QString inputBoxProblem(const InputBoxFields &fields);
// What the code view says of the code: the problem above, and a prompt longer
// than the classic box shows.
QStringList inputBoxCodeNotes(const InputBoxFields &fields);
