// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "basic/Dialect.h"
#include "tools/TypingHelp.h"

#include <optional>

// The input box's signature as an editor shows it while the call is typed.
std::optional<CallSignature> inputBoxSignature(basic::Dialect dialect);
