// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "Confinement.h"
#include "ConfinementWatch.h"
#include "KeyValueStore.h"
#include "TempDir.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {
struct Settings
{
    TempDir dir;
    KeyValueStore store{dir.filePath(QStringLiteral("zentrope/settings.json"))};
    QString ollamaHost;

    ModelEnvironment models()
    {
        ModelEnvironment models;
        models.store = &store;
        models.variable = [this](const QString &name) {
            return name == QLatin1String("OLLAMA_HOST") ? ollamaHost : QString();
        };
        models.candidates = ModelEnvironment::defaultCandidates();
        models.candidates.append(ModelEndpoint(QUrl(QStringLiteral("http://192.0.2.7:5555"))));
        return models;
    }
};
} // namespace

TEST(Confinement, ModelPortsFollowTheProbesChoiceOfServerAndAnAbstractBusStaysReachable)
{
    const std::tuple<const char *, const char *, bool, QList<quint16>> cases[] = {
        {"", "", false, {11434, 8080, 9931, 1234}}, // detection asks loopback candidates only
        {"", "127.0.0.1:5000", false, {5000}},
        {"", "0.0.0.0", false, {11434}},
        {"http://localhost:7000/v1", "127.0.0.1:5000", false, {7000}}, // the setting comes first
        {"https://models.example.org", "", false, {}},                 // not this machine, not allowed
        {"https://models.example.org", "", true, {443}},
        {"ftp://nowhere", "", true, {}},
    };
    for (const auto &[endpoint, ollamaHost, allowRemote, ports] : cases) {
        Settings settings;
        settings.store.setString(QStringLiteral("modelEndpoint"), QString::fromLatin1(endpoint));
        settings.store.setBoolean(QStringLiteral("modelAllowRemote"), allowRemote);
        settings.ollamaHost = QString::fromLatin1(ollamaHost);
        EXPECT_EQ(Confinement::modelPorts(settings.models()), ports) << endpoint << " " << ollamaHost;
    }
    // The bus connection is made under Landlock: an abstract bus socket must stay reachable.
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("unix:path=/run/user/1000/bus"));
    Settings settings;
    EXPECT_TRUE(Confinement::plan(settings.models(), environment).scopeAbstractSockets);
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("unix:abstract=/tmp/dbus-x,guid=1"));
    EXPECT_FALSE(Confinement::plan(settings.models(), environment).scopeAbstractSockets);
}

TEST(Confinement, AnotherModelServerInTheSettingsOutdatesTheRunningConfinement)
{
    Settings settings;
    settings.store.setString(QStringLiteral("modelEndpoint"), QStringLiteral("http://127.0.0.1:11434"));
    const ModelEnvironment models = settings.models();
    const QProcessEnvironment environment;
    ConfinementWatch watch(Confinement::plan(models, environment), models, environment);
    QSignalSpy outdated(&watch, &ConfinementWatch::outdated);

    settings.store.setString(QStringLiteral("modelName"), QStringLiteral("gemma3"));
    watch.check();
    EXPECT_TRUE(outdated.isEmpty()) << "the model's name does not change what may be reached";
    KeyValueStore application(settings.store.filePath()); // the application writes through its own store
    application.setString(QStringLiteral("modelEndpoint"), QStringLiteral("http://127.0.0.1:8080"));
    EXPECT_TRUE(outdated.wait(5000));
}
