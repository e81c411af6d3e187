// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AINamer.h"
#include "CoroTest.h"
#include "L10n.h"
#include "ModelProbe.h"
#include "NamingTestSupport.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

using namespace NamingTestSupport;

namespace {

const ScreenshotFeatures englishScreen =
    screen(u"en"_qs, {"Pull request review", "Merge feature branch into main", "Files changed",
                      "Conversation with reviewers", "Approve changes"});

// Long enough that every text budget cuts it differently.
ScreenshotFeatures longEnglishScreen()
{
    ScreenshotFeatures features = englishScreen;
    for (int i = 0; i < 40; ++i)
        features.lines.push_back(
            {u"Review comment about module %1 and its tests"_qs.arg(QChar(u'A' + i % 26)) + QString(i / 26 + 1, u'x'),
             0.01, 0.5, 0.05, 0.9, 0.5});
    return features;
}

ScreenshotFeatures russianScreen(int lineCount)
{
    const char *const lines[] = {"Настройки сети",        "Подключение по локальной сети",
                                 "Параметры адаптера",    "Состояние подключения",
                                 "Свойства протокола",    "Доступ к интернету",
                                 "Диагностика неполадок", "Центр управления сетями"};
    ScreenshotFeatures features = screen(u"ru"_qs, {});
    for (int i = 0; i < lineCount; ++i)
        features.lines.push_back({QString::fromUtf8(lines[i]), 0.03, 0.05 + 0.1 * i, 0.05, 0.9, 0.4});
    return features;
}

class AINamerTest : public testing::Test
{
protected:
    void SetUp() override { L10n::apply(InterfaceLanguage::en); }

    AINamerResult suggest(const ScreenshotFeatures &features, NameLanguage language = NameLanguage::automatic,
                          std::optional<QString> app = std::nullopt, QImage image = QImage())
    {
        return runTask(call(features, language, std::move(app), std::move(image)));
    }

    QCoro::Task<AINamerResult> call(const ScreenshotFeatures &features, NameLanguage language = NameLanguage::en,
                                    std::optional<QString> app = std::nullopt, QImage image = QImage())
    {
        const ModelStatus status = runTask(ModelProbe::read(environmentFor(server)));
        return namer.suggest(status, features, ModelImage::encode(image), language, u"en"_qs, std::move(app), ample());
    }

    AINamerResult suggestWithPicture(const ScreenshotFeatures &features)
    {
        QImage image(640, 400, QImage::Format_RGB32);
        image.fill(Qt::darkBlue);
        return suggest(features, NameLanguage::en, std::nullopt, image);
    }

    ModelServerDouble server;
    AINamer namer{environmentFor(server)};
};

AINameResult titleOf(const AINamerResult &result)
{
    return alternative<AINameResult>(result);
}

AINamerError errorOf(const AINamerResult &result)
{
    return alternative<AINamerError>(result);
}

TEST_F(AINamerTest, TextModeAcceptsAGroundedSummaryAndSendsTheFixedRequest)
{
    server.serveOllama({textModel()});
    server.enqueue(chatPath, answer(u"summary"_qs, u"Screenshot of Pull request review. Then more."_qs));

    const AINameResult result = titleOf(suggest(englishScreen, NameLanguage::en, u"Firefox"_qs));
    EXPECT_EQ(result, (AINameResult{u"Firefox Pull request review"_qs, u"en"_qs, false}));

    const QList<QJsonObject> sent = chats(server);
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(fieldOf(sent[0]), u"summary"_qs);
    // The model reads what belongs in the field, not only the decoder.
    EXPECT_TRUE(schemaOf(sent[0]).contains(u"3 to 5 words. A summary of the entire content, never a copy"_qs));
    EXPECT_FALSE(hasImage(sent[0]));
    EXPECT_TRUE(systemOf(sent[0]).endsWith(u"passwords.\n- Answer in English, with the summary only."_qs));
    EXPECT_EQ(promptOf(sent[0]), u"App in front when the screenshot was taken: Firefox\n"
                                 u"Text recognized on the screen, top to bottom:\n"
                                 u"Pull request review\nMerge feature branch into main\nFiles changed\n"
                                 u"Conversation with reviewers\nApprove changes\n"
                                 u"\nDescribe this screenshot."_qs);
}

TEST_F(AINamerTest, TextModeRetriesStrictlyOnceThenGivesUp)
{
    server.serveOllama({textModel()});
    server.enqueue(chatPath, answer(u"summary"_qs, u"Mountain lake at sunset"_qs));
    server.enqueue(chatPath, answer(u"summary"_qs, u"Feature branch review"_qs));
    EXPECT_EQ(titleOf(suggest(englishScreen)).title, u"Feature branch review"_qs);
    QList<QJsonObject> sent = chats(server);
    ASSERT_EQ(sent.size(), 2);
    EXPECT_EQ(promptOf(sent[1]), AINamer::prompt(englishScreen, std::nullopt, 1300) +
                                     u" Use only words that are written in the text above."_qs);
    EXPECT_EQ(systemOf(sent[1]), AINamer::instructions(u"en"_qs));

    server.clearRequests();
    server.enqueue(chatPath, answer(u"summary"_qs, u"Mountain lake at sunset"_qs));
    server.enqueue(chatPath, answer(u"summary"_qs, u"Snowy mountain cabin"_qs));
    EXPECT_EQ(errorOf(suggest(englishScreen)), AINamerError::of(AINamerError::Case::ungrounded));

    // One of three content words on the screen is enough for a title in the screen's language.
    server.enqueue(chatPath, answer(u"summary"_qs, u"Review of holiday photos"_qs));
    EXPECT_EQ(titleOf(suggest(englishScreen)).title, u"Review of holiday photos"_qs);
}

TEST_F(AINamerTest, TextModeErrors)
{
    server.serveOllama({textModel()});
    server.enqueue(chatPath, ModelServerDouble::ollamaError(500, u"model runner crashed"_qs));
    EXPECT_EQ(errorOf(suggest(englishScreen)), AINamerError::generation(u"model runner crashed"_qs));

    server.enqueue(chatPath, answer(u"summary"_qs, u"The image of the"_qs));
    EXPECT_EQ(errorOf(suggest(englishScreen)), AINamerError::of(AINamerError::Case::emptyAnswer));

    // Not enough text to say anything, and no picture to look at: the model is not asked.
    server.clearRequests();
    EXPECT_EQ(errorOf(suggestWithPicture(screen(u"en"_qs, {"Hi", "Open it"}))),
              AINamerError::of(AINamerError::Case::nothingToDescribe));
    EXPECT_TRUE(chats(server).isEmpty());
}

TEST_F(AINamerTest, TextModeShortensThePromptWhenTheContextOverflows)
{
    server.serveOllama({textModel()});
    const ScreenshotFeatures features = longEnglishScreen();
    const auto overflow = ModelServerDouble::ollamaError(400, u"the input length exceeds the context length"_qs);
    server.enqueue(chatPath, overflow);
    server.enqueue(chatPath, answer(u"summary"_qs, u"Pull request review"_qs));
    EXPECT_EQ(titleOf(suggest(features)).title, u"Pull request review"_qs);
    QList<QJsonObject> sent = chats(server);
    ASSERT_EQ(sent.size(), 2);
    EXPECT_EQ(promptOf(sent[0]), AINamer::prompt(features, std::nullopt, 1300));
    EXPECT_EQ(promptOf(sent[1]), AINamer::prompt(features, std::nullopt, 500));

    // The shorter prompt failing too is passed on as the model said it; a busy model stays busy.
    server.enqueue(chatPath, overflow);
    server.enqueue(chatPath, overflow);
    const AINamerError twice = errorOf(suggest(features));
    EXPECT_EQ(twice.kind, AINamerError::Case::model);
    EXPECT_EQ(twice.description(), u"the input length exceeds the context length"_qs);
    server.enqueue(chatPath, overflow);
    server.enqueue(chatPath, ModelServerDouble::ollamaError(429, u"too many requests"_qs));
    EXPECT_EQ(errorOf(suggest(features)), AINamerError::busy(u"too many requests"_qs));
}

TEST_F(AINamerTest, PictureModeWalksTheTextBudgets)
{
    server.serveOllama({visionModel()});
    const ScreenshotFeatures features = longEnglishScreen();
    server.enqueue(chatPath, ModelServerDouble::ollamaError(400, u"the input length exceeds the context length"_qs));
    server.enqueue(chatPath, answer(u"name"_qs, u"Mountain lake at sunset"_qs));
    server.enqueue(chatPath, answer(u"name"_qs, u"Pull request review"_qs));

    EXPECT_EQ(titleOf(suggestWithPicture(features)).title, u"Pull request review"_qs);
    const QList<QJsonObject> sent = chats(server);
    ASSERT_EQ(sent.size(), 3);
    EXPECT_EQ(promptOf(sent[0]), AINamer::picturePrompt(features, std::nullopt, 900, false));
    EXPECT_EQ(promptOf(sent[1]), AINamer::picturePrompt(features, std::nullopt, 400, true));
    EXPECT_EQ(promptOf(sent[2]), u"Name this screenshot."_qs);
    for (const QJsonObject &chat : sent) {
        EXPECT_TRUE(hasImage(chat));
        EXPECT_EQ(fieldOf(chat), u"name"_qs);
        EXPECT_TRUE(schemaOf(chat).contains(u"What the screenshot shows, in 3 to 6 words."_qs));
        EXPECT_EQ(systemOf(chat), AINamer::visionInstructions(u"en"_qs));
    }
}

TEST_F(AINamerTest, PictureModeReportsUngroundedBeforeTheLastModelError)
{
    server.serveOllama({visionModel()});
    server.enqueue(chatPath, answer(u"name"_qs, u"Mountain lake at sunset"_qs));
    server.enqueue(chatPath, ModelServerDouble::ollamaError(500, u"runner crashed"_qs));
    server.enqueue(chatPath, answer(u"name"_qs, u"and the"_qs));
    EXPECT_EQ(errorOf(suggestWithPicture(englishScreen)), AINamerError::of(AINamerError::Case::ungrounded));

    server.enqueue(chatPath, answer(u"name"_qs, u"and the"_qs));
    server.enqueue(chatPath, answer(u"name"_qs, u"and the"_qs));
    server.enqueue(chatPath, ModelServerDouble::ollamaError(500, u"runner crashed"_qs));
    const AINamerError last = errorOf(suggestWithPicture(englishScreen));
    EXPECT_EQ(last.kind, AINamerError::Case::model);
    EXPECT_EQ(last.description(), u"runner crashed"_qs);

    // A busy model ends the attempts at once.
    server.clearRequests();
    server.enqueue(chatPath, ModelServerDouble::ollamaError(503, u"server busy"_qs));
    EXPECT_EQ(errorOf(suggestWithPicture(englishScreen)), AINamerError::busy(u"server busy"_qs));
    EXPECT_EQ(chats(server).size(), 1);
}

TEST_F(AINamerTest, PictureOnlyWhenTheModelSeesIt)
{
    // Without text the picture alone decides, and any clean answer is taken.
    server.serveOllama({visionModel()});
    server.enqueue(chatPath, answer(u"name"_qs, u"Mountain lake at sunset"_qs));
    EXPECT_EQ(titleOf(suggestWithPicture(screen(std::nullopt, {}))).title, u"Mountain lake at sunset"_qs);
    ASSERT_EQ(chats(server).size(), 1);
    EXPECT_EQ(promptOf(chats(server)[0]), u"Name this screenshot."_qs);

    server.clearRequests();
    server.serveOllama({textModel()});
    server.enqueue(chatPath, answer(u"summary"_qs, u"Pull request review"_qs));
    EXPECT_EQ(titleOf(suggestWithPicture(englishScreen)).title, u"Pull request review"_qs);
    ASSERT_EQ(chats(server).size(), 1);
    EXPECT_FALSE(hasImage(chats(server)[0]));
}

TEST_F(AINamerTest, ForeignScreensAreTranslatedOrTrustedWhenLong)
{
    server.serveOllama({textModel({u"en"_qs, u"ru"_qs})});
    server.enqueue(chatPath, answer(u"summary"_qs, u"Network adapter settings"_qs));
    server.enqueue(chatPath, answer(u"translation"_qs, u"Настройки сетевого адаптера"_qs));
    server.enqueue(chatPath, answer(u"translation"_qs, u"Настройки сетевого адаптера"_qs));

    EXPECT_EQ(titleOf(suggest(russianScreen(3))), (AINameResult{u"Настройки сетевого адаптера"_qs, u"ru"_qs, false}));
    const QList<QJsonObject> sent = chats(server);
    ASSERT_EQ(sent.size(), 3);
    EXPECT_TRUE(systemOf(sent[0]).endsWith(u"- Answer in Russian, with the summary only."_qs));
    // The grounding check, then the title itself, each translated by the same model.
    for (const QJsonObject &chat : {sent[1], sent[2]}) {
        EXPECT_EQ(fieldOf(chat), u"translation"_qs);
        EXPECT_TRUE(systemOf(chat).contains(u"from English into Russian"_qs));
        EXPECT_EQ(promptOf(chat), u"Network adapter settings"_qs);
        EXPECT_FALSE(hasImage(chat));
    }

    // The screen's own wording wins when the translation covers enough of its stems.
    ScreenshotFeatures features = screen(u"ru"_qs, {"Параметры адаптера сети", "Подключение по локальной сети"});
    features.lines[1].left = 0.5; // not in a block with the first line
    server.enqueue(chatPath, answer(u"summary"_qs, u"Adapter network parameters"_qs));
    server.enqueue(chatPath, answer(u"translation"_qs, u"Параметров адаптеров сети"_qs));
    server.enqueue(chatPath, answer(u"translation"_qs, u"Параметров адаптеров сети"_qs));
    EXPECT_EQ(titleOf(suggest(features)).title, u"Параметры адаптера сети"_qs);

    // A model that writes only English cannot translate: a long foreign screen is trusted.
    server.clearRequests();
    server.serveOllama({textModel({u"en"_qs})});
    server.enqueue(chatPath, answer(u"summary"_qs, u"Network adapter settings"_qs));
    EXPECT_EQ(titleOf(suggest(russianScreen(8))), (AINameResult{u"Network adapter settings"_qs, u"en"_qs, true}));
    ASSERT_EQ(chats(server).size(), 1);
    EXPECT_TRUE(systemOf(chats(server)[0]).endsWith(u"- Answer in English, with the summary only."_qs));

    // Seven lines are too few to trust: the strict retry runs, and fails the same way.
    server.clearRequests();
    server.enqueue(chatPath, answer(u"summary"_qs, u"Network adapter settings"_qs));
    server.enqueue(chatPath, answer(u"summary"_qs, u"Network adapter settings"_qs));
    EXPECT_EQ(errorOf(suggest(russianScreen(7))), AINamerError::of(AINamerError::Case::ungrounded));
    EXPECT_EQ(chats(server).size(), 2);
}

TEST(AINamerPrefix, NamesTheAppUnlessTheTitleDoesOrTheAppIsTheDesktopItself)
{
    const struct
    {
        const char *app;
        const char *title;
        const char *expected;
    } cases[] = {{"Firefox", "firefox downloads", "firefox downloads"},
                 {"Visual Studio Code", "Code review notes", "Code review notes"},
                 {"Ёлка", "Елка игрушки", "Елка игрушки"},
                 {"Dock", "Pull request review", "Pull request review"},
                 {"screencaptureui", "Pull request review", "Pull request review"}};
    for (const auto &c : cases)
        EXPECT_EQ(AINamer::withAppPrefix(QString::fromUtf8(c.title), AINamer::cleanAppName(QString::fromUtf8(c.app)))
                      .toStdString(),
                  std::string(c.expected));
}

TEST_F(AINamerTest, TranslationsAreCleanedAndCountOnlyInTheWantedLanguage)
{
    server.serveOllama({textModel()});
    // A "translation" still in English leaves the English title, marked as not in the wanted language.
    for (const auto &[translation, expected] :
         {std::pair{"Перевод: «Обзор запроса на слияние».\nЭто перевод.",
                    AINameResult{u"Обзор запроса на слияние"_qs, u"ru"_qs, false}},
          std::pair{"Pull request review", AINameResult{u"Pull request review"_qs, u"en"_qs, true}}}) {
        server.enqueue(chatPath, answer(u"summary"_qs, u"Pull request review"_qs));
        server.enqueue(chatPath, answer(u"translation"_qs, QString::fromUtf8(translation)));
        EXPECT_EQ(titleOf(suggest(englishScreen, NameLanguage::ru)), expected);
    }
}

TEST_F(AINamerTest, PrewarmKeepsOneSessionPerLanguage)
{
    server.serveOllama({visionModel({u"en"_qs, u"ru"_qs})});
    server.setDefault(chatPath, ModelServerDouble::ollamaAnswer(QString()));
    const auto warmUps = [this] { return server.requests(chatPath).size() - chats(server).size(); };

    runTask(namer.prewarm(u"ru"_qs));
    EXPECT_EQ(namer.warmLanguage(), u"ru"_qs);
    runTask(namer.prewarm(u"ru"_qs));
    EXPECT_EQ(warmUps(), 1);
    // A screenshot named in another language leaves it for the one that wants it.
    server.enqueue(chatPath, answer(u"name"_qs, u"Pull request review"_qs));
    EXPECT_EQ(titleOf(suggestWithPicture(englishScreen)).title, u"Pull request review"_qs);
    EXPECT_EQ(namer.warmLanguage(), u"ru"_qs);

    // A language the model does not write warms English.
    runTask(namer.prewarm(u"de"_qs));
    EXPECT_EQ(namer.warmLanguage(), u"en"_qs);
    EXPECT_EQ(warmUps(), 2);

    // The warm session serves one screenshot.
    server.enqueue(chatPath, answer(u"name"_qs, u"Pull request review"_qs));
    EXPECT_EQ(titleOf(suggestWithPicture(englishScreen)).title, u"Pull request review"_qs);
    EXPECT_EQ(namer.warmLanguage(), std::nullopt);
    EXPECT_EQ(systemOf(chats(server).last()), AINamer::visionInstructions(u"en"_qs));
}

TEST_F(AINamerTest, APrewarmWaitingForTheLoadNeverHoldsUpACall)
{
    server.serveOllama({textModel()});
    // The load answers after two seconds; the call's own request at once.
    server.setHandler(chatPath, [](const ModelServerDouble::Request &request) {
        if (!request.json().value(QLatin1String("messages")).toArray().isEmpty())
            return answer(u"summary"_qs, u"Pull request review"_qs);
        ModelServerDouble::Response loaded = ModelServerDouble::ollamaAnswer(QString());
        loaded.delay = std::chrono::seconds(2);
        return loaded;
    });
    QCoro::Task<void> warming = namer.prewarm(u"en"_qs);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(titleOf(suggest(englishScreen)).title, u"Pull request review"_qs);
    EXPECT_LT(clock.elapsed(), 1500);
    runTask(std::move(warming));
}

QCoro::Task<std::pair<AINamerResult, AINamerResult>> together(QCoro::Task<AINamerResult> first,
                                                              QCoro::Task<AINamerResult> second)
{
    AINamerResult a = co_await std::move(first);
    AINamerResult b = co_await std::move(second);
    co_return std::pair{std::move(a), std::move(b)};
}

TEST_F(AINamerTest, CallsOfOneConnectionTakeTurns)
{
    server.serveOllama({textModel()});
    QElapsedTimer clock;
    clock.start();
    QList<qint64> arrivals;
    server.setHandler(chatPath, [&](const ModelServerDouble::Request &) {
        arrivals.append(clock.elapsed());
        ModelServerDouble::Response response = answer(u"summary"_qs, u"Pull request review"_qs);
        if (arrivals.size() == 1)
            response.delay = std::chrono::milliseconds(300);
        return response;
    });

    const auto [first, second] = runTask(together(call(englishScreen), call(englishScreen)));
    EXPECT_EQ(titleOf(first).title, u"Pull request review"_qs);
    EXPECT_EQ(titleOf(second).title, u"Pull request review"_qs);
    ASSERT_EQ(arrivals.size(), 2);
    EXPECT_GE(arrivals[1] - arrivals[0], 300);
}

} // namespace
