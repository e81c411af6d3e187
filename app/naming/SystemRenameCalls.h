// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "RenameCalls.h"

// The renamer's file-system calls on Linux: renameat2, link, unlink, rename and lstat.
class SystemRenameCalls : public RenameCalls
{
public:
    int renameNoReplace(const QByteArray &from, const QByteArray &to) const override;
    int link(const QByteArray &from, const QByteArray &to) const override;
    int unlink(const QByteArray &path) const override;
    int rename(const QByteArray &from, const QByteArray &to) const override;
    int lstat(const QByteArray &path) const override;
};
