#pragma once

#include "tools/ToolDescriptor.h"

// Askwright.
ToolDescriptor inputBoxTool();
