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
using Response = ModelServerDouble::Response;

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

// Two lines that are not one block, so the first stands alone as a heading.
ScreenshotFeatures russianHeading()
{
    ScreenshotFeatures features = screen(u"ru"_qs, {"Параметры адаптера сети", "Подключение по локальной сети"});
    features.lines[1].left = 0.5;
    return features;
}

const QString overflow = u"the input length exceeds the context length"_qs;

// Scripted answers: a summary, a picture's name, a translation, a model error.
const auto S = [](const char *text) { return answer(u"summary"_qs, QString::fromUtf8(text)); };
const auto N = [](const char *text) { return answer(u"name"_qs, QString::fromUtf8(text)); };
const auto T = [](const char *text) { return answer(u"translation"_qs, QString::fromUtf8(text)); };
const auto E = [](int status, const QString &message) { return ModelServerDouble::ollamaError(status, message); };

AINamerResult titled(const char *title, const char *language = "en", bool fallback = false)
{
    return AINameResult{QString::fromUtf8(title), QString::fromUtf8(language), fallback};
}
using Case = AINamerError::Case;
const auto failed = [](Case kind, const QString &message = {}) -> AINamerResult {
    return AINamerError{kind, {}, message};
};

QImage picture()
{
    QImage image(640, 400, QImage::Format_RGB32);
    image.fill(Qt::darkBlue);
    return image;
}

QCoro::Task<AINamerResult> call(ModelServerDouble &server, AINamer &namer, const ScreenshotFeatures &features,
                                NameLanguage language = NameLanguage::automatic,
                                std::optional<QString> app = std::nullopt, QImage image = {})
{
    const ModelStatus status = runTask(ModelProbe::read(environmentFor(server)));
    return namer.suggest(status, features, ModelImage::encode(image), language, u"en"_qs, std::move(app), ample());
}

class AINamerTest : public testing::Test
{
protected:
    void SetUp() override { L10n::apply(InterfaceLanguage::en); }

    AINamerResult suggest(const ScreenshotFeatures &features, NameLanguage language = NameLanguage::automatic,
                          std::optional<QString> app = std::nullopt, QImage image = {})
    {
        return runTask(call(server, namer, features, language, std::move(app), std::move(image)));
    }
    void enqueue(std::initializer_list<Response> answers)
    {
        for (const Response &response : answers)
            server.enqueue(chatPath, response);
    }

    ModelServerDouble server;
    AINamer namer{environmentFor(server)};
};

TEST_F(AINamerTest, AnswersBecomeTitlesOrErrors)
{
    const auto txt = textModel(), vis = visionModel(), englishOnly = textModel({u"en"_qs});
    const ScreenshotFeatures &eng = englishScreen, lng = longEnglishScreen();
    const NameLanguage A = NameLanguage::automatic, EN = NameLanguage::en, RU = NameLanguage::ru;
    const QString crashed = u"runner crashed"_qs, busy = u"busy"_qs;
    const char *net = "Network adapter settings", *ru = "Настройки сетевого адаптера";
    const char *heading = "Параметры адаптера сети", *covering = "Параметров адаптеров сети";
    const struct
    {
        ModelServerDouble::OllamaModel model;
        ScreenshotFeatures features;
        NameLanguage language;
        bool withPicture;
        AINamerResult expected;
        qsizetype asked; // -1: not counted
        QList<Response> answers;
    } cases[] = {
        // Text: an answer not on the screen gets one strict retry; one content word of three is enough.
        {txt, eng, A, false, titled("Feature branch review"), 2, {S("Mountain lake"), S("Feature branch review")}},
        {txt, eng, A, false, failed(Case::ungrounded), 2, {S("Mountain lake"), S("Snowy mountain cabin")}},
        {txt, eng, A, false, titled("Review of holiday photos"), 1, {S("Review of holiday photos")}},
        {txt, eng, A, false, failed(Case::generation, crashed), -1, {E(500, crashed)}},
        {txt, eng, A, false, failed(Case::emptyAnswer), -1, {S("The image of the")}},
        // Too little text and a model that cannot see the picture: it is not asked.
        {txt, screen(u"en"_qs, {"Hi", "Open it"}), EN, true, failed(Case::nothingToDescribe), 0, {}},
        {txt, eng, EN, true, titled("Pull request review"), 1, {S("Pull request review")}},
        // A context overflow twice is passed on as the model said it; a busy model stays busy.
        {txt, lng, A, false, failed(Case::model, overflow), 2, {E(400, overflow), E(400, overflow)}},
        {txt, lng, A, false, failed(Case::busy, busy), 2, {E(400, overflow), E(429, busy)}},
        // Pictures: an answer not on the screen wins over a later model error, the last error over empty answers,
        // and a busy model ends the attempts; without text any clean answer is taken.
        {vis, eng, EN, true, failed(Case::ungrounded), 3, {N("Mountain lake"), E(500, crashed), N("and the")}},
        {vis, eng, EN, true, failed(Case::model, crashed), 3, {N("and the"), N("and the"), E(500, crashed)}},
        {vis, eng, EN, true, failed(Case::busy, busy), 1, {E(503, busy)}},
        {vis, screen(std::nullopt, {}), EN, true, titled("Mountain lake"), 1, {N("Mountain lake")}},
        // Foreign screens: the title is translated (checked, then kept), or the screen's own heading wins when
        // the translation covers enough of its stems; a translation still in English keeps the English title.
        {txt, russianScreen(3), A, false, titled(ru, "ru"), 3, {S(net), T(ru), T(ru)}},
        {txt, russianHeading(), A, false, titled(heading, "ru"), 3, {S(net), T(covering), T(covering)}},
        {txt,
         eng,
         RU,
         false,
         titled("Обзор запроса на слияние", "ru"),
         2,
         {S("Pull request review"), T("Перевод: «Обзор запроса на слияние».\nЭто перевод.")}},
        {txt,
         eng,
         RU,
         false,
         titled("Pull request review", "en", true),
         2,
         {S("Pull request review"), T("Pull request review")}},
        // A model that writes only English trusts a long foreign screen; seven lines are too few.
        {englishOnly, russianScreen(8), A, false, titled(net, "en", true), 1, {S(net)}},
        {englishOnly, russianScreen(7), A, false, failed(Case::ungrounded), 2, {S(net), S(net)}},
    };
    int row = 0;
    for (const auto &c : cases) {
        ModelServerDouble server;
        server.serveOllama({c.model});
        for (const Response &response : c.answers)
            server.enqueue(chatPath, response);
        AINamer namer(environmentFor(server));
        const QImage image = c.withPicture ? picture() : QImage();
        EXPECT_EQ(runTask(call(server, namer, c.features, c.language, std::nullopt, image)), c.expected) << row;
        for (const QJsonObject &chat : chats(server))
            EXPECT_EQ(hasImage(chat), c.withPicture && c.model.capabilities.contains(u"vision"_qs)) << row;
        EXPECT_TRUE(c.asked < 0 || chats(server).size() == c.asked) << row << ": " << chats(server).size();
        ++row;
    }
}

TEST_F(AINamerTest, TextRequestsCarryTheAppTheScreenAndTheirBudget)
{
    server.serveOllama({textModel()});
    enqueue({S("Screenshot of Pull request review. Then more.")});
    EXPECT_EQ(suggest(englishScreen, NameLanguage::en, u"Firefox"_qs), titled("Firefox Pull request review"));
    QList<QJsonObject> sent = chats(server);
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(fieldOf(sent[0]), u"summary"_qs);
    // The model reads what belongs in the field, not only the decoder.
    EXPECT_TRUE(schemaOf(sent[0]).contains(u"3 to 5 words. A summary of the entire content, never a copy"_qs));
    EXPECT_TRUE(systemOf(sent[0]).endsWith(u"passwords.\n- Answer in English, with the summary only."_qs));
    EXPECT_EQ(promptOf(sent[0]), u"App in front when the screenshot was taken: Firefox\n"
                                 u"Text recognized on the screen, top to bottom:\n"
                                 u"Pull request review\nMerge feature branch into main\nFiles changed\n"
                                 u"Conversation with reviewers\nApprove changes\n"
                                 u"\nDescribe this screenshot."_qs);

    // The strict retry asks for the screen's own words; an overflowing context gets a shorter text.
    server.clearRequests();
    enqueue({S("Mountain lake at sunset"), S("Feature branch review")});
    suggest(englishScreen);
    const ScreenshotFeatures features = longEnglishScreen();
    enqueue({E(400, overflow), S("Pull request review")});
    EXPECT_EQ(suggest(features), titled("Pull request review"));
    sent = chats(server);
    ASSERT_EQ(sent.size(), 4);
    EXPECT_EQ(promptOf(sent[1]), AINamer::prompt(englishScreen, std::nullopt, 1300) +
                                     u" Use only words that are written in the text above."_qs);
    EXPECT_EQ(systemOf(sent[1]), AINamer::instructions(u"en"_qs));
    EXPECT_EQ(promptOf(sent[2]), AINamer::prompt(features, std::nullopt, 1300));
    EXPECT_EQ(promptOf(sent[3]), AINamer::prompt(features, std::nullopt, 500));
}

TEST_F(AINamerTest, PictureRequestsWalkTheTextBudgets)
{
    server.serveOllama({visionModel()});
    const ScreenshotFeatures features = longEnglishScreen();
    enqueue({E(400, overflow), N("Mountain lake at sunset"), N("Pull request review")});
    EXPECT_EQ(suggest(features, NameLanguage::en, std::nullopt, picture()), titled("Pull request review"));
    const QList<QJsonObject> sent = chats(server);
    ASSERT_EQ(sent.size(), 3);
    EXPECT_EQ(promptOf(sent[0]), AINamer::picturePrompt(features, std::nullopt, 900, false));
    EXPECT_EQ(promptOf(sent[1]), AINamer::picturePrompt(features, std::nullopt, 400, true));
    EXPECT_EQ(promptOf(sent[2]), u"Name this screenshot."_qs);
    for (const QJsonObject &chat : sent) {
        EXPECT_EQ(fieldOf(chat), u"name"_qs);
        EXPECT_TRUE(schemaOf(chat).contains(u"What the screenshot shows, in 3 to 6 words."_qs));
        EXPECT_EQ(systemOf(chat), AINamer::visionInstructions(u"en"_qs));
    }
}

TEST_F(AINamerTest, TranslationRequestsAndTheLanguageTheModelIsToldToWrite)
{
    server.serveOllama({textModel()});
    enqueue({S("Network adapter settings"), T("Настройки сетевого адаптера"), T("Настройки сетевого адаптера")});
    suggest(russianScreen(3));
    const QList<QJsonObject> sent = chats(server);
    ASSERT_EQ(sent.size(), 3);
    EXPECT_TRUE(systemOf(sent[0]).endsWith(u"- Answer in Russian, with the summary only."_qs));
    // The grounding check, then the title itself, each translated by the same model.
    for (const QJsonObject &chat : {sent[1], sent[2]}) {
        EXPECT_EQ(fieldOf(chat), u"translation"_qs);
        EXPECT_TRUE(systemOf(chat).contains(u"from English into Russian"_qs));
        EXPECT_EQ(promptOf(chat), u"Network adapter settings"_qs);
    }
    server.clearRequests();
    server.serveOllama({textModel({u"en"_qs})});
    enqueue({S("Network adapter settings")});
    suggest(russianScreen(8));
    ASSERT_EQ(chats(server).size(), 1);
    EXPECT_TRUE(systemOf(chats(server)[0]).endsWith(u"- Answer in English, with the summary only."_qs));
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
    enqueue({N("Pull request review")});
    EXPECT_EQ(suggest(englishScreen, NameLanguage::en, std::nullopt, picture()), titled("Pull request review"));
    EXPECT_EQ(namer.warmLanguage(), u"ru"_qs);

    // A language the model does not write warms English.
    runTask(namer.prewarm(u"de"_qs));
    EXPECT_EQ(namer.warmLanguage(), u"en"_qs);
    EXPECT_EQ(warmUps(), 2);

    // The warm session serves one screenshot.
    enqueue({N("Pull request review")});
    EXPECT_EQ(suggest(englishScreen, NameLanguage::en, std::nullopt, picture()), titled("Pull request review"));
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

// Requests that ask for an answer get it at once, the second after 0.3 s; a load (a prewarm) after two seconds.
TEST_F(AINamerTest, CallsOfOneConnectionTakeTurnsAndAPrewarmNeverHoldsThemUp)
{
    server.serveOllama({textModel()});
    QElapsedTimer clock;
    clock.start();
    QList<qint64> arrivals;
    server.setHandler(chatPath, [&](const ModelServerDouble::Request &request) {
        if (request.json().value(QLatin1String("messages")).toArray().isEmpty()) {
            Response loaded = ModelServerDouble::ollamaAnswer(QString());
            loaded.delay = std::chrono::seconds(2);
            return loaded;
        }
        arrivals.append(clock.elapsed());
        Response response = S("Pull request review");
        if (arrivals.size() == 2)
            response.delay = std::chrono::milliseconds(300);
        return response;
    });
    QCoro::Task<void> warming = namer.prewarm(u"en"_qs);
    EXPECT_EQ(suggest(englishScreen), titled("Pull request review"));
    EXPECT_LT(clock.elapsed(), 1500);

    const auto [first, second] =
        runTask(together(call(server, namer, englishScreen), call(server, namer, englishScreen)));
    EXPECT_EQ(first, titled("Pull request review"));
    EXPECT_EQ(second, titled("Pull request review"));
    ASSERT_EQ(arrivals.size(), 3);
    EXPECT_GE(arrivals[2] - arrivals[1], 300);
    runTask(std::move(warming));
}

} // namespace
