// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "AnalyzeEngine.h"
#include "AnalyzerBus.h"
#include "AnalyzerService.h"
#include "IdleExit.h"
#include "Watchdog.h"

#include <QDBusConnection>
#include <QObject>
#include <QProcessEnvironment>

#include <chrono>
#include <functional>

// The analyzer process's shell: exports the service on a bus, ends the process when idle, and kills it when one
// call runs well past its time limit.
class ServiceHost : public QObject
{
    Q_OBJECT

public:
    struct Options
    {
        std::chrono::milliseconds idleDelay = IdleExit::defaultDelay;
        // Each call's time limit; zero reads the user's "modelTimeLimit" as the call arrives.
        std::chrono::milliseconds timeLimit{0};
        std::chrono::milliseconds watchdogMargin = AnalyzerBus::watchdogMargin;

        // Tests shorten the delays through ZENTROPE_TEST_IDLE_EXIT_MS, ZENTROPE_TEST_CALL_LIMIT_MS (the time limit)
        // and ZENTROPE_TEST_WATCHDOG_MARGIN_MS.
        static Options fromEnvironment(const QProcessEnvironment &environment);
    };

    // onCallLimit runs on the watchdog's thread; the shipped service ends the process with status 1 there.
    ServiceHost(AnalyzeEngineFactory factory, Options options, std::function<void()> onCallLimit,
                QObject *parent = nullptr);

    // Exports the object and claims the well-known name; false with the reason when the bus refuses either.
    bool publish(QDBusConnection bus, QString *error = nullptr);

    // Hands the well-known name back, so the bus starts a fresh service for the next call, and goes idle once
    // the calls already here are answered.
    void retire();

    AnalyzerService *service() { return &m_service; }

Q_SIGNALS:
    // Nothing ran for the idle delay: time to quit.
    void idle();

private:
    QDBusConnection m_bus{QString()};
    IdleExit m_idleExit;
    Watchdog m_watchdog;
    AnalyzerService m_service;
};
