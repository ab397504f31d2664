#pragma once

#include "tools/ToolDescriptor.h"

// Topwright.
ToolDescriptor headerTool();
