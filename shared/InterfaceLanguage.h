// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// The language the interface is shown in; persisted by its raw value.
enum class InterfaceLanguage { system, en, ru };

QString rawValue(InterfaceLanguage language);
std::optional<InterfaceLanguage> interfaceLanguageFromRaw(QStringView raw);
