// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// The unified diff of one file's change, with git's headers (`diff --git
// a/… b/…`, names quoted as git quotes them); empty when the bytes are the
// same.
QByteArray unifiedDiff(const QString &path, const QByteArray &before, const QByteArray &after);

// A path as git writes it in a diff's headers: as it is, or in double
// quotes with C escapes (octal for bytes past ASCII) when it needs them.
QByteArray gitQuoted(const QByteArray &path);
