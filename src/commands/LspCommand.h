// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/Tool.h"

#include <QList>
#include <QStringList>

class QIODevice;

// `quillkit98 lsp [--stdio]`: the language server on standard input and
// output until the client ends it. Returns the exit status: 0 after
// shutdown, 1 without, 2 for a bad option.
int runLsp(const QStringList &arguments, const QList<Tool> &tools, QIODevice &out, QIODevice &err);
