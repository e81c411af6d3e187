// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "ModelSession.h"
#include "CoroTest.h"
#include "ModelServerDouble.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QTcpServer>

#include <gtest/gtest.h>

namespace {
using Server = ModelEndpoint::Server;
using Kind = ModelError::Kind;

const QString instructions = QStringLiteral("You name screenshot files.");

const ModelAnswerFormat nameFormat{QStringLiteral("ScreenshotName"), QStringLiteral("name"),
                                   QStringLiteral("What the screenshot shows, in 3 to 6 words.")};

ModelEnvironment quickEnvironment()
{
    ModelEnvironment environment;
    environment.probeTimeout = std::chrono::milliseconds(1500);
    environment.generationTimeout = std::chrono::milliseconds(5000);
    environment.loadPollInterval = std::chrono::milliseconds(10);
    return environment;
}

ModelStatus availableAt(const ModelEndpoint &endpoint, const QString &model = QStringLiteral("qwen2.5vl:7b"))
{
    ModelStatus status;
    status.availability = AIAvailability::available();
    status.endpoint = endpoint;
    status.model = model;
    status.vision = true;
    status.languages = {QStringLiteral("en")};
    return status;
}

ModelSession session(const ModelServerDouble &server, Server kind, ModelEnvironment environment = quickEnvironment())
{
    return ModelSession(availableAt(server.endpoint(kind)), instructions, std::move(environment));
}

QImage screenshot(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(QColor(30, 90, 200, 128));
    return image;
}

QImage decoded(const QByteArray &base64)
{
    return QImage::fromData(QByteArray::fromBase64(base64));
}

QJsonObject lastChat(const ModelServerDouble &server, const QString &path)
{
    const QList<ModelServerDouble::Request> chats = server.requests(path);
    return chats.isEmpty() ? QJsonObject() : chats.last().json();
}
} // namespace

TEST(ModelSession, OllamaRequestsCarryTheSchemaGreedyOptionsAndLimits)
{
    ModelServerDouble server;
    server.enqueue(QStringLiteral("/api/chat"), ModelServerDouble::ollamaAnswer(ModelServerDouble::record(
                                                    QStringLiteral("name"), QStringLiteral("Pull request review"))));
    server.enqueue(QStringLiteral("/api/chat"),
                   ModelServerDouble::ollamaAnswer(QStringLiteral(" {\"name\": \"Wide chart\"}\n")));
    const ModelSession chat = session(server, Server::ollama);

    ModelAnswer answer = runTask(chat.respond(QStringLiteral("Name this screenshot."), nameFormat));
    ASSERT_TRUE(answer.ok()) << answer.error->message().toStdString();
    EXPECT_EQ(answer.text, QStringLiteral("Pull request review"));

    QJsonObject body = lastChat(server, QStringLiteral("/api/chat"));
    EXPECT_EQ(body.value(QLatin1String("model")).toString(), QStringLiteral("qwen2.5vl:7b"));
    EXPECT_EQ(body.value(QLatin1String("stream")), QJsonValue(false));
    EXPECT_EQ(body.value(QLatin1String("think")), QJsonValue(false));
    EXPECT_EQ(body.value(QLatin1String("truncate")), QJsonValue(false));
    const QJsonObject options = body.value(QLatin1String("options")).toObject();
    EXPECT_EQ(options.value(QLatin1String("temperature")).toDouble(-1), 0);
    EXPECT_EQ(options.value(QLatin1String("top_k")).toInt(), 1);
    EXPECT_EQ(options.value(QLatin1String("seed")).toInt(-1), 0);
    EXPECT_EQ(options.value(QLatin1String("num_predict")).toInt(), 40);
    const QJsonObject schema = body.value(QLatin1String("format")).toObject();
    EXPECT_EQ(schema.value(QLatin1String("type")).toString(), QStringLiteral("object"));
    EXPECT_EQ(schema.value(QLatin1String("required")).toArray(), QJsonArray{QStringLiteral("name")});
    const QJsonObject field =
        schema.value(QLatin1String("properties")).toObject().value(QLatin1String("name")).toObject();
    EXPECT_EQ(field.value(QLatin1String("type")).toString(), QStringLiteral("string"));
    EXPECT_EQ(field.value(QLatin1String("description")).toString(), nameFormat.description);
    const QJsonArray messages = body.value(QLatin1String("messages")).toArray();
    ASSERT_EQ(messages.size(), 2);
    EXPECT_EQ(messages[0].toObject().value(QLatin1String("role")).toString(), QStringLiteral("system"));
    EXPECT_EQ(messages[0].toObject().value(QLatin1String("content")).toString(), instructions);
    EXPECT_EQ(messages[1].toObject().value(QLatin1String("content")).toString(),
              QStringLiteral("Name this screenshot."));
    EXPECT_FALSE(messages[1].toObject().contains(QLatin1String("images")));

    // With a picture: one image, scaled so its longest side is 1280 pixels.
    answer = runTask(chat.respond(QStringLiteral("Name this screenshot."), nameFormat, screenshot(3000, 1200)));
    ASSERT_TRUE(answer.ok()) << answer.error->message().toStdString();
    EXPECT_EQ(answer.text, QStringLiteral("Wide chart"));
    body = lastChat(server, QStringLiteral("/api/chat"));
    const QJsonArray images =
        body.value(QLatin1String("messages")).toArray()[1].toObject().value(QLatin1String("images")).toArray();
    ASSERT_EQ(images.size(), 1);
    const QImage sent = decoded(images[0].toString().toLatin1());
    EXPECT_EQ(sent.size(), QSize(1280, 512));
}

TEST(ModelSession, OpenAICompatibleRequestsNestTheSchemaAndSendThePictureAsADataUrl)
{
    ModelServerDouble server;
    server.setDefault(QStringLiteral("/v1/chat/completions"),
                      ModelServerDouble::openAIAnswer(
                          ModelServerDouble::record(QStringLiteral("name"), QStringLiteral("Terminal build log"))));
    const ModelSession chat = session(server, Server::llamaServer);

    ModelAnswer answer = runTask(chat.respond(QStringLiteral("Describe."), nameFormat));
    ASSERT_TRUE(answer.ok()) << answer.error->message().toStdString();
    EXPECT_EQ(answer.text, QStringLiteral("Terminal build log"));
    QJsonObject body = lastChat(server, QStringLiteral("/v1/chat/completions"));
    EXPECT_EQ(body.value(QLatin1String("max_tokens")).toInt(), 40);
    EXPECT_EQ(body.value(QLatin1String("temperature")).toDouble(-1), 0);
    EXPECT_EQ(body.value(QLatin1String("top_k")).toInt(), 1);
    EXPECT_EQ(body.value(QLatin1String("seed")).toInt(-1), 0);
    EXPECT_EQ(body.value(QLatin1String("stream")), QJsonValue(false));
    EXPECT_EQ(body.value(QLatin1String("chat_template_kwargs")).toObject().value(QLatin1String("enable_thinking")),
              QJsonValue(false));
    const QJsonObject format = body.value(QLatin1String("response_format")).toObject();
    EXPECT_EQ(format.value(QLatin1String("type")).toString(), QStringLiteral("json_schema"));
    const QJsonObject jsonSchema = format.value(QLatin1String("json_schema")).toObject();
    EXPECT_EQ(jsonSchema.value(QLatin1String("name")).toString(), QStringLiteral("ScreenshotName"));
    EXPECT_EQ(jsonSchema.value(QLatin1String("strict")), QJsonValue(true));
    EXPECT_EQ(jsonSchema.value(QLatin1String("schema")).toObject(), nameFormat.schema());
    QJsonArray messages = body.value(QLatin1String("messages")).toArray();
    ASSERT_EQ(messages.size(), 2);
    EXPECT_EQ(messages[0].toObject().value(QLatin1String("content")).toString(), instructions);
    EXPECT_EQ(messages[1].toObject().value(QLatin1String("content")).toString(), QStringLiteral("Describe."));

    answer = runTask(chat.respond(QStringLiteral("Describe."), nameFormat, screenshot(400, 900)));
    ASSERT_TRUE(answer.ok());
    body = lastChat(server, QStringLiteral("/v1/chat/completions"));
    messages = body.value(QLatin1String("messages")).toArray();
    const QJsonArray parts = messages[1].toObject().value(QLatin1String("content")).toArray();
    ASSERT_EQ(parts.size(), 2);
    EXPECT_EQ(parts[0].toObject().value(QLatin1String("type")).toString(), QStringLiteral("image_url"));
    const QString url =
        parts[0].toObject().value(QLatin1String("image_url")).toObject().value(QLatin1String("url")).toString();
    ASSERT_TRUE(url.startsWith(QLatin1String("data:image/png;base64,"))) << url.left(40).toStdString();
    EXPECT_EQ(decoded(url.mid(url.indexOf(u',') + 1).toLatin1()).size(), QSize(400, 900));
    EXPECT_EQ(parts[1].toObject().value(QLatin1String("text")).toString(), QStringLiteral("Describe."));
}

TEST(ModelSession, CutOffAndMalformedAnswersAreGenerationErrors)
{
    ModelServerDouble server;
    const QString chatPath = QStringLiteral("/api/chat");
    const QString good = ModelServerDouble::record(QStringLiteral("name"), QStringLiteral("Settings window"));
    server.enqueue(chatPath, ModelServerDouble::ollamaAnswer(QStringLiteral("{\"name\": \"A very long"),
                                                             QStringLiteral("length")));
    server.enqueue(chatPath, ModelServerDouble::ollamaAnswer(good, QStringLiteral("length")));
    server.enqueue(chatPath, ModelServerDouble::ollamaAnswer(QStringLiteral("Settings window")));
    server.enqueue(chatPath, ModelServerDouble::ollamaAnswer(
                                 ModelServerDouble::record(QStringLiteral("title"), QStringLiteral("x"))));
    server.enqueue(chatPath, ModelServerDouble::ollamaAnswer(QStringLiteral("{\"name\": 42}")));
    server.enqueue(chatPath, ModelServerDouble::json({{QStringLiteral("unexpected"), true}}));
    const ModelSession chat = session(server, Server::ollama);
    for (int i = 0; i < 6; ++i) {
        const ModelAnswer answer = runTask(chat.respond(QStringLiteral("Name this."), nameFormat));
        ASSERT_FALSE(answer.ok()) << i;
        EXPECT_EQ(answer.error->kind(), Kind::other) << i;
        EXPECT_FALSE(answer.error->message().isEmpty());
    }

    ModelServerDouble openAI;
    openAI.enqueue(QStringLiteral("/v1/chat/completions"),
                   ModelServerDouble::openAIAnswer(good, QStringLiteral("length")));
    const ModelAnswer cut =
        runTask(session(openAI, Server::lmStudio).respond(QStringLiteral("Name this."), nameFormat));
    ASSERT_FALSE(cut.ok());
    EXPECT_EQ(cut.error->kind(), Kind::other);
}

TEST(ModelSession, ServerErrorsReachTheCallerClassified)
{
    ModelServerDouble server;
    const QString chatPath = QStringLiteral("/v1/chat/completions");
    server.enqueue(chatPath, ModelServerDouble::openAIError(503, QStringLiteral("Loading model"),
                                                            QStringLiteral("unavailable_error")));
    server.enqueue(chatPath,
                   ModelServerDouble::openAIError(400, QStringLiteral("the request exceeds the available context size"),
                                                  QStringLiteral("exceed_context_size_error")));
    server.enqueue(chatPath, ModelServerDouble::openAIError(500, QStringLiteral("failed to load image"),
                                                            QStringLiteral("server_error")));
    const ModelSession chat = session(server, Server::llamaServer);
    const std::pair<Kind, QString> expected[] = {
        {Kind::busy, QStringLiteral("Loading model")},
        {Kind::contextTooLong, QStringLiteral("the request exceeds the available context size")},
        {Kind::other, QStringLiteral("failed to load image")},
    };
    for (const auto &[kind, message] : expected) {
        const ModelAnswer answer = runTask(chat.respond(QStringLiteral("Name this."), nameFormat));
        ASSERT_FALSE(answer.ok());
        EXPECT_EQ(answer.error->kind(), kind);
        EXPECT_EQ(answer.error->message(), message);
    }
}

TEST(ModelSession, ASilentServerTimesOutAsBusyAndARefusedConnectionFailsAtOnce)
{
    ModelServerDouble server;
    ModelServerDouble::Response slow =
        ModelServerDouble::ollamaAnswer(ModelServerDouble::record(QStringLiteral("name"), QStringLiteral("late")));
    slow.delay = std::chrono::milliseconds(3000);
    server.enqueue(QStringLiteral("/api/chat"), slow);
    ModelEnvironment environment = quickEnvironment();
    environment.generationTimeout = std::chrono::milliseconds(300);
    QElapsedTimer clock;
    clock.start();
    const ModelAnswer late =
        runTask(session(server, Server::ollama, environment).respond(QStringLiteral("Name this."), nameFormat));
    EXPECT_LT(clock.elapsed(), 2500);
    ASSERT_FALSE(late.ok());
    EXPECT_EQ(late.error->kind(), Kind::busy);

    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost, 0);
    const ModelEndpoint gone(QUrl(QStringLiteral("http://127.0.0.1:%1").arg(closed.serverPort())), Server::ollama);
    closed.close();
    ModelEnvironment patient = quickEnvironment();
    patient.generationTimeout = std::chrono::milliseconds(150000);
    clock.restart();
    const ModelAnswer refused = runTask(
        ModelSession(availableAt(gone), instructions, patient).respond(QStringLiteral("Name this."), nameFormat));
    EXPECT_LT(clock.elapsed(), 1000);
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error->kind(), Kind::other);
}

TEST(ModelSession, PrewarmLoadsTheModel)
{
    ModelServerDouble ollama;
    ollama.enqueue(QStringLiteral("/api/chat"),
                   ModelServerDouble::json(
                       {{QStringLiteral("done"), true}, {QStringLiteral("done_reason"), QStringLiteral("load")}}));
    EXPECT_EQ(runTask(session(ollama, Server::ollama).prewarm()), std::nullopt);
    const QJsonObject body = lastChat(ollama, QStringLiteral("/api/chat"));
    EXPECT_EQ(body.value(QLatin1String("model")).toString(), QStringLiteral("qwen2.5vl:7b"));
    EXPECT_TRUE(body.value(QLatin1String("messages")).toArray().isEmpty());
    EXPECT_FALSE(body.value(QLatin1String("keep_alive")).toString().isEmpty());

    // llama-server: waits while the model loads.
    ModelServerDouble llama;
    llama.serveLlamaServer(QStringLiteral("qwen3-4b"), false);
    const auto loading =
        ModelServerDouble::openAIError(503, QStringLiteral("Loading model"), QStringLiteral("unavailable_error"));
    llama.enqueue(QStringLiteral("/health"), loading);
    llama.enqueue(QStringLiteral("/health"), loading);
    EXPECT_EQ(runTask(session(llama, Server::llamaServer).prewarm()), std::nullopt);
    EXPECT_EQ(llama.requests(QStringLiteral("/health")).size(), 3);
    EXPECT_TRUE(llama.requests(QStringLiteral("/v1/chat/completions")).isEmpty());

    ModelServerDouble stuck;
    stuck.serveLlamaServer(QStringLiteral("qwen3-4b"), false, true);
    ModelEnvironment environment = quickEnvironment();
    environment.generationTimeout = std::chrono::milliseconds(200);
    const std::optional<ModelError> error = runTask(session(stuck, Server::llamaServer, environment).prewarm());
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->kind(), Kind::busy);
}

TEST(ModelSession, AnUnavailableModelIsNeverAsked)
{
    ModelServerDouble server;
    ModelStatus status = availableAt(server.endpoint(Server::ollama));
    status.availability = AIAvailability::modelNotReady();
    const ModelSession chat(status, instructions, quickEnvironment());
    const ModelAnswer answer = runTask(chat.respond(QStringLiteral("Name this."), nameFormat));
    ASSERT_FALSE(answer.ok());
    EXPECT_EQ(answer.error->kind(), Kind::other);
    EXPECT_TRUE(runTask(chat.prewarm()).has_value());
    EXPECT_TRUE(server.requests().isEmpty());
}
