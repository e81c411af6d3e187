// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "AIAvailability.h"
#include "ModelEndpoint.h"

#include <QList>
#include <QString>
#include <QStringList>

// One reading of the local model: whether it can be used, which server and model would answer, and what that
// model can do. Capabilities are read with the availability because the chosen model can change between readings.
struct ModelStatus
{
    AIAvailability availability = AIAvailability::notEnabled();
    // The server that answered (identified), when one did.
    ModelEndpoint endpoint;
    // The model requests go to; empty unless available.
    QString model;
    bool vision = false;
    // Bare language codes ("en", "ru"), in the order the model or its family lists them.
    QStringList languages;
    // Not ready only because the server is loading the model (llama-server says so; Ollama and LM Studio load
    // while the first request waits, so they never report it).
    bool loading = false;
    // A model the server offers, for the settings' chooser.
    struct Offered
    {
        QString name;
        bool vision = false;
        friend bool operator==(const Offered &, const Offered &) = default;
    };
    // Every usable model of the server after ModelProbe::catalog; after a plain reading only those that match the
    // user's choice of model.
    QList<Offered> offered;

    bool isAvailable() const { return availability.isAvailable(); }
    // Whether one of the model's languages is exactly this code: callers pass the bare code; "ru-RU" is never
    // supported. False when the model is not available.
    bool supports(const QString &languageCode) const;
    // Whether the model accepts images; false when it is not available.
    bool modelHasVision() const { return isAvailable() && vision; }
};
