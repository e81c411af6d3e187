// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
//
// onboarding_idle_bench [SECONDS]: the main window with the onboarding, rendered as the application renders it
// (software), on a real display (run under xvfb-run). Measures CPU time, frames and wake-ups per second in three
// phases of the same run: the folder step before the demonstration was ever shown (the baseline), the
// demonstration step, and the folder step again after leaving it; then the demonstration's real cycle time against
// its nominal length.
#include "AppModel.h"
#include "AppSettings.h"
#include "Appearance.h"
#include "HistoryStore.h"
#include "KeyValueStore.h"
#include "L10n.h"
#include "OnboardingController.h"
#include "PipelineDemoScript.h"
#include "UiController.h"
#include "WindowRouter.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickStyle>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>

namespace {

class SilentAnalyzer final : public Analyzer
{
public:
    void prewarm(const QString &) override {}
    QCoro::Task<AnalyzeResult> analyze(QString, AnalyzeRequest) override
    {
        co_return AnalyzeResult(AnalyzerFailure{AnalyzeResponse::ErrorCode::other, QStringLiteral("silent"), false});
    }
};

double cpuMilliseconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval &t) { return static_cast<double>(t.tv_sec) * 1e3 + t.tv_usec / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// Voluntary plus involuntary context switches of the process, threads that ended included: each is a wake-up.
qint64 switches()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_nvcsw + usage.ru_nivcsw;
}

void runFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

struct Phase
{
    double cpuPerSecond = 0;
    double framesPerSecond = 0;
    double wakeUpsPerSecond = 0;
};

Phase measure(const int &frames, int seconds)
{
    const int framesBefore = frames;
    const qint64 switchesBefore = switches();
    const double cpuBefore = cpuMilliseconds();
    runFor(seconds * 1000);
    return {(cpuMilliseconds() - cpuBefore) / seconds, static_cast<double>(frames - framesBefore) / seconds,
            static_cast<double>(switches() - switchesBefore) / seconds};
}

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

void print(const char *name, const Phase &phase)
{
    std::printf("%-34s %8.3f ms CPU/s %8.2f frames/s %8.1f wake-ups/s\n", name, phase.cpuPerSecond,
                phase.framesPerSecond, phase.wakeUpsPerSecond);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QQuickStyle::setStyle(QStringLiteral("Basic"));
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    const int seconds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 20;

    QTemporaryDir profile;
    AppSettings settings(std::make_shared<KeyValueStore>(profile.filePath(QStringLiteral("settings.json"))));
    settings.setInterfaceLanguage(InterfaceLanguage::en);
    const QString shots = profile.filePath(QStringLiteral("Screenshots"));
    QDir().mkpath(shots);
    HistoryStore history(profile.filePath(QStringLiteral("data")));
    AppModelServices services;
    services.analyzer = std::make_unique<SilentAnalyzer>();
    services.availability = []() -> QCoro::Task<AIAvailability> { co_return AIAvailability::notEnabled(); };
    AppModel model(settings, history, std::move(services));
    model.addFolder(shots);
    Appearance appearance;
    WindowRouter router;
    UiController ui(model, settings, history, router, appearance, UiController::Shell{});
    UiController::setInstance(&ui);
    router.setShowsSetup(true);
    router.setSetupStep(OnboardingController::folder);

    QQmlEngine engine;
    QQmlComponent component(&engine, QUrl(QStringLiteral("qrc:/qt/qml/Zentrope/Ui/MainWindow.qml")));
    std::unique_ptr<QQuickWindow> window(qobject_cast<QQuickWindow *>(component.create()));
    if (!window) {
        std::fprintf(stderr, "%s\n", qPrintable(component.errorString()));
        return 1;
    }
    int frames = 0;
    QObject::connect(window.get(), &QQuickWindow::frameSwapped, [&frames] { ++frames; });
    window->show();
    runFor(2000);

    OnboardingController &onboarding = *ui.onboarding();
    const Phase baseline = measure(frames, seconds);

    onboarding.go(-1);
    runFor(1000);
    QQuickItem *demo = findItem(window->contentItem(), QStringLiteral("pipelineDemo"));
    PipelineDemoScript *script = demo ? demo->findChild<PipelineDemoScript *>() : nullptr;
    if (!script) {
        std::fprintf(stderr, "the demonstration is not on display\n");
        return 1;
    }
    QElapsedTimer clock;
    clock.start();
    QList<qint64> starts;
    QObject::connect(script, &PipelineDemoScript::cycleBegan, [&] { starts.append(clock.elapsed()); });
    const Phase shown = measure(frames, seconds);
    // Three whole cycles, timed at their resets.
    while (starts.size() < 4)
        runFor(100);

    onboarding.go(1);
    runFor(1000);
    const Phase left = measure(frames, seconds);

    const qint64 nominal =
        PipelineDemoScript::cycleLength(PipelineDemoScript::characterCount(L("demo.newName"))).count();
    const double measured = static_cast<double>(starts.last() - starts.first()) / (starts.size() - 1);

    std::printf("onboarding window, software renderer, %d s per phase\n", seconds);
    print("folder step, before the demo:", baseline);
    print("demonstration step:", shown);
    print("folder step, after leaving it:", left);
    std::printf("after leaving / before: CPU %.2f, frames %.2f, wake-ups %.2f\n",
                left.cpuPerSecond / baseline.cpuPerSecond,
                baseline.framesPerSecond > 0 ? left.framesPerSecond / baseline.framesPerSecond : 0.0,
                left.wakeUpsPerSecond / baseline.wakeUpsPerSecond);
    std::printf("demo cycle: nominal %lld ms, measured %.1f ms over %lld cycles (ratio %.4f)\n",
                static_cast<long long>(nominal), measured, static_cast<long long>(starts.size() - 1),
                measured / static_cast<double>(nominal));
    window.reset();
    model.shutdown();
    return 0;
}
