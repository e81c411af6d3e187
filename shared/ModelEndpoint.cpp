// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "ModelEndpoint.h"

#include <QHostAddress>
#include <QNetworkInterface>

namespace {
// Wildcard listen addresses are what servers are told to bind to; a client reaches them on loopback.
QString connectableHost(const QString &host)
{
    if (host == QLatin1String("0.0.0.0"))
        return QStringLiteral("127.0.0.1");
    if (host == QLatin1String("::"))
        return QStringLiteral("::1");
    return host;
}

std::optional<ModelEndpoint> parse(QString text, int defaultPort, bool ollamaDefaults)
{
    text = text.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    QString scheme = QStringLiteral("http");
    const qsizetype schemeEnd = text.indexOf(QLatin1String("://"));
    if (schemeEnd >= 0) {
        scheme = text.left(schemeEnd).toLower();
        text = text.mid(schemeEnd + 3);
        if (scheme == QLatin1String("http"))
            defaultPort = ollamaDefaults ? 80 : defaultPort;
        else if (scheme == QLatin1String("https"))
            defaultPort = 443;
        else
            return std::nullopt;
    }
    QString path;
    const qsizetype slash = text.indexOf(QLatin1Char('/'));
    if (slash >= 0) {
        path = text.mid(slash);
        text = text.left(slash);
    }
    while (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    // Users often paste the OpenAI base address; the API paths are added per request.
    if (path.endsWith(QLatin1String("/v1")))
        path.chop(3);

    QString host = text;
    QString portText;
    if (text.startsWith(QLatin1Char('['))) {
        const qsizetype closing = text.indexOf(QLatin1Char(']'));
        if (closing < 0)
            return std::nullopt;
        host = text.mid(1, closing - 1);
        const QString rest = text.mid(closing + 1);
        if (!rest.isEmpty() && !rest.startsWith(QLatin1Char(':')))
            return std::nullopt;
        portText = rest.mid(1);
    } else if (text.count(QLatin1Char(':')) == 1) {
        const qsizetype colon = text.indexOf(QLatin1Char(':'));
        host = text.left(colon);
        portText = text.mid(colon + 1);
    }
    int port = defaultPort;
    if (!portText.isEmpty()) {
        bool ok = false;
        port = portText.toInt(&ok);
        if (!ok || port <= 0 || port > 65535)
            return std::nullopt;
    }
    if (host.isEmpty() && ollamaDefaults)
        host = QStringLiteral("127.0.0.1");
    host = connectableHost(host);
    if (host.isEmpty() || host.contains(QLatin1Char(' ')))
        return std::nullopt;

    QUrl url;
    url.setScheme(scheme);
    url.setHost(host);
    url.setPort(port);
    url.setPath(path);
    if (!url.isValid())
        return std::nullopt;
    return ModelEndpoint(url, ollamaDefaults ? ModelEndpoint::Server::ollama : ModelEndpoint::Server::unidentified);
}
} // namespace

ModelEndpoint::ModelEndpoint(const QUrl &base, Server server)
    : m_base(base)
    , m_server(server)
{}

std::optional<ModelEndpoint> ModelEndpoint::fromSetting(const QString &text)
{
    // A bare host without port most likely means an Ollama default install on another name.
    return parse(text, 11434, false);
}

std::optional<ModelEndpoint> ModelEndpoint::fromOllamaHost(const QString &text)
{
    return parse(text, 11434, true);
}

QString ModelEndpoint::baseUrl() const
{
    QString text = m_base.toString(QUrl::StripTrailingSlash);
    return text;
}

QUrl ModelEndpoint::url(const QString &path) const
{
    QUrl url = m_base;
    url.setPath(m_base.path() + path);
    return url;
}

bool ModelEndpoint::isLoopback() const
{
    const QString host = m_base.host().toLower();
    if (host == QLatin1String("localhost") || host.endsWith(QLatin1String(".localhost")))
        return true;
    const QHostAddress address(host);
    return !address.isNull() && address.isLoopback();
}

bool ModelEndpoint::isOnThisMachine() const
{
    if (isLoopback())
        return true;
    const QHostAddress address(m_base.host());
    return !address.isNull() && QNetworkInterface::allAddresses().contains(address);
}

quint16 ModelEndpoint::port() const
{
    return quint16(m_base.port(m_base.scheme() == QLatin1String("https") ? 443 : 80));
}
