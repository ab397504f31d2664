// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace lsp {

// The model of a large module is many times its text, and freed when a
// check or a read of it ends: given back to the system, so that the server
// stays the size of what it keeps.
inline void giveBackFreed(qsizetype textSize)
{
#if defined(__GLIBC__)
    if (textSize > 1024 * 1024)
        malloc_trim(0);
#else
    Q_UNUSED(textSize);
#endif
}

} // namespace lsp
