// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// Which method produced a title: the language model, the recognised text alone, or the user (never the analyzer).
enum class NamingEngineKind { ai, ocr, manual };

QString rawValue(NamingEngineKind kind);
std::optional<NamingEngineKind> namingEngineKindFromRaw(QStringView raw);
