// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "SystemRenameCalls.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int result(int returned)
{
    return returned == 0 ? 0 : errno;
}

} // namespace

int SystemRenameCalls::renameNoReplace(const QByteArray &from, const QByteArray &to) const
{
    return result(::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE));
}

int SystemRenameCalls::link(const QByteArray &from, const QByteArray &to) const
{
    return result(::link(from.constData(), to.constData()));
}

int SystemRenameCalls::unlink(const QByteArray &path) const
{
    return result(::unlink(path.constData()));
}

int SystemRenameCalls::rename(const QByteArray &from, const QByteArray &to) const
{
    return result(::rename(from.constData(), to.constData()));
}

int SystemRenameCalls::lstat(const QByteArray &path) const
{
    struct stat status
    {
    };
    return result(::lstat(path.constData(), &status));
}

const RenameCalls &RenameCalls::system()
{
    static const SystemRenameCalls calls;
    return calls;
}
