// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "MountInfoMonitor.h"

#include "TempDir.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

TEST(MountInfoMonitor, reportsOnlyRealChangesOfTheTableAndStaysSilentWithoutOne)
{
    TempDir dir;
    MountInfoMonitor missing(dir.filePath(QStringLiteral("missing")));
    EXPECT_FALSE(missing.isActive());
    QSignalSpy none(&missing, &MountMonitor::mountsChanged);
    missing.check();
    EXPECT_EQ(none.count(), 0);

    const QString table = dir.write(QStringLiteral("mountinfo"), "22 1 8:1 / / rw - ext4 /dev/sda1 rw\n");
    MountInfoMonitor monitor(table);
    ASSERT_TRUE(monitor.isActive());
    QSignalSpy changes(&monitor, &MountMonitor::mountsChanged);

    monitor.check();
    EXPECT_EQ(changes.count(), 0);

    dir.write(QStringLiteral("mountinfo"),
              "22 1 8:1 / / rw - ext4 /dev/sda1 rw\n40 22 8:17 / /media/usb rw - vfat /dev/sdb1 rw\n");
    monitor.check();
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(changes.takeFirst().at(0).toStringList(), QStringList{QStringLiteral("/media/usb")});
    monitor.check();
    EXPECT_EQ(changes.count(), 0);

    // Remounted elsewhere under an escaped name; the root's line is untouched.
    dir.write(QStringLiteral("mountinfo"),
              "22 1 8:1 / / rw - ext4 /dev/sda1 rw\n41 22 8:17 / /media/My\\040Disk rw - vfat /dev/sdb1 rw\n");
    monitor.check();
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(changes.takeFirst().at(0).toStringList(),
              (QStringList{QStringLiteral("/media/My Disk"), QStringLiteral("/media/usb")}));
}
