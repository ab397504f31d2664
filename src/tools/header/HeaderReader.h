// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/ToolReading.h"

// Reads a file header block back into its fields.
ToolReader headerReader();
