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
    return ModelEndpoint(QUrl(QStringLiteral("http://127.0.0.1:%1").arg(port)), server);
}

struct Fixture
{
    TempDir dir;
    KeyValueStore store{dir.filePath(QStringLiteral("settings.json"))};
    QHash<QString, QString> variables;
    QStringList programs;

    ModelEnvironment environment(const QList<ModelEndpoint> &candidates)
    {
        ModelEnvironment environment;
        environment.store = &store;
        environment.variable = [this](const QString &name) { return variables.value(name); };
        environment.hasExecutable = [this](const QString &program) { return programs.contains(program); };
        environment.candidates = candidates;
        return environment;
    }

    ModelStatus read(const QList<ModelEndpoint> &candidates)
    {
        return runTask(ModelProbe::read(environment(candidates)));
    }
};

Model model(const QString &name, const QString &family, QStringList capabilities = {QStringLiteral("completion")})
{
    Model model;
    model.name = name;
    model.family = family;
    model.capabilities = std::move(capabilities);
    return model;
}
} // namespace

TEST(ModelProbe, NothingAnsweringIsNotEnabledOnlyWhenServerSoftwareIsInstalled)
{
    Fixture fixture;
    const QList<ModelEndpoint> candidates{closedEndpoint(Server::ollama), closedEndpoint(Server::llamaServer)};
    EXPECT_EQ(fixture.read(candidates).availability, AIAvailability::deviceNotEligible());
    fixture.programs = {QStringLiteral("llama-server")};
    EXPECT_EQ(fixture.read(candidates).availability, AIAvailability::notEnabled());
    fixture.programs = {QStringLiteral("ollama")};
    const auto current = [](ModelEnvironment environment) -> QCoro::Task<std::optional<AIAvailability>> {
        co_return co_await AIAvailability::current(std::move(environment));
    };
    EXPECT_EQ(runTask(current(fixture.environment(candidates))), AIAvailability::notEnabled());

    // A server the user named but that is down is "not running", whatever is installed.
    fixture.programs.clear();
    fixture.store.setString(QStringLiteral("modelEndpoint"), closedEndpoint().baseUrl());
    EXPECT_EQ(fixture.read({}).availability, AIAvailability::notEnabled());
}

TEST(ModelProbe, OllamaPicksAVisionModelFirstAndReportsItsLanguages)
{
    ModelServerDouble server;
    Model declared = model(QStringLiteral("phi4-mini:latest"), QStringLiteral("phi3"));
    declared.languages = {QStringLiteral("en"), QStringLiteral("de-DE")};
    server.serveOllama(
        {model(QStringLiteral("nomic-embed-text:latest"), QStringLiteral("nomic-bert"), {QStringLiteral("embedding")}),
         declared, model(QStringLiteral("llama3.2:3b"), QStringLiteral("llama")),
         model(QStringLiteral("qwen2.5vl:7b"), QStringLiteral("qwen25vl"),
               {QStringLiteral("completion"), QStringLiteral("vision")})});
    Fixture fixture;
    const QList<ModelEndpoint> candidates{closedEndpoint(), server.endpoint(Server::ollama)};

    ModelStatus status = fixture.read(candidates);
    EXPECT_EQ(status.availability, AIAvailability::available());
    EXPECT_EQ(status.model, QStringLiteral("qwen2.5vl:7b"));
    EXPECT_EQ(status.endpoint.server(), Server::ollama);
    EXPECT_TRUE(status.modelHasVision());
    EXPECT_TRUE(status.supports(QStringLiteral("ru")));
    EXPECT_FALSE(status.supports(QStringLiteral("ru-RU")));

    // The user's choice wins; a model's own language list wins over its family.
    fixture.store.setString(QStringLiteral("modelName"), QStringLiteral("phi4-mini"));
    status = fixture.read(candidates);
    EXPECT_EQ(status.model, QStringLiteral("phi4-mini:latest"));
    EXPECT_FALSE(status.modelHasVision());
    EXPECT_EQ(status.languages, (QStringList{QStringLiteral("en"), QStringLiteral("de")}));
    EXPECT_TRUE(status.supports(QStringLiteral("de")));
    EXPECT_FALSE(status.supports(QStringLiteral("ru")));

    fixture.store.setString(QStringLiteral("modelName"), QStringLiteral("gemma3:27b"));
    EXPECT_EQ(fixture.read(candidates).availability, AIAvailability::modelNotReady());
    // An embedding model is installed but cannot chat.
    fixture.store.setString(QStringLiteral("modelName"), QStringLiteral("nomic-embed-text"));
    EXPECT_EQ(fixture.read(candidates).availability, AIAvailability::modelNotReady());
}

TEST(ModelProbe, ServersWithoutUsableModelsOrStillLoadingAreNotReady)
{
    Fixture fixture;
    {
        ModelServerDouble ollama;
        ollama.serveOllama({});
        const ModelStatus status = fixture.read({ollama.endpoint(Server::ollama)});
        EXPECT_EQ(status.availability, AIAvailability::modelNotReady());
        EXPECT_FALSE(status.supports(QStringLiteral("en")));
    }
    {
        ModelServerDouble llama;
        llama.serveLlamaServer(QStringLiteral("qwen3-8b"), false, true);
        EXPECT_EQ(fixture.read({llama.endpoint(Server::llamaServer)}).availability, AIAvailability::modelNotReady());
    }
    {
        ModelServerDouble lmStudio;
        lmStudio.serveLmStudio(
            {{QStringLiteral("text-embedding-nomic-embed-text-v1.5"), QStringLiteral("embeddings"), {}}});
        EXPECT_EQ(fixture.read({lmStudio.endpoint(Server::lmStudio)}).availability, AIAvailability::modelNotReady());
    }
}

TEST(ModelProbe, LlamaServerVisionComesFromPropsModalities)
{
    Fixture fixture;
    for (const bool vision : {true, false}) {
        ModelServerDouble server;
        server.serveLlamaServer(QStringLiteral("gemma-3-4b-it-Q4_K_M"), vision);
        // The port's usual owner is only a hint: the server is recognised by its answers.
        const ModelStatus status = fixture.read({server.endpoint(Server::ollama)});
        EXPECT_EQ(status.availability, AIAvailability::available());
        EXPECT_EQ(status.endpoint.server(), Server::llamaServer);
        EXPECT_EQ(status.model, QStringLiteral("gemma-3-4b-it-Q4_K_M"));
        EXPECT_EQ(status.modelHasVision(), vision);
        EXPECT_TRUE(status.supports(QStringLiteral("ru")));
    }
}

TEST(ModelProbe, LmStudioVisionModelsAreTypedVlm)
{
    ModelServerDouble server;
    server.serveLmStudio(
        {{QStringLiteral("text-embedding-nomic-embed-text-v1.5"), QStringLiteral("embeddings"), {}},
         {QStringLiteral("mistral-7b-instruct-v0.3"), QStringLiteral("llm"), QStringLiteral("mistral")},
         {QStringLiteral("qwen2-vl-2b-instruct"), QStringLiteral("vlm"), QStringLiteral("qwen2_vl")}});
    Fixture fixture;
    ModelStatus status = fixture.read({server.endpoint(Server::lmStudio)});
    EXPECT_EQ(status.availability, AIAvailability::available());
    EXPECT_EQ(status.endpoint.server(), Server::lmStudio);
    EXPECT_EQ(status.model, QStringLiteral("qwen2-vl-2b-instruct"));
    EXPECT_TRUE(status.modelHasVision());

    fixture.store.setString(QStringLiteral("modelName"), QStringLiteral("mistral-7b-instruct-v0.3"));
    status = fixture.read({server.endpoint(Server::lmStudio)});
    EXPECT_EQ(status.model, QStringLiteral("mistral-7b-instruct-v0.3"));
    EXPECT_FALSE(status.modelHasVision());
    EXPECT_EQ(status.languages, QStringList{QStringLiteral("en")});
}

TEST(ModelProbe, OtherAnswersAreUnknownWithTheirReason)
{
    Fixture fixture;
    ModelServerDouble first;
    first.serveOllama({});
    first.setDefault(QStringLiteral("/api/tags"), ModelServerDouble::ollamaError(500, QStringLiteral("disk full")));
    ModelServerDouble second;
    second.serveOllama({});
    second.setDefault(QStringLiteral("/api/tags"),
                      ModelServerDouble::ollamaError(500, QStringLiteral("out of memory")));

    const AIAvailability a = fixture.read({first.endpoint(Server::ollama)}).availability;
    const AIAvailability b = fixture.read({second.endpoint(Server::ollama)}).availability;
    EXPECT_EQ(a.kind(), AIAvailability::Kind::unknown);
    EXPECT_TRUE(a.reason().contains(QLatin1String("disk full"))) << a.reason().toStdString();
    EXPECT_NE(a, b);

    // Something that is no model server: ignored when detecting, reported when the user named it.
    ModelServerDouble web;
    EXPECT_EQ(fixture.read({web.endpoint(Server::llamaServer)}).availability, AIAvailability::deviceNotEligible());
    fixture.store.setString(QStringLiteral("modelEndpoint"), web.url());
    EXPECT_EQ(fixture.read({}).availability.kind(), AIAvailability::Kind::unknown);
    fixture.store.setString(QStringLiteral("modelEndpoint"), QStringLiteral("ftp://nowhere"));
    EXPECT_EQ(fixture.read({}).availability.kind(), AIAvailability::Kind::unknown);
}

TEST(ModelProbe, ALaterServerWithAModelBeatsAnEarlierOneWithout)
{
    ModelServerDouble empty;
    empty.serveOllama({});
    ModelServerDouble llama;
    llama.serveLlamaServer(QStringLiteral("Qwen3-4B"), false);
    Fixture fixture;
    const ModelStatus status = fixture.read({empty.endpoint(Server::ollama), llama.endpoint(Server::llamaServer)});
    EXPECT_EQ(status.availability, AIAvailability::available());
    EXPECT_EQ(status.endpoint.server(), Server::llamaServer);
}

TEST(ModelProbe, OllamaHostNamesTheServer)
{
    ModelServerDouble server;
    server.serveOllama({model(QStringLiteral("gemma3:4b"), QStringLiteral("gemma3"))});
    Fixture fixture;
    fixture.variables.insert(QStringLiteral("OLLAMA_HOST"), QStringLiteral("127.0.0.1:%1").arg(server.port()));
    const ModelStatus status = fixture.read({closedEndpoint()});
    EXPECT_EQ(status.availability, AIAvailability::available());
    EXPECT_EQ(status.model, QStringLiteral("gemma3:4b"));
    // The setting comes before the variable.
    fixture.store.setString(QStringLiteral("modelEndpoint"), closedEndpoint().baseUrl());
    EXPECT_EQ(fixture.read({}).availability, AIAvailability::notEnabled());
}

TEST(ModelProbe, DetectionNeverUsesAServerBeyondThisMachine)
{
    QHostAddress outside;
    const QList<QHostAddress> addresses = QNetworkInterface::allAddresses();
    for (const QHostAddress &address : addresses) {
        if (address.protocol() == QAbstractSocket::IPv4Protocol && !address.isLoopback())
            outside = address;
    }
    if (outside.isNull())
        GTEST_SKIP() << "this machine has no address beyond loopback";
    ModelServerDouble server(QHostAddress::AnyIPv4);
    server.serveOllama({model(QStringLiteral("gemma3:4b"), QStringLiteral("gemma3"))});
    const QString address = QStringLiteral("http://%1:%2").arg(outside.toString()).arg(server.port());

    Fixture fixture;
    EXPECT_EQ(fixture.read({ModelEndpoint(QUrl(address), Server::ollama)}).availability,
              AIAvailability::deviceNotEligible());
    EXPECT_TRUE(server.requests().isEmpty());

    fixture.store.setString(QStringLiteral("modelEndpoint"), address);
    EXPECT_EQ(fixture.read({}).availability, AIAvailability::available());
    EXPECT_FALSE(server.requests().isEmpty());
}
