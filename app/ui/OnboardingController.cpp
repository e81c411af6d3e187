// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "OnboardingController.h"

#include "AppModel.h"
#include "AppSettings.h"
#include "Clock.h"
#include "CrashReport.h"
#include "HistoryStore.h"
#include "L10n.h"
#include "Notifier.h"
#include "SettingsAddress.h"
#include "SetupChecker.h"
#include "WindowRouter.h"

#include <QFileInfo>
#include <QVariantMap>

OnboardingController::OnboardingController(AppModel &model, AppSettings &settings, HistoryStore &history,
                                           WindowRouter &router, std::function<void(const QStringList &)> open,
                                           const Clock &clock, QObject *parent)
    : QObject(parent)
    , m_model(model)
    , m_settings(settings)
    , m_history(history)
    , m_router(router)
    , m_open(std::move(open))
    , m_clock(clock)
{
    connect(&router, &WindowRouter::setupStepChanged, this, &OnboardingController::stepChanged);
    connect(&router, &WindowRouter::setupStepChanged, this, &OnboardingController::update);
    connect(&model, &AppModel::activityChanged, this, &OnboardingController::update);
    connect(&model, &AppModel::aiAvailabilityChanged, this, &OnboardingController::update);
    for (const auto signal :
         {&AppSettings::foldersChanged, &AppSettings::namingChanged, &AppSettings::ocrFallbackChanged,
          &AppSettings::notificationsChanged, &AppSettings::interfaceLanguageChanged})
        connect(&settings, signal, this, &OnboardingController::update);
    connect(&history, &HistoryStore::recordsChanged, this, &OnboardingController::update);
    update();
}

void OnboardingController::setChecker(SetupChecker *checker)
{
    disconnect(m_checkerConnection);
    m_checker = checker;
    if (checker)
        m_checkerConnection = connect(checker, &SetupChecker::changed, this, &OnboardingController::update);
    update();
}

void OnboardingController::update()
{
    const CheckpointRow::Facts facts = CheckpointRow::facts(m_model.aiAvailability(), m_checker);
    m_intelligenceRows.setRows(CheckpointRow::intelligence(facts, true));
    const bool needsPack = m_checker && m_checker->needsRussianPack(m_settings.naming().language);
    m_translationRows.setRows(needsPack ? QList{CheckpointRow::translationPack(m_checker->translation())}
                                        : QList<CheckpointRow>{});

    m_triedName.clear();
    if (m_finishShown.isValid()) {
        // Newest first: the first record past the moment is the latest rename.
        for (const RenameRecord &record : m_history.records()) {
            if (record.date <= m_finishShown)
                break;
            m_triedName = QFileInfo(record.currentName).completeBaseName();
            break;
        }
    }
    Q_EMIT changed();
}

int OnboardingController::step() const
{
    return m_router.setupStep();
}

int OnboardingController::stepCount()
{
    return WindowRouter::setupStepCount;
}

bool OnboardingController::canAdvance() const
{
    return step() != folder || hasFolders();
}

QString OnboardingController::mainButtonTitle() const
{
    if (step() == welcome)
        return L("setup.start");
    return step() >= stepCount() - 1 ? L("setup.finish") : L("setup.next");
}

QVariantList OnboardingController::welcomeExamples()
{
    const auto pair = [](const char *before, const char *after) {
        return QVariantMap{{QStringLiteral("before"), QString::fromUtf8(before)},
                           {QStringLiteral("after"), QString::fromUtf8(after)}};
    };
    return {pair("Screenshot From 2026-11-12 10-42-17", "GitHub pull request review"),
            pair("Снимок экрана от 2026-11-12 11-05-02", "Обсуждение релиза в Telegram"),
            pair("Screenshot From 2026-11-12 18-20-44", "CMake build error missing module")};
}

bool OnboardingController::hasFolders() const
{
    return !m_settings.folders().isEmpty();
}

bool OnboardingController::aiAvailable() const
{
    return m_model.aiAvailable();
}

QString OnboardingController::aiTitle() const
{
    return aiAvailable() ? L("setup.ai.titleReady") : L("setup.ai.title");
}

bool OnboardingController::showsServerHelp() const
{
    const AIAvailability::Kind kind = m_model.aiAvailability().kind();
    return kind == AIAvailability::Kind::deviceNotEligible || kind == AIAvailability::Kind::notEnabled;
}

QString OnboardingController::serverHelp() const
{
    if (!showsServerHelp())
        return {};
    return m_model.aiAvailability().kind() == AIAvailability::Kind::deviceNotEligible ? L("setup.ai.get.install")
                                                                                      : L("setup.ai.get.start");
}

QVariantList OnboardingController::languageOptions()
{
    const auto option = [](const QString &title, const QString &detail) {
        return QVariantMap{{QStringLiteral("title"), title}, {QStringLiteral("detail"), detail}};
    };
    // Language names are not translated: each reads as its speakers know it.
    return {option(L("setup.lang.auto"), L("setup.lang.auto.sub")),
            option(QStringLiteral("Русский"), QStringLiteral("Обсуждение релиза в Telegram.png")),
            option(QStringLiteral("English"), QStringLiteral("Telegram release discussion.png"))};
}

bool OnboardingController::notifyOn() const
{
    const bool denied = m_checker && m_checker->notificationsAllowed() == false;
    return m_settings.notifications() != NotificationMode::off && !denied;
}

bool OnboardingController::willRename() const
{
    return hasFolders() && (aiAvailable() || m_settings.ocrFallback());
}

QString OnboardingController::finishTitle() const
{
    return willRename() ? L("setup.finish.title") : L("setup.finish.titleNotYet");
}

QString OnboardingController::finishSubtitle() const
{
    if (!hasFolders())
        return L("setup.finish.notYet.noFolder");
    if (!willRename())
        return L("setup.finish.notYet.noAI");
    return L("setup.finish.subtitle");
}

QString OnboardingController::tryHint() const
{
    if (m_model.activity().kind() == Activity::Kind::working)
        return L("setup.finish.try.thinking");
    if (!hasFolders())
        return L("setup.finish.try.noFolder");
    if (!aiAvailable() && !m_settings.ocrFallback())
        return L("setup.finish.try.noAI");
    return L("setup.finish.try.sub");
}

void OnboardingController::go(int change)
{
    const int next = step() + change;
    if (change > 0 && !canAdvance())
        return;
    if (next >= stepCount()) {
        CrashReport::noteAction("finishSetup");
        m_settings.setOnboardingDone(true);
        m_router.setTab(WindowRouter::Tab::home);
        m_router.setShowsSetup(false);
        return;
    }
    m_forward = change > 0;
    m_moving = true;
    m_router.setSetupStep(std::max(next, 0));
    m_moving = false;
}

void OnboardingController::finishShown()
{
    m_finishShown = m_clock.now();
    update();
}

void OnboardingController::setNotify(bool on)
{
    CrashReport::noteAction("setNotify");
    if (!on) {
        m_settings.setNotifications(NotificationMode::off);
        return;
    }
    if (m_checker && m_checker->notificationsAllowed() == false) {
        m_open(SettingsAddress::notificationSettings());
        m_notifyDenied = true;
        Q_EMIT changed();
        return;
    }
    if (m_settings.notifications() == NotificationMode::off)
        m_settings.setNotifications(NotificationMode::all);
    askForNotifications();
}

QCoro::Task<> OnboardingController::askForNotifications()
{
    QPointer<OnboardingController> self(this);
    if (Notifier *notifier = m_model.notifier())
        co_await notifier->requestAuthorizationIfNeeded();
    if (!self)
        co_return;
    if (QPointer<SetupChecker> checker = m_checker)
        co_await checker->refresh();
}

void OnboardingController::openServerHelp()
{
    m_open(SettingsAddress::modelServerSettings());
}
