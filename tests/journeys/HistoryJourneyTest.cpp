// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AppModel.h"
#include "HistoryStore.h"
#include "Journey.h"
#include "L10n.h"
#include "Notifier.h"

#include <QFileInfo>

namespace {

using HistoryJourney = Journey;

const QString seededOriginal = QStringLiteral("Screenshot From 2026-11-12 10-42-17.png");

QString stem(const QString &fileName)
{
    return QFileInfo(fileName).completeBaseName();
}

TEST_F(HistoryJourney, RenameByHandWithEnterAndSaveAnInvalidNameAndEscape)
{
    const RenameRecord seeded = seedRecord(seededOriginal, QStringLiteral("Team meeting notes.png"));
    launch();
    QQuickWindow *window = openMainWindow();
    ASSERT_TRUE(window);
    QQuickItem *record = row(window, QStringLiteral("recordRow"), QStringLiteral("Team meeting notes"));
    ASSERT_TRUE(record);

    // Enter: the editor opens with the name selected, the typed name replaces it.
    click(find(record, QStringLiteral("recordName")));
    QQuickItem *field = find(record, QStringLiteral("recordField"));
    ASSERT_TRUE(field);
    EXPECT_TRUE(field->hasActiveFocus());
    type(window, QStringLiteral("Sprint plan"));
    press(window, Qt::Key_Return);
    ASSERT_TRUE(waitFor([&] { return exists(QStringLiteral("Sprint plan.png")); }));
    EXPECT_FALSE(exists(QStringLiteral("Team meeting notes.png")));
    std::optional<RenameRecord> renamed = recordNamed(QStringLiteral("Sprint plan.png"));
    ASSERT_TRUE(renamed);
    EXPECT_EQ(renamed->id, seeded.id);
    EXPECT_EQ(renamed->engine, NamingEngineKind::manual);
    // The same row shows the new name: nothing was rebuilt under the editor.
    EXPECT_TRUE(waitFor([&] { return !record->property("editing").toBool(); }));
    EXPECT_EQ(row(window, QStringLiteral("recordRow"), QStringLiteral("Sprint plan")), record);

    // Enter with the name unchanged closes the editor and keeps the file.
    click(find(record, QStringLiteral("recordName")));
    press(window, Qt::Key_Return);
    EXPECT_TRUE(waitFor([&] { return !record->property("editing").toBool(); }));
    EXPECT_TRUE(exists(QStringLiteral("Sprint plan.png")));

    // A name of spaces keeps the editor open with the reason; Escape leaves it and changes nothing.
    click(find(record, QStringLiteral("recordName")));
    type(window, QStringLiteral("   "));
    click(find(record, QStringLiteral("recordSaveButton")));
    QQuickItem *error = find(record, QStringLiteral("recordError"));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->property("text").toString(), L("error.invalidName"));
    EXPECT_TRUE(record->property("editing").toBool());
    press(window, Qt::Key_Escape);
    EXPECT_TRUE(waitFor([&] { return !record->property("editing").toBool(); }));
    EXPECT_TRUE(exists(QStringLiteral("Sprint plan.png")));
    EXPECT_EQ(app().history().records().first().currentName, QStringLiteral("Sprint plan.png"));

    // Save by the button.
    click(find(record, QStringLiteral("recordName")));
    type(window, QStringLiteral("Sprint plan final"));
    click(find(record, QStringLiteral("recordSaveButton")));
    ASSERT_TRUE(waitFor([&] { return exists(QStringLiteral("Sprint plan final.png")); }));
    EXPECT_EQ(app().history().records().first().currentName, QStringLiteral("Sprint plan final.png"));

    // Still answering: the settings tab opens.
    click(find(window, QStringLiteral("settingsTab")));
    EXPECT_TRUE(find(window, QStringLiteral("loginSwitch")));
}

TEST_F(HistoryJourney, ANameBeingTypedSurvivesAnotherScreenshotBeingRenamed)
{
    seedRecord(seededOriginal, QStringLiteral("Team meeting notes.png"));
    launch();
    QQuickWindow *window = openMainWindow();
    ASSERT_TRUE(window);
    QQuickItem *record = row(window, QStringLiteral("recordRow"), QStringLiteral("Team meeting notes"));
    ASSERT_TRUE(record);
    click(find(record, QStringLiteral("recordName")));
    type(window, QStringLiteral("Retro board"));

    const QString shot = QFileInfo(takeScreenshot(QStringLiteral("Quarterly budget review"))).fileName();
    ASSERT_TRUE(waitFor([&] { return recordFrom(shot).has_value(); }, namingTimeout));
    const QString named = recordFrom(shot)->currentName;
    EXPECT_TRUE(row(window, QStringLiteral("recordRow"), stem(named)));

    QQuickItem *field = find(record, QStringLiteral("recordField"));
    ASSERT_TRUE(field);
    EXPECT_EQ(field->property("text").toString(), QStringLiteral("Retro board"));
    EXPECT_TRUE(field->hasActiveFocus());
    press(window, Qt::Key_Return);
    ASSERT_TRUE(waitFor([&] { return exists(QStringLiteral("Retro board.png")); }));
    EXPECT_TRUE(exists(named));
    EXPECT_EQ(recordFrom(seededOriginal)->currentName, QStringLiteral("Retro board.png"));
}

TEST_F(HistoryJourney, UndoAndNameAgainFromTheHomeTabAndTheTrayPanel)
{
    launch();
    const QString shot = QFileInfo(takeScreenshot(QStringLiteral("Quarterly budget review"))).fileName();
    ASSERT_TRUE(waitFor([&] { return recordFrom(shot) && !exists(shot); }, namingTimeout));
    const QString named = recordFrom(shot)->currentName;
    auto isUndone = [&] {
        const std::optional<RenameRecord> record = recordFrom(shot);
        return record && record->state == RenameRecord::State::undone && exists(shot) && !exists(named);
    };
    auto isRenamed = [&] {
        const std::optional<RenameRecord> record = recordFrom(shot);
        return record && record->state == RenameRecord::State::renamed && !exists(shot) && exists(record->currentName);
    };

    QQuickWindow *window = openMainWindow();
    ASSERT_TRUE(window);
    QQuickItem *homeRow = row(window, QStringLiteral("recordRow"), stem(named));
    clickInRow(homeRow, QStringLiteral("undoButton"));
    ASSERT_TRUE(waitFor(isUndone));
    clickInRow(homeRow, QStringLiteral("againButton"));
    ASSERT_TRUE(waitFor(isRenamed, namingTimeout));
    EXPECT_EQ(app().history().count(), 1);

    QQuickWindow *panel = openPanel();
    ASSERT_TRUE(panel);
    QQuickItem *panelRow = row(panel, QStringLiteral("menuRecordRow"), stem(recordFrom(shot)->currentName));
    clickInRow(panelRow, QStringLiteral("undoButton"));
    ASSERT_TRUE(waitFor(isUndone));
    clickInRow(panelRow, QStringLiteral("againButton"));
    ASSERT_TRUE(waitFor(isRenamed, namingTimeout));
    EXPECT_EQ(app().history().count(), 1);
}

TEST_F(HistoryJourney, UndoInARenameNotificationRestoresTheFile)
{
    launch();
    const QString path = takeScreenshot(QStringLiteral("Invoice for October"));
    const QString shot = QFileInfo(path).fileName();
    ASSERT_TRUE(waitFor([&] { return recordFrom(shot) && !exists(shot); }, namingTimeout));
    const QString named = recordFrom(shot)->currentName;

    // The rename's notification offers Undo; the user picks it in the notification.
    uint notice = 0;
    ASSERT_TRUE(waitFor([&] {
        for (const RecordingNotifications::Shown &shown : desktop().notifications().shown()) {
            if (shown.actions.contains(QLatin1String(Notifier::undoAction)) && shown.body.contains(stem(named)))
                notice = shown.id;
        }
        return notice != 0;
    }));
    desktop().notifications().invokeAction(notice, QLatin1String(Notifier::undoAction));
    ASSERT_TRUE(waitFor([&] { return exists(shot) && !exists(named); }));
    EXPECT_EQ(recordFrom(shot)->state, RenameRecord::State::undone);
}

} // namespace
