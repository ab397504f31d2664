// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

class QIODevice;

// `quillkit98 fix [--check | --diff] [--dialect vb|libreoffice]
// [--encoding auto|NAME] PATH...`, from the program name on. Returns the exit
// status: 0 done (or nothing to change), 1 `--check` found changes or the
// output could not be written, 2 a file could not be read or written.
int runFix(const QStringList &arguments, QIODevice &out, QIODevice &err);

// The unified diff of one file's change, with a/ and b/ paths; empty when
// the bytes are the same.
QByteArray unifiedDiff(const QString &path, const QByteArray &before, const QByteArray &after);
