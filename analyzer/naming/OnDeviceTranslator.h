// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "ModelDeadline.h"
#include "ModelEnvironment.h"
#include "ModelSession.h"
#include "ModelStatus.h"

#include <QString>
#include <QStringList>

#include <QCoroTask>

#include <optional>

// The texts of a translation, in input order, or why there are none.
struct Translation
{
    QStringList texts;
    std::optional<QString> error;

    bool ok() const { return !error; }
};

// Translates short texts with the local language model itself; nothing is ever downloaded, so a language pair
// the model does not write counts as not installed.
namespace OnDeviceTranslator {

// The model is available and writes both languages.
bool isInstalled(const ModelStatus &status, const QString &from, const QString &to);

QString instructions(const QString &from, const QString &to);
ModelAnswerFormat format(const QString &to);

// One greedy request per text, each answer cleaned of quotes, labels and a final period; an answer that is then
// empty or still not in `to` (by its script) fails the batch, as does the first failed request. An empty batch
// never reaches the model.
QCoro::Task<Translation> translate(QStringList texts, QString from, QString to, ModelStatus status,
                                   ModelEnvironment environment, ModelDeadline deadline);

} // namespace OnDeviceTranslator
