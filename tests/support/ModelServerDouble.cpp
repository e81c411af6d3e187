// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "ModelServerDouble.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

namespace {
QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 400:
        return "Bad Request";
    case 404:
        return "Not Found";
    case 429:
        return "Too Many Requests";
    case 500:
        return "Internal Server Error";
    case 503:
        return "Service Unavailable";
    default:
        return "Status";
    }
}

QJsonArray toArray(const QStringList &strings)
{
    QJsonArray array;
    for (const QString &string : strings)
        array.append(string);
    return array;
}
} // namespace

QJsonObject ModelServerDouble::Request::json() const
{
    return QJsonDocument::fromJson(body).object();
}

ModelServerDouble::ModelServerDouble(const QHostAddress &address, QObject *parent)
    : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, &ModelServerDouble::accept);
    m_server.listen(address, 0);
}

ModelServerDouble::~ModelServerDouble()
{
    // Connections still open (a held answer) close with the server, after this object's members are gone.
    const QList<QTcpSocket *> sockets = m_server.findChildren<QTcpSocket *>();
    for (QTcpSocket *socket : sockets)
        socket->disconnect(this);
}

QString ModelServerDouble::url() const
{
    QString host = m_server.serverAddress().toString();
    if (m_server.serverAddress() == QHostAddress::AnyIPv4 || m_server.serverAddress() == QHostAddress::Any)
        host = QStringLiteral("127.0.0.1");
    return QStringLiteral("http://%1:%2").arg(host).arg(port());
}

ModelEndpoint ModelServerDouble::endpoint(ModelEndpoint::Server server) const
{
    return ModelEndpoint(QUrl(url()), server);
}

void ModelServerDouble::enqueue(const QString &path, const Response &response)
{
    m_scripts[path].queue.append(response);
}

void ModelServerDouble::setHandler(const QString &path, Handler handler)
{
    m_scripts[path].handler = std::move(handler);
}

void ModelServerDouble::setDefault(const QString &path, const Response &response)
{
    m_scripts[path].fallback = response;
}

void ModelServerDouble::clear(const QString &path)
{
    m_scripts.remove(path);
}

void ModelServerDouble::setAnswerDelay(const QString &path, std::chrono::milliseconds delay)
{
    m_answerDelays.insert(path, delay);
}

void ModelServerDouble::startLoading(std::chrono::milliseconds duration, bool refuse)
{
    m_loadedAt = std::chrono::steady_clock::now() + duration;
    m_refuseWhileLoading = refuse;
}

bool ModelServerDouble::isLoading() const
{
    return std::chrono::steady_clock::now() < m_loadedAt;
}

QList<ModelServerDouble::Request> ModelServerDouble::requests(const QString &path) const
{
    QList<Request> matching;
    for (const Request &request : m_requests) {
        if (request.path == path)
            matching.append(request);
    }
    return matching;
}

QStringList ModelServerDouble::paths() const
{
    QStringList paths;
    for (const Request &request : m_requests)
        paths.append(request.path);
    return paths;
}

void ModelServerDouble::serveOllama(const QList<OllamaModel> &models, const QString &version)
{
    setDefault(QStringLiteral("/api/version"), json({{QStringLiteral("version"), version}}));
    QJsonArray tags;
    for (const OllamaModel &model : models) {
        tags.append(QJsonObject{{QStringLiteral("name"), model.name},
                                {QStringLiteral("model"), model.name},
                                {QStringLiteral("details"), QJsonObject{{QStringLiteral("family"), model.family}}}});
    }
    setDefault(QStringLiteral("/api/tags"), json({{QStringLiteral("models"), tags}}));
    setHandler(QStringLiteral("/api/show"), [models](const Request &request) {
        const QString wanted = request.json().value(QLatin1String("model")).toString();
        for (const OllamaModel &model : models) {
            if (model.name != wanted)
                continue;
            QJsonObject info{{QStringLiteral("general.architecture"), model.family}};
            if (!model.languages.isEmpty())
                info.insert(QStringLiteral("general.languages"), toArray(model.languages));
            return json({{QStringLiteral("capabilities"), toArray(model.capabilities)},
                         {QStringLiteral("details"), QJsonObject{{QStringLiteral("family"), model.family}}},
                         {QStringLiteral("model_info"), info}});
        }
        return ollamaError(404, QStringLiteral("model '%1' not found").arg(wanted));
    });
}

void ModelServerDouble::serveLlamaServer(const QString &modelId, bool vision, bool loading)
{
    if (loading) {
        setDefault(QStringLiteral("/health"),
                   openAIError(503, QStringLiteral("Loading model"), QStringLiteral("unavailable_error")));
    } else {
        setDefault(QStringLiteral("/health"), json({{QStringLiteral("status"), QStringLiteral("ok")}}));
    }
    setDefault(QStringLiteral("/props"),
               json({{QStringLiteral("model_path"), QStringLiteral("/models/%1.gguf").arg(modelId)},
                     {QStringLiteral("modalities"),
                      QJsonObject{{QStringLiteral("vision"), vision}, {QStringLiteral("audio"), false}}}}));
    const QJsonObject model{{QStringLiteral("id"), modelId}, {QStringLiteral("object"), QStringLiteral("model")}};
    setDefault(QStringLiteral("/v1/models"),
               json({{QStringLiteral("object"), QStringLiteral("list")}, {QStringLiteral("data"), QJsonArray{model}}}));
}

void ModelServerDouble::serveLmStudio(const QList<LmStudioModel> &models)
{
    QJsonArray detailed;
    QJsonArray plain;
    for (const LmStudioModel &model : models) {
        detailed.append(QJsonObject{{QStringLiteral("id"), model.id},
                                    {QStringLiteral("object"), QStringLiteral("model")},
                                    {QStringLiteral("type"), model.type},
                                    {QStringLiteral("arch"), model.arch},
                                    {QStringLiteral("state"), QStringLiteral("not-loaded")}});
        plain.append(
            QJsonObject{{QStringLiteral("id"), model.id}, {QStringLiteral("object"), QStringLiteral("model")}});
    }
    setDefault(QStringLiteral("/api/v0/models"), json({{QStringLiteral("data"), detailed}}));
    setDefault(QStringLiteral("/v1/models"), json({{QStringLiteral("data"), plain}}));
    // LM Studio answers paths it does not know with 200 and an error object.
    const Response unexpected =
        json({{QStringLiteral("error"), QStringLiteral("Unexpected endpoint or method. (GET /health)")}});
    setDefault(QStringLiteral("/health"), unexpected);
    setDefault(QStringLiteral("/api/version"), unexpected);
}

ModelServerDouble::Response ModelServerDouble::json(const QJsonObject &body, int status)
{
    Response response;
    response.status = status;
    response.body = QJsonDocument(body).toJson(QJsonDocument::Compact);
    return response;
}

ModelServerDouble::Response ModelServerDouble::ollamaAnswer(const QString &content, const QString &doneReason)
{
    return json({{QStringLiteral("model"), QStringLiteral("double")},
                 {QStringLiteral("message"), QJsonObject{{QStringLiteral("role"), QStringLiteral("assistant")},
                                                         {QStringLiteral("content"), content}}},
                 {QStringLiteral("done"), true},
                 {QStringLiteral("done_reason"), doneReason}});
}

ModelServerDouble::Response ModelServerDouble::openAIAnswer(const QString &content, const QString &finishReason)
{
    const QJsonObject choice{
        {QStringLiteral("index"), 0},
        {QStringLiteral("message"),
         QJsonObject{{QStringLiteral("role"), QStringLiteral("assistant")}, {QStringLiteral("content"), content}}},
        {QStringLiteral("finish_reason"), finishReason}};
    return json({{QStringLiteral("object"), QStringLiteral("chat.completion")},
                 {QStringLiteral("choices"), QJsonArray{choice}}});
}

QString ModelServerDouble::record(const QString &field, const QString &value)
{
    return QString::fromUtf8(QJsonDocument(QJsonObject{{field, value}}).toJson(QJsonDocument::Compact));
}

ModelServerDouble::Response ModelServerDouble::ollamaError(int status, const QString &message)
{
    return json({{QStringLiteral("error"), message}}, status);
}

ModelServerDouble::Response ModelServerDouble::openAIError(int status, const QString &message, const QString &type)
{
    return json({{QStringLiteral("error"), QJsonObject{{QStringLiteral("code"), status},
                                                       {QStringLiteral("message"), message},
                                                       {QStringLiteral("type"), type}}}},
                status);
}

void ModelServerDouble::accept()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_buffers.remove(socket);
            socket->deleteLater();
        });
    }
}

void ModelServerDouble::read(QTcpSocket *socket)
{
    QByteArray &buffer = m_buffers[socket];
    buffer += socket->readAll();
    const qsizetype headerEnd = buffer.indexOf("\r\n\r\n");
    if (headerEnd < 0)
        return;
    const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    qsizetype length = 0;
    for (const QByteArray &line : lines.mid(1)) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().toLower() == "content-length")
            length = line.mid(colon + 1).trimmed().toLongLong();
    }
    if (buffer.size() < headerEnd + 4 + length)
        return;
    Request request;
    request.method = requestLine.value(0);
    const QByteArray target = requestLine.value(1);
    request.path = QString::fromUtf8(target.left(target.indexOf('?') < 0 ? target.size() : target.indexOf('?')));
    request.body = buffer.mid(headerEnd + 4, length);
    buffer.clear();
    m_requests.append(request);
    answer(socket, request);
}

void ModelServerDouble::answer(QTcpSocket *socket, const Request &request)
{
    const bool chat = request.path == u"/api/chat" || request.path == u"/v1/chat/completions";
    if (isLoading() && (chat || (m_refuseWhileLoading && request.path == u"/health"))) {
        if (m_refuseWhileLoading) {
            write(socket, openAIError(503, QStringLiteral("Loading model"), QStringLiteral("unavailable_error")));
            return;
        }
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(m_loadedAt - std::chrono::steady_clock::now());
        QPointer<QTcpSocket> guarded(socket);
        QTimer::singleShot(left, Qt::PreciseTimer, this, [this, guarded, request] {
            if (guarded)
                answer(guarded, request);
        });
        return;
    }
    Response response;
    auto script = m_scripts.find(request.path);
    if (script == m_scripts.end()) {
        response = ollamaError(404, QStringLiteral("404 page not found"));
    } else if (!script->queue.isEmpty()) {
        response = script->queue.takeFirst();
    } else if (script->handler) {
        response = script->handler(request);
    } else if (script->fallback) {
        response = *script->fallback;
    } else {
        response = ollamaError(404, QStringLiteral("404 page not found"));
    }
    response.delay += m_answerDelays.value(request.path, std::chrono::milliseconds(0));
    if (response.delay.count() <= 0) {
        write(socket, response);
        return;
    }
    QPointer<QTcpSocket> guarded(socket);
    QTimer::singleShot(response.delay, Qt::PreciseTimer, socket, [guarded, response] {
        if (guarded)
            write(guarded, response);
    });
}

void ModelServerDouble::write(QTcpSocket *socket, const Response &response)
{
    if (socket->state() != QAbstractSocket::ConnectedState)
        return;
    QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) + ' ' + reasonPhrase(response.status) + "\r\n";
    head += "Content-Type: " + response.contentType + "\r\n";
    head += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
    head += "Connection: close\r\n\r\n";
    if (response.dropMidway) {
        socket->write(head + response.body.left(response.body.size() / 2));
        socket->flush();
        socket->abort();
        return;
    }
    socket->write(head + response.body);
    socket->disconnectFromHost();
}
