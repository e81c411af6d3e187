// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "DesktopEntryIndex.h"

#include "TempDir.h"

#include <gtest/gtest.h>

TEST(DesktopEntryIndexTest, findsNamesByWindowClass)
{
    TempDir user;
    TempDir system;
    system.write(QStringLiteral("applications/org.gnome.Nautilus.desktop"),
                 "[Desktop Entry]\nType=Application\nName=Files\nName[de]=Dateien\nName[ru_RU]=Файлы\n"
                 "StartupWMClass=org.gnome.Nautilus\n");
    system.write(QStringLiteral("applications/firefox-esr.desktop"),
                 "[Desktop Entry]\nName=Firefox ESR\nStartupWMClass=Firefox-esr\n"
                 "[Desktop Action new-window]\nName=New Window\n");
    system.write(QStringLiteral("applications/org.kde.kate.desktop"), "[Desktop Entry]\nName=Kate\n");
    system.write(QStringLiteral("applications/kde/gimp.desktop"), "[Desktop Entry]\nName=GNU Image Manipulation\n");
    system.write(QStringLiteral("applications/hidden.desktop"), "[Desktop Entry]\nName=Hidden\nHidden=true\n");
    // The user's own entry overrides the system's.
    user.write(QStringLiteral("applications/firefox-esr.desktop"),
               "[Desktop Entry]\nName=My Firefox\nStartupWMClass=Firefox-esr\n");

    const DesktopEntryIndex index = DesktopEntryIndex::load({user.path(), system.path()}, QStringLiteral("de_DE"));
    EXPECT_EQ(index.displayName(QStringLiteral("org.gnome.Nautilus"), QStringLiteral("Org.gnome.Nautilus")),
              QStringLiteral("Dateien"));
    EXPECT_EQ(index.displayName(QStringLiteral("Navigator"), QStringLiteral("Firefox-esr")),
              QStringLiteral("My Firefox"));
    EXPECT_EQ(index.displayName(QStringLiteral("kate"), QStringLiteral("kate")), QStringLiteral("Kate"));
    EXPECT_EQ(index.displayName(QStringLiteral("gimp-2.10"), QStringLiteral("Gimp")),
              QStringLiteral("GNU Image Manipulation"));
    EXPECT_EQ(index.displayName(QStringLiteral("hidden"), QStringLiteral("Hidden")), std::nullopt);
    EXPECT_EQ(index.displayName(QStringLiteral("xterm"), QStringLiteral("XTerm")), std::nullopt);
    EXPECT_EQ(index.displayName(QString(), QString()), std::nullopt);

    const DesktopEntryIndex russian = DesktopEntryIndex::load({system.path()}, QStringLiteral("ru_RU"));
    EXPECT_EQ(russian.displayName(QString(), QStringLiteral("org.gnome.Nautilus")), QStringLiteral("Файлы"));
}
