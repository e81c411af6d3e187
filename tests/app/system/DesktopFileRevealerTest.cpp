// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "DesktopFileRevealer.h"

#include "PrivateBus.h"
#include "TempDir.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {
// Stands in for the desktop's file manager and notes what it was asked to show.
class FakeFileManager : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")

public:
    QStringList shown;

public Q_SLOTS:
    void ShowItems(const QStringList &uris, const QString &) { shown += uris; }
};
} // namespace

TEST(DesktopFileRevealer, opensTheFolderUntilAFileManagerAnswersThenAsksItToSelectTheFile)
{
    PrivateBus bus(PrivateBus::configWithoutServices());
    ASSERT_TRUE(bus.isRunning());
    TempDir dir;
    const QString file = dir.write(u"Report #1 (draft).png"_qs, "x");
    QStringList opened;
    DesktopFileRevealer revealer(bus.connect(), [&](const QString &path) { opened.append(path); });
    revealer.reveal(file);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !opened.isEmpty(); }, 5000));
    EXPECT_EQ(opened, QStringList{dir.path()});

    QDBusConnection managerConnection = bus.connect();
    FakeFileManager manager;
    ASSERT_TRUE(managerConnection.registerObject(QString::fromLatin1(DesktopFileRevealer::path), &manager,
                                                 QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(managerConnection.registerService(QString::fromLatin1(DesktopFileRevealer::service)));
    revealer.reveal(file);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !manager.shown.isEmpty(); }, 5000));
    EXPECT_EQ(manager.shown, QStringList{QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded)});
    QTest::qWait(50);
    EXPECT_EQ(opened.size(), 1);
}

#include "DesktopFileRevealerTest.moc"
