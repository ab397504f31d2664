// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/Tool.h"

#include <QList>
#include <QStringList>

class QIODevice;

// `quillkit98 read [--tool TOOL] [--file FILE]`, from the program name on:
// prints the JSON object of the first code found (reader/ResultJson.h), or
// one line on `err` and returns 2.
int runRead(const QStringList &arguments, const QList<Tool> &tools, QIODevice &out, QIODevice &err, QIODevice &in);
