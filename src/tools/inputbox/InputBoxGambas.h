// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "codegen/CodeLayout.h"
#include "tools/inputbox/InputBoxFields.h"

#include <QString>

// The Gambas code: an optional `Dim V As String` and `V = InputBox(prompt,
// title, default)` (component gb.form) between the begin and end markers;
// a help file, which Gambas's input box has no place for, is named in a
// comment line. Each line goes to `sink` as it is made.
void writeInputBoxGambas(const InputBoxFields &fields, const codegen::LineSink &sink);
