// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "ModelProbe.h"

#include "ModelError.h"
#include "ModelHttp.h"
#include "ModelLanguages.h"

#include <QFileInfo>
#include <QJsonArray>

#include <QCoroTimer>

namespace {
using Server = ModelEndpoint::Server;

// Ollama servers with a large library would otherwise cost one request per model on every reading.
constexpr qsizetype maxModelsShown = 16;

struct Candidate
{
    QString name;
    bool vision = false;
    QStringList languages;
};

struct Identity
{
    enum class State { silent, unrecognised, identified };
    State state = State::silent;
    ModelEndpoint endpoint;
    QString answer;
};

QString serverName(Server server)
{
    switch (server) {
    case Server::ollama:
        return QStringLiteral("Ollama");
    case Server::llamaServer:
        return QStringLiteral("llama-server");
    case Server::lmStudio:
        return QStringLiteral("LM Studio");
    case Server::openAICompatible:
    case Server::unidentified:
        break;
    }
    return QStringLiteral("The model server");
}

ModelStatus unavailable(AIAvailability availability, const ModelEndpoint &endpoint = {})
{
    ModelStatus status;
    status.availability = std::move(availability);
    status.endpoint = endpoint;
    return status;
}

AIAvailability failedAnswer(Server server, const ModelHttp::Reply &reply)
{
    if (!reply.answered())
        return AIAvailability::unknown(
            QStringLiteral("%1 stopped answering: %2").arg(serverName(server), reply.transportError));
    return AIAvailability::unknown(QStringLiteral("%1: %2").arg(
        serverName(server), ModelError::fromServerAnswer(reply.status, reply.body).message()));
}

bool matchesWanted(const QString &name, const QString &wanted)
{
    if (wanted.isEmpty())
        return true;
    if (name.compare(wanted, Qt::CaseInsensitive) == 0)
        return true;
    // Ollama's default tag, and llama-server's ids that are GGUF file paths.
    if (name.compare(wanted + QLatin1String(":latest"), Qt::CaseInsensitive) == 0)
        return true;
    QString file = QFileInfo(name).fileName();
    if (file.endsWith(QLatin1String(".gguf"), Qt::CaseInsensitive))
        file.chop(5);
    return file.compare(wanted, Qt::CaseInsensitive) == 0;
}

bool looksLikeEmbedding(const QString &name)
{
    return name.contains(QLatin1String("embed"), Qt::CaseInsensitive);
}

ModelStatus choose(const ModelEndpoint &endpoint, const QList<Candidate> &candidates)
{
    if (candidates.isEmpty())
        return unavailable(AIAvailability::modelNotReady(), endpoint);
    const Candidate *best = &candidates.front();
    for (const Candidate &candidate : candidates) {
        if (candidate.vision) {
            best = &candidate;
            break;
        }
    }
    ModelStatus status;
    status.availability = AIAvailability::available();
    status.endpoint = endpoint;
    for (const Candidate &candidate : candidates)
        status.offered.append({candidate.name, candidate.vision});
    status.model = best->name;
    status.vision = best->vision;
    status.languages = best->languages;
    return status;
}

QStringList stringsOf(const QJsonValue &value)
{
    QStringList strings;
    const QJsonArray array = value.toArray();
    for (const QJsonValue &entry : array)
        strings.append(entry.toString());
    return strings;
}

QList<Server> identificationOrder(Server expected)
{
    QList<Server> order{expected};
    for (Server server : {Server::ollama, Server::llamaServer, Server::lmStudio, Server::openAICompatible}) {
        if (!order.contains(server))
            order.append(server);
    }
    return order;
}

QJsonObject showRequest(const QString &name)
{
    return QJsonObject{{QStringLiteral("model"), name}};
}

// Reads one model's /api/show answer; absent for models that cannot chat.
std::optional<Candidate> fromShow(const QString &name, const ModelHttp::Reply &show)
{
    Candidate candidate;
    candidate.name = name;
    if (!show.ok()) {
        if (looksLikeEmbedding(name))
            return std::nullopt;
        candidate.languages = ModelLanguages::resolve(QJsonValue(), QStringList{name});
        return candidate;
    }
    const QJsonObject info = show.json();
    const QStringList capabilities = stringsOf(info.value(QLatin1String("capabilities")));
    // Servers before capability reporting list none; then only the name tells embedding models apart.
    if (capabilities.isEmpty() ? looksLikeEmbedding(name) : !capabilities.contains(QLatin1String("completion")))
        return std::nullopt;
    candidate.vision = capabilities.contains(QLatin1String("vision")) ||
                       !info.value(QLatin1String("projector_info")).toObject().isEmpty();
    const QJsonObject details = info.value(QLatin1String("details")).toObject();
    QStringList names{name, details.value(QLatin1String("family")).toString()};
    names += stringsOf(details.value(QLatin1String("families")));
    const QJsonObject modelInfo = info.value(QLatin1String("model_info")).toObject();
    names.append(modelInfo.value(QLatin1String("general.architecture")).toString());
    candidate.languages = ModelLanguages::resolve(modelInfo.value(QLatin1String("general.languages")), names);
    return candidate;
}

Candidate makeCandidate(const QString &name, bool vision, const QStringList &familyNames)
{
    Candidate candidate;
    candidate.name = name;
    candidate.vision = vision;
    candidate.languages = ModelLanguages::resolve(QJsonValue(), familyNames);
    return candidate;
}

class Prober
{
public:
    // `everyModel`: the user's choice of model filters nothing, so every usable model is offered.
    Prober(ModelEnvironment environment, bool everyModel)
        : m_environment(std::move(environment))
        , m_wanted(everyModel ? QString() : m_environment.modelSetting())
    {}

    QCoro::Task<ModelStatus> run()
    {
        const QString setting = m_environment.endpointSetting();
        if (!setting.isEmpty()) {
            const std::optional<ModelEndpoint> endpoint = ModelEndpoint::fromSetting(setting);
            if (!endpoint)
                co_return unavailable(AIAvailability::unknown(
                    QStringLiteral("The model server address \"%1\" is not valid.").arg(setting)));
            co_return co_await explicitServer(*endpoint);
        }
        const QString ollamaHost =
            m_environment.variable ? m_environment.variable(QStringLiteral("OLLAMA_HOST")) : QString();
        if (!ollamaHost.trimmed().isEmpty()) {
            const std::optional<ModelEndpoint> endpoint = ModelEndpoint::fromOllamaHost(ollamaHost);
            if (!endpoint)
                co_return unavailable(AIAvailability::unknown(
                    QStringLiteral("OLLAMA_HOST \"%1\" is not a valid address.").arg(ollamaHost)));
            co_return co_await explicitServer(*endpoint);
        }
        co_return co_await autoDetect();
    }

private:
    QCoro::Task<ModelStatus> explicitServer(ModelEndpoint endpoint)
    {
        // Screenshots and their text leave this machine only when the user said they may.
        if (!endpoint.isOnThisMachine() && !m_environment.allowsRemote())
            co_return unavailable(AIAvailability::unknown(
                QStringLiteral("The model server at %1 is not on this machine; remote model servers are not allowed "
                               "in the settings.")
                    .arg(endpoint.baseUrl())));
        const Identity identity = co_await identify(endpoint);
        switch (identity.state) {
        case Identity::State::silent:
            co_return unavailable(AIAvailability::notEnabled());
        case Identity::State::unrecognised:
            co_return unavailable(AIAvailability::unknown(identity.answer));
        case Identity::State::identified:
            break;
        }
        co_return co_await readServer(identity.endpoint);
    }

    QCoro::Task<ModelStatus> autoDetect()
    {
        std::optional<ModelStatus> fallback;
        for (const ModelEndpoint &candidate : std::as_const(m_environment.candidates)) {
            if (!candidate.isValid() || !candidate.isLoopback())
                continue;
            const Identity identity = co_await identify(candidate);
            // Something else may listen on a common port such as 8080; only model servers count.
            if (identity.state != Identity::State::identified)
                continue;
            ModelStatus status = co_await readServer(identity.endpoint);
            if (status.isAvailable())
                co_return status;
            const bool better = !fallback || (fallback->availability.kind() != AIAvailability::Kind::modelNotReady &&
                                              status.availability.kind() == AIAvailability::Kind::modelNotReady);
            if (better)
                fallback = std::move(status);
        }
        if (fallback)
            co_return *fallback;
        bool installed = false;
        if (m_environment.hasExecutable) {
            for (const QString &program : ModelProbe::serverPrograms())
                installed = installed || m_environment.hasExecutable(program);
        }
        co_return unavailable(installed ? AIAvailability::notEnabled() : AIAvailability::deviceNotEligible());
    }

    QCoro::Task<ModelHttp::Reply> get(const ModelEndpoint &endpoint, const QString &path)
    {
        return m_http.get(endpoint.url(path), m_environment.probeTimeout);
    }

    // Asks the paths only one kind of server answers in the expected shape, the expected kind first.
    QCoro::Task<Identity> identify(ModelEndpoint endpoint)
    {
        const QList<Server> order = identificationOrder(endpoint.server());
        Identity identity;
        for (Server server : std::as_const(order)) {
            bool recognised = false;
            ModelHttp::Reply reply;
            switch (server) {
            case Server::unidentified:
                continue;
            case Server::ollama:
                reply = co_await get(endpoint, QStringLiteral("/api/version"));
                recognised = reply.ok() && reply.json().value(QLatin1String("version")).isString();
                break;
            case Server::llamaServer:
                reply = co_await get(endpoint, QStringLiteral("/health"));
                // LM Studio answers unknown paths with 200 and an error object, hence the look at the body.
                recognised = (reply.ok() && reply.json().value(QLatin1String("status")).isString()) ||
                             (reply.status == 503 && reply.body.contains("oading"));
                break;
            case Server::lmStudio:
                reply = co_await get(endpoint, QStringLiteral("/api/v0/models"));
                recognised = reply.ok() && reply.json().value(QLatin1String("data")).isArray();
                break;
            case Server::openAICompatible:
                reply = co_await get(endpoint, QStringLiteral("/v1/models"));
                recognised = reply.ok() && reply.json().value(QLatin1String("data")).isArray();
                break;
            }
            if (!reply.answered()) {
                identity.state = Identity::State::silent;
                co_return identity;
            }
            if (recognised) {
                identity.state = Identity::State::identified;
                identity.endpoint = endpoint.identifiedAs(server);
                co_return identity;
            }
            identity.state = Identity::State::unrecognised;
            identity.answer = QStringLiteral("%1 answers, but not as a known model server (HTTP %2).")
                                  .arg(endpoint.baseUrl())
                                  .arg(reply.status);
        }
        co_return identity;
    }

    QCoro::Task<ModelStatus> readServer(ModelEndpoint endpoint)
    {
        switch (endpoint.server()) {
        case Server::ollama:
            co_return co_await readOllama(endpoint);
        case Server::llamaServer:
            co_return co_await readLlamaServer(endpoint);
        case Server::lmStudio:
            co_return co_await readLmStudio(endpoint);
        case Server::openAICompatible:
        case Server::unidentified:
            break;
        }
        co_return co_await readOpenAI(endpoint);
    }

    QCoro::Task<ModelStatus> readOllama(ModelEndpoint endpoint)
    {
        const ModelHttp::Reply tags = co_await get(endpoint, QStringLiteral("/api/tags"));
        if (!tags.ok())
            co_return unavailable(failedAnswer(Server::ollama, tags), endpoint);
        QStringList names;
        const QJsonArray models = tags.json().value(QLatin1String("models")).toArray();
        for (const QJsonValue &model : models) {
            const QJsonObject object = model.toObject();
            QString name = object.value(QLatin1String("name")).toString();
            if (name.isEmpty())
                name = object.value(QLatin1String("model")).toString();
            if (!name.isEmpty() && matchesWanted(name, m_wanted))
                names.append(name);
        }
        QList<Candidate> candidates;
        const QStringList shown = names.mid(0, maxModelsShown);
        for (const QString &name : shown) {
            const ModelHttp::Reply show = co_await m_http.post(endpoint.url(QStringLiteral("/api/show")),
                                                               showRequest(name), m_environment.probeTimeout);
            const std::optional<Candidate> candidate = fromShow(name, show);
            if (candidate)
                candidates.append(*candidate);
        }
        co_return choose(endpoint, candidates);
    }

    QCoro::Task<ModelStatus> readLlamaServer(ModelEndpoint endpoint)
    {
        const ModelHttp::Reply health = co_await get(endpoint, QStringLiteral("/health"));
        if (health.status == 503) {
            ModelStatus status = unavailable(AIAvailability::modelNotReady(), endpoint);
            status.loading = true;
            co_return status;
        }
        if (!health.ok())
            co_return unavailable(failedAnswer(Server::llamaServer, health), endpoint);
        const ModelHttp::Reply props = co_await get(endpoint, QStringLiteral("/props"));
        const QJsonObject properties = props.ok() ? props.json() : QJsonObject();
        const bool vision =
            properties.value(QLatin1String("modalities")).toObject().value(QLatin1String("vision")).toBool();
        const QString path = properties.value(QLatin1String("model_path")).toString();

        const ModelHttp::Reply models = co_await get(endpoint, QStringLiteral("/v1/models"));
        QString id;
        const QJsonArray data = models.json().value(QLatin1String("data")).toArray();
        if (!data.isEmpty())
            id = data.first().toObject().value(QLatin1String("id")).toString();
        if (id.isEmpty())
            id = QFileInfo(path).fileName();
        if (id.isEmpty())
            co_return unavailable(AIAvailability::modelNotReady(), endpoint);
        if (!matchesWanted(id, m_wanted) && !(path.size() > 0 && matchesWanted(path, m_wanted)))
            co_return unavailable(AIAvailability::modelNotReady(), endpoint);
        QList<Candidate> candidates;
        candidates.append(makeCandidate(id, vision, QStringList() << id << path));
        co_return choose(endpoint, candidates);
    }

    QCoro::Task<ModelStatus> readLmStudio(ModelEndpoint endpoint)
    {
        const ModelHttp::Reply reply = co_await get(endpoint, QStringLiteral("/api/v0/models"));
        if (!reply.ok())
            co_return unavailable(failedAnswer(Server::lmStudio, reply), endpoint);
        QList<Candidate> candidates;
        const QJsonArray data = reply.json().value(QLatin1String("data")).toArray();
        for (const QJsonValue &entry : data) {
            const QJsonObject model = entry.toObject();
            const QString id = model.value(QLatin1String("id")).toString();
            const QString type = model.value(QLatin1String("type")).toString();
            // Models are loaded on first use, so "not-loaded" ones count as installed.
            if (id.isEmpty() || type == QLatin1String("embeddings") || looksLikeEmbedding(id) ||
                !matchesWanted(id, m_wanted))
                continue;
            const QString arch = model.value(QLatin1String("arch")).toString();
            candidates.append(makeCandidate(id, type == QLatin1String("vlm"), QStringList() << id << arch));
        }
        co_return choose(endpoint, candidates);
    }

    QCoro::Task<ModelStatus> readOpenAI(ModelEndpoint endpoint)
    {
        const ModelHttp::Reply reply = co_await get(endpoint, QStringLiteral("/v1/models"));
        if (!reply.ok())
            co_return unavailable(failedAnswer(Server::openAICompatible, reply), endpoint);
        QList<Candidate> candidates;
        const QJsonArray data = reply.json().value(QLatin1String("data")).toArray();
        for (const QJsonValue &entry : data) {
            const QString id = entry.toObject().value(QLatin1String("id")).toString();
            if (id.isEmpty() || looksLikeEmbedding(id) || !matchesWanted(id, m_wanted))
                continue;
            // This API does not say whether a model takes images; assuming not keeps requests valid.
            candidates.append(makeCandidate(id, false, QStringList() << id));
        }
        co_return choose(endpoint, candidates);
    }

    ModelEnvironment m_environment;
    QString m_wanted;
    ModelHttp m_http;
};
} // namespace

QCoro::Task<ModelStatus> ModelProbe::read(ModelEnvironment environment)
{
    Prober prober(std::move(environment), false);
    co_return co_await prober.run();
}

QCoro::Task<ModelStatus> ModelProbe::catalog(ModelEnvironment environment)
{
    Prober prober(std::move(environment), true);
    co_return co_await prober.run();
}

QCoro::Task<ModelStatus> ModelProbe::read()
{
    return read(ModelEnvironment::system());
}

QCoro::Task<ModelStatus> ModelProbe::waitWhileLoading(ModelEnvironment environment, ModelStatus status,
                                                      ModelDeadline deadline)
{
    while (status.loading) {
        const std::chrono::milliseconds pause = deadline.capped(environment.loadPollInterval);
        if (pause.count() <= 0)
            break;
        co_await QCoro::sleepFor(pause);
        status = co_await read(environment);
    }
    co_return status;
}

QStringList ModelProbe::serverPrograms()
{
    return {QStringLiteral("ollama"), QStringLiteral("llama-server")};
}
