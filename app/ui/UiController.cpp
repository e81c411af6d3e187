// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "UiController.h"

#include "AppModel.h"
#include "AppSettings.h"
#include "Appearance.h"
#include "CrashReport.h"
#include "FolderAccess.h"
#include "HistoryStore.h"
#include "HomeChecklist.h"
#include "L10n.h"
#include "LoginItem.h"
#include "Notifier.h"
#include "SetupChecker.h"
#include "Version.h"

#include <QDir>
#include <QtQml/qqmlextensionplugin.h>

// The views' module lives in this static library; importing its plugin here registers the types wherever the
// controller is linked.
Q_IMPORT_QML_PLUGIN(Zentrope_UiPlugin)

namespace {

UiController *s_instance = nullptr;

} // namespace

UiController::UiController(AppModel &model, AppSettings &settings, HistoryStore &history, WindowRouter &router,
                           Appearance &appearance, Shell shell, QObject *parent)
    : QObject(parent)
    , m_model(model)
    , m_settings(settings)
    , m_history(history)
    , m_router(router)
    , m_appearance(appearance)
    , m_shell(std::move(shell))
    , m_panelRecords(history, panelRows)
    , m_homeRecords(history, collapsedCount)
    , m_folders(settings)
    , m_onboarding(
          model, settings, history, router, [this](const QStringList &addresses) { openAddresses(addresses); },
          m_shell.clock ? *m_shell.clock : Clock::system())
{
    SettingsController::Services services;
    services.folderAccess = m_shell.folderAccess;
    services.opener = m_shell.opener;
    services.notice = [this](const QString &text) { showNotice(text); };
    services.readCatalog = m_shell.readCatalog;
    services.siteAddress = QString::fromUtf8(Zentrope::siteAddress);
    m_settingsTab = std::make_unique<SettingsController>(model, settings, history, std::move(services));
    connect(&settings, &AppSettings::interfaceLanguageChanged, this, &UiController::languageSwitched);
    m_folders.setUnavailable(model.unavailableFolders());
    connect(&model, &AppModel::unavailableFoldersChanged, this,
            [this] { m_folders.setUnavailable(m_model.unavailableFolders()); });
    connect(&model, &AppModel::activityChanged, this, &UiController::update);
    connect(&model, &AppModel::aiAvailabilityChanged, this, &UiController::update);
    connect(&model, &AppModel::batchChanged, this, &UiController::update);
    connect(&model, &AppModel::unavailableFoldersChanged, this, &UiController::update);
    connect(&settings, &AppSettings::autoProcessingChanged, this, &UiController::update);
    connect(&settings, &AppSettings::foldersChanged, this, &UiController::update);
    connect(&settings, &AppSettings::ocrFallbackChanged, this, &UiController::update);
    connect(&settings, &AppSettings::namingChanged, this, &UiController::update);
    for (const auto signal : {&AppSettings::appearanceChanged, &AppSettings::namingChanged,
                              &AppSettings::notificationsChanged, &AppSettings::ocrFallbackChanged})
        connect(&settings, signal, this, &UiController::settingsChanged);
    connect(&history, &HistoryStore::pendingCountChanged, this, &UiController::update);
    connect(&history, &HistoryStore::recordsChanged, this, &UiController::update);
    update();
}

UiController::~UiController()
{
    if (s_instance == this)
        s_instance = nullptr;
}

void UiController::setInstance(UiController *controller)
{
    s_instance = controller;
}

UiController *UiController::create(QQmlEngine *, QJSEngine *)
{
    Q_ASSERT(s_instance);
    // The shell owns the controller; the engine must not delete it.
    QJSEngine::setObjectOwnership(s_instance, QJSEngine::CppOwnership);
    return s_instance;
}

void UiController::setChecker(SetupChecker *checker)
{
    m_settingsTab->setChecker(checker);
    disconnect(m_checkerConnection);
    m_checker = checker;
    if (checker)
        m_checkerConnection = connect(checker, &SetupChecker::changed, this, &UiController::update);
    m_onboarding.setChecker(checker);
    update();
}

void UiController::update()
{
    m_summary = StatusSummary::make(m_model, m_settings);

    HomeChecklist::Inputs inputs;
    inputs.hasFolders = !m_settings.folders().isEmpty();
    // The model's availability is the newer one between two polls only when the checker has not read yet.
    inputs.facts = CheckpointRow::facts(m_model.aiAvailability(), m_checker);
    if (m_checker) {
        inputs.needsRussianPack = m_checker->needsRussianPack(m_settings.naming().language);
        inputs.translation = m_checker->translation();
    }
    m_needsAttention = HomeChecklist::needsAttention(inputs);
    m_checklist.setRows(HomeChecklist::rows(inputs));
    QList<CheckpointRow> setupRows = CheckpointRow::intelligence(inputs.facts, true);
    if (inputs.needsRussianPack)
        setupRows.append(CheckpointRow::translationPack(inputs.translation));
    m_setupChecklist.setRows(setupRows);
    m_deferredText = HomeChecklist::deferredText(m_history.pendingCount());
    Q_EMIT stateChanged();
}

bool UiController::autoProcessing() const
{
    return m_settings.autoProcessing();
}

QString UiController::switchHelp() const
{
    return autoProcessing() ? L("menu.pause") : L("menu.resume");
}

bool UiController::showsAttentionRow() const
{
    return m_summary.kind == StatusSummary::Kind::attention || m_summary.kind == StatusSummary::Kind::waiting;
}

QString UiController::attentionText() const
{
    return m_settings.folders().isEmpty() ? L("menu.fix.folder") : L("menu.fix.ai");
}

bool UiController::batchRunning() const
{
    return m_model.batch().has_value();
}

int UiController::batchDone() const
{
    return m_model.batch() ? m_model.batch()->done : 0;
}

int UiController::batchTotal() const
{
    return m_model.batch() ? m_model.batch()->total : 0;
}

QString UiController::batchText() const
{
    return batchRunning() ? L("batch.progress", batchDone(), batchTotal()) : QString();
}

QString UiController::trayIconFor(const Activity &activity)
{
    switch (activity.kind()) {
    case Activity::Kind::working:
        return QStringLiteral("wand-and-sparkles");
    case Activity::Kind::paused:
        return QStringLiteral("pause-circle");
    case Activity::Kind::idle:
    case Activity::Kind::needsSetup:
        break;
    }
    return QStringLiteral("camera-viewfinder");
}

QString UiController::displayPath(const QString &path)
{
    const QString home = QDir::homePath();
    if (path == home)
        return QStringLiteral("~");
    if (home.length() > 1 && path.startsWith(home + QLatin1Char('/')))
        return QStringLiteral("~") + path.mid(home.length());
    return path;
}

void UiController::showNotice(const QString &text)
{
    if (text == m_notice)
        return;
    m_notice = text;
    Q_EMIT noticeChanged();
}

void UiController::dismissNotice()
{
    showNotice(QString());
}

void UiController::windowClosed()
{
    setShowAll(false);
    dismissNotice();
}

QString UiController::trayIcon() const
{
    return trayIconFor(m_model.activity());
}

void UiController::setShowAll(bool showAll)
{
    if (showAll == m_showAll)
        return;
    m_showAll = showAll;
    m_homeRecords.setLimit(showAll ? -1 : collapsedCount);
    Q_EMIT showAllChanged();
}

bool UiController::hasMoreRecords() const
{
    return m_history.count() > collapsedCount;
}

QString UiController::showAllText() const
{
    return m_showAll ? L("home.showLess") : L("home.showAll");
}

QString UiController::lookup(const QString &key) const
{
    return L(key.toUtf8().constData());
}

QJSValue UiController::textFunction() const
{
    QJSEngine *engine = qjsEngine(this);
    if (!engine)
        return {};
    // The engine keeps one wrapper per object; the method read from it calls back into this controller.
    auto *self = const_cast<UiController *>(this);
    QJSEngine::setObjectOwnership(self, QJSEngine::CppOwnership);
    return engine->newQObject(self).property(QStringLiteral("lookup"));
}

QString UiController::language() const
{
    return L10n::code();
}

void UiController::languageSwitched()
{
    // Texts and the lists built of them first; then the indexes into those lists, which a drop-down forgets when it
    // is given a new list.
    Q_EMIT languageChanged();
    m_settingsTab->languageSwitched();
    Q_EMIT settingsChanged();
    Q_EMIT showAllChanged();
    update();
    m_panelRecords.refresh();
    m_homeRecords.refresh();
    // The action buttons of the next rename notification carry the new language's titles.
    if (Notifier *notifier = m_model.notifier())
        notifier->registerCategories();
}

void UiController::setAutoProcessing(bool on)
{
    CrashReport::noteAction("setAutoProcessing");
    m_model.setAutoProcessing(on);
}

void UiController::cancelQueue()
{
    CrashReport::noteAction("cancelQueue");
    m_model.cancelQueue();
}

void UiController::openMainWindow()
{
    if (m_shell.showMainWindow)
        m_shell.showMainWindow(std::nullopt, std::nullopt);
}

void UiController::openHome()
{
    if (m_shell.showMainWindow)
        m_shell.showMainWindow(WindowRouter::Tab::home, std::nullopt);
}

void UiController::openGuide()
{
    if (m_shell.showMainWindow)
        m_shell.showMainWindow(std::nullopt, true);
}

void UiController::renameFiles()
{
    CrashReport::noteAction("renameFiles");
    if (!m_shell.folderAccess)
        return;
    const QStringList files = m_shell.folderAccess->chooseImages(true);
    if (!files.isEmpty())
        m_model.renameFiles(files);
}

void UiController::processExisting()
{
    CrashReport::noteAction("processExisting");
    m_model.confirmAndProcessExisting();
}

void UiController::chooseFolder()
{
    CrashReport::noteAction("chooseFolder");
    m_model.chooseAndAddFolder();
}

void UiController::quit()
{
    if (m_shell.quit)
        m_shell.quit();
}

void UiController::panelShown()
{
    m_model.refreshAvailability();
    m_panelRecords.refresh();
}

void UiController::runCheckpointAction(const QString &action)
{
    if (action == rawValue(CheckpointRow::Action::chooseFolder))
        m_model.chooseAndAddFolder();
    else if (action == rawValue(CheckpointRow::Action::openModelSettings) ||
             action == rawValue(CheckpointRow::Action::getRussianModel))
        openAddresses(SettingsAddress::modelServerSettings());
    else if (action == rawValue(CheckpointRow::Action::openVisionModels))
        openAddresses(SettingsAddress::visionModels());
}

std::optional<RenameRecord> UiController::record(const QString &recordId) const
{
    const QUuid id(recordId);
    if (id.isNull())
        return std::nullopt;
    return m_history.record(id);
}

void UiController::undo(const QString &recordId)
{
    CrashReport::noteAction("undo");
    if (const auto found = record(recordId))
        m_model.undo(*found);
}

void UiController::reveal(const QString &recordId)
{
    CrashReport::noteAction("reveal");
    if (const auto found = record(recordId))
        m_model.reveal(*found);
}

void UiController::again(const QString &recordId)
{
    CrashReport::noteAction("again");
    if (const auto found = record(recordId))
        m_model.reprocess(*found);
}

QString UiController::rename(const QString &recordId, const QString &name)
{
    CrashReport::noteAction("rename");
    const auto found = record(recordId);
    if (!found)
        return L("history.missing");
    return m_model.rename(*found, name).value_or(QString());
}

bool UiController::hasFolders() const
{
    return !m_settings.folders().isEmpty();
}

bool UiController::aiReady() const
{
    return m_model.aiAvailable();
}

QStringList UiController::folderPaths() const
{
    QStringList paths;
    for (const WatchedFolder &folder : m_settings.folders())
        paths.append(displayPath(folder.path));
    return paths;
}

int UiController::appearanceIndex() const
{
    return static_cast<int>(std::find(allAppearanceModes.begin(), allAppearanceModes.end(), m_settings.appearance()) -
                            allAppearanceModes.begin());
}

void UiController::setAppearanceIndex(int index)
{
    if (index >= 0 && index < static_cast<int>(allAppearanceModes.size()))
        m_settings.setAppearance(allAppearanceModes.at(index));
}

namespace {

constexpr std::array nameLanguages{NameLanguage::automatic, NameLanguage::ru, NameLanguage::en};

} // namespace

int UiController::nameLanguageIndex() const
{
    const NameLanguage language = m_settings.naming().language;
    return static_cast<int>(std::find(nameLanguages.begin(), nameLanguages.end(), language) - nameLanguages.begin());
}

void UiController::setNameLanguageIndex(int index)
{
    if (index < 0 || index >= static_cast<int>(nameLanguages.size()))
        return;
    NamingOptions naming = m_settings.naming();
    naming.language = nameLanguages.at(index);
    m_settings.setNaming(naming);
}

bool UiController::ocrFallback() const
{
    return m_settings.ocrFallback();
}

void UiController::setOcrFallback(bool on)
{
    m_settings.setOcrFallback(on);
}

bool UiController::loginEnabled() const
{
    return m_shell.loginItem && m_shell.loginItem->isEnabled();
}

void UiController::setLoginEnabled(bool on)
{
    CrashReport::noteAction("setLoginEnabled");
    if (!m_shell.loginItem)
        return;
    m_loginError = m_shell.loginItem->set(on).value_or(QString());
    if (m_checker)
        m_checker->refreshLogin();
    Q_EMIT settingsChanged();
}

bool UiController::notificationsDenied() const
{
    return m_checker && m_checker->notificationsAllowed() == false;
}

void UiController::openNotificationSettings()
{
    openAddresses(SettingsAddress::notificationSettings());
}

void UiController::openAddresses(const QStringList &addresses)
{
    if (SettingsAddress::open(addresses, m_shell.opener))
        return;
    const std::optional<SettingsAddress> first =
        addresses.isEmpty() ? std::nullopt : SettingsAddress::parse(addresses.first());
    const QString shown = !first ? QString() : first->url.isValid() ? first->url.toString() : first->command.join(u' ');
    showNotice(L("notice.openFailed", shown));
}
