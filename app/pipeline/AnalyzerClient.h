// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "AnalyzeRequest.h"
#include "AnalyzeResponse.h"
#include "AnalyzerFailure.h"

#include <QCoroTask>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>

#include <chrono>
#include <variant>

using AnalyzeResult = std::variant<AnalyzeResponse, AnalyzerFailure>;

// The application's side of the analyzer service: hands it an open read-only descriptor and a request over the
// session bus, which starts the service on demand. Every call completes exactly once, at the latest after the
// time-out; transport problems become failures that say whether a later try makes sense. The time-out follows the
// model's time limit, which the analyzer answers by, with room for its watchdog.
class AnalyzerClient : public QObject
{
    Q_OBJECT

public:
    // `timeout` zero: derived from the user's "modelTimeLimit" at each call.
    explicit AnalyzerClient(QDBusConnection bus, std::chrono::milliseconds timeout = {}, QObject *parent = nullptr);

    // A hint that names will soon be wanted in this language; nothing is awaited or reported.
    void prewarm(const QString &outputLanguage);

    QCoro::Task<AnalyzeResult> analyze(QString path, AnalyzeRequest request);

    // The failure of a call the bus could not deliver because nothing provides the analyzer's name.
    static bool isUnavailable(const AnalyzerFailure &failure);

    // How a bus error of an analyze call reaches the pipeline; `elapsed` tells a time-out from a lost service.
    static AnalyzerFailure failureFor(const QDBusMessage &error, std::chrono::milliseconds elapsed,
                                      std::chrono::milliseconds timeout);

private:
    QDBusConnection m_bus;
    std::chrono::milliseconds m_timeout;
};
