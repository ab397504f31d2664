#pragma once

#include "tools/ToolDescriptor.h"

// Notewright.
ToolDescriptor msgBoxTool();
