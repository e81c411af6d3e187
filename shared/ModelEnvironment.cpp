// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "ModelEnvironment.h"

#include "KeyValueStore.h"

#include <QStandardPaths>

#include <algorithm>
#include <cmath>

namespace {
QString setting(const KeyValueStore *store, const char *key)
{
    if (store == nullptr)
        return {};
    return store->string(QString::fromLatin1(key)).value_or(QString()).trimmed();
}
} // namespace

ModelEnvironment ModelEnvironment::system()
{
    // One store for the process: it re-reads the file whenever another writer replaced it.
    static const KeyValueStore settings;
    ModelEnvironment environment;
    environment.store = &settings;
    environment.variable = [](const QString &name) { return qEnvironmentVariable(name.toLocal8Bit().constData()); };
    environment.hasExecutable = [](const QString &program) {
        return !QStandardPaths::findExecutable(program).isEmpty();
    };
    environment.candidates = defaultCandidates();
    return environment;
}

QList<ModelEndpoint> ModelEnvironment::defaultCandidates()
{
    const auto at = [](int port, ModelEndpoint::Server server) {
        QUrl url;
        url.setScheme(QStringLiteral("http"));
        url.setHost(QStringLiteral("127.0.0.1"));
        url.setPort(port);
        return ModelEndpoint(url, server);
    };
    return {at(11434, ModelEndpoint::Server::ollama), at(8080, ModelEndpoint::Server::llamaServer),
            at(9931, ModelEndpoint::Server::llamaServer), at(1234, ModelEndpoint::Server::lmStudio)};
}

QString ModelEnvironment::endpointSetting() const
{
    return setting(store, endpointKey);
}

QString ModelEnvironment::modelSetting() const
{
    return setting(store, modelKey);
}

std::chrono::milliseconds ModelEnvironment::timeLimit() const
{
    const std::optional<double> seconds =
        store != nullptr ? store->number(QString::fromLatin1(timeLimitKey)) : std::nullopt;
    if (!seconds || !std::isfinite(*seconds))
        return defaultTimeLimit;
    const double bounded = std::clamp(*seconds, double(minimumTimeLimit.count()), double(maximumTimeLimit.count()));
    return std::chrono::milliseconds(std::llround(bounded * 1000));
}

bool ModelEnvironment::allowsRemote() const
{
    return store != nullptr && store->boolean(QString::fromLatin1(allowRemoteKey)).value_or(false);
}
