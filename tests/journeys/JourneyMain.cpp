// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
//
// The journeys' main runs itself once more on an X display and a session bus of its own (xvfb-run, and
// dbus-run-session with the build tree's configuration, which activates the real analyzer), over a profile of its
// own; a display of its own keeps journeys that run at once from taking each other's keyboard.
#include "AppShell.h"
#include "Journey.h"

#include <QApplication>
#include <QScreen>
#include <QTemporaryDir>

#include <cstdio>
#include <unistd.h>
#include <vector>

namespace {

constexpr const char *profileVariable = "ZENTROPE_JOURNEY_PROFILE";

// At a journey's first failure: the screen and each window, into its output folder.
class FailureScreenshots : public ::testing::EmptyTestEventListener
{
    void OnTestStart(const ::testing::TestInfo &test) override
    {
        // Asking gtest for the current test while it reports a result would wait on its own lock.
        m_name = QStringLiteral("%1.%2").arg(QString::fromUtf8(test.test_suite_name()), QString::fromUtf8(test.name()));
        m_saved = false;
    }

    void OnTestPartResult(const ::testing::TestPartResult &result) override
    {
        if (!result.failed() || m_saved)
            return;
        m_saved = true;
        const QDir output(qEnvironmentVariable("ZENTROPE_JOURNEY_OUTPUT", QDir::currentPath()) + u'/' + m_name);
        QDir().mkpath(output.path());
        QGuiApplication::primaryScreen()->grabWindow(0).save(output.filePath(QStringLiteral("screen.png")));
        const QList<QWindow *> windows = QGuiApplication::topLevelWindows();
        for (QWindow *window : windows) {
            if (auto *quick = qobject_cast<QQuickWindow *>(window); quick && quick->isVisible())
                quick->grabWindow().save(output.filePath(quick->objectName() + QStringLiteral(".png")));
        }
        std::fprintf(stderr, "journey screenshots in %s\n", qPrintable(output.path()));
    }

    QString m_name;
    bool m_saved = false;
};

// Runs this program again on its own display and bus; returns only when that fails.
int runOnOwnDesktop(const std::vector<char *> &arguments)
{
    QTemporaryDir root(QDir::tempPath() + QStringLiteral("/zentrope-journey-XXXXXX"));
    root.setAutoRemove(false);
    JourneyDesktop::prepareProfile(root.path());
    qputenv(profileVariable, QFile::encodeName(root.path()));
    std::vector<const char *> command = {"xvfb-run",
                                         "-a",
                                         "-s",
                                         "-screen 0 1920x1080x24",
                                         "dbus-run-session",
                                         "--config-file=" ZENTROPE_BINARY_DIR "/dbus/session.conf",
                                         "--"};
    command.insert(command.end(), arguments.begin(), arguments.end());
    command.push_back(nullptr);
    execvp(command.front(), const_cast<char *const *>(command.data()));
    std::perror("xvfb-run");
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    const std::vector<char *> arguments(argv, argv + argc);
    ::testing::InitGoogleTest(&argc, argv);
    const QString root = qEnvironmentVariable(profileVariable);
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    if (root.isEmpty())
        return runOnOwnDesktop(arguments);
    int status = 1;
    {
        QApplication app(argc, argv);
        AppShell::configureApplication();
        JourneyDesktop desktop(root);
        ::testing::UnitTest::GetInstance()->listeners().Append(new FailureScreenshots);
        status = RUN_ALL_TESTS();
    }
    QDir(root).removeRecursively();
    return status;
}
