// SPDX-License-Identifier: GPL-3.0-or-later
#include "fix/FileAccess.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>

#include <windows.h>

using namespace Qt::StringLiterals;

namespace fix {

namespace {

// The words that the program uses on every system, not Windows' own.
QString systemError(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_PATHNAME:
        return u"No such file or directory"_s;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
        return u"Permission denied"_s;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return u"No space left on device"_s;
    case ERROR_FILENAME_EXCED_RANGE:
        return u"File name too long"_s;
    case ERROR_DIRECTORY:
        return u"Not a directory"_s;
    default:
        return u"Input/output error"_s;
    }
}

std::wstring nativePath(const QString &path)
{
    return QDir::toNativeSeparators(path).toStdWString();
}

class Handle
{
public:
    explicit Handle(HANDLE handle) : m_handle(handle) {}
    ~Handle() { close(); }
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;
    bool ok() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return m_handle; }
    bool close()
    {
        const bool closed = !ok() || CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE m_handle;
};

// Opened for reading or for its attributes only; a folder too, and a link
// stands for what it points to.
HANDLE openExisting(const std::wstring &path, DWORD access)
{
    return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

std::optional<PathKind> kindOf(HANDLE handle, DWORD *attributes, QString &failure)
{
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileType(handle) != FILE_TYPE_DISK)
        return PathKind::Other;
    if (!GetFileInformationByHandle(handle, &info)) {
        failure = systemError(GetLastError());
        return std::nullopt;
    }
    if (attributes)
        *attributes = info.dwFileAttributes;
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return PathKind::Directory;
    return info.dwFileAttributes & FILE_ATTRIBUTE_DEVICE ? PathKind::Other : PathKind::RegularFile;
}

} // namespace

std::optional<PathKind> pathKind(const QString &path, QString &failure)
{
    const Handle file(openExisting(nativePath(path), 0));
    if (!file.ok()) {
        failure = systemError(GetLastError());
        return std::nullopt;
    }
    return kindOf(file.get(), nullptr, failure);
}

std::optional<QByteArray> readFile(const QString &path, FileState &state, QString &failure)
{
    const Handle file(openExisting(nativePath(path), GENERIC_READ));
    if (!file.ok()) {
        failure = systemError(GetLastError());
        return std::nullopt;
    }
    const std::optional<PathKind> kind = kindOf(file.get(), &state.attributes, failure);
    if (!kind)
        return std::nullopt;
    if (*kind != PathKind::RegularFile) {
        failure = u"Not a regular file"_s;
        return std::nullopt;
    }
    QByteArray bytes;
    char buffer[1 << 16];
    for (;;) {
        DWORD count = 0;
        if (!ReadFile(file.get(), buffer, sizeof buffer, &count, nullptr)) {
            failure = systemError(GetLastError());
            return std::nullopt;
        }
        if (count == 0)
            break;
        bytes.append(buffer, qsizetype(count));
    }
    return bytes;
}

// The attributes stay as they were, the way Windows' own replacing keeps
// them, with the archive mark set as for any change. A read-only file is
// left alone, as Windows' programs leave it.
bool writeFile(const QString &path, const QByteArray &bytes, const FileState &state, QString &failure)
{
    if (state.attributes & FILE_ATTRIBUTE_READONLY) {
        failure = systemError(ERROR_ACCESS_DENIED);
        return false;
    }
    const QFileInfo info(path);
    std::wstring temporary;
    HANDLE created = INVALID_HANDLE_VALUE;
    for (int attempt = 0; created == INVALID_HANDLE_VALUE && attempt < 100; ++attempt) {
        const QString suffix = QString::number(QRandomGenerator::global()->generate() % 0x1000000, 16);
        temporary = nativePath(info.dir().filePath(u"."_s + info.fileName() + u"."_s + suffix));
        created = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY, nullptr);
        if (created == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS
            && GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    Handle file(created);
    if (!file.ok()) {
        failure = systemError(GetLastError());
        return false;
    }
    bool ok = true;
    for (qsizetype written = 0; ok && written < bytes.size();) {
        const DWORD chunk = DWORD(std::min<qsizetype>(bytes.size() - written, 1 << 20));
        DWORD count = 0;
        if (!WriteFile(file.get(), bytes.constData() + written, chunk, &count, nullptr) || count == 0) {
            failure = systemError(count == 0 && GetLastError() == ERROR_SUCCESS ? ERROR_DISK_FULL : GetLastError());
            ok = false;
        }
        written += count;
    }
    if (ok && !FlushFileBuffers(file.get())) {
        failure = systemError(GetLastError());
        ok = false;
    }
    if (!file.close() && ok) {
        failure = systemError(GetLastError());
        ok = false;
    }
    const std::wstring target = nativePath(path);
    if (ok && !ReplaceFileW(target.c_str(), temporary.c_str(), nullptr,
                            REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr, nullptr)) {
        failure = systemError(GetLastError());
        ok = false;
    }
    if (!ok) {
        DeleteFileW(temporary.c_str());
        return false;
    }
    constexpr DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    const DWORD attributes = (state.attributes & kept) | FILE_ATTRIBUTE_ARCHIVE;
    if (!SetFileAttributesW(target.c_str(), attributes)) {
        failure = systemError(GetLastError());
        return false;
    }
    return true;
}

} // namespace fix
