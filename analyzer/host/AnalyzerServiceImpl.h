// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "AnalyzeEngine.h"

#include <QDBusUnixFileDescriptor>

#include <memory>

// One peer's side of the service: turns a descriptor and request bytes into a response through its own engine.
class AnalyzerServiceImpl
{
public:
    explicit AnalyzerServiceImpl(std::unique_ptr<AnalyzeEngine> engine);

    // Always completes with a response: malformed requests and unreadable files become coded failures.
    QCoro::Task<AnalyzeResponse> analyze(QDBusUnixFileDescriptor image, QByteArray request, ModelDeadline deadline);
    QCoro::Task<void> prewarm(QString language);

    // The job behind analyze, for callers that bring their own engine (the command line).
    static QCoro::Task<AnalyzeResponse> respond(AnalyzeEngine &engine, QDBusUnixFileDescriptor image,
                                                QByteArray request, ModelDeadline deadline);

private:
    std::unique_ptr<AnalyzeEngine> m_engine;
};
