// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "ModelProbe.h"
#include "AIAvailability.h"
#include "CoroTest.h"
#include "KeyValueStore.h"
#include "ModelServerDouble.h"
#include "TempDir.h"

#include <QNetworkInterface>
#include <QTcpServer>

#include <gtest/gtest.h>

namespace {
using Server = ModelEndpoint::Server;
using Model = ModelServerDouble::OllamaModel;

// A port nobody listens on: bound once to learn a free number, then released.
ModelEndpoint closedEndpoint(Server server = Server::ollama)
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return ModelEndpoint(QUrl(u"http://127.0.0.1:%1"_qs.arg(port)), server);
}

struct Fixture
{
    TempDir dir;
    KeyValueStore store{dir.filePath(u"settings.json"_qs)};
    QStringList programs;

    ModelEnvironment environment(const QList<ModelEndpoint> &candidates)
    {
        ModelEnvironment environment;
        environment.store = &store;
        environment.variable = [](const QString &) { return QString(); }; // nothing from this machine's environment
        environment.hasExecutable = [this](const QString &program) { return programs.contains(program); };
        environment.candidates = candidates;
        return environment;
    }
    ModelStatus read(const QList<ModelEndpoint> &candidates)
    {
        return runTask(ModelProbe::read(environment(candidates)));
    }
    void choose(const char *key, const QString &value) { store.setString(QString::fromLatin1(key), value); }
};

Model model(const QString &name, const QString &family, QStringList capabilities = {u"completion"_qs})
{
    return Model{name, std::move(capabilities), family, {}};
}
} // namespace

TEST(ModelProbe, NothingAnsweringIsNotEnabledOnlyWhenServerSoftwareIsInstalledOrTheServerWasNamed)
{
    Fixture fixture;
    const QList<ModelEndpoint> candidates{closedEndpoint(Server::ollama), closedEndpoint(Server::llamaServer)};
    EXPECT_EQ(fixture.read(candidates).availability, AIAvailability::deviceNotEligible());
    fixture.programs = {u"llama-server"_qs};
    EXPECT_EQ(fixture.read(candidates).availability, AIAvailability::notEnabled());

    // A server the user named comes first; when it is down that is "not running", whatever is installed or answers.
    ModelServerDouble server;
    server.serveOllama({model(u"gemma3:4b"_qs, u"gemma3"_qs)});
    fixture.programs.clear();
    fixture.choose("modelEndpoint", closedEndpoint().baseUrl());
    EXPECT_EQ(fixture.read({server.endpoint(Server::ollama)}).availability, AIAvailability::notEnabled());
}

TEST(ModelProbe, OllamaPicksAVisionModelFirstAndReportsItsLanguages)
{
    ModelServerDouble server;
    Model declared = model(u"phi4-mini:latest"_qs, u"phi3"_qs);
    declared.languages = {u"en"_qs, u"de-DE"_qs};
    server.serveOllama({model(u"nomic-embed-text:latest"_qs, u"nomic-bert"_qs, {u"embedding"_qs}), declared,
                        model(u"llama3.2:3b"_qs, u"llama"_qs),
                        model(u"qwen2.5vl:7b"_qs, u"qwen25vl"_qs, {u"completion"_qs, u"vision"_qs})});
    Fixture fixture;
    const QList<ModelEndpoint> candidates{closedEndpoint(), server.endpoint(Server::ollama)};

    ModelStatus status = fixture.read(candidates);
    EXPECT_EQ(status.availability, AIAvailability::available());
    EXPECT_EQ(status.model, u"qwen2.5vl:7b"_qs);
    EXPECT_EQ(status.endpoint.server(), Server::ollama);
    EXPECT_TRUE(status.modelHasVision());
    EXPECT_TRUE(status.supports(u"ru"_qs));
    EXPECT_FALSE(status.supports(u"ru-RU"_qs));

    // The user's choice wins; a model's own language list wins over its family.
    fixture.choose("modelName", u"phi4-mini"_qs);
    status = fixture.read(candidates);
    EXPECT_EQ(status.model, u"phi4-mini:latest"_qs);
    EXPECT_FALSE(status.modelHasVision());
    EXPECT_EQ(status.languages, (QStringList{u"en"_qs, u"de"_qs}));

    // The chooser's catalog offers every model that can chat, whatever the user chose.
    EXPECT_EQ(runTask(ModelProbe::catalog(fixture.environment(candidates))).offered,
              (QList<ModelStatus::Offered>{
                  {u"phi4-mini:latest"_qs, false}, {u"llama3.2:3b"_qs, false}, {u"qwen2.5vl:7b"_qs, true}}));

    // Not installed, or installed but cannot chat.
    for (const QString &name : {u"gemma3:27b"_qs, u"nomic-embed-text"_qs}) {
        fixture.choose("modelName", name);
        EXPECT_EQ(fixture.read(candidates).availability, AIAvailability::modelNotReady()) << name.toStdString();
    }
}

TEST(ModelProbe, ServersWithoutUsableModelsOrStillLoadingAreNotReadyAndALaterServerBeatsThem)
{
    Fixture fixture;
    ModelServerDouble ollama;
    ollama.serveOllama({});
    const ModelStatus status = fixture.read({ollama.endpoint(Server::ollama)});
    EXPECT_EQ(status.availability, AIAvailability::modelNotReady());
    EXPECT_FALSE(status.supports(u"en"_qs));

    ModelServerDouble loading;
    loading.serveLlamaServer(u"qwen3-8b"_qs, false, true);
    const ModelStatus whileLoading = fixture.read({loading.endpoint(Server::llamaServer)});
    EXPECT_EQ(whileLoading.availability, AIAvailability::modelNotReady());
    EXPECT_TRUE(whileLoading.loading && !status.loading);

    ModelServerDouble lmStudio;
    lmStudio.serveLmStudio({{u"text-embedding-nomic-embed-text-v1.5"_qs, u"embeddings"_qs, {}}});
    EXPECT_EQ(fixture.read({lmStudio.endpoint(Server::lmStudio)}).availability, AIAvailability::modelNotReady());

    ModelServerDouble llama;
    llama.serveLlamaServer(u"Qwen3-4B"_qs, false);
    const ModelStatus later = fixture.read({ollama.endpoint(Server::ollama), llama.endpoint(Server::llamaServer)});
    EXPECT_EQ(later.availability, AIAvailability::available());
    EXPECT_EQ(later.endpoint.server(), Server::llamaServer);
}

TEST(ModelProbe, LlamaServerVisionComesFromPropsModalitiesAndLmStudioTypesItVlm)
{
    Fixture fixture;
    for (const bool vision : {true, false}) {
        ModelServerDouble server;
        server.serveLlamaServer(u"gemma-3-4b-it-Q4_K_M"_qs, vision);
        // The port's usual owner is only a hint: the server is recognised by its answers.
        const ModelStatus status = fixture.read({server.endpoint(Server::ollama)});
        EXPECT_EQ(status.endpoint.server(), Server::llamaServer);
        EXPECT_EQ(status.model, u"gemma-3-4b-it-Q4_K_M"_qs);
        EXPECT_EQ(status.modelHasVision(), vision);
    }

    ModelServerDouble server;
    server.serveLmStudio({{u"text-embedding-nomic-embed-text-v1.5"_qs, u"embeddings"_qs, {}},
                          {u"mistral-7b-instruct-v0.3"_qs, u"llm"_qs, u"mistral"_qs},
                          {u"qwen2-vl-2b-instruct"_qs, u"vlm"_qs, u"qwen2_vl"_qs}});
    const auto picks = [&](const QString &model, bool vision) {
        const ModelStatus status = fixture.read({server.endpoint(Server::lmStudio)});
        EXPECT_EQ(status.endpoint.server(), Server::lmStudio);
        EXPECT_EQ(status.model, model);
        EXPECT_EQ(status.modelHasVision(), vision);
    };
    picks(u"qwen2-vl-2b-instruct"_qs, true);
    fixture.choose("modelName", u"mistral-7b-instruct-v0.3"_qs);
    picks(u"mistral-7b-instruct-v0.3"_qs, false);
}

TEST(ModelProbe, OtherAnswersAreUnknownWithTheirReason)
{
    Fixture fixture;
    ModelServerDouble first;
    first.serveOllama({});
    first.setDefault(u"/api/tags"_qs, ModelServerDouble::ollamaError(500, u"disk full"_qs));
    const AIAvailability a = fixture.read({first.endpoint(Server::ollama)}).availability;
    EXPECT_EQ(a.kind(), AIAvailability::Kind::unknown);
    EXPECT_TRUE(a.reason().contains(QLatin1String("disk full"))) << a.reason().toStdString();
    // Availabilities that differ only in their reason are different: a new reason is news.
    EXPECT_NE(a, AIAvailability::unknown(u"out of memory"_qs));

    // Something that is no model server: ignored when detecting, reported when the user named it.
    ModelServerDouble web;
    EXPECT_EQ(fixture.read({web.endpoint(Server::llamaServer)}).availability, AIAvailability::deviceNotEligible());
    for (const QString &named : {web.url(), u"ftp://nowhere"_qs}) {
        fixture.choose("modelEndpoint", named);
        EXPECT_EQ(fixture.read({}).availability.kind(), AIAvailability::Kind::unknown) << named.toStdString();
    }
}

TEST(ModelProbe, AServerBeyondThisMachineIsNeverDetectedAndUsedOnlyWhenNamedAndAllowed)
{
    Fixture fixture;
    fixture.choose("modelEndpoint", u"http://192.0.2.7:11434"_qs); // a documentation address, never this machine
    const QString refused = fixture.read({}).availability.reason();
    EXPECT_TRUE(refused.contains(QLatin1String("not on this machine"))) << refused.toStdString();
    fixture.store.setBoolean(u"modelAllowRemote"_qs, true);
    ModelEnvironment allowed = fixture.environment({});
    allowed.probeTimeout = std::chrono::milliseconds(300);
    EXPECT_FALSE(runTask(ModelProbe::read(allowed)).availability.reason().contains(QLatin1String("this machine")));

    // Another interface of this machine is not loopback: detection passes it by, naming it works.
    QHostAddress outside;
    for (const QHostAddress &address : QNetworkInterface::allAddresses()) {
        if (address.protocol() == QAbstractSocket::IPv4Protocol && !address.isLoopback())
            outside = address;
    }
    if (outside.isNull())
        GTEST_SKIP() << "this machine has no address beyond loopback";
    ModelServerDouble server(QHostAddress::AnyIPv4);
    server.serveOllama({model(u"gemma3:4b"_qs, u"gemma3"_qs)});
    const QString address = u"http://%1:%2"_qs.arg(outside.toString()).arg(server.port());
    Fixture detecting;
    EXPECT_EQ(detecting.read({ModelEndpoint(QUrl(address), Server::ollama)}).availability,
              AIAvailability::deviceNotEligible());
    EXPECT_TRUE(server.requests().isEmpty());
    detecting.choose("modelEndpoint", address);
    EXPECT_EQ(detecting.read({}).availability, AIAvailability::available());
    EXPECT_FALSE(server.requests().isEmpty());
}
