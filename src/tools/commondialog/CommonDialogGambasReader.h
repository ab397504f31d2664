// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "basic/Constants.h"
#include "tools/ToolReading.h"

#include <optional>

// Gambas has a Dialog class of static methods, and a Printer object whose
// Configure shows the print dialog; each returns True when cancelled.

// The page whose dialog the statement shows (`If Dialog.OpenFile() Then`);
// none for any other statement.
std::optional<DialogKind> gambasShownPage(const ReadContext &c, qint32 statement);
// Reads the block around that statement into the result.
void readGambasDialog(ReadContext &c, qint32 statement, DialogKind page, ReadResult &result);
