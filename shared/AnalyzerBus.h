// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QString>

#include <chrono>

// The analyzer's address on the session bus and the time a call may take; both programs use these.
namespace AnalyzerBus {
inline const QString serviceName = QStringLiteral("org.zentrope.Zentrope.Analyzer");
inline const QString objectPath = QStringLiteral("/org/zentrope/Zentrope/Analyzer");
inline const QString interfaceName = QStringLiteral("org.zentrope.Zentrope.Analyzer1");

// A call answers by the model's time limit ("modelTimeLimit"). Its watchdog, the last resort for a hung process,
// fires a margin later: time for recognition that is still running when the limit passes. The client waits a little
// longer still, so that it sees a killed service as a broken connection rather than as its own time-out.
inline constexpr std::chrono::milliseconds watchdogMargin{30000};
inline constexpr std::chrono::milliseconds clientMargin{10000};

inline std::chrono::milliseconds clientTimeout(std::chrono::milliseconds timeLimit)
{
    return timeLimit + watchdogMargin + clientMargin;
}
} // namespace AnalyzerBus
