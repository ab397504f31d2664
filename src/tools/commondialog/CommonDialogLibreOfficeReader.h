// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/ToolReading.h"

// LibreOffice Basic has no common dialog control: its code shows a UNO
// service's dialog (the file and colour pickers), or the document's own font
// and print dialogs through the dispatcher.

// Whether the statement shows such a dialog.
bool isLibreOfficeDialog(const ReadContext &c, qint32 statement);
// Reads the dialog the statement shows, and what sets it up, into the result.
void readLibreOfficeDialog(ReadContext &c, qint32 statement, ReadResult &result);
