// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

// BASIC's limits that the code written and read keeps to.
namespace basic {

// UTF-16 code units in the longest physical line the classic editor loads.
inline constexpr qsizetype MaxLineLength = 1023;

// Parentheses nested in one expression that a reader follows; deeper is
// refused rather than recursed into.
inline constexpr int MaxNesting = 64;

} // namespace basic
