// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "ModelEndpoint.h"

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTcpServer>

#include <chrono>
#include <functional>

class QTcpSocket;

// A scripted local model server for tests: real HTTP/1.1 on a free port, answering each path from a queue of
// canned responses, then from a handler, then with a standing default, else 404; every request is recorded.
//
// The serve* helpers script a whole server kind (Ollama, llama-server, LM Studio) from a list of models; chat
// answers are queued with enqueue("/api/chat", ollamaAnswer(...)) or enqueue("/v1/chat/completions", ...).
class ModelServerDouble : public QObject
{
    Q_OBJECT

public:
    struct Response
    {
        int status = 200;
        QByteArray body;
        QByteArray contentType = "application/json";
        // Waits this long before answering (the connection stays open and silent).
        std::chrono::milliseconds delay{0};
        // Sends the head and half of the body, then closes the connection: a server that died mid-answer.
        bool dropMidway = false;
    };

    struct Request
    {
        QByteArray method;
        // Without the query.
        QString path;
        QByteArray body;

        // The body as a JSON object; empty when it is not one.
        QJsonObject json() const;
    };

    using Handler = std::function<Response(const Request &)>;

    // Listens on `address` (loopback unless a test needs another interface) at a free port.
    explicit ModelServerDouble(const QHostAddress &address = QHostAddress::LocalHost, QObject *parent = nullptr);
    ~ModelServerDouble() override;

    quint16 port() const { return m_server.serverPort(); }
    // "http://127.0.0.1:<port>"
    QString url() const;
    // The double's address as an endpoint of the given kind (a probe candidate or a session's server).
    ModelEndpoint endpoint(ModelEndpoint::Server server = ModelEndpoint::Server::unidentified) const;

    // Answered once, in order, before any handler or default of the path.
    void enqueue(const QString &path, const Response &response);
    void setHandler(const QString &path, Handler handler);
    void setDefault(const QString &path, const Response &response);
    // Forgets every script of the path (queue, handler, default).
    void clear(const QString &path);
    // Every answer of the path waits this long on top of its own delay: the model's generation time.
    void setAnswerDelay(const QString &path, std::chrono::milliseconds delay);

    // The model is loading for `duration` from now. Chat requests (/api/chat, /v1/chat/completions) wait until it
    // is loaded and are answered after that, as Ollama and LM Studio do; with `refuse` they and /health get 503
    // "Loading model" meanwhile instead, as llama-server does.
    void startLoading(std::chrono::milliseconds duration, bool refuse = false);
    bool isLoading() const;

    QList<Request> requests() const { return m_requests; }
    QList<Request> requests(const QString &path) const;
    QStringList paths() const;
    void clearRequests() { m_requests.clear(); }

    // Whole servers. Models are answered by /api/tags and /api/show (Ollama), /v1/models and /props
    // (llama-server), /api/v0/models and /v1/models (LM Studio).
    struct OllamaModel
    {
        QString name;
        QStringList capabilities{QStringLiteral("completion")};
        QString family;
        // GGUF "general.languages"; left out of /api/show when empty.
        QStringList languages;
    };
    void serveOllama(const QList<OllamaModel> &models, const QString &version = QStringLiteral("0.12.6"));
    // `loading`: /health answers 503 "Loading model".
    void serveLlamaServer(const QString &modelId, bool vision, bool loading = false);
    struct LmStudioModel
    {
        QString id;
        // "llm", "vlm" or "embeddings".
        QString type = QStringLiteral("llm");
        QString arch;
    };
    void serveLmStudio(const QList<LmStudioModel> &models);

    // Canned bodies.
    static Response json(const QJsonObject &body, int status = 200);
    // A non-streamed /api/chat answer whose message content is `content`.
    static Response ollamaAnswer(const QString &content, const QString &doneReason = QStringLiteral("stop"));
    // A /v1/chat/completions answer with one choice.
    static Response openAIAnswer(const QString &content, const QString &finishReason = QStringLiteral("stop"));
    // {"<field>": "<value>"} as compact JSON text, the content a model writes for a one-field record.
    static QString record(const QString &field, const QString &value);
    // Ollama's error shape {"error": message}.
    static Response ollamaError(int status, const QString &message);
    // The OpenAI-style error shape {"error": {"code", "message", "type"}}.
    static Response openAIError(int status, const QString &message, const QString &type);

private:
    struct Script
    {
        QList<Response> queue;
        Handler handler;
        std::optional<Response> fallback;
    };

    void accept();
    void read(QTcpSocket *socket);
    void answer(QTcpSocket *socket, const Request &request);
    static void write(QTcpSocket *socket, const Response &response);

    QTcpServer m_server;
    QHash<QString, Script> m_scripts;
    QHash<QString, std::chrono::milliseconds> m_answerDelays;
    std::chrono::steady_clock::time_point m_loadedAt;
    bool m_refuseWhileLoading = false;
    QList<Request> m_requests;
    QHash<QTcpSocket *, QByteArray> m_buffers;
};
