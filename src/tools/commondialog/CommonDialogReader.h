// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/ToolReading.h"

// Reads common dialog code back into its fields.
ToolReader commonDialogReader();
