// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "ModelStatus.h"
#include "NameLanguage.h"
#include "ScreenshotFeatures.h"

#include <QString>

#include <optional>

// Which language a title is wanted in, which one the model is told to write, which one it came out in, and
// which one a title is translated into to check it against the screen.
namespace NamingLanguage {

// "ru", "uk", "be", "bg", "kk", "sr", "mk": languages whose titles are written in Cyrillic.
bool isCyrillicScript(const QString &code);

// The request's language; "auto" is the screen's language when the model writes it (Russian and English always
// count), else the interface language.
QString wanted(NameLanguage requested, const ScreenshotFeatures &features, const QString &interfaceCode,
               const ModelStatus &status);
// The wanted language when the model writes it, else English.
QString output(const QString &wanted, const ModelStatus &status);
// The language a cleaned title is in, judged by its script against the language it was asked in.
QString actual(const QString &title, const QString &expected);
// The language a title in `language` is translated into to compare it with the screen, if any.
std::optional<QString> other(const QString &language, const ScreenshotFeatures &features);

// The English name of a language ("Russian" for "ru"), or the code itself when none is known.
QString englishName(const QString &code);

} // namespace NamingLanguage
