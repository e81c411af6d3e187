// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AppModel.h"
#include "AppSettings.h"
#include "HistoryStore.h"
#include "Journey.h"
#include "L10n.h"
#include "Notifier.h"
#include "RenderedScreen.h"
#include "UiController.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>

namespace {

// Journeys through the settings tab: each control acts on what the application does next.
class SettingsJourney : public Journey
{
protected:
    // The main window on its settings tab.
    QQuickWindow *openSettings()
    {
        QQuickWindow *window = openMainWindow();
        click(find(window, QStringLiteral("settingsTab")));
        return window;
    }

    // Scrolls to a control and clicks it.
    void use(QQuickWindow *window, const QString &objectName)
    {
        QQuickItem *item = find(window, objectName);
        reveal(item);
        click(item);
    }

    // Opens a drop-down and picks its entry `index`.
    void choose(QQuickWindow *window, const QString &box, int index)
    {
        use(window, box);
        click(find(window, box + QStringLiteral("Item") + QString::number(index)));
    }

    // Answers the confirmation on screen and waits until it has gone.
    void answer(QQuickWindow *window, bool confirm)
    {
        // A confirmation may go with the row it belongs to.
        QPointer<QQuickItem> button =
            find(window, confirm ? QStringLiteral("confirmButton") : QStringLiteral("cancelButton"));
        click(button);
        EXPECT_TRUE(waitFor([button] { return !button || !button->isVisible(); }));
    }

    QByteArray contents(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

TEST_F(SettingsJourney, EachNamingControlChangesTheNextRename)
{
    launch();
    QQuickWindow *window = openSettings();
    choose(window, QStringLiteral("dateBox"), 1); // date first
    use(window, QStringLiteral("case1"));         // lower case
    use(window, QStringLiteral("separator1"));    // dash
    // The slider's left end is a short maximum length.
    QQuickItem *slider = find(window, QStringLiteral("maxLengthSlider"));
    reveal(slider);
    const QPoint leftEnd =
        slider->mapToScene(QPointF(slider->property("leftPadding").toReal() + 1, slider->height() / 2)).toPoint();
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, leftEnd);
    ASSERT_TRUE(waitFor([&] { return app().settings().naming().maxLength <= 25; }));
    const NamingOptions naming = app().settings().naming();
    EXPECT_EQ(naming.datePosition, DatePosition::prefix);
    EXPECT_EQ(naming.letterCase, NameCase::lower);
    EXPECT_EQ(naming.separator, NameSeparator::dash);
    EXPECT_EQ(find(window, QStringLiteral("namingPreview"))->property("text").toString(),
              app().ui().settingsTab()->preview());

    const QString shot = QFileInfo(takeScreenshot(QStringLiteral("Quarterly budget review for the board"))).fileName();
    ASSERT_TRUE(waitFor([&] { return recordFrom(shot) && !exists(shot); }, namingTimeout));
    const QString named = recordFrom(shot)->currentName;
    EXPECT_TRUE(exists(named));
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("^(\\d{4}-\\d{2}-\\d{2})-([^ A-Z]+)\\.png$")).match(named);
    ASSERT_TRUE(match.hasMatch()) << named.toStdString();
    EXPECT_EQ(match.captured(1), recordFrom(shot)->date.toLocalTime().toString(QStringLiteral("yyyy-MM-dd")));
    EXPECT_LE(match.captured(2).size(), naming.maxLength) << named.toStdString();
}

TEST_F(SettingsJourney, AFolderSwitchedOffIsNotRenamedInAndRemovingItAsksFirst)
{
    launch();
    QQuickWindow *window = openSettings();
    use(window, QStringLiteral("folderSwitch0"));
    ASSERT_TRUE(waitFor([&] { return !app().settings().folders().first().enabled; }));
    const QString whileOff = QFileInfo(takeScreenshot(QStringLiteral("Written while switched off"))).fileName();

    use(window, QStringLiteral("folderSwitch0"));
    ASSERT_TRUE(waitFor([&] { return app().settings().folders().first().enabled && app().model().isWatching(); }));
    const QString afterOn = QFileInfo(takeScreenshot(QStringLiteral("Quarterly budget review"))).fileName();
    ASSERT_TRUE(waitFor([&] { return recordFrom(afterOn) && !exists(afterOn); }, namingTimeout));
    EXPECT_TRUE(exists(whileOff));
    EXPECT_FALSE(recordFrom(whileOff));

    // Removal asks; Cancel keeps the folder, Stop Watching drops it and leaves its files alone.
    use(window, QStringLiteral("folderMenuButton0"));
    click(find(window, QStringLiteral("folderRemoveItem")));
    answer(window, false);
    EXPECT_EQ(app().settings().folders().size(), 1);
    use(window, QStringLiteral("folderMenuButton0"));
    click(find(window, QStringLiteral("folderRemoveItem")));
    answer(window, true);
    ASSERT_TRUE(waitFor([&] { return app().settings().folders().isEmpty() && app().ui().folders()->count() == 0; }));
    EXPECT_TRUE(exists(whileOff));
    EXPECT_TRUE(exists(recordFrom(afterOn)->currentName));
}

TEST_F(SettingsJourney, TheTestShowsANameAndLeavesTheFileAlone)
{
    // Any image on the computer, outside the watched folders.
    const QString image = desktop().home().filePath(QStringLiteral("invoice.png"));
    ASSERT_TRUE(renderedScreen(QStringLiteral("Invoice for October")).save(image));
    launch();
    const QByteArray before = contents(image);
    QQuickWindow *window = openSettings();
    whenFileDialogChoose(image);
    use(window, QStringLiteral("aiTestButton"));
    QQuickItem *result = find(window, QStringLiteral("aiTestName"));
    ASSERT_TRUE(waitFor([&] { return result && !result->property("text").toString().isEmpty(); }, namingTimeout));
    EXPECT_TRUE(result->property("text").toString().endsWith(QStringLiteral(".png")));
    // Named from the recognised text: no model answers in the journeys.
    EXPECT_TRUE(find(window, QStringLiteral("aiTestDetail"))->property("text").toString().contains(L("tag.ocr")));
    EXPECT_TRUE(find(window, QStringLiteral("aiTestButton"))->isEnabled());
    EXPECT_EQ(contents(image), before);
    EXPECT_EQ(app().history().count(), 0);
}

TEST_F(SettingsJourney, RussianRedrawsTheWindowAtOnceAndTitlesTheNextNotificationsButtons)
{
    launch();
    QQuickWindow *window = openSettings();
    QQuickItem *tab = find(window, QStringLiteral("settingsTab"));
    choose(window, QStringLiteral("interfaceLanguageBox"), 2);
    ASSERT_TRUE(waitFor([&] { return L10n::code() == u"ru"; }));
    EXPECT_EQ(tab->property("text").toString(), QStringLiteral("Настройки"));
    EXPECT_EQ(find(window, QStringLiteral("aiTestButton"))->property("text").toString(), L("ai.test.button"));

    desktop().notifications().clear();
    const QString shot = QFileInfo(takeScreenshot(QStringLiteral("Quarterly budget review"))).fileName();
    ASSERT_TRUE(waitFor([&] { return recordFrom(shot).has_value(); }, namingTimeout));
    QStringList actions;
    ASSERT_TRUE(waitFor([&] {
        for (const RecordingNotifications::Shown &shown : desktop().notifications().shown()) {
            if (shown.actions.contains(QLatin1String(Notifier::undoAction)))
                actions = shown.actions;
        }
        return !actions.isEmpty();
    }));
    EXPECT_TRUE(actions.contains(QStringLiteral("Отменить"))) << actions.join(u' ').toStdString();
    EXPECT_TRUE(actions.contains(L("notif.reveal"))) << actions.join(u' ').toStdString();
}

TEST_F(SettingsJourney, ClearingTheHistoryAsksFirstAndEmptiesTheRecentList)
{
    seedRecord(QStringLiteral("Screenshot From 2026-11-12 10-42-17.png"), QStringLiteral("Team meeting notes.png"));
    seedRecord(QStringLiteral("Screenshot From 2026-11-12 10-43-17.png"), QStringLiteral("Sprint plan.png"));
    launch();
    QQuickWindow *window = openSettings();
    use(window, QStringLiteral("clearHistoryButton"));
    answer(window, false);
    EXPECT_EQ(app().history().count(), 2);

    use(window, QStringLiteral("clearHistoryButton"));
    answer(window, true);
    ASSERT_TRUE(waitFor([&] { return app().history().count() == 0; }));
    click(find(window, QStringLiteral("homeTab")));
    EXPECT_TRUE(waitFor([&] { return app().ui().homeRecords()->count() == 0; }));
    // The files keep their names.
    EXPECT_TRUE(exists(QStringLiteral("Team meeting notes.png")) && exists(QStringLiteral("Sprint plan.png")));
}

} // namespace
