// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "AnalyzeRequest.h"
#include "AnalyzeResponse.h"
#include "ModelDeadline.h"

#include <QByteArray>
#include <QCoroTask>

#include <functional>
#include <memory>

// What the service host asks of the naming side for one peer: a title for image bytes, and a warm-up.
// Every failure comes back as a coded response, never as an exception.
class AnalyzeEngine
{
public:
    virtual ~AnalyzeEngine() = default;

    // Runs on the event loop; CPU-heavy work must be moved off it by the implementation. The model's part ends by
    // the deadline.
    virtual QCoro::Task<AnalyzeResponse> analyze(QByteArray image, AnalyzeRequest request, ModelDeadline deadline) = 0;
    virtual QCoro::Task<void> prewarm(QString language) = 0;
};

// Makes one engine per peer, so a warmed model session belongs to the peer that asked for it.
using AnalyzeEngineFactory = std::function<std::unique_ptr<AnalyzeEngine>()>;
