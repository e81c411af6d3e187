// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "FrontAppLog.h"

#include "ActivationSource.h"
#include "TestClock.h"

#include <QTimeZone>

#include <gtest/gtest.h>

#include <ctime>

namespace {

class FakeActivationSource final : public ActivationSource
{
public:
    bool available = true;
    std::optional<QString> frontmost;
    int starts = 0, stops = 0;

    bool start() override
    {
        ++starts;
        return available;
    }
    void stop() override { ++stops; }
    std::optional<QString> frontmostApplication() const override { return available ? frontmost : std::nullopt; }
    void activate(const QString &name) { Q_EMIT activated(name); }
};

QDateTime at(int hour, int minute, int second, int msec = 0)
{
    return QDateTime(QDate(2026, 11, 12), QTime(hour, minute, second, msec));
}

struct Log
{
    TestClock clock;
    FakeActivationSource *source = new FakeActivationSource;
    FrontAppLog log{std::unique_ptr<ActivationSource>(source), clock};

    QStringList names() const
    {
        QStringList all;
        for (const auto &entry : log.entries())
            all << entry.name;
        return all;
    }
};

TEST(FrontAppLogTest, attributesCapturesWithTheAllowancesAndKeepsTheNewest)
{
    Log f;
    f.clock.set(at(10, 0, 0));
    f.source->frontmost = QStringLiteral("A");
    f.log.start();
    f.clock.set(at(10, 5, 0));
    f.source->activate(QStringLiteral("B"));
    const std::pair<QDateTime, std::optional<QString>> cases[] = {
        {at(10, 4, 58, 500), QStringLiteral("A")},
        {at(10, 4, 59, 500), QStringLiteral("B")},
        {at(9, 59, 59), QStringLiteral("A")},
        {at(9, 59, 58, 999), std::nullopt},
    };
    for (const auto &[capture, app] : cases)
        EXPECT_EQ(f.log.app(capture), app) << capture.toString(Qt::ISODateWithMs).toStdString();

    for (int i = 1; i <= 64; ++i) {
        f.clock.advance(1);
        f.source->activate(QStringLiteral("App %1").arg(i));
    }
    EXPECT_EQ(f.names().size(), 64);
    EXPECT_EQ(f.names().first(), QStringLiteral("App 1"));
    EXPECT_EQ(f.log.entries().last().date, f.clock.now());
}

TEST(FrontAppLogTest, namelessActivationsAndStoppedLogRecordNothing)
{
    Log f;
    f.source->activate(QStringLiteral("before start"));
    f.log.start();
    f.log.start();
    EXPECT_EQ(f.source->starts, 1);
    f.source->activate(QString());
    f.source->activate(QStringLiteral("Files"));
    f.log.stop();
    EXPECT_EQ(f.source->stops, 1);
    f.source->activate(QStringLiteral("after stop"));
    // A restart keeps what was recorded; an unavailable source adds nothing.
    f.source->frontmost = QStringLiteral("Terminal");
    f.log.start();
    f.log.stop();
    f.source->available = false;
    f.log.start();
    EXPECT_TRUE(f.log.isStarted());
    EXPECT_EQ(f.names(), (QStringList{"Files", "Terminal"}));
}

// In a zone away from UTC, so that names written in UTC are told from local ones.
TEST(FrontAppLogTest, captureDateFromFileNames)
{
    const QByteArray previous = qgetenv("TZ");
    qputenv("TZ", "Europe/Berlin");
    tzset();
    const QDateTime created = at(21, 5, 3);
    const QDateTime utc(QDate(2026, 11, 12), QTime(10, 42, 17), QTimeZone::utc());
    // File name, the file's own date, the capture's date.
    const std::tuple<const char *, QDateTime, QDateTime> cases[] = {
        {"Screenshot 2026-11-12 at 9.05.01 PM.png", created, at(21, 5, 1)},
        {"Screenshot 2026-11-12 at 9.05.01 PM.png", created.addSecs(2 * 3600), created.addSecs(2 * 3600)},
        {"Screenshot 2026-11-12 at 12.00.00 AM.png", at(0, 1, 0), at(0, 0, 0)},
        {"Screenshot 2026-11-12 at 10.42.17.png", at(10, 32, 18), at(10, 42, 17)},
        {"Screenshot 2026-13-12 at 10.42.17.png", at(10, 42, 17), at(10, 42, 17)},
        {"Screenshot_20261112_104217-1.png", at(10, 42, 20), at(10, 42, 17)},
        {"2026-11-12_10-42.png", at(10, 42, 20), at(10, 42, 0)},
        {"Screenshot from 2026-11-12 10-42-17.png", at(12, 42, 20), at(12, 42, 20)},
        {"2026-11-12T10:42:17Z_grim.png", utc.addSecs(3).toLocalTime(), utc},
    };
    for (const auto &[name, fallback, expected] : cases)
        EXPECT_EQ(FrontAppLog::captureDate(QString::fromUtf8(name), fallback), expected)
            << name << " created " << fallback.toString(Qt::ISODate).toStdString();
    qputenv("TZ", previous);
    tzset();
}

} // namespace
