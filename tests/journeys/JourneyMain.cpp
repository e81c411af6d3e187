// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
//
// The journeys' main: runs itself once more on an X display and a private session bus of its own (xvfb-run, and
// dbus-run-session with the build tree's configuration, so the bus activates the real analyzer), with HOME and
// the XDG folders in a profile of its own; then the tests run over the desktop doubles, and each failure leaves
// screenshots. A display of its own keeps journeys that run at the same time from taking each other's focus.
#include "AppShell.h"
#include "Journey.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QQuickWindow>
#include <QScreen>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>
#include <vector>

namespace {

constexpr const char *profileVariable = "ZENTROPE_JOURNEY_PROFILE";

// Saves the whole screen and each window of the application at a test's first failure.
class FailureScreenshots : public ::testing::EmptyTestEventListener
{
    void OnTestStart(const ::testing::TestInfo &test) override
    {
        m_saved = false;
        // Asking gtest for the current test while it reports a result would wait on its own lock.
        m_name = QString::fromUtf8(test.test_suite_name()) + u'.' + QString::fromUtf8(test.name());
    }

    void OnTestPartResult(const ::testing::TestPartResult &result) override
    {
        if (!result.failed() || m_saved)
            return;
        m_saved = true;
        const QDir output(qEnvironmentVariable("ZENTROPE_JOURNEY_OUTPUT", QDir::currentPath()) + u'/' + m_name);
        QDir().mkpath(output.path());
        QStringList saved;
        if (QScreen *screen = QGuiApplication::primaryScreen()) {
            const QString path = output.filePath(QStringLiteral("screen.png"));
            if (screen->grabWindow(0).save(path))
                saved.append(path);
        }
        int index = 0;
        const QList<QWindow *> windows = QGuiApplication::topLevelWindows();
        for (QWindow *window : windows) {
            auto *quick = qobject_cast<QQuickWindow *>(window);
            if (!quick || !quick->isVisible())
                continue;
            const QString base = quick->objectName().isEmpty() ? QStringLiteral("window") : quick->objectName();
            const QString path = output.filePath(QStringLiteral("%1-%2.png").arg(base).arg(index++));
            if (quick->grabWindow().save(path))
                saved.append(path);
        }
        std::fprintf(stderr, "journey screenshots: %s\n", qPrintable(saved.join(QStringLiteral(", "))));
    }

    bool m_saved = false;
    QString m_name = QStringLiteral("outside-a-test");
};

// Runs this program again on a display and a bus of its own; returns only when that fails.
int runOnOwnDesktop(const std::vector<char *> &arguments)
{
    QTemporaryDir root(QDir::tempPath() + QStringLiteral("/zentrope-journey-XXXXXX"));
    if (!root.isValid()) {
        std::fprintf(stderr, "cannot make a profile folder\n");
        return 1;
    }
    root.setAutoRemove(false);
    JourneyDesktop::prepareProfile(root.path());
    qputenv(profileVariable, QFile::encodeName(root.path()));
    const QByteArray config = "--config-file=" ZENTROPE_BINARY_DIR "/dbus/session.conf";
    std::vector<char *> command = {const_cast<char *>("xvfb-run"),
                                   const_cast<char *>("-a"),
                                   const_cast<char *>("-s"),
                                   const_cast<char *>("-screen 0 1920x1080x24"),
                                   const_cast<char *>("dbus-run-session"),
                                   const_cast<char *>(config.constData()),
                                   const_cast<char *>("--")};
    command.insert(command.end(), arguments.begin(), arguments.end());
    command.push_back(nullptr);
    execvp(command.front(), command.data());
    std::perror("xvfb-run");
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    const std::vector<char *> arguments(argv, argv + argc);
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    const QString root = qEnvironmentVariable(profileVariable);
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
