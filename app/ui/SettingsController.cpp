// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "SettingsController.h"

#include "AppModel.h"
#include "AppSettings.h"
#include "CrashReport.h"
#include "FileNameBuilder.h"
#include "FolderAccess.h"
#include "HistoryStore.h"
#include "L10n.h"
#include "ModelEndpoint.h"
#include "ModelEnvironment.h"
#include "ProcessingScope.h"
#include "SetupChecker.h"
#include "Titles.h"
#include "UiController.h"
#include "Version.h"

#include <QVariantMap>

#include <algorithm>

namespace {

constexpr std::array notificationModes{NotificationMode::all, NotificationMode::errors, NotificationMode::off};
constexpr std::array interfaceLanguages{InterfaceLanguage::system, InterfaceLanguage::en, InterfaceLanguage::ru};

template <typename T, std::size_t N>
int indexOf(const std::array<T, N> &values, T value)
{
    return static_cast<int>(std::find(values.begin(), values.end(), value) - values.begin());
}

template <typename T, std::size_t N>
std::optional<T> at(const std::array<T, N> &values, int index)
{
    if (index < 0 || index >= static_cast<int>(N))
        return std::nullopt;
    return values.at(static_cast<std::size_t>(index));
}

QUuid folderId(const QString &id)
{
    return QUuid(id);
}

} // namespace

SettingsController::SettingsController(AppModel &model, AppSettings &settings, HistoryStore &history, Services services,
                                       QObject *parent)
    : QObject(parent)
    , m_model(model)
    , m_settings(settings)
    , m_history(history)
    , m_services(std::move(services))
{
    for (const auto signal :
         {&AppSettings::namingChanged, &AppSettings::scopeChanged, &AppSettings::notificationsChanged})
        connect(&settings, signal, this, &SettingsController::choicesChanged);
    connect(&settings, &AppSettings::namingChanged, this, &SettingsController::updateStatus);
    connect(&settings, &AppSettings::notificationsChanged, this, &SettingsController::updateStatus);
    connect(&settings, &AppSettings::modelEndpointChanged, this, &SettingsController::serverChanged);
    connect(&settings, &AppSettings::modelTimeLimitChanged, this, &SettingsController::modelsChanged);
    connect(&settings, &AppSettings::modelNameChanged, this, [this] {
        Q_EMIT modelLabelsChanged();
        Q_EMIT modelsChanged();
    });
    connect(&model, &AppModel::aiAvailabilityChanged, this, &SettingsController::updateStatus);
    updateStatus();
}

void SettingsController::languageSwitched()
{
    Q_EMIT labelsChanged();
    Q_EMIT choicesChanged();
    updateStatus();
    Q_EMIT serverChanged();
    Q_EMIT testChanged();
}

SettingsController::~SettingsController() = default;

void SettingsController::setChecker(SetupChecker *checker)
{
    disconnect(m_checkerConnection);
    m_checker = checker;
    if (checker)
        m_checkerConnection = connect(checker, &SetupChecker::changed, this, &SettingsController::updateStatus);
    updateStatus();
    if (checker)
        refreshModels();
}

void SettingsController::updateStatus()
{
    QList<CheckpointRow> rows;
    if (m_checker && m_checker->needsRussianPack(m_settings.naming().language))
        rows.append(CheckpointRow::translationPack(m_checker->translation()));
    m_translationRow.setRows(rows);
    Q_EMIT statusChanged();
    // The first entry of the model chooser names the model in use.
    Q_EMIT modelLabelsChanged();
    Q_EMIT modelsChanged();
}

// ---- Folders ----

int SettingsController::scopeIndex() const
{
    return indexOf(ProcessingScopes::all, m_settings.scope());
}

void SettingsController::setScopeIndex(int index)
{
    if (const auto scope = at(ProcessingScopes::all, index))
        m_settings.setScope(*scope);
}

QStringList SettingsController::scopeLabels() const
{
    QStringList labels;
    for (ProcessingScope scope : ProcessingScopes::all)
        labels.append(L(ProcessingScopes::titleKey(scope)));
    return labels;
}

QString SettingsController::scopeExplanation() const
{
    return L(ProcessingScopes::subtitleKey(m_settings.scope()));
}

void SettingsController::setFolderEnabled(const QString &id, bool enabled)
{
    CrashReport::noteAction("setFolder");
    m_model.setFolder(folderId(id), enabled);
}

void SettingsController::revealFolder(const QString &id)
{
    CrashReport::noteAction("revealFolder");
    const QList<WatchedFolder> folders = m_settings.folders();
    const auto folder =
        std::find_if(folders.begin(), folders.end(), [&](const WatchedFolder &f) { return f.id == folderId(id); });
    if (folder == folders.end() || !m_services.opener.openUrl)
        return;
    if (!m_services.opener.openUrl(QUrl::fromLocalFile(folder->path)) && m_services.notice)
        m_services.notice(L("notice.revealFailed", UiController::displayPath(folder->path)));
}

void SettingsController::processExisting(const QString &id)
{
    CrashReport::noteAction("processExistingFolder");
    m_model.confirmAndProcessExisting(folderId(id));
}

void SettingsController::removeFolder(const QString &id)
{
    CrashReport::noteAction("removeFolder");
    m_model.removeFolder(folderId(id));
}

// ---- Naming ----

int SettingsController::separatorIndex() const
{
    return indexOf(allNameSeparators, m_settings.naming().separator);
}

void SettingsController::setSeparatorIndex(int index)
{
    if (const auto separator = at(allNameSeparators, index)) {
        NamingOptions naming = m_settings.naming();
        naming.separator = *separator;
        m_settings.setNaming(naming);
    }
}

int SettingsController::caseIndex() const
{
    return indexOf(allNameCases, m_settings.naming().letterCase);
}

void SettingsController::setCaseIndex(int index)
{
    if (const auto letterCase = at(allNameCases, index)) {
        NamingOptions naming = m_settings.naming();
        naming.letterCase = *letterCase;
        m_settings.setNaming(naming);
    }
}

int SettingsController::dateIndex() const
{
    return indexOf(allDateChoices, dateChoice(m_settings.naming()));
}

void SettingsController::setDateIndex(int index)
{
    if (const auto choice = at(allDateChoices, index))
        m_settings.setNaming(withDateChoice(m_settings.naming(), *choice));
}

QVariantList SettingsController::dateChoices() const
{
    QVariantList choices;
    for (DateChoice choice : allDateChoices)
        choices.append(QVariantMap{{QStringLiteral("text"), L(labelKey(choice))},
                                   {QStringLiteral("divider"), dividerAfter(choice)}});
    return choices;
}

int SettingsController::maxLength() const
{
    return m_settings.naming().maxLength;
}

void SettingsController::setMaxLengthFromSlider(double value)
{
    NamingOptions naming = m_settings.naming();
    naming.maxLength = maxLengthFromSlider(value);
    m_settings.setNaming(naming);
}

QString SettingsController::preview() const
{
    return previewName(m_settings.naming(), L10n::code(), QDateTime::currentDateTime());
}

QString SettingsController::previewName(const NamingOptions &options, const QString &interfaceCode,
                                        const QDateTime &now)
{
    const bool russian =
        options.language == NameLanguage::ru || (options.language == NameLanguage::automatic && interfaceCode == u"ru");
    const QString title = russian ? QStringLiteral("Обсуждение релиза в Telegram")
                                  : QStringLiteral("GitHub pull request review for parser");
    const QLocale locale(russian ? QLocale::Russian : QLocale::English);
    return FileNameBuilder::base(title, now, options, locale).value_or(title) + QStringLiteral(".png");
}

// ---- Behaviour ----

int SettingsController::notificationIndex() const
{
    return indexOf(notificationModes, m_settings.notifications());
}

void SettingsController::setNotificationIndex(int index)
{
    const auto mode = at(notificationModes, index);
    if (!mode || *mode == m_settings.notifications())
        return;
    m_settings.setNotifications(*mode);
    if (*mode != NotificationMode::off)
        askForNotifications();
}

QCoro::Task<> SettingsController::askForNotifications()
{
    QPointer<SettingsController> self(this);
    if (Notifier *notifier = m_model.notifier())
        co_await notifier->requestAuthorizationIfNeeded();
    if (!self || !m_checker)
        co_return;
    co_await m_checker->refresh();
}

bool SettingsController::showsNotificationWarning() const
{
    return m_settings.notifications() != NotificationMode::off && m_checker &&
           m_checker->notificationsAllowed() == false;
}

// ---- Intelligence ----

QString SettingsController::aiStatus() const
{
    const AIAvailability &ai = m_checker ? m_checker->ai() : m_model.aiAvailability();
    if (ai.isAvailable())
        return rawValue(CheckpointStatus::done);
    return rawValue(m_checker ? m_checker->checkModelStatus() : SetupChecker::modelStatus(ai, std::nullopt));
}

QString SettingsController::aiTitle() const
{
    return Titles::title(m_checker ? m_checker->ai() : m_model.aiAvailability());
}

QString SettingsController::modeTitle() const
{
    return m_checker && m_checker->modelStatus().modelHasVision() ? L("ai.mode.image") : L("ai.mode.text");
}

QString SettingsController::modeSubtitle() const
{
    return m_checker && m_checker->modelStatus().modelHasVision() ? L("ai.mode.image.sub") : L("ai.mode.text.sub");
}

QString SettingsController::visionHint() const
{
    const QString model = m_checker ? m_checker->modelStatus().model : QString();
    if (m_checker && m_checker->modelStatus().modelHasVision())
        return {};
    return model.isEmpty() ? L("check.vision.tip") : L("check.vision.detail", model);
}

bool SettingsController::automaticServer() const
{
    return m_settings.modelEndpoint().trimmed().isEmpty() && !m_typingAddress;
}

QString SettingsController::serverAddress() const
{
    return m_settings.modelEndpoint();
}

QString SettingsController::foundServer() const
{
    if (!m_checker)
        return {};
    const ModelEndpoint &endpoint = m_checker->modelStatus().endpoint;
    return endpoint.isValid() ? L("model.server.found", endpoint.baseUrl()) : L("model.server.notFound");
}

QString SettingsController::remoteQuestion() const
{
    if (m_remoteServer.isEmpty())
        return {};
    const std::optional<ModelEndpoint> endpoint = ModelEndpoint::fromSetting(m_remoteServer);
    return L("model.remote.text", endpoint ? endpoint->baseUrl() : m_remoteServer);
}

void SettingsController::setAutomaticServer(bool automatic)
{
    m_typingAddress = !automatic;
    m_serverError.clear();
    if (automatic && !m_settings.modelEndpoint().isEmpty())
        applyServer(QString());
    else
        Q_EMIT serverChanged();
}

void SettingsController::setServerAddress(const QString &text)
{
    const QString address = text.trimmed();
    if (address == m_settings.modelEndpoint() && m_serverError.isEmpty())
        return;
    if (address.isEmpty()) {
        setAutomaticServer(true);
        return;
    }
    const std::optional<ModelEndpoint> endpoint = ModelEndpoint::fromSetting(address);
    if (!endpoint) {
        m_serverError = L("model.server.invalid");
        Q_EMIT serverChanged();
        return;
    }
    m_serverError.clear();
    if (!endpoint->isOnThisMachine() && !m_settings.modelAllowRemote()) {
        m_remoteServer = address;
        Q_EMIT serverChanged();
        return;
    }
    applyServer(address);
}

void SettingsController::confirmRemote()
{
    if (m_remoteServer.isEmpty())
        return;
    const QString address = std::exchange(m_remoteServer, QString());
    m_settings.setModelAllowRemote(true);
    applyServer(address);
}

void SettingsController::cancelRemote()
{
    m_remoteServer.clear();
    Q_EMIT serverChanged();
}

void SettingsController::applyServer(const QString &address)
{
    m_serverError.clear();
    m_typingAddress = false;
    // Consent covers the remote server the user accepted, not every later one: going back to this machine
    // withdraws it, so the next remote address asks again.
    const std::optional<ModelEndpoint> endpoint = ModelEndpoint::fromSetting(address);
    if (address.isEmpty() || (endpoint && endpoint->isOnThisMachine()))
        m_settings.setModelAllowRemote(false);
    m_settings.setModelEndpoint(address);
    Q_EMIT serverChanged();
    m_model.refreshAvailability();
    if (m_checker)
        m_checker->refresh();
    refreshModels();
}

QStringList SettingsController::modelLabels() const
{
    QStringList labels;
    const QStringList names = modelNames(m_offered, m_settings.modelName());
    for (const QString &name : names) {
        const auto offered = std::find_if(m_offered.begin(), m_offered.end(),
                                          [&](const ModelStatus::Offered &o) { return o.name == name; });
        if (name.isEmpty())
            labels.append(m_settings.modelName().trimmed().isEmpty() && m_checker && m_checker->ai().isAvailable()
                              ? L("model.name.autoFound", m_checker->modelStatus().model)
                              : L("model.name.auto"));
        else if (offered != m_offered.end() && offered->vision)
            labels.append(L("model.name.vision", name));
        else
            labels.append(name);
    }
    return labels;
}

int SettingsController::modelIndex() const
{
    const QString chosen = m_settings.modelName().trimmed();
    if (chosen.isEmpty())
        return 0;
    const QStringList names = modelNames(m_offered, chosen);
    for (int i = 1; i < names.size(); ++i) {
        if (sameModel(names.at(i), chosen))
            return i;
    }
    return 0;
}

void SettingsController::setModelIndex(int index)
{
    const QStringList names = modelNames(m_offered, m_settings.modelName().trimmed());
    if (index < 0 || index >= names.size() || index == modelIndex())
        return;
    m_settings.setModelName(names.at(index));
    m_model.refreshAvailability();
    if (m_checker)
        m_checker->refresh();
}

int SettingsController::timeLimit() const
{
    return m_settings.modelTimeLimit();
}

void SettingsController::setTimeLimit(int seconds)
{
    m_settings.setModelTimeLimit(seconds);
}

int SettingsController::timeLimitMinimum()
{
    return static_cast<int>(ModelEnvironment::minimumTimeLimit.count());
}

int SettingsController::timeLimitMaximum()
{
    return static_cast<int>(ModelEnvironment::maximumTimeLimit.count());
}

QStringList SettingsController::modelNames(const QList<ModelStatus::Offered> &offered, const QString &chosen)
{
    QStringList names{QString()};
    bool listed = chosen.isEmpty();
    for (const ModelStatus::Offered &model : offered) {
        names.append(model.name);
        listed = listed || sameModel(model.name, chosen);
    }
    if (!listed)
        names.append(chosen);
    return names;
}

bool SettingsController::sameModel(const QString &offered, const QString &chosen)
{
    return offered.compare(chosen, Qt::CaseInsensitive) == 0 ||
           offered.compare(chosen + QStringLiteral(":latest"), Qt::CaseInsensitive) == 0;
}

void SettingsController::refreshModels()
{
    readModels();
}

QCoro::Task<> SettingsController::readModels()
{
    if (!m_services.readCatalog)
        co_return;
    QPointer<SettingsController> self(this);
    const quint64 generation = ++m_modelsGeneration;
    const ModelStatus status = co_await m_services.readCatalog();
    // A later reading (another server chosen meanwhile) wins.
    if (!self || generation != m_modelsGeneration || status.offered == m_offered)
        co_return;
    m_offered = status.offered;
    Q_EMIT modelLabelsChanged();
    Q_EMIT modelsChanged();
}

void SettingsController::runTest()
{
    CrashReport::noteAction("aiTest");
    if (m_testing || !m_services.folderAccess)
        return;
    const QStringList chosen = m_services.folderAccess->chooseImages(false);
    if (chosen.isEmpty())
        return;
    m_testing = true;
    m_testName.clear();
    m_testResponse.reset();
    m_testError.clear();
    Q_EMIT testChanged();
    test(chosen.first());
}

QCoro::Task<> SettingsController::test(QString path)
{
    QPointer<SettingsController> self(this);
    const AppModel::PreviewOutcome outcome = co_await m_model.preview(path);
    if (!self)
        co_return;
    if (const auto *result = std::get_if<PreviewResult>(&outcome)) {
        m_testName = result->fileName;
        m_testResponse = result->response;
    } else {
        m_testError = std::get<AnalyzerFailure>(outcome).description();
    }
    m_testing = false;
    Q_EMIT testChanged();
}

QString SettingsController::testDetail() const
{
    return m_testResponse ? testDetail(*m_testResponse) : QString();
}

QString SettingsController::testDetail(const AnalyzeResponse &response)
{
    QStringList items{L("ai.test.time", response.duration)};
    if (response.engine && *response.engine != NamingEngineKind::ai)
        items.append(Titles::tagTitle(*response.engine));
    if (response.languageFallback)
        items.append(L("ai.test.langFallback"));
    return items.join(QStringLiteral(" · "));
}

// ---- Appearance and footer ----

int SettingsController::interfaceLanguageIndex() const
{
    return indexOf(interfaceLanguages, m_settings.interfaceLanguage());
}

void SettingsController::setInterfaceLanguageIndex(int index)
{
    if (const auto language = at(interfaceLanguages, index))
        m_settings.setInterfaceLanguage(*language);
}

QString SettingsController::versionLine() const
{
    return QStringLiteral("Zentrope ") + QString::fromLatin1(Zentrope::version);
}

void SettingsController::clearHistory()
{
    CrashReport::noteAction("clearHistory");
    m_history.clear();
}

void SettingsController::openSite()
{
    const QUrl site(m_services.siteAddress);
    if (!site.isValid() || !m_services.opener.openUrl)
        return;
    if (!m_services.opener.openUrl(site) && m_services.notice)
        m_services.notice(L("notice.openFailed", m_services.siteAddress));
}
