// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "AppearanceMode.h"
#include "InterfaceLanguage.h"
#include "KeyValueStore.h"
#include "NamingOptions.h"
#include "NotificationMode.h"
#include "ProcessingScope.h"
#include "WatchedFolder.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>

// The user's choices, loaded once from the settings store and written back at every assignment; observers hear
// of each change.
class AppSettings : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool autoProcessing READ autoProcessing WRITE setAutoProcessing NOTIFY autoProcessingChanged)
    Q_PROPERTY(bool ocrFallback READ ocrFallback WRITE setOcrFallback NOTIFY ocrFallbackChanged)
    Q_PROPERTY(bool onboardingDone READ onboardingDone WRITE setOnboardingDone NOTIFY onboardingDoneChanged)
    Q_PROPERTY(QString warmedBuild READ warmedBuild WRITE setWarmedBuild NOTIFY warmedBuildChanged)
    Q_PROPERTY(QString modelEndpoint READ modelEndpoint WRITE setModelEndpoint NOTIFY modelEndpointChanged)
    Q_PROPERTY(QString modelName READ modelName WRITE setModelName NOTIFY modelNameChanged)
    Q_PROPERTY(int modelTimeLimit READ modelTimeLimit WRITE setModelTimeLimit NOTIFY modelTimeLimitChanged)
    Q_PROPERTY(bool modelAllowRemote READ modelAllowRemote WRITE setModelAllowRemote NOTIFY modelAllowRemoteChanged)

public:
    static constexpr const char *autoProcessingKey = "autoProcessing";
    static constexpr const char *foldersKey = "folders";
    static constexpr const char *namingKey = "naming";
    static constexpr const char *scopeKey = "scope";
    static constexpr const char *ocrFallbackKey = "ocrFallback";
    static constexpr const char *notificationsKey = "notifications";
    static constexpr const char *appearanceKey = "appearance";
    static constexpr const char *interfaceLanguageKey = "interfaceLanguage";
    static constexpr const char *onboardingDoneKey = "onboardingDone";
    static constexpr const char *lastSeenDateKey = "lastSeenDate";
    static constexpr const char *warmedBuildKey = "warmedBuild";
    static constexpr const char *modelEndpointKey = "modelEndpoint";
    static constexpr const char *modelNameKey = "modelName";
    static constexpr const char *modelTimeLimitKey = "modelTimeLimit";
    static constexpr const char *modelAllowRemoteKey = "modelAllowRemote";

    // `store` empty: the user's settings file. Loads every value, then applies the interface language.
    explicit AppSettings(std::shared_ptr<KeyValueStore> store = nullptr, QObject *parent = nullptr);

    // The store the settings live in, for keys that have no property here.
    KeyValueStore &defaults() const { return *m_store; }

    bool autoProcessing() const { return m_autoProcessing; }
    QList<WatchedFolder> folders() const { return m_folders; }
    NamingOptions naming() const { return m_naming; }
    ProcessingScope scope() const { return m_scope; }
    bool ocrFallback() const { return m_ocrFallback; }
    NotificationMode notifications() const { return m_notifications; }
    AppearanceMode appearance() const { return m_appearance; }
    InterfaceLanguage interfaceLanguage() const { return m_interfaceLanguage; }
    bool onboardingDone() const { return m_onboardingDone; }
    std::optional<QDateTime> lastSeenDate() const { return m_lastSeenDate; }
    QString warmedBuild() const { return m_warmedBuild; }
    QString modelEndpoint() const { return m_modelEndpoint; }
    QString modelName() const { return m_modelName; }
    // Seconds the analyzer gives the model for one screenshot.
    int modelTimeLimit() const { return m_modelTimeLimit; }
    // Whether a model server named in modelEndpoint may be on another machine; screenshots then leave this one.
    bool modelAllowRemote() const { return m_modelAllowRemote; }

    // Every assignment is written, even of the value already held; the change signal comes only on a change.
    void setAutoProcessing(bool value);
    void setFolders(const QList<WatchedFolder> &value);
    void setNaming(const NamingOptions &value);
    void setScope(ProcessingScope value);
    void setOcrFallback(bool value);
    void setNotifications(NotificationMode value);
    void setAppearance(AppearanceMode value);
    // Also switches the language of every later text lookup.
    void setInterfaceLanguage(InterfaceLanguage value);
    void setOnboardingDone(bool value);
    // Absent removes the key.
    void setLastSeenDate(const std::optional<QDateTime> &value);
    void setWarmedBuild(const QString &value);
    void setModelEndpoint(const QString &value);
    void setModelName(const QString &value);
    // Kept within the limit's minimum and maximum.
    void setModelTimeLimit(int seconds);
    void setModelAllowRemote(bool value);

Q_SIGNALS:
    void autoProcessingChanged();
    void foldersChanged();
    void namingChanged();
    void scopeChanged();
    void ocrFallbackChanged();
    void notificationsChanged();
    void appearanceChanged();
    void interfaceLanguageChanged();
    void onboardingDoneChanged();
    void lastSeenDateChanged();
    void warmedBuildChanged();
    void modelEndpointChanged();
    void modelNameChanged();
    void modelTimeLimitChanged();
    void modelAllowRemoteChanged();
    // A value could not be written to the settings file; it is kept for this run.
    void writeFailed(const QString &description);

private:
    template <typename T>
    bool assign(T &field, const T &value, void (AppSettings::*changed)());
    void report(bool written, const QString &error);
    void writeString(const char *key, const QString &value);
    void writeBoolean(const char *key, bool value);

    std::shared_ptr<KeyValueStore> m_store;
    bool m_autoProcessing = true;
    QList<WatchedFolder> m_folders;
    NamingOptions m_naming;
    ProcessingScope m_scope = ProcessingScope::screenshots;
    bool m_ocrFallback = false;
    NotificationMode m_notifications = NotificationMode::all;
    AppearanceMode m_appearance = AppearanceMode::system;
    InterfaceLanguage m_interfaceLanguage = InterfaceLanguage::system;
    bool m_onboardingDone = false;
    std::optional<QDateTime> m_lastSeenDate;
    QString m_warmedBuild;
    QString m_modelEndpoint;
    QString m_modelName;
    int m_modelTimeLimit = 0;
    bool m_modelAllowRemote = false;
};
