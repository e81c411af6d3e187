// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "SetupChecker.h"

#include "L10n.h"

#include <QCoroTimer>
#include <QPointer>

#include <unicode/locid.h>
#include <unicode/unistr.h>

namespace {

template <typename T>
bool assign(T &field, const T &value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

} // namespace

SetupChecker::SetupChecker(Sources sources, AIAvailability initial, QObject *parent)
    : QObject(parent)
    , m_sources(std::move(sources))
{
    m_model.availability = std::move(initial);
    m_loginEnabled = m_sources.loginEnabled ? m_sources.loginEnabled() : false;
}

SetupChecker::~SetupChecker() = default;

QString SetupChecker::languageCode(const QString &identifier)
{
    qsizetype end = 0;
    while (end < identifier.size() && !QStringView(u"-_.@").contains(identifier.at(end)))
        ++end;
    return identifier.left(end).toLower();
}

std::optional<bool> SetupChecker::languageSupported(const std::optional<QString> &language, const ModelStatus &model)
{
    // An unreachable model has no known languages: that is "not known", not "unsupported".
    if (!language || language->isEmpty() || !model.isAvailable())
        return std::nullopt;
    return model.supports(languageCode(*language));
}

std::optional<bool> SetupChecker::userLanguageSupported() const
{
    return languageSupported(m_userLanguage, m_model);
}

QString SetupChecker::languageName(const QString &code, const QString &displayCode)
{
    icu::UnicodeString name;
    icu::Locale(code.toUtf8().constData()).getDisplayLanguage(icu::Locale(displayCode.toUtf8().constData()), name);
    QString text = QString::fromUtf16(reinterpret_cast<const char16_t *>(name.getBuffer()), name.length());
    if (text.isEmpty())
        return code;
    // ICU names languages in lower case in Russian; a row title starts with a capital.
    text[0] = text[0].toUpper();
    return text;
}

std::optional<QString> SetupChecker::userLanguageName() const
{
    if (!m_userLanguage || m_userLanguage->isEmpty())
        return std::nullopt;
    return languageName(languageCode(*m_userLanguage), L10n::code());
}

CheckpointStatus SetupChecker::enabledStatus(const AIAvailability &ai, std::optional<bool> languageSupported)
{
    switch (ai.kind()) {
    case AIAvailability::Kind::deviceNotEligible:
        return CheckpointStatus::blocked;
    case AIAvailability::Kind::available:
    case AIAvailability::Kind::modelNotReady:
        return CheckpointStatus::done;
    case AIAvailability::Kind::notEnabled:
    case AIAvailability::Kind::unknown:
        break;
    }
    return languageSupported == false ? CheckpointStatus::blocked : CheckpointStatus::action;
}

CheckpointStatus SetupChecker::modelStatus(const AIAvailability &ai, std::optional<bool> languageSupported)
{
    if (ai.kind() == AIAvailability::Kind::available)
        return CheckpointStatus::done;
    if (ai.kind() == AIAvailability::Kind::modelNotReady)
        return languageSupported == false ? CheckpointStatus::blocked : CheckpointStatus::waiting;
    return CheckpointStatus::blocked;
}

CheckpointStatus SetupChecker::enabledStatus() const
{
    return enabledStatus(ai(), userLanguageSupported());
}

CheckpointStatus SetupChecker::checkModelStatus() const
{
    return modelStatus(ai(), userLanguageSupported());
}

bool SetupChecker::needsRussianPack(bool modelSupportsRussian, NameLanguage nameLanguage, const QString &interfaceCode,
                                    const QStringList &preferredLanguages)
{
    if (modelSupportsRussian)
        return false;
    switch (nameLanguage) {
    case NameLanguage::ru:
        return true;
    case NameLanguage::en:
        return false;
    case NameLanguage::automatic:
        break;
    }
    if (interfaceCode == u"ru")
        return true;
    for (const QString &language : preferredLanguages) {
        if (language.startsWith(u"ru"))
            return true;
    }
    return false;
}

bool SetupChecker::needsRussianPack(NameLanguage nameLanguage) const
{
    const QStringList preferred = m_sources.preferredLanguages ? m_sources.preferredLanguages() : QStringList();
    return needsRussianPack(m_model.supports(QStringLiteral("ru")), nameLanguage, L10n::code(), preferred);
}

TranslationStatus SetupChecker::translationStatus(const ModelStatus &model)
{
    if (!model.isAvailable())
        return TranslationStatus::unsupported;
    if (model.supports(QStringLiteral("en")) && model.supports(QStringLiteral("ru")))
        return TranslationStatus::installed;
    return TranslationStatus::supported;
}

QCoro::Task<> SetupChecker::refresh()
{
    QPointer<SetupChecker> self(this);
    if (m_sources.syncModel)
        m_sources.syncModel();
    bool changedAny = false;
    if (m_sources.readModel) {
        const ModelStatus model = co_await m_sources.readModel();
        if (!self)
            co_return;
        const bool same = model.availability == m_model.availability && model.model == m_model.model &&
                          model.vision == m_model.vision && model.languages == m_model.languages;
        if (!same) {
            m_model = model;
            changedAny = true;
        }
    }
    if (m_sources.preferredLanguages) {
        const QStringList preferred = m_sources.preferredLanguages();
        const std::optional<QString> language =
            preferred.isEmpty() ? std::nullopt : std::optional<QString>(preferred.first());
        changedAny = assign(m_userLanguage, language) || changedAny;
    }
    changedAny = assign(m_translation, std::optional<TranslationStatus>(translationStatus(m_model))) || changedAny;
    if (m_sources.notificationsAllowed) {
        const std::optional<bool> allowed = co_await m_sources.notificationsAllowed();
        if (!self)
            co_return;
        changedAny = assign(m_notificationsAllowed, allowed) || changedAny;
    }
    if (m_sources.loginEnabled)
        changedAny = assign(m_loginEnabled, m_sources.loginEnabled()) || changedAny;
    if (changedAny)
        Q_EMIT changed();
}

void SetupChecker::refreshLogin()
{
    if (m_sources.loginEnabled && assign(m_loginEnabled, m_sources.loginEnabled()))
        Q_EMIT changed();
}

void SetupChecker::startPolling()
{
    if (m_polling)
        return;
    m_polling = true;
    poll(++m_pollGeneration);
}

void SetupChecker::stopPolling()
{
    m_polling = false;
    ++m_pollGeneration;
}

QCoro::Task<> SetupChecker::poll(quint64 generation)
{
    QPointer<SetupChecker> self(this);
    while (self && self->m_pollGeneration == generation) {
        co_await self->refresh();
        if (!self || self->m_pollGeneration != generation)
            co_return;
        co_await QCoro::sleepFor(pollInterval);
    }
}
