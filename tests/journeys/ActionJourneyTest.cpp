// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AppModel.h"
#include "AppSettings.h"
#include "HistoryStore.h"
#include "Journey.h"
#include "L10n.h"
#include "LoginItem.h"
#include "RenderedScreen.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QTest>

namespace {

using ActionJourney = Journey;

// Screenshots taken while renaming is paused wait for the user.
class PausedJourney : public Journey
{
    void seed() override
    {
        Journey::seed();
        AppSettings().setAutoProcessing(false);
    }
};

TEST_F(ActionJourney, PauseAndResumeFromTheHomeTabAndTheTrayPanel)
{
    launch();
    QQuickWindow *window = openMainWindow();
    QQuickItem *homeSwitch = find(window, QStringLiteral("autoProcessingSwitch"));
    click(homeSwitch);
    ASSERT_TRUE(waitFor([&] { return app().model().activity().kind() == Activity::Kind::paused; }));
    const QString whilePaused = takeScreenshot(QStringLiteral("Written while paused"));

    QQuickItem *panelSwitch = find(openPanel(), QStringLiteral("autoProcessingSwitch"));
    ASSERT_TRUE(panelSwitch);
    EXPECT_FALSE(panelSwitch->property("checked").toBool());
    click(panelSwitch);
    ASSERT_TRUE(waitFor([&] { return app().settings().autoProcessing(); }));
    EXPECT_TRUE(homeSwitch->property("checked").toBool());
    // Renaming runs again; the screenshot written while paused stays as it is.
    const QString afterResume = QFileInfo(takeScreenshot(QStringLiteral("Quarterly budget review"))).fileName();
    ASSERT_TRUE(waitFor([&] { return recordFrom(afterResume) && !exists(afterResume); }, namingTimeout));
    EXPECT_TRUE(QFileInfo::exists(whilePaused));
    EXPECT_EQ(app().history().count(), 1);

    // The other way round: paused from the panel, resumed from the home tab.
    click(find(openPanel(), QStringLiteral("autoProcessingSwitch")));
    ASSERT_TRUE(
        waitFor([&] { return !app().settings().autoProcessing() && !homeSwitch->property("checked").toBool(); }));
    window->requestActivate();
    ASSERT_TRUE(waitFor([&] { return window->isActive(); }));
    click(homeSwitch);
    EXPECT_TRUE(waitFor([&] { return app().model().activity().kind() == Activity::Kind::idle; }));
}

TEST_F(PausedJourney, RenameExistingScreenshotsAsksFirstAndCancelTouchesNothing)
{
    const QString first = takeScreenshot(QStringLiteral("Quarterly budget review"));
    const QString second = takeScreenshot(QStringLiteral("Release checklist"));
    launch();
    QQuickWindow *window = openMainWindow();

    click(find(window, QStringLiteral("processExistingButton")));
    answerMessageBox(L("cancel"));
    ASSERT_TRUE(waitFor([] { return !QApplication::activeModalWidget(); }));
    EXPECT_EQ(app().model().queuedCount(), 0);
    EXPECT_FALSE(app().model().isWorking());
    EXPECT_TRUE(QFileInfo::exists(first) && QFileInfo::exists(second));

    click(find(window, QStringLiteral("processExistingButton")));
    answerMessageBox(L("existing.confirm.button"));
    ASSERT_TRUE(waitFor(
        [&] {
            return app().history().count() == 2 && !QFileInfo::exists(first) && !QFileInfo::exists(second) &&
                   !app().model().batchRunning();
        },
        namingTimeout));
    for (const RenameRecord &record : app().history().records())
        EXPECT_TRUE(exists(record.currentName)) << record.currentName.toStdString();
}

TEST_F(ActionJourney, RenameFilesInAWritableFolderAsksOnlyForTheFiles)
{
    const QDir downloads(desktop().home().filePath(QStringLiteral("Downloads")));
    QDir().mkpath(downloads.path());
    ASSERT_TRUE(renderedScreen(QStringLiteral("Quarterly budget review")).save(downloads.filePath("budget.png")));
    ASSERT_TRUE(renderedScreen(QStringLiteral("Release checklist")).save(downloads.filePath("release.png")));
    launch();
    QQuickWindow *window = openMainWindow();

    int choosers = 0;
    QString startedIn;
    // A chooser after the first is the second prompt this journey rules out: counted and declined.
    const auto declineAnother = [&](QWidget *widget) {
        ++choosers;
        widget->close();
    };
    const auto chooseBoth = [&](QWidget *widget) {
        ++choosers;
        auto *dialog = qobject_cast<QFileDialog *>(widget);
        ASSERT_TRUE(dialog);
        startedIn = dialog->directory().absolutePath();
        auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        ASSERT_TRUE(name);
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
        // The folder is pasted (no completion list takes the Return), the names typed.
        name->setFocus();
        name->setText(downloads.path());
        QTest::keyClick(name, Qt::Key_Return);
        // The chooser lists the folder in the background; typed names select files once they show.
        auto *listing = dialog->findChild<QFileSystemModel *>();
        ASSERT_TRUE(QTest::qWaitFor([&] { return listing->rowCount(listing->index(downloads.path())) == 2; }));
        QTest::keyClicks(name, QStringLiteral("\"budget.png\" \"release.png\""));
        QTest::keyClick(name, Qt::Key_Return);
        EXPECT_FALSE(dialog->isVisible());
        whenDialog(declineAnother);
    };
    whenDialog(chooseBoth);
    click(find(window, QStringLiteral("renameFilesButton")));
    ASSERT_TRUE(waitFor(
        [&] {
            return choosers > 1 ||
                   (recordFrom(QStringLiteral("budget.png")) && recordFrom(QStringLiteral("release.png")));
        },
        namingTimeout));
    ASSERT_EQ(choosers, 1);
    EXPECT_EQ(startedIn, screenshots());
    for (const RenameRecord &record : app().history().records()) {
        EXPECT_EQ(record.folderPath, downloads.path());
        EXPECT_TRUE(downloads.exists(record.currentName) && !downloads.exists(record.originalName));
    }
}

TEST_F(ActionJourney, StartAtLoginWritesAndRemovesTheAutostartEntry)
{
    launch();
    const QString entry = desktop().home().filePath(QStringLiteral(".config/autostart/org.zentrope.Zentrope.desktop"));
    const auto loginSwitch = [this] {
        QQuickWindow *window = openMainWindow();
        click(find(window, QStringLiteral("settingsTab")));
        return find(window, QStringLiteral("loginSwitch"));
    };

    QQuickItem *toggle = loginSwitch();
    ASSERT_TRUE(toggle);
    EXPECT_FALSE(toggle->property("checked").toBool());
    click(toggle);
    ASSERT_TRUE(waitFor([&] { return QFileInfo::exists(entry); }));
    QFile file(entry);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("Exec=" + QFile::encodeName(QCoreApplication::applicationFilePath()) + ' ' +
                                        LoginItem::loginArgument + '\n'));

    // Reopened, the switch shows the entry as it is.
    closeMainWindow();
    toggle = loginSwitch();
    ASSERT_TRUE(toggle);
    EXPECT_TRUE(toggle->property("checked").toBool());
    click(toggle);
    ASSERT_TRUE(waitFor([&] { return !QFileInfo::exists(entry); }));
    closeMainWindow();
    toggle = loginSwitch();
    ASSERT_TRUE(toggle);
    EXPECT_FALSE(toggle->property("checked").toBool());
}

} // namespace
