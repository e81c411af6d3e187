// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "OwnChangeRenameCalls.h"

#include "NativePath.h"

OwnChangeRenameCalls::OwnChangeRenameCalls(Announce announce, const RenameCalls &inner)
    : m_announce(std::move(announce))
    , m_inner(inner)
{}

void OwnChangeRenameCalls::announce(const QByteArray &path) const
{
    if (m_announce)
        m_announce(NativePath::decode(path));
}

int OwnChangeRenameCalls::renameNoReplace(const QByteArray &from, const QByteArray &to) const
{
    announce(to);
    return m_inner.renameNoReplace(from, to);
}

int OwnChangeRenameCalls::link(const QByteArray &from, const QByteArray &to) const
{
    announce(to);
    return m_inner.link(from, to);
}

int OwnChangeRenameCalls::unlink(const QByteArray &path) const
{
    return m_inner.unlink(path);
}

int OwnChangeRenameCalls::rename(const QByteArray &from, const QByteArray &to) const
{
    announce(to);
    return m_inner.rename(from, to);
}

int OwnChangeRenameCalls::lstat(const QByteArray &path) const
{
    return m_inner.lstat(path);
}
