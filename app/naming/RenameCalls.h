// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QByteArray>

// The file-system calls the renamer makes, so tests can stand in for filesystems and refusals they cannot make.
// Paths are in the file system's encoding; every call answers 0 or the error number.
class RenameCalls
{
public:
    virtual ~RenameCalls() = default;

    // Fails with EEXIST rather than replace a file; EINVAL or ENOTSUP where the filesystem cannot.
    virtual int renameNoReplace(const QByteArray &from, const QByteArray &to) const = 0;
    virtual int link(const QByteArray &from, const QByteArray &to) const = 0;
    virtual int unlink(const QByteArray &path) const = 0;
    // Replaces whatever stands at `to`.
    virtual int rename(const QByteArray &from, const QByteArray &to) const = 0;
    // 0 when something stands at `path` (a symbolic link is not followed), else why not.
    virtual int lstat(const QByteArray &path) const = 0;

    // The calls of the running system.
    static const RenameCalls &system();
};
