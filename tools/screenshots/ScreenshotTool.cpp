// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
//
// zentrope-screenshots STATE OUTPUT_DIR: starts the application's model, settings, history and windows over the
// profile that XDG_CONFIG_HOME and XDG_DATA_HOME name (seeded here with a watched folder, renamed screenshots and one
// pending file), brings them into STATE and saves the main window (and, for "fine", the tray panel) as PNG files.
// The settings states save each section of the settings tab on its own; onboarding saves every step of the
// onboarding without a model server, and the pipeline demonstration twice in mid-cycle.
// STATE: fine, attention, batch, empty, dark, onboarding, settings, settings-dark, settings-ru.
#include "AppModel.h"
#include "AppSettings.h"
#include "Appearance.h"
#include "FolderAccess.h"
#include "HistoryStore.h"
#include "L10n.h"
#include "OnboardingController.h"
#include "PipelineDemoScript.h"
#include "SetupChecker.h"
#include "ThumbnailCache.h"
#include "ThumbnailProvider.h"
#include "UiController.h"
#include "WindowRouter.h"

#include <QApplication>
#include <QCoroTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPainter>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickStyle>
#include <QQuickWindow>

#include <cstdio>

namespace {

// Names the first file it is asked about and then takes its time, so a batch stays in progress.
class SlowAnalyzer final : public Analyzer
{
public:
    void prewarm(const QString &) override {}
    QCoro::Task<AnalyzeResult> analyze(QString, AnalyzeRequest) override
    {
        if (m_calls++ > 0)
            co_await QCoro::sleepFor(std::chrono::hours(1));
        AnalyzeResponse response;
        response.title = QStringLiteral("Quarterly sales dashboard");
        response.engine = NamingEngineKind::ai;
        response.duration = 1.8;
        co_return AnalyzeResult(response);
    }

private:
    int m_calls = 0;
};

// A small made-up screen: a title bar, a sidebar and a few content bars in the given hue.
void paintScreen(const QString &path, int hue)
{
    QImage image(480, 300, QImage::Format_RGB32);
    image.fill(QColor::fromHsv(hue, 25, 248));
    QPainter painter(&image);
    painter.fillRect(0, 0, 480, 34, QColor::fromHsv(hue, 150, 120));
    painter.fillRect(0, 34, 110, 266, QColor::fromHsv(hue, 60, 225));
    for (int i = 0; i < 5; ++i)
        painter.fillRect(130, 56 + i * 44, 300 - i * 35, 22, QColor::fromHsv((hue + 30 * i) % 360, 110, 200));
    painter.end();
    image.save(path);
}

// Runs the event loop until `done` holds or `ms` have passed.
template <typename Predicate>
bool waitFor(Predicate done, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

bool save(QQuickWindow &window, const QString &path, int settleMs = 1500)
{
    // Several frames: layouts, asynchronous thumbnails and animations settle.
    waitFor([] { return false; }, settleMs);
    const QImage image = window.grabWindow();
    const bool saved = image.save(path, "PNG", 9);
    std::fprintf(stderr, "%s %s (%dx%d)\n", saved ? "saved" : "could not save", qPrintable(path), image.width(),
                 image.height());
    return saved;
}

// Hands the settings tab's test one image.
class OneImage final : public FolderAccess
{
public:
    explicit OneImage(QString path)
        : m_path(std::move(path))
    {}
    std::optional<QString> chooseFolder(const QString &, const QString &) override { return std::nullopt; }
    QStringList chooseImages(bool) override { return {m_path}; }

private:
    QString m_path;
};

// Scrolls the settings tab to one section (its caption and card, by object name) and saves just that part.
bool saveSection(QQuickWindow &window, const QString &section, const QString &path)
{
    QQuickItem *view = window.findChild<QQuickItem *>(QStringLiteral("settingsView"));
    auto *caption = window.findChild<QQuickItem *>(section + QStringLiteral("Caption"));
    auto *card = window.findChild<QQuickItem *>(section + QStringLiteral("Card"));
    auto *flickable = view ? view->property("contentItem").value<QQuickItem *>() : nullptr;
    if (!caption || !card || !flickable) {
        std::fprintf(stderr, "no section %s\n", qPrintable(section));
        return false;
    }
    // The footer belongs with the last section.
    QQuickItem *last = card;
    if (section == u"appearance")
        last = window.findChild<QQuickItem *>(QStringLiteral("footerInfo"));
    const qreal top = caption->mapToItem(flickable->property("contentItem").value<QQuickItem *>(), QPointF()).y();
    flickable->setProperty("contentY", std::max<qreal>(0, top - 12));
    waitFor([] { return false; }, 600);
    const QRectF first = caption->mapRectToScene(caption->boundingRect());
    const QRectF end = last->mapRectToScene(last->boundingRect());
    const QRect area = QRectF(QPointF(0, first.top() - 12), QPointF(window.width(), end.bottom() + 14))
                           .toAlignedRect()
                           .intersected(QRect(QPoint(), window.size()));
    const QImage image = window.grabWindow().copy(area);
    const bool saved = image.save(path, "PNG", 9);
    std::fprintf(stderr, "%s %s (%dx%d)\n", saved ? "saved" : "could not save", qPrintable(path), image.width(),
                 image.height());
    return saved;
}

std::unique_ptr<QQuickWindow> load(QQmlEngine &engine, const QString &file)
{
    QQmlComponent component(&engine, QUrl(QStringLiteral("qrc:/qt/qml/Zentrope/Ui/") + file));
    std::unique_ptr<QQuickWindow> window(qobject_cast<QQuickWindow *>(component.create()));
    if (!window)
        std::fprintf(stderr, "%s\n", qPrintable(component.errorString()));
    return window;
}

// Pages of a stack view are not QObject children of the window, so the search follows the visual tree.
QQuickItem *findItem(QQuickItem *item, const QString &name)
{
    if (item->objectName() == name)
        return item;
    const QList<QQuickItem *> children = item->childItems();
    for (QQuickItem *child : children) {
        if (QQuickItem *found = findItem(child, name))
            return found;
    }
    return nullptr;
}

// Walks through the onboarding as a new user would, saving each step.
bool captureOnboarding(QQuickWindow &window, UiController &ui, AppSettings &settings, HistoryStore &history,
                       const QDir &output)
{
    OnboardingController &onboarding = *ui.onboarding();
    const char *steps[] = {"welcome", "how-it-works", "folder", "model", "language", "finish"};
    bool ok = true;
    for (int step = 0; step < OnboardingController::stepCount(); ++step) {
        if (step > 0)
            onboarding.go(1);
        const QString file = output.filePath(QStringLiteral("onboarding-%1-%2.png").arg(step + 1).arg(steps[step]));
        if (step == OnboardingController::howItWorks) {
            waitFor([] { return false; }, 400);
            QQuickItem *demo = findItem(window.contentItem(), QStringLiteral("pipelineDemo"));
            auto *script = demo ? demo->findChild<PipelineDemoScript *>() : nullptr;
            if (!script)
                return false;
            // Mid-cycle: two stages lit, then the new name half typed.
            waitFor([script] { return script->lit() >= 2; }, 20000);
            ok = save(window, file, 300) && ok;
            waitFor([script] { return script->typed() >= 11; }, 20000);
            ok = save(window, output.filePath(QStringLiteral("onboarding-2-how-it-works-typing.png")), 60) && ok;
            continue;
        }
        // Naming from the recognised text, turned on after the model step is saved as a new user finds it.
        if (step == OnboardingController::language)
            settings.setOcrFallback(true);
        if (step == OnboardingController::finish) {
            // The first screenshot after the step appeared, as the try-it card shows it.
            waitFor([] { return false; }, 400);
            RenameRecord record = history.records().first();
            record.id = QUuid::createUuid();
            record.date = QDateTime::currentDateTime().addSecs(1);
            record.currentName = QStringLiteral("Weekly team sync agenda.png");
            history.add(record);
        }
        ok = save(window, file) && ok;
    }
    return ok;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QQuickStyle::setStyle(QStringLiteral("Basic"));
    // As the application renders.
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    if (argc != 3) {
        std::fprintf(stderr,
                     "usage: zentrope-screenshots fine|attention|batch|empty|dark|onboarding|settings|settings-dark|"
                     "settings-ru OUTPUT_DIR\n");
        return 2;
    }
    const QString state = QString::fromLocal8Bit(argv[1]);
    const QDir output(QString::fromLocal8Bit(argv[2]));
    const bool available = state != u"attention" && state != u"onboarding";
    const bool settingsTab = state.startsWith(u"settings");
    // A first start finds no model server at all; the home tab's attention state shows one that is not running.
    const AIAvailability availability = available                ? AIAvailability::available()
                                        : state == u"onboarding" ? AIAvailability::deviceNotEligible()
                                                                 : AIAvailability::notEnabled();

    AppSettings settings;
    settings.setInterfaceLanguage(state == u"settings-ru" ? InterfaceLanguage::ru : InterfaceLanguage::en);
    settings.setOnboardingDone(true);
    settings.setAppearance(state.endsWith(u"dark") ? AppearanceMode::dark : AppearanceMode::light);
    HistoryStore history;

    AppModelServices services;
    services.analyzer = std::make_unique<SlowAnalyzer>();
    services.availability = [availability]() -> QCoro::Task<AIAvailability> { co_return AIAvailability(availability); };
    AppModel model(settings, history, std::move(services));

    const QString shots = QDir::home().filePath(QStringLiteral("Pictures/Screenshots"));
    QDir().mkpath(shots);
    if (settingsTab) {
        // A second folder on a disk that is not there, to show how such a folder looks.
        WatchedFolder archive;
        archive.id = QUuid::createUuid();
        archive.path = QStringLiteral("/media/backup/Screenshots archive");
        archive.enabled = false;
        settings.setFolders({archive});
        model.addFolder(shots);
        QList<WatchedFolder> folders = settings.folders();
        std::reverse(folders.begin(), folders.end());
        settings.setFolders(folders);
    } else {
        model.addFolder(shots);
    }

    if (state != u"empty") {
        const QStringList titles = {QStringLiteral("Pull request review with two approvals"),
                                    QStringLiteral("Flight booking confirmation"),
                                    QStringLiteral("Terminal build error in linker"),
                                    QStringLiteral("Weather forecast for Berlin"),
                                    QStringLiteral("Pod logs with restart loop"),
                                    QStringLiteral("Invoice 2026-114 draft")};
        const QDateTime now = QDateTime::currentDateTime();
        for (qsizetype i = 0; i < titles.size(); ++i) {
            RenameRecord record;
            record.id = QUuid::createUuid();
            record.date = now.addSecs(-(titles.size() - i) * 1700);
            record.folderPath = shots;
            record.originalName = QStringLiteral("Screenshot from 2026-11-12 09-%1-17.png").arg(10 + i * 7);
            record.currentName = titles.at(i) + QStringLiteral(".png");
            record.engine = i == 2 ? NamingEngineKind::ocr : (i == 4 ? NamingEngineKind::manual : NamingEngineKind::ai);
            record.state = i == 3 ? RenameRecord::State::undone : RenameRecord::State::renamed;
            paintScreen(record.filePath(), static_cast<int>(i) * 55);
            history.add(record);
        }
    }
    if (state == u"attention") {
        // Without the model a new screenshot waits; with it the model would take it up at once.
        const QString pending = QDir(shots).filePath(QStringLiteral("Screenshot from 2026-11-12 10-42-17.png"));
        paintScreen(pending, 200);
        history.markPending(pending);
    }

    Appearance appearance;
    appearance.apply(settings.appearance());
    WindowRouter router;
    UiController::Shell shell;
    const QString sample = QDir(shots).filePath(QStringLiteral("Screenshot from 2026-11-12 10-42-17.png"));
    OneImage chooser(sample);
    shell.folderAccess = &chooser;
    shell.readCatalog = []() -> QCoro::Task<ModelStatus> {
        ModelStatus status;
        status.offered = {{QStringLiteral("gemma3:4b"), true}, {QStringLiteral("llama3.2:3b"), false}};
        co_return status;
    };
    UiController ui(model, settings, history, router, appearance, shell);
    UiController::setInstance(&ui);

    SetupChecker::Sources sources;
    sources.readModel = [available, availability]() -> QCoro::Task<ModelStatus> {
        ModelStatus status;
        status.availability = availability;
        status.model = available ? QStringLiteral("gemma3:4b") : QString();
        status.endpoint = ModelEndpoint(QUrl(QStringLiteral("http://127.0.0.1:11434")), ModelEndpoint::Server::ollama);
        status.vision = true;
        status.languages = {QStringLiteral("en"), QStringLiteral("ru")};
        co_return status;
    };
    sources.preferredLanguages = [] { return QStringList{QStringLiteral("en")}; };
    SetupChecker checker(std::move(sources), availability);
    ui.setChecker(&checker);
    QCoro::waitFor(checker.refresh());
    QCoro::waitFor(model.syncAvailability(false));

    if (state == u"batch") {
        QStringList files;
        for (int i = 0; i < 3; ++i) {
            files.append(QDir(shots).filePath(QStringLiteral("Screenshot from 2026-11-12 11-0%1-00.png").arg(i)));
            paintScreen(files.last(), 300 + i * 20);
        }
        model.renameFiles(files);
        // The first file gets its name; the second stays in work.
        waitFor([&model] { return model.batchDone() >= 1; }, 15000);
    }

    QQmlEngine engine;
    engine.addImageProvider(QString::fromLatin1(ThumbnailProvider::id),
                            new ThumbnailProvider(ThumbnailCache::shared()));
    auto window = load(engine, QStringLiteral("MainWindow.qml"));
    if (!window)
        return 1;
    if (settingsTab) {
        router.setTab(WindowRouter::Tab::settings);
        paintScreen(sample, 120);
        ui.settingsTab()->runTest();
        waitFor([&ui] { return !ui.settingsTab()->testing(); }, 15000);
    }
    window->resize(640, settingsTab ? 900 : 640);
    if (state == u"onboarding") {
        router.setShowsSetup(true);
        window->show();
        const bool ok = captureOnboarding(*window, ui, settings, history, output);
        model.shutdown();
        return ok ? 0 : 1;
    }
    window->show();
    bool ok = true;
    if (settingsTab) {
        waitFor([] { return false; }, 1500);
        const QString suffix = state.mid(QStringLiteral("settings").size());
        // Russian texts are shown for one section only.
        const QStringList sections =
            state == u"settings-ru"
                ? QStringList{QStringLiteral("naming")}
                : QStringList{QStringLiteral("folders"), QStringLiteral("naming"), QStringLiteral("behaviour"),
                              QStringLiteral("ai"), QStringLiteral("appearance")};
        for (const QString &section : sections)
            ok = saveSection(*window, section,
                             output.filePath(QStringLiteral("settings-%1%2.png").arg(section, suffix))) &&
                 ok;
        model.shutdown();
        return ok ? 0 : 1;
    }
    ok = save(*window, output.filePath(QStringLiteral("home-%1.png").arg(state)));
    if (state == u"fine") {
        auto panel = load(engine, QStringLiteral("TrayPanel.qml"));
        if (!panel)
            return 1;
        panel->show();
        ok = save(*panel, output.filePath(QStringLiteral("tray-panel.png"))) && ok;
    }
    model.shutdown();
    return ok ? 0 : 1;
}
