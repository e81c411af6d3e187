// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "SetupChecker.h"

#include "CoroTest.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

namespace {

using S = CheckpointStatus;

ModelStatus model(AIAvailability availability, QStringList languages = {u"en"_qs})
{
    ModelStatus status;
    status.availability = std::move(availability);
    status.model = u"gemma3:4b"_qs;
    status.languages = std::move(languages);
    return status;
}

TEST(SetupCheckerTest, RowStatusesFollowAvailabilityThenLanguageAndTheRussianPackIsNeededOnlyWhenRussianIsWanted)
{
    const auto rows = [](const AIAvailability &ai, std::optional<bool> supported, S enabled, S model) {
        SCOPED_TRACE(ai.debugDescription().toStdString() +
                     " supported=" + (supported ? (*supported ? "yes" : "no") : "unknown"));
        EXPECT_EQ(SetupChecker::enabledStatus(ai, supported), enabled);
        EXPECT_EQ(SetupChecker::modelStatus(ai, supported), model);
    };
    // Rows of the other availabilities are checked with the checklist rows.
    rows(AIAvailability::modelNotReady(), true, S::done, S::waiting); // loading: the server runs, the model is coming
    rows(AIAvailability::modelNotReady(), false, S::done, S::blocked);
    rows(AIAvailability::notEnabled(), true, S::action, S::blocked);
    rows(AIAvailability::unknown(u"HTTP 500"_qs), std::nullopt, S::action, S::blocked);

    // Without a running model its languages are unknown, so the switched-on row must not turn blocked.
    const std::optional<QString> russian = u"ru_RU.UTF-8"_qs;
    EXPECT_EQ(SetupChecker::languageSupported(russian, model(AIAvailability::notEnabled())), std::nullopt);
    EXPECT_EQ(SetupChecker::languageSupported(std::nullopt, model(AIAvailability::available())), std::nullopt);
    EXPECT_EQ(SetupChecker::languageSupported(russian, model(AIAvailability::available())), false);
    EXPECT_EQ(SetupChecker::languageSupported(russian, model(AIAvailability::available(), {"en", "ru"})), true);
    EXPECT_EQ(SetupChecker::languageCode(u"pt-BR"_qs), u"pt"_qs);
    EXPECT_EQ(SetupChecker::languageCode(u"sr@latin"_qs), u"sr"_qs);

    const auto needs = [](bool modelSupportsRussian, NameLanguage language, const char *interfaceCode,
                          const QStringList &preferred, bool expected) {
        EXPECT_EQ(SetupChecker::needsRussianPack(modelSupportsRussian, language, QString::fromLatin1(interfaceCode),
                                                 preferred),
                  expected)
            << preferred.join(u',').toStdString() << " " << interfaceCode;
    };
    needs(true, NameLanguage::ru, "ru", {"ru"}, false);
    needs(false, NameLanguage::ru, "en", {"en"}, true);
    needs(false, NameLanguage::en, "ru", {"ru"}, false);
    needs(false, NameLanguage::automatic, "ru", {}, true);
    // Russian as the second preferred language counts even with an English interface.
    needs(false, NameLanguage::automatic, "en", {"en", "ru"}, true);
    needs(false, NameLanguage::automatic, "en", {"en", "de"}, false);
}

TEST(SetupCheckerTest, RefreshReadsEveryFactAndSignalsOnlyChanges)
{
    ModelStatus facts = model(AIAvailability::notEnabled());
    bool login = false;
    int syncs = 0;
    SetupChecker::Sources sources;
    // QCoro moves from an lvalue handed to co_return; hand it a copy.
    sources.readModel = [&facts]() -> QCoro::Task<ModelStatus> { co_return ModelStatus(facts); };
    sources.preferredLanguages = [] { return QStringList{u"de"_qs}; };
    sources.notificationsAllowed = []() -> QCoro::Task<std::optional<bool>> { co_return std::optional<bool>(true); };
    sources.loginEnabled = [&login] { return login; };
    sources.syncModel = [&syncs] { ++syncs; };
    SetupChecker checker(std::move(sources), AIAvailability::notEnabled());
    QSignalSpy changed(&checker, &SetupChecker::changed);
    EXPECT_FALSE(checker.userLanguage().has_value());

    runTask(checker.refresh());
    EXPECT_EQ(syncs, 1);
    EXPECT_EQ(checker.userLanguage(), u"de"_qs);
    EXPECT_EQ(checker.notificationsAllowed(), true);
    EXPECT_EQ(checker.translation(), TranslationStatus::unsupported);
    EXPECT_EQ(checker.enabledStatus(), CheckpointStatus::action);
    EXPECT_EQ(changed.count(), 1);
    runTask(checker.refresh());
    EXPECT_EQ(changed.count(), 1);

    facts = model(AIAvailability::available(), {"en"});
    runTask(checker.refresh());
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(checker.userLanguageSupported(), false);
    EXPECT_EQ(checker.translation(), TranslationStatus::supported);

    login = true;
    checker.refreshLogin();
    EXPECT_TRUE(checker.loginEnabled());
    EXPECT_EQ(changed.count(), 3);
}

} // namespace
