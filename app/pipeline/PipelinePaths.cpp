// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "PipelinePaths.h"

#include "NativePath.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace PipelinePaths {

QString resolvedPath(const QString &path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(path) : canonical;
}

bool existsAt(const QString &path)
{
    struct stat st
    {
    };
    return ::lstat(NativePath::encode(path).constData(), &st) == 0;
}

int openError(const QString &path)
{
    const int fd = ::open(NativePath::encode(path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return errno;
    ::close(fd);
    return 0;
}

std::optional<QDateTime> birthTime(const QString &path)
{
    struct statx status
    {
    };
    if (::statx(AT_FDCWD, NativePath::encode(path).constData(), AT_SYMLINK_NOFOLLOW, STATX_BTIME, &status) != 0 ||
        !(status.stx_mask & STATX_BTIME))
        return std::nullopt;
    return QDateTime::fromMSecsSinceEpoch(status.stx_btime.tv_sec * 1000 + status.stx_btime.tv_nsec / 1000000);
}

QString displayName(const QString &path)
{
    const QString name = QFileInfo(QDir::cleanPath(path)).fileName();
    return name.isEmpty() ? QDir::cleanPath(path) : name;
}

} // namespace PipelinePaths
