// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "SetupChecker.h"

#include "CoroTest.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

namespace {

using S = CheckpointStatus;

ModelStatus model(AIAvailability availability, QStringList languages = {QStringLiteral("en")})
{
    ModelStatus status;
    status.availability = std::move(availability);
    status.model = QStringLiteral("gemma3:4b");
    status.languages = std::move(languages);
    return status;
}

struct StatusCase
{
    AIAvailability ai;
    std::optional<bool> languageSupported;
    S enabled;
    S model;
};

TEST(SetupCheckerTest, RowStatusesFollowAvailabilityThenLanguage)
{
    const StatusCase cases[] = {
        // No server software: nothing the user can switch on here.
        {AIAvailability::deviceNotEligible(), std::nullopt, S::blocked, S::blocked},
        {AIAvailability::deviceNotEligible(), true, S::blocked, S::blocked},
        {AIAvailability::available(), false, S::done, S::done},
        // Loading: the server runs, the model is still coming.
        {AIAvailability::modelNotReady(), std::nullopt, S::done, S::waiting},
        {AIAvailability::modelNotReady(), true, S::done, S::waiting},
        {AIAvailability::modelNotReady(), false, S::done, S::blocked},
        {AIAvailability::notEnabled(), std::nullopt, S::action, S::blocked},
        {AIAvailability::notEnabled(), true, S::action, S::blocked},
        {AIAvailability::notEnabled(), false, S::blocked, S::blocked},
        {AIAvailability::unknown(QStringLiteral("HTTP 500")), std::nullopt, S::action, S::blocked},
        {AIAvailability::unknown(QStringLiteral("HTTP 500")), false, S::blocked, S::blocked},
    };
    for (const StatusCase &c : cases) {
        SCOPED_TRACE(c.ai.debugDescription().toStdString() +
                     " supported=" + (c.languageSupported ? (*c.languageSupported ? "yes" : "no") : "unknown"));
        EXPECT_EQ(SetupChecker::enabledStatus(c.ai, c.languageSupported), c.enabled);
        EXPECT_EQ(SetupChecker::modelStatus(c.ai, c.languageSupported), c.model);
    }
}

TEST(SetupCheckerTest, LanguageSupportIsUnknownUntilTheModelAnswers)
{
    const std::optional<QString> russian = QStringLiteral("ru_RU.UTF-8");
    // Without a running model its languages are unknown, so the switched-on row must not turn blocked.
    EXPECT_EQ(SetupChecker::languageSupported(russian, model(AIAvailability::notEnabled())), std::nullopt);
    EXPECT_EQ(SetupChecker::languageSupported(std::nullopt, model(AIAvailability::available())), std::nullopt);
    EXPECT_EQ(SetupChecker::languageSupported(russian, model(AIAvailability::available())), false);
    EXPECT_EQ(SetupChecker::languageSupported(russian, model(AIAvailability::available(), {"en", "ru"})), true);
    EXPECT_EQ(SetupChecker::languageCode(QStringLiteral("pt-BR")), QStringLiteral("pt"));
    EXPECT_EQ(SetupChecker::languageCode(QStringLiteral("sr@latin")), QStringLiteral("sr"));
    EXPECT_EQ(SetupChecker::languageCode(QStringLiteral("de")), QStringLiteral("de"));
}

TEST(SetupCheckerTest, NeedsRussianPack)
{
    struct Case
    {
        bool modelSupportsRussian;
        NameLanguage language;
        const char *interfaceCode;
        QStringList preferred;
        bool expected;
    };
    const Case cases[] = {
        {true, NameLanguage::ru, "ru", {"ru"}, false},
        {true, NameLanguage::automatic, "ru", {"ru"}, false},
        {false, NameLanguage::ru, "en", {"en"}, true},
        {false, NameLanguage::en, "ru", {"ru"}, false},
        {false, NameLanguage::automatic, "ru", {}, true},
        // Russian as the second preferred language counts even with an English interface.
        {false, NameLanguage::automatic, "en", {"en", "ru"}, true},
        {false, NameLanguage::automatic, "en", {"en", "de"}, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.preferred.join(u',').toStdString() + " " + c.interfaceCode);
        EXPECT_EQ(SetupChecker::needsRussianPack(c.modelSupportsRussian, c.language,
                                                 QString::fromLatin1(c.interfaceCode), c.preferred),
                  c.expected);
    }
}

struct Facts
{
    ModelStatus model = ::model(AIAvailability::notEnabled());
    QStringList preferred = {QStringLiteral("de")};
    std::optional<bool> notifications = true;
    bool login = false;
    int reads = 0;
    int syncs = 0;
};

SetupChecker::Sources sources(Facts &facts)
{
    SetupChecker::Sources s;
    s.readModel = [&facts]() -> QCoro::Task<ModelStatus> {
        ++facts.reads;
        // QCoro moves from an lvalue handed to co_return; hand it a copy.
        co_return ModelStatus(facts.model);
    };
    s.preferredLanguages = [&facts] { return facts.preferred; };
    s.notificationsAllowed = [&facts]() -> QCoro::Task<std::optional<bool>> {
        co_return std::optional<bool>(facts.notifications);
    };
    s.loginEnabled = [&facts] { return facts.login; };
    s.syncModel = [&facts] { ++facts.syncs; };
    return s;
}

TEST(SetupCheckerTest, RefreshReadsEveryFactAndSignalsOnlyChanges)
{
    Facts facts;
    SetupChecker checker(sources(facts), AIAvailability::notEnabled());
    QSignalSpy changed(&checker, &SetupChecker::changed);
    EXPECT_FALSE(checker.userLanguage().has_value());

    runTask(checker.refresh());
    EXPECT_EQ(facts.syncs, 1);
    EXPECT_EQ(checker.userLanguage(), QStringLiteral("de"));
    EXPECT_EQ(checker.notificationsAllowed(), true);
    EXPECT_EQ(checker.translation(), TranslationStatus::unsupported);
    EXPECT_EQ(checker.enabledStatus(), CheckpointStatus::action);
    EXPECT_EQ(changed.count(), 1);

    runTask(checker.refresh());
    EXPECT_EQ(changed.count(), 1);

    facts.model = model(AIAvailability::available(), {"en"});
    runTask(checker.refresh());
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(checker.userLanguageSupported(), false);
    EXPECT_EQ(checker.translation(), TranslationStatus::supported);

    facts.login = true;
    checker.refreshLogin();
    EXPECT_TRUE(checker.loginEnabled());
    EXPECT_EQ(changed.count(), 3);
}

} // namespace
