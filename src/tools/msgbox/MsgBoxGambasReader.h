// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/ToolReading.h"

// Gambas's message box: Message(…), Message.Info(…), .Warning, .Error or
// .Question(…), with the buttons' captions, after Message.Title is set.

// The token of the call's `Message` in the statement, or -1.
qint32 findGambasMsgBox(const ReadContext &c, qint32 statement);
// Reads the call found at token k, its title and the tool's notes above it.
void readGambasMsgBox(ReadContext &c, qint32 statement, qint32 k, ReadResult &result);
