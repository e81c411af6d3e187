// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "UiDoubles.h"

#include "KeyValueStore.h"

#include <QImage>

SeededUi::SeededUi(int records, AIAvailability availability)
    : clock(QDateTime(QDate(2026, 11, 12), QTime(10, 42, 17), Qt::UTC))
{
    settings = std::make_unique<AppSettings>(
        std::make_shared<KeyValueStore>(profile.filePath(QStringLiteral("config/settings.json"))));
    const QString shots = profile.mkdir(QStringLiteral("Screenshots"));
    WatchedFolder folder;
    folder.id = QUuid::createUuid();
    folder.path = shots;
    settings->setFolders({folder});
    history = std::make_unique<HistoryStore>(profile.mkdir(QStringLiteral("data")), clock);
    for (int i = 0; i < records; ++i) {
        RenameRecord record;
        record.id = QUuid::createUuid();
        record.date = clock.now().addSecs(-300 * (records - i));
        record.folderPath = shots;
        record.originalName = QStringLiteral("Screenshot from 2026-11-12 10-%1-00.png").arg(i, 2, 10, QLatin1Char('0'));
        record.currentName = QStringLiteral("Renamed screenshot %1.png").arg(i);
        record.engine = i % 3 == 1 ? NamingEngineKind::ocr : NamingEngineKind::ai;
        record.state = i % 4 == 2 ? RenameRecord::State::undone : RenameRecord::State::renamed;
        QImage image(64, 40, QImage::Format_RGB32);
        image.fill(QColor::fromHsv((i * 40) % 360, 120, 220));
        image.save(record.filePath());
        history->add(record);
    }
    AppModelServices services;
    services.analyzer = std::make_unique<SilentAnalyzer>();
    services.availability = [availability]() -> QCoro::Task<AIAvailability> { co_return AIAvailability(availability); };
    services.clock = &clock;
    model = std::make_unique<AppModel>(*settings, *history, std::move(services));

    SetupChecker::Sources sources;
    sources.readModel = [availability]() -> QCoro::Task<ModelStatus> {
        ModelStatus status;
        status.availability = availability;
        status.model = QStringLiteral("llama3.2:3b");
        status.languages = {QStringLiteral("en")};
        co_return status;
    };
    sources.preferredLanguages = [] { return QStringList{QStringLiteral("en")}; };
    checker = std::make_unique<SetupChecker>(std::move(sources), availability);

    UiController::Shell shell;
    shell.clock = &clock;
    shell.showMainWindow = [this](std::optional<WindowRouter::Tab>, std::optional<bool>) { ++windowRequests; };
    shell.opener.run = [this](const QStringList &command) {
        opened << command.join(u' ');
        return true;
    };
    shell.opener.openUrl = [this](const QUrl &url) {
        opened << url.toString();
        return true;
    };
    ui = std::make_unique<UiController>(*model, *settings, *history, router, appearance, shell);
    ui->setChecker(checker.get());
    UiController::setInstance(ui.get());
}

SeededUi::~SeededUi()
{
    ui->setChecker(nullptr);
    model->shutdown();
}
