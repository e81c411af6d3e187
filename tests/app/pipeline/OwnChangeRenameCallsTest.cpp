// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "OwnChangeRenameCalls.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <cerrno>

namespace {
// Notes the calls that reach the file system, in order with the announcements.
class JournalCalls final : public RenameCalls
{
public:
    explicit JournalCalls(QStringList &journal)
        : m_journal(journal)
    {}
    int renameNoReplace(const QByteArray &from, const QByteArray &to) const override
    {
        m_journal.append(QStringLiteral("renameNoReplace %1 %2").arg(QString::fromUtf8(from), QString::fromUtf8(to)));
        return EEXIST;
    }
    int link(const QByteArray &, const QByteArray &to) const override
    {
        m_journal.append(QStringLiteral("link ") + QString::fromUtf8(to));
        return 0;
    }
    int unlink(const QByteArray &path) const override
    {
        m_journal.append(QStringLiteral("unlink ") + QString::fromUtf8(path));
        return 0;
    }
    int rename(const QByteArray &, const QByteArray &) const override { return 0; }
    int lstat(const QByteArray &) const override { return ENOENT; }

private:
    QStringList &m_journal;
};
} // namespace

TEST(OwnChangeRenameCalls, announcesEveryPathBeforeTheCallTouchesIt)
{
    QStringList journal;
    const JournalCalls inner(journal);
    const OwnChangeRenameCalls calls([&](const QString &path) { journal.append(QStringLiteral("announce ") + path); },
                                     inner);
    EXPECT_EQ(calls.renameNoReplace("/d/Снимок.png", "/d/b.png"), EEXIST);
    EXPECT_EQ(calls.link("/d/a.png", "/d/c.png"), 0);
    EXPECT_EQ(calls.unlink("/d/a.png"), 0);
    EXPECT_EQ(calls.lstat("/d/x.png"), ENOENT);
    EXPECT_EQ(journal, (QStringList{QStringLiteral("announce /d/Снимок.png"), QStringLiteral("announce /d/b.png"),
                                    QStringLiteral("renameNoReplace /d/Снимок.png /d/b.png"),
                                    QStringLiteral("announce /d/c.png"), QStringLiteral("link /d/c.png"),
                                    QStringLiteral("announce /d/a.png"), QStringLiteral("unlink /d/a.png")}));
}
