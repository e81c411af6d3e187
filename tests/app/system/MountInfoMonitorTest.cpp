// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "MountInfoMonitor.h"

#include "TempDir.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

TEST(MountInfoMonitor, reportsOnlyRealChangesOfTheTableAndStaysSilentWithoutOne)
{
    TempDir dir;
    MountInfoMonitor missing(dir.filePath(u"missing"_qs));
    EXPECT_FALSE(missing.isActive());
    QSignalSpy none(&missing, &MountMonitor::mountsChanged);
    missing.check();
    EXPECT_EQ(none.count(), 0);

    const QByteArray root = "22 1 8:1 / / rw - ext4 /dev/sda1 rw\n";
    MountInfoMonitor monitor(dir.write(u"mountinfo"_qs, root));
    ASSERT_TRUE(monitor.isActive());
    QSignalSpy changes(&monitor, &MountMonitor::mountsChanged);
    const auto changesAfter = [&](const QByteArray &table) {
        dir.write(u"mountinfo"_qs, table);
        monitor.check();
        return changes.isEmpty() ? QStringList{u"none"_qs} : changes.takeFirst().at(0).toStringList();
    };
    EXPECT_EQ(changesAfter(root), QStringList{u"none"_qs});
    const QByteArray usb = root + "40 22 8:17 / /media/usb rw - vfat /dev/sdb1 rw\n";
    EXPECT_EQ(changesAfter(usb), QStringList{u"/media/usb"_qs});
    EXPECT_EQ(changesAfter(usb), QStringList{u"none"_qs});
    // Remounted elsewhere under an escaped name; the root's line is untouched.
    EXPECT_EQ(changesAfter(root + "41 22 8:17 / /media/My\\040Disk rw - vfat /dev/sdb1 rw\n"),
              (QStringList{u"/media/My Disk"_qs, u"/media/usb"_qs}));
    EXPECT_TRUE(changes.isEmpty());
}
