// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AppModel.h"
#include "AppSettings.h"
#include "HistoryStore.h"
#include "Journey.h"
#include "L10n.h"
#include "MainWindowController.h"
#include "OnboardingController.h"
#include "PipelineDemoScript.h"
#include "UiController.h"

#include <QFileInfo>

namespace {

// A first start: no folder, the onboarding not done, naming from the recognised text off, no model server.
class OnboardingJourney : public Journey
{
protected:
    void seed() override
    {
        Journey::seed();
        AppSettings settings;
        settings.setFolders({});
        settings.setOnboardingDone(false);
        settings.setOcrFallback(false);
    }

    // The main window as the first start opens it, by itself.
    QQuickWindow *firstWindow()
    {
        if (!waitFor([this] {
                QQuickWindow *window = app().mainWindow().window();
                return window && window->isExposed();
            })) {
            ADD_FAILURE() << "the first start opened no window";
            return nullptr;
        }
        return app().mainWindow().window();
    }

    // The page on display, by its title.
    bool showsStep(QQuickWindow *window, const char *titleKey)
    {
        return find(window->contentItem(), QStringLiteral("stepTitle"), [titleKey](QQuickItem *title) {
                   return title->property("text").toString() == L(titleKey);
               }) != nullptr;
    }

    void next(QQuickWindow *window) { click(find(window, QStringLiteral("nextButton"))); }

    PipelineDemoScript *demoScript(QQuickWindow *window)
    {
        QQuickItem *demo = find(window, QStringLiteral("pipelineDemo"));
        return demo ? demo->findChild<PipelineDemoScript *>() : nullptr;
    }
};

TEST_F(OnboardingJourney, FirstStartWithoutAModelServerGoesThroughEveryStepAndTheFirstScreenshotIsNamed)
{
    launch();
    QQuickWindow *window = firstWindow();
    ASSERT_TRUE(window);
    ASSERT_TRUE(showsStep(window, "setup.welcome.title"));
    next(window);
    ASSERT_TRUE(showsStep(window, "demo.title"));
    next(window);
    ASSERT_TRUE(showsStep(window, "setup.folder.title"));

    // No folder: the way on stays shut, also to a click.
    QQuickItem *nextButton = find(window, QStringLiteral("nextButton"));
    EXPECT_FALSE(nextButton->isEnabled());
    click(nextButton);
    EXPECT_EQ(app().ui().onboarding()->step(), OnboardingController::folder);
    EXPECT_EQ(find(window, QStringLiteral("folderStatus"))->property("text").toString(), L("check.folder.bad"));

    const QString folder = screenshots();
    whenFileDialogChoose(folder);
    click(find(window, QStringLiteral("chooseFolderButton")));
    ASSERT_TRUE(waitFor([&] { return nextButton->isEnabled(); }));
    ASSERT_EQ(app().settings().folders().size(), 1);
    EXPECT_EQ(QFileInfo(app().settings().folders().first().path).canonicalFilePath(),
              QFileInfo(folder).canonicalFilePath());
    EXPECT_EQ(find(window, QStringLiteral("folderStatus"))->property("text").toString(), L("setup.folder.done"));

    // No model server: how to get one, and naming from the recognised text until then.
    next(window);
    ASSERT_TRUE(showsStep(window, "setup.ai.title"));
    EXPECT_TRUE(find(window, QStringLiteral("serverHelp")));
    click(find(window, QStringLiteral("ocrFallbackSwitch")));
    ASSERT_TRUE(waitFor([&] { return app().settings().ocrFallback(); }));

    next(window);
    ASSERT_TRUE(showsStep(window, "setup.lang.title"));
    next(window);
    ASSERT_TRUE(showsStep(window, "setup.finish.title"));
    // A folder and naming from the text: the page promises renames, not "nothing yet".
    EXPECT_TRUE(find(window->contentItem(), QStringLiteral("stepSubtitle"), [](QQuickItem *subtitle) {
        return subtitle->property("text").toString() == L("setup.finish.subtitle");
    }));

    // The try-it card shows the first screenshot's new name once it has one.
    const QString taken = QFileInfo(takeScreenshot(QStringLiteral("Quarterly budget review"))).fileName();
    ASSERT_TRUE(waitFor([&] { return recordFrom(taken) && !exists(taken); }, namingTimeout));
    const QString newName = QFileInfo(recordFrom(taken)->currentName).completeBaseName();
    EXPECT_TRUE(exists(recordFrom(taken)->currentName));
    EXPECT_TRUE(find(window->contentItem(), QStringLiteral("tryTitle"),
                     [&](QQuickItem *title) { return title->property("text").toString() == newName; }));

    next(window);
    ASSERT_TRUE(waitFor([&] { return !app().ui().router()->showsSetup(); }));
    EXPECT_TRUE(app().settings().onboardingDone());
    EXPECT_EQ(app().ui().router()->tab(), WindowRouter::Tab::home);
    EXPECT_TRUE(find(window, QStringLiteral("homeTab")));
}

TEST_F(OnboardingJourney, LeavingTheDemonstrationStopsItAndComingBackStartsAFreshCycle)
{
    launch();
    QQuickWindow *window = firstWindow();
    ASSERT_TRUE(window);
    next(window);
    QPointer<PipelineDemoScript> script = demoScript(window);
    ASSERT_TRUE(script);
    ASSERT_TRUE(waitFor([&] { return script && script->lit() >= 1; }));

    // The page goes with its script and the script's timer.
    click(find(window, QStringLiteral("backButton")));
    ASSERT_TRUE(showsStep(window, "setup.welcome.title"));
    EXPECT_TRUE(waitFor([&] { return !script; }));

    next(window);
    QPointer<PipelineDemoScript> again = demoScript(window);
    ASSERT_TRUE(again);
    // It starts once the page has slid in.
    ASSERT_TRUE(waitFor([&] { return again && again->isRunning(); }));
    EXPECT_EQ(again->lit(), 0);
    EXPECT_EQ(again->fileName(), PipelineDemoScript::oldName(QStringLiteral("en")));
    ASSERT_TRUE(waitFor([&] { return again && again->flash(); }));

    // Closing the window takes the whole page with it.
    closeMainWindow();
    EXPECT_TRUE(waitFor([&] { return !again; }));
}

} // namespace
