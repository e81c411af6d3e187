// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include <gtest/gtest.h>

#include <QStandardPaths>
#ifdef ZENTROPE_GUI_TEST
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

int main(int argc, char *argv[])
{
    // Keeps tests away from the user's real configuration and data.
    QStandardPaths::setTestModeEnabled(true);
#ifdef ZENTROPE_GUI_TEST
    // ctest lists the cases by running the binary without the tests' environment; no display is needed either way.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    ::testing::InitGoogleTest(&argc, argv);
    TestApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
