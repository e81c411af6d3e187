// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QJsonValue>
#include <QStringList>

// The languages a model writes: its own declaration when the server passes it on, else what its family is known
// to handle well, else English alone.
namespace ModelLanguages {

// Bare lower-case codes from a declared list (GGUF "general.languages"): "en-US" and "EN" become "en"; entries
// that are not language codes are dropped, duplicates removed. Empty when nothing usable is declared.
QStringList fromDeclared(const QJsonValue &declared);

// By model family, matched against the model's name, family and architecture (any of them may be empty). The
// lists are deliberately short: the languages the makers state and that hold up in small quantised builds.
QStringList forFamily(const QStringList &names);

// The declared list when usable, else the family's, else ["en"].
QStringList resolve(const QJsonValue &declared, const QStringList &names);

} // namespace ModelLanguages
