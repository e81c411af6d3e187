// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QString>

// The analyzer's address on the session bus; both programs use these names.
namespace AnalyzerBus {
inline const QString serviceName = QStringLiteral("org.zentrope.Zentrope.Analyzer");
inline const QString objectPath = QStringLiteral("/org/zentrope/Zentrope/Analyzer");
inline const QString interfaceName = QStringLiteral("org.zentrope.Zentrope.Analyzer1");
} // namespace AnalyzerBus
