// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/inputbox/InputBoxFields.h"

#include <QString>

// The Gambas code: an optional `Dim V As String` and `V = InputBox(prompt,
// title, default)` (component gb.form) between the begin and end markers;
// a help file, which Gambas's input box has no place for, is named in a
// comment line. CR LF between the lines, none after the last.
QString generateInputBoxGambas(const InputBoxFields &fields);
