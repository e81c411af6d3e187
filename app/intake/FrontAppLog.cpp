// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "FrontAppLog.h"

#include "Clock.h"
#include "IcuRegex.h"
#include "ToolScreenshotNames.h"

#include <QFileInfo>
#include <QTimeZone>

#include <cstdlib>

namespace {

constexpr qint64 plausibleDistanceMs = 600 * 1000;

std::optional<QDateTime> plausible(const QDateTime &built, const QDateTime &fallback)
{
    if (!built.isValid() || !fallback.isValid())
        return std::nullopt;
    if (std::llabs(built.msecsTo(fallback)) < plausibleDistanceMs)
        return built;
    return std::nullopt;
}

std::optional<QDateTime> fromNamePattern(const QString &fileName, const QDateTime &fallback)
{
    static const IcuRegex pattern(
        QStringLiteral(R"((\d{4})[-.](\d{2})[-.](\d{2})\D+?(\d{1,2})[.:](\d{2})[.:](\d{2})(?:\s*(AM|PM))?)"));
    const auto match = pattern.search(fileName);
    if (!match)
        return std::nullopt;
    int numbers[7] = {};
    for (int group = 1; group <= 6; ++group) {
        bool ok = false;
        const int value = match->group(group).toInt(&ok);
        numbers[group] = ok ? value : 0;
    }
    int hour = numbers[4];
    const QString marker = match->group(7).toUpper();
    if (marker == QStringLiteral("PM") && hour < 12)
        hour += 12;
    else if (marker == QStringLiteral("AM") && hour == 12)
        hour = 0;
    const QDate date(numbers[1], numbers[2], numbers[3]);
    const QTime time(hour, numbers[5], numbers[6]);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return plausible(QDateTime(date, time), fallback);
}

std::optional<QDateTime> fromToolName(const QString &fileName, const QDateTime &fallback)
{
    const QString name = QFileInfo(fileName).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    const auto parts = ToolScreenshotNames::dateTime(dot < 0 ? name : name.left(dot));
    if (!parts)
        return std::nullopt;
    const QDate date(parts->year, parts->month, parts->day);
    const QTime time(parts->hour, parts->minute, parts->second);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return plausible(parts->utc ? QDateTime(date, time, QTimeZone::utc()) : QDateTime(date, time), fallback);
}

} // namespace

FrontAppLog::FrontAppLog(std::unique_ptr<ActivationSource> source, const Clock &clock, int limit, QObject *parent)
    : QObject(parent)
    , m_source(std::move(source))
    , m_clock(clock)
    , m_limit(limit)
{
    connect(m_source.get(), &ActivationSource::activated, this, [this](const QString &name) {
        if (m_started)
            record(name);
    });
}

FrontAppLog::~FrontAppLog() = default;

void FrontAppLog::start()
{
    if (m_started)
        return;
    m_started = true;
    if (!m_source->start())
        return;
    if (const auto name = m_source->frontmostApplication())
        record(*name);
}

void FrontAppLog::stop()
{
    if (!m_started)
        return;
    m_source->stop();
    m_started = false;
}

void FrontAppLog::record(const QString &name)
{
    if (name.isEmpty())
        return;
    m_entries.append({m_clock.now(), name});
    while (m_entries.size() > m_limit)
        m_entries.removeFirst();
}

std::optional<QString> FrontAppLog::app(const QDateTime &date) const
{
    if (m_entries.isEmpty() || date < m_entries.first().date.addSecs(-2))
        return std::nullopt;
    const QDateTime latest = date.addSecs(1);
    for (auto it = m_entries.crbegin(); it != m_entries.crend(); ++it) {
        if (it->date <= latest)
            return it->name;
    }
    return std::nullopt;
}

QDateTime FrontAppLog::captureDate(const QString &fileName, const QDateTime &fallback)
{
    if (const auto date = fromNamePattern(fileName, fallback))
        return *date;
    if (const auto date = fromToolName(fileName, fallback))
        return *date;
    return fallback;
}
