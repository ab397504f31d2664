#pragma once

#include "tools/ToolDescriptor.h"

// Pickwright.
ToolDescriptor commonDialogTool();
