// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "AppModel.h"
#include "AppSettings.h"
#include "Appearance.h"
#include "HistoryStore.h"
#include "SetupChecker.h"
#include "TempDir.h"
#include "TestClock.h"
#include "UiController.h"
#include "WindowRouter.h"

#include <memory>

// An analyzer that never names anything.
class SilentAnalyzer final : public Analyzer
{
public:
    void prewarm(const QString &) override {}
    QCoro::Task<AnalyzeResult> analyze(QString, AnalyzeRequest) override
    {
        co_return AnalyzeResult(AnalyzerFailure{AnalyzeResponse::ErrorCode::other, QStringLiteral("silent"), false});
    }
};

// The application's long-lived objects over a temporary profile: settings, a history with `records` renames whose
// files exist, a model that is never started, and the controller the views bind to.
struct SeededUi
{
    explicit SeededUi(int records, AIAvailability availability = AIAvailability::available());
    ~SeededUi();

    TempDir profile;
    TestClock clock;
    std::unique_ptr<AppSettings> settings;
    std::unique_ptr<HistoryStore> history;
    std::unique_ptr<AppModel> model;
    WindowRouter router;
    Appearance appearance;
    std::unique_ptr<SetupChecker> checker;
    std::unique_ptr<UiController> ui;
    QStringList opened;
    int windowRequests = 0;
};
