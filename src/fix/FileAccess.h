// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

// The files that fix reads and rewrites, in the system's own terms; a
// failure is told in the same words on every system ("No such file or
// directory", "Permission denied").
namespace fix {

enum class PathKind { Directory, RegularFile, Other };

// What the path names, following links.
std::optional<PathKind> pathKind(const QString &path, QString &failure);

// What writeFile keeps of the file it replaces.
struct FileState
{
#if defined(_WIN32)
    unsigned long attributes = 0;
#else
    struct stat status = {};
#endif
};

// The whole file, never waiting on a FIFO or device that took a regular
// file's place.
std::optional<QByteArray> readFile(const QString &path, FileState &state, QString &failure);

// Through a temporary file in the same folder that replaces the file: the
// file is whole at every moment, and keeps what the system keeps of a file
// (its mode and owner, or its attributes).
bool writeFile(const QString &path, const QByteArray &bytes, const FileState &state, QString &failure);

} // namespace fix
