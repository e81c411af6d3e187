// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
//
// The analyzer's own cost on the model path, against a scripted model server that takes a fixed generation time:
//   1. warm calls with 1 s and 5 s generation: the analyzer's time on the model path (from the end of recognition to
//      the response) beside the same request sent bare to the same server in the same run (the server's own time);
//      the difference is ours: the picture when it is not ready yet, prompts, the request, clean-up, grounding and
//      the response;
//   2. a cold load of 20 s with 10 screenshots queued, as the application sends them (a prewarm for each, then the
//      calls one at a time), for a server that holds requests while it loads (Ollama, LM Studio) and one that
//      refuses them (llama-server): every screenshot must be named, each call within the time limit.
// Text recognition is replaced by a fixed result that takes one second, about what a 1080p screenshot takes here
// (bench/perception measures it); decoding, probing and everything after recognition is the shipped code.
#include "ModelHttp.h"
#include "ModelServerDouble.h"
#include "NamingAnalyzeEngine.h"

#include <QBuffer>
#include <QCoroTask>
#include <QCoroTimer>
#include <QElapsedTimer>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QJsonDocument>
#include <QPainter>
#include <QTimer>

#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

const QString ollamaChat = QStringLiteral("/api/chat");
const QString openAIChat = QStringLiteral("/v1/chat/completions");
const QString heading = QStringLiteral("Quarterly budget review");

QByteArray screenshotPng()
{
    QImage image(1920, 1080, QImage::Format_RGB32);
    image.fill(QColor(250, 250, 250));
    QPainter painter(&image);
    painter.setPen(Qt::black);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(40);
    painter.setFont(font);
    painter.drawText(QPoint(120, 140), heading);
    font.setPixelSize(20);
    painter.setFont(font);
    for (int line = 0; line < 24; ++line)
        painter.drawText(QPoint(120, 240 + line * 34),
                         QStringLiteral("Line %1: spending stayed within the budget agreed in spring.").arg(line + 1));
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// What recognition finds on that screenshot.
ScreenshotFeatures recognised()
{
    ScreenshotFeatures features;
    features.language = QStringLiteral("en");
    features.lines.push_back({heading, 0.04, 0.1, 0.06, 0.95, 0.4});
    for (int line = 0; line < 24; ++line)
        features.lines.push_back(
            {QStringLiteral("Line %1: spending stayed within the budget agreed in spring.").arg(line + 1), 0.02,
             0.2 + line * 0.03, 0.06, 0.9, 0.5});
    features.pixelWidth = 1920;
    features.pixelHeight = 1080;
    return features;
}

constexpr std::chrono::milliseconds recognitionTime{1000};

// When the last recognition ended.
std::atomic<qint64> recognisedAt{0};

qint64 nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::unique_ptr<NamingAnalyzeEngine> engineFor(const ModelServerDouble &server, ModelEndpoint::Server kind)
{
    ModelEnvironment environment;
    environment.candidates = {server.endpoint(kind)};
    const ScreenshotFeatures features = recognised();
    auto naming = std::make_unique<NamingEngine>(environment, [features](const QImage &) -> PerceptionResult {
        std::this_thread::sleep_for(recognitionTime);
        recognisedAt = nowNs();
        return features;
    });
    return std::make_unique<NamingAnalyzeEngine>(std::move(naming), [] {});
}

AnalyzeRequest request()
{
    AnalyzeRequest request;
    request.nameLanguage = NameLanguage::en;
    request.interfaceCode = QStringLiteral("en");
    return request;
}

double secondsOf(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e9;
}

struct Warm
{
    double wall = 0;
    double modelPath = 0;
    double bare = 0;
    qsizetype requests = 0;
};

// `calls` warm calls; after each, the chat request it sent is sent again bare and timed.
QCoro::Task<Warm> warmCalls(std::chrono::milliseconds generation, int calls)
{
    ModelServerDouble server;
    server.serveOllama({{QStringLiteral("qwen2.5vl:7b"),
                         {QStringLiteral("completion"), QStringLiteral("vision")},
                         QStringLiteral("qwen25vl"),
                         {QStringLiteral("en"), QStringLiteral("ru")}}});
    server.setDefault(ollamaChat,
                      ModelServerDouble::ollamaAnswer(ModelServerDouble::record(QStringLiteral("name"), heading)));
    server.setAnswerDelay(ollamaChat, generation);
    const std::unique_ptr<NamingAnalyzeEngine> engine = engineFor(server, ModelEndpoint::Server::ollama);
    const QByteArray image = screenshotPng();
    ModelHttp http;

    Warm total;
    for (int i = 0; i < calls; ++i) {
        const qsizetype before = server.requests(ollamaChat).size();
        QElapsedTimer timer;
        timer.start();
        const AnalyzeResponse response = co_await engine->analyze(image, request(), ModelDeadline::after(90s));
        total.wall += secondsOf(timer);
        total.modelPath += double(nowNs() - recognisedAt) / 1e9;
        total.requests += server.requests(ollamaChat).size() - before;
        if (response.title != heading)
            std::fprintf(stderr, "unexpected answer: %s\n", qPrintable(response.errorMessage.value_or(QString())));

        const QByteArray body = server.requests(ollamaChat).last().body;
        timer.restart();
        const ModelHttp::Reply bare =
            co_await http.post(server.endpoint().url(ollamaChat), QJsonDocument::fromJson(body).object(), 60s);
        total.bare += secondsOf(timer);
        if (!bare.ok())
            std::fprintf(stderr, "bare request failed\n");
    }
    co_return total;
}

struct Queue
{
    QList<double> calls;
    double allNamed = 0;
    int named = 0;
};

// The application's way with a burst: every screenshot is queued and prewarms, then one call at a time.
QCoro::Task<Queue> coldLoad(bool refuseWhileLoading, int screenshots, std::chrono::milliseconds load,
                            std::chrono::milliseconds generation, std::chrono::milliseconds timeLimit)
{
    ModelServerDouble server;
    const QString chat = refuseWhileLoading ? openAIChat : ollamaChat;
    if (refuseWhileLoading) {
        server.serveLlamaServer(QStringLiteral("qwen3-8b"), false);
        server.setDefault(
            chat, ModelServerDouble::openAIAnswer(ModelServerDouble::record(QStringLiteral("summary"), heading)));
    } else {
        server.serveOllama({{QStringLiteral("qwen3:8b"),
                             {QStringLiteral("completion")},
                             QStringLiteral("qwen3"),
                             {QStringLiteral("en")}}});
        server.setDefault(
            chat, ModelServerDouble::ollamaAnswer(ModelServerDouble::record(QStringLiteral("summary"), heading)));
    }
    server.setAnswerDelay(chat, generation);
    const std::unique_ptr<NamingAnalyzeEngine> engine =
        engineFor(server, refuseWhileLoading ? ModelEndpoint::Server::llamaServer : ModelEndpoint::Server::ollama);
    const QByteArray image = screenshotPng();

    QElapsedTimer clock;
    clock.start();
    server.startLoading(load, refuseWhileLoading);
    std::vector<QCoro::Task<void>> warming;
    for (int i = 0; i < screenshots; ++i)
        warming.push_back(engine->prewarm(QStringLiteral("en")));

    Queue queue;
    for (int i = 0; i < screenshots; ++i) {
        QElapsedTimer call;
        call.start();
        const AnalyzeResponse response = co_await engine->analyze(image, request(), ModelDeadline::after(timeLimit));
        queue.calls.append(secondsOf(call));
        if (response.title == heading && response.engine == NamingEngineKind::ai)
            ++queue.named;
    }
    queue.allNamed = secondsOf(clock);
    for (QCoro::Task<void> &task : warming)
        co_await std::move(task);
    co_return queue;
}

QCoro::Task<int> run()
{
    std::printf("Warm calls, picture mode, one grounded answer per call (5 calls at 1 s, 3 at 5 s); means per call\n");
    std::printf("%-11s %9s %8s %12s %8s %12s %9s\n", "generation", "requests", "wall s", "model path s", "bare s",
                "overhead ms", "ratio");
    for (const auto &[generation, calls] : {std::pair{1000ms, 5}, std::pair{5000ms, 3}}) {
        const Warm warm = co_await warmCalls(generation, calls);
        std::printf("%-11s %9.1f %8.3f %12.3f %8.3f %12.1f %9.4f\n",
                    qPrintable(QStringLiteral("%1 s").arg(generation.count() / 1000)), double(warm.requests) / calls,
                    warm.wall / calls, warm.modelPath / calls, warm.bare / calls,
                    (warm.modelPath - warm.bare) / calls * 1000, warm.modelPath / warm.bare);
    }

    const std::chrono::milliseconds limit = ModelEnvironment::defaultTimeLimit;
    const double load = 20, generation = 1, recognition = double(recognitionTime.count()) / 1000;
    std::printf("\nCold load of %.0f s, 10 screenshots queued, %.0f s generation, time limit %lld s; the first call's "
                "floor is the load and one answer, a later call's is recognition and one answer\n",
                load, generation, static_cast<long long>(limit.count() / 1000));
    std::printf("%-22s %6s %8s %8s %9s %9s %8s %13s\n", "server", "named", "first s", "floor s", "ratio", "later s",
                "ratio", "all named s");
    for (const bool refuse : {false, true}) {
        const Queue queue = co_await coldLoad(refuse, 10, 20s, 1000ms, limit);
        double later = 0;
        for (qsizetype i = 1; i < queue.calls.size(); ++i)
            later += queue.calls[i];
        later /= double(queue.calls.size() - 1);
        std::printf("%-22s %3d/%-2lld %8.2f %8.2f %9.4f %9.3f %8.4f %13.2f\n",
                    refuse ? "refuses (llama-server)" : "holds (Ollama)", queue.named,
                    static_cast<long long>(queue.calls.size()), queue.calls.first(), load + generation,
                    queue.calls.first() / (load + generation), later, later / (recognition + generation),
                    queue.allNamed);
    }
    co_return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    int status = 1;
    QTimer::singleShot(0, [&status] {
        [](int &status) -> QCoro::Task<void> {
            status = co_await run();
            QCoreApplication::quit();
        }(status);
    });
    app.exec();
    return status;
}
