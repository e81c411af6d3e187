// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "DesktopEntryIndex.h"

#include "TempDir.h"

#include <gtest/gtest.h>

TEST(DesktopEntryIndexTest, findsNamesByWindowClass)
{
    TempDir user, system;
    system.write(QStringLiteral("applications/org.gnome.Nautilus.desktop"),
                 "[Desktop Entry]\nType=Application\nName=Files\nName[de]=Dateien\nName[ru_RU]=Файлы\n"
                 "StartupWMClass=org.gnome.Nautilus\n");
    system.write(QStringLiteral("applications/firefox-esr.desktop"),
                 "[Desktop Entry]\nName=Firefox ESR\nStartupWMClass=Firefox-esr\n[Desktop Action new]\nName=New\n");
    system.write(QStringLiteral("applications/org.kde.kate.desktop"), "[Desktop Entry]\nName=Kate\n");
    system.write(QStringLiteral("applications/kde/gimp.desktop"), "[Desktop Entry]\nName=GNU Image Manipulation\n");
    system.write(QStringLiteral("applications/hidden.desktop"), "[Desktop Entry]\nName=Hidden\nHidden=true\n");
    // The user's own entry overrides the system's.
    user.write(QStringLiteral("applications/firefox-esr.desktop"),
               "[Desktop Entry]\nName=My Firefox\nStartupWMClass=Firefox-esr\n");

    const DesktopEntryIndex index = DesktopEntryIndex::load({user.path(), system.path()}, QStringLiteral("de_DE"));
    const std::tuple<const char *, const char *, std::optional<QString>> cases[] = {
        {"org.gnome.Nautilus", "Org.gnome.Nautilus", QStringLiteral("Dateien")},
        {"Navigator", "Firefox-esr", QStringLiteral("My Firefox")},
        {"kate", "kate", QStringLiteral("Kate")},
        {"gimp-2.10", "Gimp", QStringLiteral("GNU Image Manipulation")},
        {"hidden", "Hidden", std::nullopt},
        {"xterm", "XTerm", std::nullopt},
        {"", "", std::nullopt},
    };
    for (const auto &[instance, className, name] : cases)
        EXPECT_EQ(index.displayName(QString::fromUtf8(instance), QString::fromUtf8(className)), name) << className;
    EXPECT_EQ(DesktopEntryIndex::load({system.path()}, QStringLiteral("ru_RU"))
                  .displayName(QString(), QStringLiteral("org.gnome.Nautilus")),
              QStringLiteral("Файлы"));
}
