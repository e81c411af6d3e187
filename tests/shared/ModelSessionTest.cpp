// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "ModelSession.h"
#include "CoroTest.h"
#include "ModelServerDouble.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTcpServer>

#include <gtest/gtest.h>

namespace {
using Server = ModelEndpoint::Server;
using Kind = ModelError::Kind;
using Double = ModelServerDouble;

const QString instructions = u"You name screenshot files."_qs;
const QString ollamaChat = u"/api/chat"_qs;
const QString openAIChat = u"/v1/chat/completions"_qs;
const ModelAnswerFormat nameFormat{u"ScreenshotName"_qs, u"name"_qs, u"What the screenshot shows, in 3 to 6 words."_qs};
const QString namePrompt = ModelSession::userText(u"Name this."_qs, nameFormat);

ModelSession session(const ModelEndpoint &endpoint, AIAvailability availability = AIAvailability::available())
{
    ModelStatus status;
    status.availability = std::move(availability);
    status.endpoint = endpoint;
    status.model = u"qwen2.5vl:7b"_qs;
    status.vision = true;
    status.languages = {u"en"_qs};
    ModelEnvironment environment;
    environment.probeTimeout = std::chrono::milliseconds(1500);
    environment.loadPollInterval = std::chrono::milliseconds(10);
    return ModelSession(status, instructions, std::move(environment));
}

ModelAnswer ask(const ModelSession &chat, const QImage &image = QImage(),
                std::chrono::milliseconds timeLimit = std::chrono::seconds(5))
{
    return runTask(
        chat.respond(u"Name this."_qs, nameFormat, ModelDeadline::after(timeLimit), ModelImage::encode(image)));
}

Kind failure(const ModelAnswer &answer)
{
    EXPECT_FALSE(answer.ok());
    EXPECT_FALSE(answer.error.value_or(ModelError(Kind::other, u"x"_qs)).message().isEmpty());
    return answer.error.value_or(ModelError(Kind::other, {})).kind();
}

// A picture of the given size, as the request carries it after decoding.
QImage screenshot(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(QColor(30, 90, 200, 128));
    return image;
}

QSize decodedSize(const QString &base64)
{
    return QImage::fromData(QByteArray::fromBase64(base64.toLatin1())).size();
}

QJsonObject object(const char *json)
{
    return QJsonDocument::fromJson(QByteArray(json)).object();
}

QJsonObject lastBody(const Double &server, const QString &path)
{
    const QList<Double::Request> chats = server.requests(path);
    return chats.isEmpty() ? QJsonObject() : chats.last().json();
}

} // namespace

TEST(ModelSession, RequestsCarryTheSchemaGreedyOptionsLimitsAndAScaledPictureInEachServersForm)
{
    const QJsonArray messages{QJsonObject{{u"role"_qs, u"system"_qs}, {u"content"_qs, instructions}},
                              QJsonObject{{u"role"_qs, u"user"_qs}, {u"content"_qs, namePrompt}}};
    Double ollama;
    ollama.enqueue(ollamaChat, Double::ollamaAnswer(Double::record(u"name"_qs, u"Pull request review"_qs)));
    ollama.enqueue(ollamaChat, Double::ollamaAnswer(u" {\"name\": \"Wide chart\"}\n"_qs));
    const ModelSession chat = session(ollama.endpoint(Server::ollama));
    EXPECT_EQ(ask(chat).text, u"Pull request review"_qs);
    QJsonObject body = lastBody(ollama, ollamaChat);
    EXPECT_EQ(body.take(u"format"_qs).toObject(),
              object(R"({"type":"object","required":["name"],"additionalProperties":false,)"
                     R"("properties":{"name":{"type":"string",)"
                     R"("description":"What the screenshot shows, in 3 to 6 words."}}})"));
    EXPECT_EQ(body.take(u"messages"_qs).toArray(), messages);
    EXPECT_EQ(body,
              object(R"({"model":"qwen2.5vl:7b","keep_alive":"10m","stream":false,"think":false,"truncate":false,)"
                     R"("options":{"temperature":0,"top_k":1,"seed":0,"num_predict":40}})"))
        << QJsonDocument(body).toJson().toStdString();
    // One image, scaled so its longest side is 1280 pixels.
    EXPECT_EQ(ask(chat, screenshot(3000, 1200)).text, u"Wide chart"_qs);
    const QJsonArray images = lastBody(ollama, ollamaChat).value(u"messages"_qs)[1][u"images"_qs].toArray();
    ASSERT_EQ(images.size(), 1);
    EXPECT_EQ(decodedSize(images[0].toString()), QSize(1280, 512));

    // OpenAI-compatible servers: the schema nested, the picture as a data URL beside the text.
    Double llama;
    llama.setDefault(openAIChat, Double::openAIAnswer(Double::record(u"name"_qs, u"Terminal build log"_qs)));
    const ModelSession openAI = session(llama.endpoint(Server::llamaServer));
    EXPECT_EQ(ask(openAI).text, u"Terminal build log"_qs);
    body = lastBody(llama, openAIChat);
    EXPECT_EQ(body.take(u"response_format"_qs).toObject(),
              (QJsonObject{{u"type"_qs, u"json_schema"_qs},
                           {u"json_schema"_qs, QJsonObject{{u"name"_qs, u"ScreenshotName"_qs},
                                                           {u"schema"_qs, nameFormat.schema()},
                                                           {u"strict"_qs, true}}}}));
    EXPECT_EQ(body.take(u"messages"_qs).toArray(), messages);
    body.remove(u"model"_qs);
    EXPECT_EQ(body, object(R"({"max_tokens":40,"temperature":0,"top_k":1,"seed":0,"stream":false,)"
                           R"("chat_template_kwargs":{"enable_thinking":false}})"));
    EXPECT_TRUE(ask(openAI, screenshot(400, 900)).ok());
    const QJsonArray parts = lastBody(llama, openAIChat).value(u"messages"_qs)[1][u"content"_qs].toArray();
    ASSERT_EQ(parts.size(), 2);
    const QString url = parts[0][u"image_url"_qs][u"url"_qs].toString();
    ASSERT_TRUE(url.startsWith(QLatin1String("data:image/png;base64,"))) << url.left(40).toStdString();
    EXPECT_EQ(decodedSize(url.mid(url.indexOf(u',') + 1)), QSize(400, 900));
    EXPECT_EQ(parts[1][u"text"_qs].toString(), namePrompt);
}

TEST(ModelSession, CutOffMalformedRefusedSilentAndDroppedAnswersAreClassifiedErrors)
{
    Double server;
    const QString good = Double::record(u"name"_qs, u"Settings window"_qs);
    for (const Double::Response &bad :
         {Double::ollamaAnswer(u"{\"name\": \"A very long"_qs, u"length"_qs), Double::ollamaAnswer(good, u"length"_qs),
          Double::ollamaAnswer(u"Settings window"_qs), Double::ollamaAnswer(Double::record(u"title"_qs, u"x"_qs)),
          Double::ollamaAnswer(u"{\"name\": 42}"_qs), Double::json({{u"unexpected"_qs, true}})})
        server.enqueue(ollamaChat, bad);
    const ModelSession chat = session(server.endpoint(Server::ollama));
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(failure(ask(chat)), Kind::other) << i;

    Double openAI;
    openAI.enqueue(openAIChat, Double::openAIAnswer(good, u"length"_qs));
    openAI.enqueue(openAIChat, Double::openAIError(400, u"too long"_qs, u"exceed_context_size_error"_qs));
    const ModelSession lmStudio = session(openAI.endpoint(Server::lmStudio));
    EXPECT_EQ(failure(ask(lmStudio)), Kind::other);
    EXPECT_EQ(failure(ask(lmStudio)), Kind::contextTooLong);

    // Silent past the deadline, or dying mid-answer: busy, the server may well be back for the next try.
    Double::Response slow = Double::ollamaAnswer(good);
    slow.delay = std::chrono::milliseconds(3000);
    server.enqueue(ollamaChat, slow);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(failure(ask(chat, QImage(), std::chrono::milliseconds(300))), Kind::busy);
    EXPECT_LT(clock.elapsed(), 2500);
    Double::Response dropped = Double::ollamaAnswer(good);
    dropped.dropMidway = true;
    server.enqueue(ollamaChat, dropped);
    EXPECT_EQ(failure(ask(chat)), Kind::busy);

    // A refused connection fails at once, whatever the deadline.
    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost, 0);
    const ModelEndpoint gone(QUrl(u"http://127.0.0.1:%1"_qs.arg(closed.serverPort())), Server::ollama);
    closed.close();
    clock.restart();
    EXPECT_EQ(failure(ask(session(gone), QImage(), std::chrono::seconds(150))), Kind::other);
    EXPECT_LT(clock.elapsed(), 1000);
}

TEST(ModelSession, PrewarmLoadsTheModelAndAnUnavailableModelIsNeverAsked)
{
    Double ollama;
    ollama.enqueue(ollamaChat, Double::json({{u"done"_qs, true}, {u"done_reason"_qs, u"load"_qs}}));
    const ModelDeadline later = ModelDeadline::after(std::chrono::seconds(5));
    EXPECT_EQ(runTask(session(ollama.endpoint(Server::ollama)).prewarm(later)), std::nullopt);
    const QJsonObject body = lastBody(ollama, ollamaChat);
    EXPECT_EQ(body.value(u"model"_qs).toString(), u"qwen2.5vl:7b"_qs);
    EXPECT_TRUE(body.value(u"messages"_qs).toArray().isEmpty());
    EXPECT_FALSE(body.value(u"keep_alive"_qs).toString().isEmpty());

    // llama-server: waits while the model loads, within the deadline.
    Double llama;
    llama.serveLlamaServer(u"qwen3-4b"_qs, false);
    const auto loading = Double::openAIError(503, u"Loading model"_qs, u"unavailable_error"_qs);
    llama.enqueue(u"/health"_qs, loading);
    llama.enqueue(u"/health"_qs, loading);
    EXPECT_EQ(runTask(session(llama.endpoint(Server::llamaServer)).prewarm(later)), std::nullopt);
    EXPECT_EQ(llama.requests(u"/health"_qs).size(), 3);
    EXPECT_TRUE(llama.requests(openAIChat).isEmpty());
    Double stuck;
    stuck.serveLlamaServer(u"qwen3-4b"_qs, false, true);
    const std::optional<ModelError> error = runTask(
        session(stuck.endpoint(Server::llamaServer)).prewarm(ModelDeadline::after(std::chrono::milliseconds(200))));
    EXPECT_EQ(error.value_or(ModelError(Kind::other, {})).kind(), Kind::busy) << error.has_value();

    Double server;
    const ModelSession unready = session(server.endpoint(Server::ollama), AIAvailability::modelNotReady());
    EXPECT_EQ(failure(ask(unready)), Kind::other);
    EXPECT_TRUE(runTask(unready.prewarm(later)).has_value());
    EXPECT_TRUE(server.requests().isEmpty());
}
