// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "AIAvailability.h"
#include "CheckpointStatus.h"
#include "ModelStatus.h"
#include "NameLanguage.h"

#include <QCoroTask>
#include <QObject>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <optional>

// The facts outside the application that decide whether naming with the local model works, refreshed every few
// seconds while the main window is open, and the checklist statuses derived from them.
class SetupChecker : public QObject
{
    Q_OBJECT

public:
    // Where the facts come from; tests replace each.
    struct Sources
    {
        // One reading of the local model (availability, languages, vision).
        std::function<QCoro::Task<ModelStatus>()> readModel;
        // The user's preferred languages, most preferred first.
        std::function<QStringList()> preferredLanguages;
        // Whether notifications can be shown: empty = not known yet.
        std::function<QCoro::Task<std::optional<bool>>()> notificationsAllowed;
        std::function<bool()> loginEnabled;
        // Lets the application model re-read the availability as well (may be empty).
        std::function<void()> syncModel;
    };

    static constexpr std::chrono::milliseconds pollInterval{3000};

    SetupChecker(Sources sources, AIAvailability initial, QObject *parent = nullptr);
    ~SetupChecker() override;

    const AIAvailability &ai() const { return m_model.availability; }
    const ModelStatus &modelStatus() const { return m_model; }
    // The first preferred language of the user, standing in for the assistant's language; empty until read.
    const std::optional<QString> &userLanguage() const { return m_userLanguage; }
    const std::optional<TranslationStatus> &translation() const { return m_translation; }
    const std::optional<bool> &notificationsAllowed() const { return m_notificationsAllowed; }
    bool loginEnabled() const { return m_loginEnabled; }
    // Autostart entries need nobody's approval.
    bool loginNeedsApproval() const { return false; }

    // Empty while the language or the model's languages are unknown.
    std::optional<bool> userLanguageSupported() const;
    // The user's language named in the interface language; empty when there is none.
    std::optional<QString> userLanguageName() const;
    CheckpointStatus enabledStatus() const;
    CheckpointStatus checkModelStatus() const;
    bool needsRussianPack(NameLanguage nameLanguage) const;

    QCoro::Task<> refresh();
    void refreshLogin();
    // The first refresh happens at once, then one every 3 seconds after the previous one ended.
    void startPolling();
    void stopPolling();
    bool isPolling() const { return m_polling; }

    // Rules without state.
    static QString languageCode(const QString &identifier);
    static std::optional<bool> languageSupported(const std::optional<QString> &language, const ModelStatus &model);
    static CheckpointStatus enabledStatus(const AIAvailability &ai, std::optional<bool> languageSupported);
    static CheckpointStatus modelStatus(const AIAvailability &ai, std::optional<bool> languageSupported);
    static bool needsRussianPack(bool modelSupportsRussian, NameLanguage nameLanguage, const QString &interfaceCode,
                                 const QStringList &preferredLanguages);
    static TranslationStatus translationStatus(const ModelStatus &model);
    static QString languageName(const QString &code, const QString &displayCode);

Q_SIGNALS:
    // Any fact changed; an unchanged refresh stays silent.
    void changed();

private:
    QCoro::Task<> poll(quint64 generation);

    Sources m_sources;
    ModelStatus m_model;
    std::optional<QString> m_userLanguage;
    std::optional<TranslationStatus> m_translation;
    std::optional<bool> m_notificationsAllowed;
    bool m_loginEnabled = false;
    bool m_polling = false;
    quint64 m_pollGeneration = 0;
};
