// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/Tool.h"

#include <QList>
#include <QStringList>

class QIODevice;

// `quillkit98 fix [--check [--format text|github|sarif] | --diff]
// [--dialect vb|libreoffice] [--encoding auto|NAME] PATH...`, from the
// program name on; a PATH of "-" is standard input. Returns the exit status:
// 0 done (or nothing to change), 1 `--check` found changes, 2 a bad option,
// a file that could not be read or written, or output that could not be
// written. A module's dialect, unless --dialect gives it, is decided as
// `read` decides it, with these tools.
int runFix(const QStringList &arguments, const QList<Tool> &tools, QIODevice &out, QIODevice &err, QIODevice &in);
// The same, standard input being the process's.
int runFix(const QStringList &arguments, const QList<Tool> &tools, QIODevice &out, QIODevice &err);
