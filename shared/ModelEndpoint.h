// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QString>
#include <QUrl>

#include <optional>

// The address of a local model server and which kind of server answers there.
class ModelEndpoint
{
public:
    // `unidentified` until a probe has recognised the server. llama-server, LM Studio and any other server of the
    // OpenAI-compatible kind share one chat API; they differ in how they report readiness and models.
    enum class Server { unidentified, ollama, llamaServer, lmStudio, openAICompatible };

    ModelEndpoint() = default;
    ModelEndpoint(const QUrl &base, Server server = Server::unidentified);

    // The user's "modelEndpoint" setting: "http://host:port", "host:port" or "host", optionally ending in "/v1".
    // Absent when the text is empty or is no usable http(s) address.
    static std::optional<ModelEndpoint> fromSetting(const QString &text);
    // OLLAMA_HOST as the Ollama client reads it: the scheme defaults to http, the host to 127.0.0.1 and the port to
    // 11434 (80 or 443 when a scheme is written); the wildcard addresses 0.0.0.0 and :: mean this machine.
    static std::optional<ModelEndpoint> fromOllamaHost(const QString &text);

    bool isValid() const { return m_base.isValid() && !m_base.host().isEmpty(); }
    Server server() const { return m_server; }
    ModelEndpoint identifiedAs(Server server) const { return ModelEndpoint(m_base, server); }
    bool speaksOllama() const { return m_server == Server::ollama; }

    // "http://host:port" without a trailing slash.
    QString baseUrl() const;
    // The address of an API path such as "/api/tags".
    QUrl url(const QString &path) const;
    // Only loopback servers are found by auto-detection; anything else must be named by the user.
    bool isLoopback() const;
    // Loopback, or an address of one of this machine's own interfaces.
    bool isOnThisMachine() const;
    // The TCP port, the scheme's default when none is written.
    quint16 port() const;

    friend bool operator==(const ModelEndpoint &, const ModelEndpoint &) = default;

private:
    QUrl m_base;
    Server m_server = Server::unidentified;
};
