// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/Tool.h"

#include <QList>
#include <QString>

// Reads BASIC source back into a tool's fields: the first construct in the
// text that one of the tools can hold (a message-box call, input-box call,
// common dialog block or file header block).
//
// With `only`, just that tool's code is looked for. All or nothing: either
// every field the code shows, or an error.
ReadResult readCode(const QString &text, const QList<Tool> &tools, const Tool *only = nullptr);
