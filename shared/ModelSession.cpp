// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "ModelSession.h"

#include "ModelHttp.h"
#include "ModelImage.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <QCoroTimer>

namespace {
// How long Ollama keeps a prewarmed or used model in memory.
const QString keepAlive = QStringLiteral("10m");

struct Request
{
    ModelStatus status;
    QString instructions;
    ModelEnvironment environment;
};

ModelError notAvailable()
{
    return {ModelError::Kind::other, QStringLiteral("The local language model is not available.")};
}

ModelError transportFailure(const Request &request, const ModelHttp::Reply &reply)
{
    if (reply.timedOut)
        return {ModelError::Kind::busy, QStringLiteral("The model server did not answer in time.")};
    if (reply.interrupted)
        return {ModelError::Kind::busy, QStringLiteral("The model server closed the connection before answering.")};
    return {ModelError::Kind::other, QStringLiteral("The model server at %1 cannot be reached: %2")
                                         .arg(request.status.endpoint.baseUrl(), reply.transportError)};
}

// llama-server refuses requests with 503 "Loading model" until its model is in memory.
bool isLoadingAnswer(const Request &request, const ModelHttp::Reply &reply)
{
    return request.status.endpoint.server() == ModelEndpoint::Server::llamaServer && reply.status == 503 &&
           reply.body.contains("oading");
}

QJsonObject greedyOptions()
{
    return {{QStringLiteral("temperature"), 0},
            {QStringLiteral("top_k"), 1},
            {QStringLiteral("seed"), 0},
            {QStringLiteral("num_predict"), ModelSession::maxResponseTokens}};
}

QJsonObject ollamaBody(const Request &request, const QString &prompt, const ModelAnswerFormat &format,
                       const ModelImage &image)
{
    QJsonArray messages;
    if (!request.instructions.isEmpty())
        messages.append(QJsonObject{{QStringLiteral("role"), QStringLiteral("system")},
                                    {QStringLiteral("content"), request.instructions}});
    QJsonObject user{{QStringLiteral("role"), QStringLiteral("user")},
                     {QStringLiteral("content"), ModelSession::userText(prompt, format)}};
    if (!image.isNull())
        user.insert(QStringLiteral("images"), QJsonArray{QString::fromLatin1(image.base64())});
    messages.append(user);
    return {{QStringLiteral("model"), request.status.model},
            {QStringLiteral("messages"), messages},
            {QStringLiteral("format"), format.schema()},
            {QStringLiteral("options"), greedyOptions()},
            {QStringLiteral("stream"), false},
            {QStringLiteral("think"), false},
            {QStringLiteral("truncate"), false},
            {QStringLiteral("keep_alive"), keepAlive}};
}

QJsonObject openAIBody(const Request &request, const QString &prompt, const ModelAnswerFormat &format,
                       const ModelImage &image)
{
    QJsonArray messages;
    if (!request.instructions.isEmpty())
        messages.append(QJsonObject{{QStringLiteral("role"), QStringLiteral("system")},
                                    {QStringLiteral("content"), request.instructions}});
    QJsonObject user{{QStringLiteral("role"), QStringLiteral("user")}};
    const QString content = ModelSession::userText(prompt, format);
    if (image.isNull()) {
        user.insert(QStringLiteral("content"), content);
    } else {
        const QJsonObject picture{{QStringLiteral("type"), QStringLiteral("image_url")},
                                  {QStringLiteral("image_url"), QJsonObject{{QStringLiteral("url"), image.dataUrl()}}}};
        const QJsonObject text{{QStringLiteral("type"), QStringLiteral("text")}, {QStringLiteral("text"), content}};
        user.insert(QStringLiteral("content"), QJsonArray{picture, text});
    }
    messages.append(user);
    const QJsonObject schema{{QStringLiteral("name"), format.record.isEmpty() ? format.field : format.record},
                             {QStringLiteral("schema"), format.schema()},
                             {QStringLiteral("strict"), true}};
    return {{QStringLiteral("model"), request.status.model},
            {QStringLiteral("messages"), messages},
            {QStringLiteral("response_format"), QJsonObject{{QStringLiteral("type"), QStringLiteral("json_schema")},
                                                            {QStringLiteral("json_schema"), schema}}},
            {QStringLiteral("temperature"), 0},
            {QStringLiteral("top_k"), 1},
            {QStringLiteral("seed"), 0},
            {QStringLiteral("max_tokens"), ModelSession::maxResponseTokens},
            {QStringLiteral("stream"), false},
            {QStringLiteral("chat_template_kwargs"), QJsonObject{{QStringLiteral("enable_thinking"), false}}}};
}

// The field's text from the model's JSON answer; absent when the answer is not that record.
std::optional<QString> fieldOf(const QString &content, const QString &field)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(content.trimmed().toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonValue value = document.object().value(field);
    if (!value.isString())
        return std::nullopt;
    return value.toString();
}

ModelAnswer answerFrom(const ModelHttp::Reply &reply, bool ollama, const ModelAnswerFormat &format)
{
    const QJsonObject body = reply.json();
    if (body.isEmpty())
        return {{},
                ModelError(ModelError::Kind::other, QStringLiteral("The model server's answer could not be read."))};
    if (body.contains(QLatin1String("error")))
        return {{}, ModelError::fromServerAnswer(reply.status, reply.body)};
    QString content;
    QString stop;
    if (ollama) {
        content = body.value(QLatin1String("message")).toObject().value(QLatin1String("content")).toString();
        stop = body.value(QLatin1String("done_reason")).toString();
    } else {
        const QJsonObject choice = body.value(QLatin1String("choices")).toArray().first().toObject();
        content = choice.value(QLatin1String("message")).toObject().value(QLatin1String("content")).toString();
        stop = choice.value(QLatin1String("finish_reason")).toString();
    }
    if (stop == QLatin1String("length"))
        return {{}, ModelError(ModelError::Kind::other, QStringLiteral("The model's answer was cut off."))};
    const std::optional<QString> text = fieldOf(content, format.field);
    if (!text)
        return {
            {},
            ModelError(ModelError::Kind::other, QStringLiteral("The model did not answer with the requested record: %1")
                                                    .arg(content.trimmed().left(200)))};
    return {*text, std::nullopt};
}

QCoro::Task<std::optional<ModelError>> waitForLlamaServer(Request request, ModelDeadline deadline)
{
    ModelHttp http;
    for (;;) {
        const ModelHttp::Reply reply = co_await http.get(request.status.endpoint.url(QStringLiteral("/health")),
                                                         deadline.capped(request.environment.probeTimeout));
        if (!reply.answered())
            co_return transportFailure(request, reply);
        if (reply.ok())
            co_return std::nullopt;
        if (reply.status != 503)
            co_return ModelError::fromServerAnswer(reply.status, reply.body);
        const std::chrono::milliseconds pause = deadline.capped(request.environment.loadPollInterval);
        if (pause.count() <= 0)
            co_return ModelError(ModelError::Kind::busy, QStringLiteral("The model is still loading."));
        co_await QCoro::sleepFor(pause);
    }
}

QCoro::Task<ModelAnswer> respondTo(Request request, QString prompt, ModelAnswerFormat format, ModelDeadline deadline,
                                   ModelImage picture)
{
    if (!request.status.isAvailable())
        co_return ModelAnswer{{}, notAvailable()};
    const bool ollama = request.status.endpoint.speaksOllama();
    const QUrl url =
        request.status.endpoint.url(ollama ? QStringLiteral("/api/chat") : QStringLiteral("/v1/chat/completions"));
    const QJsonObject body =
        ollama ? ollamaBody(request, prompt, format, picture) : openAIBody(request, prompt, format, picture);
    const std::chrono::milliseconds unlimited = std::chrono::milliseconds::max();
    ModelHttp http;
    ModelHttp::Reply reply = co_await http.post(url, body, deadline.capped(unlimited));
    // A model that is loading answers once it is in memory, if that happens in time.
    if (isLoadingAnswer(request, reply)) {
        if (const std::optional<ModelError> notLoaded = co_await waitForLlamaServer(request, deadline))
            co_return ModelAnswer{{}, *notLoaded};
        reply = co_await http.post(url, body, deadline.capped(unlimited));
    }
    if (!reply.answered())
        co_return ModelAnswer{{}, transportFailure(request, reply)};
    if (!reply.ok())
        co_return ModelAnswer{{}, ModelError::fromServerAnswer(reply.status, reply.body)};
    co_return answerFrom(reply, ollama, format);
}

QJsonObject prewarmBody(const Request &request, bool ollama)
{
    QJsonObject body{{QStringLiteral("model"), request.status.model}, {QStringLiteral("stream"), false}};
    if (ollama) {
        body.insert(QStringLiteral("messages"), QJsonArray());
        body.insert(QStringLiteral("keep_alive"), keepAlive);
        return body;
    }
    // Servers that load models on first use have no separate load call; one token loads it and warms the cache.
    QJsonArray messages;
    if (!request.instructions.isEmpty())
        messages.append(QJsonObject{{QStringLiteral("role"), QStringLiteral("system")},
                                    {QStringLiteral("content"), request.instructions}});
    messages.append(QJsonObject{{QStringLiteral("role"), QStringLiteral("user")},
                                {QStringLiteral("content"), QStringLiteral("Hi")}});
    body.insert(QStringLiteral("messages"), messages);
    body.insert(QStringLiteral("max_tokens"), 1);
    return body;
}

QCoro::Task<std::optional<ModelError>> prewarmWith(Request request, ModelDeadline deadline)
{
    if (!request.status.isAvailable())
        co_return notAvailable();
    const ModelEndpoint &endpoint = request.status.endpoint;
    if (endpoint.server() == ModelEndpoint::Server::llamaServer)
        co_return co_await waitForLlamaServer(request, deadline);
    const bool ollama = endpoint.speaksOllama();
    const QUrl url = endpoint.url(ollama ? QStringLiteral("/api/chat") : QStringLiteral("/v1/chat/completions"));
    const QJsonObject body = prewarmBody(request, ollama);
    ModelHttp http;
    const ModelHttp::Reply reply = co_await http.post(url, body, deadline.capped(std::chrono::milliseconds::max()));
    if (!reply.answered())
        co_return transportFailure(request, reply);
    if (!reply.ok())
        co_return ModelError::fromServerAnswer(reply.status, reply.body);
    co_return std::nullopt;
}
} // namespace

QJsonObject ModelAnswerFormat::schema() const
{
    const QJsonObject property{{QStringLiteral("type"), QStringLiteral("string")},
                               {QStringLiteral("description"), description}};
    return {{QStringLiteral("type"), QStringLiteral("object")},
            {QStringLiteral("properties"), QJsonObject{{field, property}}},
            {QStringLiteral("required"), QJsonArray{field}},
            {QStringLiteral("additionalProperties"), false}};
}

ModelSession::ModelSession(ModelStatus status, QString instructions, ModelEnvironment environment)
    : m_status(std::move(status))
    , m_instructions(std::move(instructions))
    , m_environment(std::move(environment))
{}

QString ModelSession::userText(const QString &prompt, const ModelAnswerFormat &format)
{
    return prompt + QStringLiteral("\n\nAnswer with JSON that follows this schema:\n") +
           QString::fromUtf8(QJsonDocument(format.schema()).toJson(QJsonDocument::Compact));
}

QCoro::Task<std::optional<ModelError>> ModelSession::prewarm(ModelDeadline deadline) const
{
    return prewarmWith(Request{m_status, m_instructions, m_environment}, deadline);
}

QCoro::Task<ModelAnswer> ModelSession::respond(const QString &prompt, const ModelAnswerFormat &format,
                                               ModelDeadline deadline, const ModelImage &picture) const
{
    return respondTo(Request{m_status, m_instructions, m_environment}, prompt, format, deadline, picture);
}
