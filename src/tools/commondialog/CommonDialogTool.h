// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/Tool.h"

// Pickwright.
Tool commonDialogTool();
