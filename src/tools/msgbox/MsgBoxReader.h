// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/ToolReading.h"

// Reads a message box call back into its fields.
ToolReader msgBoxReader();
