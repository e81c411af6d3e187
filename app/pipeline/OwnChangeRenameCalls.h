// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "RenameCalls.h"

#include <QString>

#include <functional>

// Rename calls that announce every path the application is about to rename to before making the call, so the
// folder watcher can leave the application's own renames out of its events. The paths renamed away from are not
// announced: an event there can only be a new file (a second screenshot under the same name).
class OwnChangeRenameCalls final : public RenameCalls
{
public:
    using Announce = std::function<void(const QString &path)>;

    // `inner` must outlive this object.
    explicit OwnChangeRenameCalls(Announce announce, const RenameCalls &inner = RenameCalls::system());

    int renameNoReplace(const QByteArray &from, const QByteArray &to) const override;
    int link(const QByteArray &from, const QByteArray &to) const override;
    int unlink(const QByteArray &path) const override;
    int rename(const QByteArray &from, const QByteArray &to) const override;
    int lstat(const QByteArray &path) const override;

private:
    void announce(const QByteArray &path) const;

    Announce m_announce;
    const RenameCalls &m_inner;
};
