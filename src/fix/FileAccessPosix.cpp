// SPDX-License-Identifier: GPL-3.0-or-later
#include "fix/FileAccess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace fix {

namespace {

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

std::optional<PathKind> pathKind(const QString &path, QString &failure)
{
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) != 0) {
        failure = systemError(errno);
        return std::nullopt;
    }
    if (S_ISDIR(status.st_mode))
        return PathKind::Directory;
    return S_ISREG(status.st_mode) ? PathKind::RegularFile : PathKind::Other;
}

std::optional<QByteArray> readFile(const QString &path, FileState &state, QString &failure)
{
    struct stat &status = state.status;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        failure = systemError(errno);
        return std::nullopt;
    }
    QByteArray bytes;
    bool ok = ::fstat(fd, &status) == 0;
    if (!ok) {
        failure = systemError(errno);
    } else if (!S_ISREG(status.st_mode)) {
        failure = u"Not a regular file"_s;
        ok = false;
    } else {
        bytes.reserve(qsizetype(status.st_size));
        char buffer[1 << 16];
        for (;;) {
            const ssize_t count = ::read(fd, buffer, sizeof buffer);
            if (count < 0 && errno == EINTR)
                continue;
            if (count < 0) {
                failure = systemError(errno);
                ok = false;
                break;
            }
            if (count == 0)
                break;
            bytes.append(buffer, qsizetype(count));
        }
    }
    ::close(fd);
    return ok ? std::optional(bytes) : std::nullopt;
}

// Through a temporary file in the same folder, renamed over the file: the
// file is whole at every moment. The mode is kept, and the owner and group
// where the user may set them.
bool writeFile(const QString &path, const QByteArray &bytes, const FileState &state, QString &failure)
{
    const struct stat &status = state.status;
    const QFileInfo info(path);
    QByteArray temporary = QFile::encodeName(info.dir().filePath(u"."_s + info.fileName() + u".XXXXXX"_s));
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        failure = systemError(errno);
        return false;
    }
    bool ok = true;
    for (qsizetype written = 0; ok && written < bytes.size();) {
        const ssize_t count = ::write(fd, bytes.constData() + written, std::size_t(bytes.size() - written));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0) {
            failure = systemError(count < 0 ? errno : ENOSPC);
            ok = false;
        } else {
            written += count;
        }
    }
    if (ok && ::geteuid() == 0 && ::fchown(fd, status.st_uid, status.st_gid) != 0) {
        failure = systemError(errno);
        ok = false;
    } else if (ok && ::geteuid() != 0 && status.st_gid != ::getegid()) {
        // A group the user belongs to can be kept; another cannot.
        [[maybe_unused]] const int kept = ::fchown(fd, uid_t(-1), status.st_gid);
    }
    // After the owner: changing it clears the set-ID bits.
    if (ok && ::fchmod(fd, status.st_mode & 07777) != 0) {
        failure = systemError(errno);
        ok = false;
    }
    if (ok && ::fsync(fd) != 0) {
        failure = systemError(errno);
        ok = false;
    }
    if (::close(fd) != 0 && ok) {
        failure = systemError(errno);
        ok = false;
    }
    if (ok && ::rename(temporary.constData(), QFile::encodeName(path).constData()) != 0) {
        failure = systemError(errno);
        ok = false;
    }
    if (!ok)
        ::unlink(temporary.constData());
    return ok;
}

} // namespace fix
