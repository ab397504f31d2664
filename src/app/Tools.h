// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/Tool.h"

#include <QList>

// The tools, in the selector's order. A new tool is one folder under
// src/tools and one entry here.
const QList<Tool> &tools();
