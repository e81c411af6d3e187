// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "CrashReport.h"

#include "TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QDateTime>
#include <QFileInfo>
#include <QRegularExpression>

#include <csignal>

namespace {

using ::testing::HasSubstr;

TEST(CrashReportTest, AFatalSignalLeavesAReportThatTheNextStartTakesOnce)
{
    // Forked, so the child writes where this test looks (a re-executed child would make its own folder).
    GTEST_FLAG_SET(death_test_style, "fast");
    TempDir state;
    const QString directory = state.filePath(QStringLiteral("zentrope"));
    for (const int signal : {SIGSEGV, SIGABRT}) {
        const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-1);
        // The signal still ends the process as it would have.
        EXPECT_EXIT(
            {
                CrashReport::install(directory);
                CrashReport::noteAction("rename");
                std::raise(signal);
            },
            ::testing::KilledBySignal(signal), "");
        const std::optional<QString> report = CrashReport::takeReport(directory);
        ASSERT_TRUE(report);
        EXPECT_THAT(report->toStdString(), HasSubstr(signal == SIGSEGV ? "signal: SIGSEGV" : "signal: SIGABRT"));
        EXPECT_THAT(report->toStdString(), HasSubstr("last action: rename"));
        const QRegularExpressionMatch time = QRegularExpression(QStringLiteral("time: (\\S+ \\S+) UTC")).match(*report);
        ASSERT_TRUE(time.hasMatch()) << report->toStdString();
        QDateTime written = QDateTime::fromString(time.captured(1), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        written.setTimeSpec(Qt::UTC);
        EXPECT_GE(written, before);
        EXPECT_LE(written, QDateTime::currentDateTimeUtc().addSecs(1));
        EXPECT_FALSE(CrashReport::takeReport(directory));
        EXPECT_TRUE(QFileInfo::exists(CrashReport::keptReportPath(directory)));
    }
}

} // namespace
