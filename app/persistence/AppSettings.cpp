// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AppSettings.h"

#include "L10n.h"
#include "ModelEnvironment.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {
QString keyOf(const char *key)
{
    return QString::fromLatin1(key);
}

// Stored text converted by `fromRaw`, or `fallback` when the key is missing, not text or not a known value.
template <typename T, typename FromRaw>
T enumeration(const KeyValueStore &store, const char *key, T fallback, FromRaw fromRaw)
{
    const std::optional<QString> raw = store.string(keyOf(key));
    if (!raw)
        return fallback;
    return fromRaw(*raw).value_or(fallback);
}

// The analyzer reads the limit from the same store by the same rule.
std::chrono::milliseconds storedTimeLimit(const KeyValueStore &store)
{
    ModelEnvironment environment;
    environment.store = &store;
    return environment.timeLimit();
}

QList<WatchedFolder> decodeFolders(const std::optional<QByteArray> &bytes)
{
    if (!bytes)
        return {};
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(*bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        return {};
    return WatchedFolder::listFromJson(document.array()).value_or(QList<WatchedFolder>());
}
} // namespace

AppSettings::AppSettings(std::shared_ptr<KeyValueStore> store, QObject *parent)
    : QObject(parent)
    , m_store(store ? std::move(store) : std::make_shared<KeyValueStore>())
{
    const KeyValueStore &s = *m_store;
    m_autoProcessing = s.boolean(keyOf(autoProcessingKey)).value_or(true);
    m_ocrFallback = s.boolean(keyOf(ocrFallbackKey)).value_or(false);
    m_onboardingDone = s.booleanReading(keyOf(onboardingDoneKey));
    // Undecodable values stay in the file untouched until the next assignment replaces them.
    m_folders = decodeFolders(s.bytes(keyOf(foldersKey)));
    m_naming = NamingOptions::fromJsonOrDefault(s.bytes(keyOf(namingKey)).value_or(QByteArray()));
    m_scope = enumeration(s, scopeKey, ProcessingScope::screenshots, ProcessingScopes::fromRawValue);
    m_notifications = enumeration(s, notificationsKey, NotificationMode::all,
                                  [](const QString &raw) { return notificationModeFromRaw(raw); });
    m_appearance = enumeration(s, appearanceKey, AppearanceMode::system,
                               [](const QString &raw) { return appearanceModeFromRaw(raw); });
    m_interfaceLanguage = enumeration(s, interfaceLanguageKey, InterfaceLanguage::system,
                                      [](const QString &raw) { return interfaceLanguageFromRaw(raw); });
    m_lastSeenDate = s.date(keyOf(lastSeenDateKey));
    m_warmedBuild = s.string(keyOf(warmedBuildKey)).value_or(QString());
    m_modelEndpoint = s.string(keyOf(modelEndpointKey)).value_or(QString());
    m_modelName = s.string(keyOf(modelNameKey)).value_or(QString());
    m_modelTimeLimit = int(std::chrono::duration_cast<std::chrono::seconds>(storedTimeLimit(s)).count());
    m_modelAllowRemote = s.boolean(keyOf(modelAllowRemoteKey)).value_or(false);
    L10n::apply(m_interfaceLanguage);
}

template <typename T>
bool AppSettings::assign(T &field, const T &value, void (AppSettings::*changed)())
{
    if (field == value)
        return false;
    field = value;
    Q_EMIT(this->*changed)();
    return true;
}

void AppSettings::report(bool written, const QString &error)
{
    if (!written)
        Q_EMIT writeFailed(error);
}

void AppSettings::writeString(const char *key, const QString &value)
{
    QString error;
    report(m_store->setString(keyOf(key), value, &error), error);
}

void AppSettings::writeBoolean(const char *key, bool value)
{
    QString error;
    report(m_store->setBoolean(keyOf(key), value, &error), error);
}

void AppSettings::setAutoProcessing(bool value)
{
    writeBoolean(autoProcessingKey, value);
    assign(m_autoProcessing, value, &AppSettings::autoProcessingChanged);
}

void AppSettings::setFolders(const QList<WatchedFolder> &value)
{
    QString error;
    const QByteArray bytes = QJsonDocument(WatchedFolder::toJson(value)).toJson(QJsonDocument::Compact);
    report(m_store->setBytes(keyOf(foldersKey), bytes, &error), error);
    assign(m_folders, value, &AppSettings::foldersChanged);
}

void AppSettings::setNaming(const NamingOptions &value)
{
    QString error;
    report(m_store->setBytes(keyOf(namingKey), value.toJsonBytes(), &error), error);
    assign(m_naming, value, &AppSettings::namingChanged);
}

void AppSettings::setScope(ProcessingScope value)
{
    writeString(scopeKey, ProcessingScopes::rawValue(value));
    assign(m_scope, value, &AppSettings::scopeChanged);
}

void AppSettings::setOcrFallback(bool value)
{
    writeBoolean(ocrFallbackKey, value);
    assign(m_ocrFallback, value, &AppSettings::ocrFallbackChanged);
}

void AppSettings::setNotifications(NotificationMode value)
{
    writeString(notificationsKey, rawValue(value));
    assign(m_notifications, value, &AppSettings::notificationsChanged);
}

void AppSettings::setAppearance(AppearanceMode value)
{
    writeString(appearanceKey, rawValue(value));
    assign(m_appearance, value, &AppSettings::appearanceChanged);
}

void AppSettings::setInterfaceLanguage(InterfaceLanguage value)
{
    writeString(interfaceLanguageKey, rawValue(value));
    // Applied before observers hear of the change, so what they redraw is already in the new language.
    L10n::apply(value);
    assign(m_interfaceLanguage, value, &AppSettings::interfaceLanguageChanged);
}

void AppSettings::setOnboardingDone(bool value)
{
    writeBoolean(onboardingDoneKey, value);
    assign(m_onboardingDone, value, &AppSettings::onboardingDoneChanged);
}

void AppSettings::setLastSeenDate(const std::optional<QDateTime> &value)
{
    QString error;
    if (value && value->isValid())
        report(m_store->setDate(keyOf(lastSeenDateKey), *value, &error), error);
    else
        report(m_store->remove(keyOf(lastSeenDateKey), &error), error);
    const std::optional<QDateTime> stored = value && value->isValid() ? value : std::nullopt;
    assign(m_lastSeenDate, stored, &AppSettings::lastSeenDateChanged);
}

void AppSettings::setWarmedBuild(const QString &value)
{
    writeString(warmedBuildKey, value);
    assign(m_warmedBuild, value, &AppSettings::warmedBuildChanged);
}

void AppSettings::setModelEndpoint(const QString &value)
{
    writeString(modelEndpointKey, value);
    assign(m_modelEndpoint, value, &AppSettings::modelEndpointChanged);
}

void AppSettings::setModelName(const QString &value)
{
    writeString(modelNameKey, value);
    assign(m_modelName, value, &AppSettings::modelNameChanged);
}

void AppSettings::setModelTimeLimit(int seconds)
{
    const int bounded = std::clamp(seconds, int(ModelEnvironment::minimumTimeLimit.count()),
                                   int(ModelEnvironment::maximumTimeLimit.count()));
    QString error;
    report(m_store->setNumber(keyOf(modelTimeLimitKey), bounded, &error), error);
    assign(m_modelTimeLimit, bounded, &AppSettings::modelTimeLimitChanged);
}

void AppSettings::setModelAllowRemote(bool value)
{
    writeBoolean(modelAllowRemoteKey, value);
    assign(m_modelAllowRemote, value, &AppSettings::modelAllowRemoteChanged);
}
