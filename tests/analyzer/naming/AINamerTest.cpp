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

const QString overflow = u"the input length exceeds the context length"_qs;

class AINamerTest : public testing::Test
{
protected:
    void SetUp() override { L10n::apply(InterfaceLanguage::en); }

    QCoro::Task<AINamerResult> call(const ScreenshotFeatures &features, NameLanguage language = NameLanguage::automatic,
                                    std::optional<QString> app = std::nullopt, bool picture = false)
    {
        QImage image;
        if (picture) {
            image = QImage(640, 400, QImage::Format_RGB32);
            image.fill(Qt::darkBlue);
        }
        const ModelStatus status = runTask(ModelProbe::read(environmentFor(server)));
        return namer.suggest(status, features, ModelImage::encode(image), language, u"en"_qs, std::move(app), ample());
    }
    AINamerResult suggest(const ScreenshotFeatures &features, NameLanguage language = NameLanguage::automatic,
                          std::optional<QString> app = std::nullopt)
    {
        return runTask(call(features, language, std::move(app)));
    }
    AINamerResult suggestWithPicture(const ScreenshotFeatures &f)
    {
        return runTask(call(f, NameLanguage::en, {}, true));
    }

    // Scripts the next answers, each a record with `field`.
    void enqueue(const char *field, std::initializer_list<const char *> answers)
    {
        for (const char *value : answers)
            server.enqueue(chatPath, answer(QString::fromUtf8(field), QString::fromUtf8(value)));
    }
    void enqueueError(int status, const QString &message)
    {
        server.enqueue(chatPath, ModelServerDouble::ollamaError(status, message));
    }

    ModelServerDouble server;
    AINamer namer{environmentFor(server)};
};

const auto titleOf = alternative<AINameResult, AINamerResult>;
const auto errorOf = alternative<AINamerError, AINamerResult>;

const AINamerError ungrounded = AINamerError::of(AINamerError::Case::ungrounded);

TEST_F(AINamerTest, TextModeSendsTheFixedRequestRetriesStrictlyOnceAndReportsErrors)
{
    server.serveOllama({textModel()});
    enqueue("summary", {"Screenshot of Pull request review. Then more."});
    EXPECT_EQ(titleOf(suggest(englishScreen, NameLanguage::en, u"Firefox"_qs)),
              (AINameResult{u"Firefox Pull request review"_qs, u"en"_qs, false}));
    QList<QJsonObject> sent = chats(server);
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

    server.clearRequests();
    enqueue("summary", {"Mountain lake at sunset", "Feature branch review"});
    EXPECT_EQ(titleOf(suggest(englishScreen)).title, u"Feature branch review"_qs);
    sent = chats(server);
    ASSERT_EQ(sent.size(), 2);
    EXPECT_EQ(promptOf(sent[1]), AINamer::prompt(englishScreen, std::nullopt, 1300) +
                                     u" Use only words that are written in the text above."_qs);
    EXPECT_EQ(systemOf(sent[1]), AINamer::instructions(u"en"_qs));
    enqueue("summary", {"Mountain lake at sunset", "Snowy mountain cabin"});
    EXPECT_EQ(errorOf(suggest(englishScreen)), ungrounded);
    // One of three content words on the screen is enough for a title in the screen's language.
    enqueue("summary", {"Review of holiday photos"});
    EXPECT_EQ(titleOf(suggest(englishScreen)).title, u"Review of holiday photos"_qs);

    enqueueError(500, u"model runner crashed"_qs);
    EXPECT_EQ(errorOf(suggest(englishScreen)), AINamerError::generation(u"model runner crashed"_qs));
    enqueue("summary", {"The image of the"});
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
    enqueueError(400, overflow);
    enqueue("summary", {"Pull request review"});
    EXPECT_EQ(titleOf(suggest(features)).title, u"Pull request review"_qs);
    const QList<QJsonObject> sent = chats(server);
    ASSERT_EQ(sent.size(), 2);
    EXPECT_EQ(promptOf(sent[0]), AINamer::prompt(features, std::nullopt, 1300));
    EXPECT_EQ(promptOf(sent[1]), AINamer::prompt(features, std::nullopt, 500));

    // The shorter prompt failing too is passed on as the model said it; a busy model stays busy.
    enqueueError(400, overflow);
    enqueueError(400, overflow);
    const AINamerError twice = errorOf(suggest(features));
    EXPECT_EQ(twice.kind, AINamerError::Case::model);
    EXPECT_EQ(twice.description(), overflow);
    enqueueError(400, overflow);
    enqueueError(429, u"too many requests"_qs);
    EXPECT_EQ(errorOf(suggest(features)), AINamerError::busy(u"too many requests"_qs));
}

TEST_F(AINamerTest, PictureModeWalksTheTextBudgetsAndReportsUngroundedBeforeTheLastModelError)
{
    server.serveOllama({visionModel()});
    const ScreenshotFeatures features = longEnglishScreen();
    enqueueError(400, overflow);
    enqueue("name", {"Mountain lake at sunset", "Pull request review"});
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

    enqueue("name", {"Mountain lake at sunset"});
    enqueueError(500, u"runner crashed"_qs);
    enqueue("name", {"and the"});
    EXPECT_EQ(errorOf(suggestWithPicture(englishScreen)), ungrounded);
    enqueue("name", {"and the", "and the"});
    enqueueError(500, u"runner crashed"_qs);
    const AINamerError last = errorOf(suggestWithPicture(englishScreen));
    EXPECT_EQ(last.kind, AINamerError::Case::model);
    EXPECT_EQ(last.description(), u"runner crashed"_qs);
    // A busy model ends the attempts at once.
    server.clearRequests();
    enqueueError(503, u"server busy"_qs);
    EXPECT_EQ(errorOf(suggestWithPicture(englishScreen)), AINamerError::busy(u"server busy"_qs));
    EXPECT_EQ(chats(server).size(), 1);
}

TEST_F(AINamerTest, PictureOnlyWhenTheModelSeesIt)
{
    // Without text the picture alone decides, and any clean answer is taken.
    server.serveOllama({visionModel()});
    enqueue("name", {"Mountain lake at sunset"});
    EXPECT_EQ(titleOf(suggestWithPicture(screen(std::nullopt, {}))).title, u"Mountain lake at sunset"_qs);
    ASSERT_EQ(chats(server).size(), 1);
    EXPECT_EQ(promptOf(chats(server)[0]), u"Name this screenshot."_qs);

    server.clearRequests();
    server.serveOllama({textModel()});
    enqueue("summary", {"Pull request review"});
    EXPECT_EQ(titleOf(suggestWithPicture(englishScreen)).title, u"Pull request review"_qs);
    ASSERT_EQ(chats(server).size(), 1);
    EXPECT_FALSE(hasImage(chats(server)[0]));
}

TEST_F(AINamerTest, ForeignScreensAreTranslatedOrTrustedWhenLong)
{
    server.serveOllama({textModel({u"en"_qs, u"ru"_qs})});
    enqueue("summary", {"Network adapter settings"});
    enqueue("translation", {"Настройки сетевого адаптера", "Настройки сетевого адаптера"});
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
    enqueue("summary", {"Adapter network parameters"});
    enqueue("translation", {"Параметров адаптеров сети", "Параметров адаптеров сети"});
    EXPECT_EQ(titleOf(suggest(features)).title, u"Параметры адаптера сети"_qs);

    // A "translation" still in English leaves the English title, marked as not in the wanted language.
    enqueue("summary", {"Pull request review"});
    enqueue("translation", {"Перевод: «Обзор запроса на слияние».\nЭто перевод."});
    EXPECT_EQ(titleOf(suggest(englishScreen, NameLanguage::ru)),
              (AINameResult{u"Обзор запроса на слияние"_qs, u"ru"_qs, false}));
    enqueue("summary", {"Pull request review"});
    enqueue("translation", {"Pull request review"});
    EXPECT_EQ(titleOf(suggest(englishScreen, NameLanguage::ru)),
              (AINameResult{u"Pull request review"_qs, u"en"_qs, true}));

    // A model that writes only English cannot translate: a long foreign screen is trusted.
    server.clearRequests();
    server.serveOllama({textModel({u"en"_qs})});
    enqueue("summary", {"Network adapter settings"});
    EXPECT_EQ(titleOf(suggest(russianScreen(8))), (AINameResult{u"Network adapter settings"_qs, u"en"_qs, true}));
    ASSERT_EQ(chats(server).size(), 1);
    EXPECT_TRUE(systemOf(chats(server)[0]).endsWith(u"- Answer in English, with the summary only."_qs));
    // Seven lines are too few to trust: the strict retry runs, and fails the same way.
    server.clearRequests();
    enqueue("summary", {"Network adapter settings", "Network adapter settings"});
    EXPECT_EQ(errorOf(suggest(russianScreen(7))), ungrounded);
    EXPECT_EQ(chats(server).size(), 2);
}

TEST(AINamerPrefix, NamesTheAppUnlessTheTitleDoesOrTheAppIsTheDesktopItself)
{
    const std::pair<const char *, const char *> cases[] = {{"Firefox", "firefox downloads"},
                                                           {"Visual Studio Code", "Code review notes"},
                                                           {"Ёлка", "Елка игрушки"},
                                                           {"Dock", "Pull request review"},
                                                           {"screencaptureui", "Pull request review"}};
    for (const auto &[app, title] : cases)
        EXPECT_EQ(AINamer::withAppPrefix(QString::fromUtf8(title), AINamer::cleanAppName(QString::fromUtf8(app))),
                  QString::fromUtf8(title));
    EXPECT_EQ(AINamer::withAppPrefix(u"Pull request review"_qs, AINamer::cleanAppName(u"Firefox"_qs)),
              u"Firefox Pull request review"_qs);
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
    enqueue("name", {"Pull request review"});
    EXPECT_EQ(titleOf(suggestWithPicture(englishScreen)).title, u"Pull request review"_qs);
    EXPECT_EQ(namer.warmLanguage(), u"ru"_qs);

    // A language the model does not write warms English.
    runTask(namer.prewarm(u"de"_qs));
    EXPECT_EQ(namer.warmLanguage(), u"en"_qs);
    EXPECT_EQ(warmUps(), 2);

    // The warm session serves one screenshot.
    enqueue("name", {"Pull request review"});
    EXPECT_EQ(titleOf(suggestWithPicture(englishScreen)).title, u"Pull request review"_qs);
    EXPECT_EQ(namer.warmLanguage(), std::nullopt);
    EXPECT_EQ(systemOf(chats(server).last()), AINamer::visionInstructions(u"en"_qs));
}

QCoro::Task<std::pair<AINamerResult, AINamerResult>> together(QCoro::Task<AINamerResult> first,
                                                              QCoro::Task<AINamerResult> second)
{
    AINamerResult a = co_await std::move(first);
    AINamerResult b = co_await std::move(second);
    co_return std::pair{std::move(a), std::move(b)};
}

// Requests that asked for an answer come at once; a load (prewarm) after two seconds; the first request's answer
// after 0.3 s.
TEST_F(AINamerTest, CallsOfOneConnectionTakeTurnsAndAPrewarmNeverHoldsThemUp)
{
    server.serveOllama({textModel()});
    QElapsedTimer clock;
    clock.start();
    QList<qint64> arrivals;
    server.setHandler(chatPath, [&](const ModelServerDouble::Request &request) {
        if (request.json().value(QLatin1String("messages")).toArray().isEmpty()) {
            ModelServerDouble::Response loaded = ModelServerDouble::ollamaAnswer(QString());
            loaded.delay = std::chrono::seconds(2);
            return loaded;
        }
        arrivals.append(clock.elapsed());
        ModelServerDouble::Response response = answer(u"summary"_qs, u"Pull request review"_qs);
        if (arrivals.size() == 2)
            response.delay = std::chrono::milliseconds(300);
        return response;
    });
    QCoro::Task<void> warming = namer.prewarm(u"en"_qs);
    EXPECT_EQ(titleOf(suggest(englishScreen)).title, u"Pull request review"_qs);
    EXPECT_LT(clock.elapsed(), 1500);

    const auto [first, second] = runTask(together(call(englishScreen), call(englishScreen)));
    EXPECT_EQ(titleOf(first).title, u"Pull request review"_qs);
    EXPECT_EQ(titleOf(second).title, u"Pull request review"_qs);
    ASSERT_EQ(arrivals.size(), 3);
    EXPECT_GE(arrivals[2] - arrivals[1], 300);
    runTask(std::move(warming));
}

} // namespace
