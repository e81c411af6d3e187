// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

// The language a name is wanted in; sent to the analyzer and persisted by its raw value.
// The case "auto" is spelled automatic because auto is a C++ keyword; its raw value stays "auto".
enum class NameLanguage { automatic, ru, en };

QString rawValue(NameLanguage language);
std::optional<NameLanguage> nameLanguageFromRaw(QStringView raw);
const QList<NameLanguage> &allNameLanguages();
