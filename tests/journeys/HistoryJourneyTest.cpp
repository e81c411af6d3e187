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

const QString seeded = QStringLiteral("Screenshot From 2026-11-12 10-42-17.png");

QString stem(const QString &fileName)
{
    return QFileInfo(fileName).completeBaseName();
}

TEST_F(HistoryJourney, RenameByHandWithEnterAndSaveAnInvalidNameAndEscape)
{
    seedRecord(seeded, QStringLiteral("Team meeting notes.png"));
    launch();
    QQuickWindow *window = openMainWindow();
    QQuickItem *record = row(window, QStringLiteral("recordRow"), QStringLiteral("Team meeting notes"));
    ASSERT_TRUE(record);
    const auto editing = [record] { return record->property("editing").toBool(); };

    // The editor opens with the name selected; what is typed replaces it.
    click(find(record, QStringLiteral("recordName")));
    type(window, QStringLiteral("Sprint plan"));
    press(window, Qt::Key_Return);
    ASSERT_TRUE(waitFor([&] { return exists(QStringLiteral("Sprint plan.png")) && !editing(); }));
    EXPECT_FALSE(exists(QStringLiteral("Team meeting notes.png")));
    EXPECT_EQ(recordFrom(seeded)->currentName, QStringLiteral("Sprint plan.png"));
    EXPECT_EQ(recordFrom(seeded)->engine, NamingEngineKind::manual);
    // The same row shows the new name: nothing was rebuilt under the editor.
    EXPECT_EQ(row(window, QStringLiteral("recordRow"), QStringLiteral("Sprint plan")), record);

    click(find(record, QStringLiteral("recordName")));
    press(window, Qt::Key_Return);
    EXPECT_TRUE(waitFor([&] { return !editing(); })) << "Enter with the name unchanged";

    click(find(record, QStringLiteral("recordName")));
    type(window, QStringLiteral("   "));
    click(find(record, QStringLiteral("recordSaveButton")));
    QQuickItem *error = find(record, QStringLiteral("recordError"));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->property("text").toString(), L("error.invalidName"));
    EXPECT_TRUE(editing());
    press(window, Qt::Key_Escape);
    EXPECT_TRUE(waitFor([&] { return !editing(); })) << "Escape after a refused name";
    EXPECT_EQ(recordFrom(seeded)->currentName, QStringLiteral("Sprint plan.png"));

    click(find(record, QStringLiteral("recordName")));
    type(window, QStringLiteral("Sprint plan final"));
    click(find(record, QStringLiteral("recordSaveButton")));
    ASSERT_TRUE(waitFor([&] { return exists(QStringLiteral("Sprint plan final.png")); }));
    EXPECT_FALSE(exists(QStringLiteral("Sprint plan.png")));

    // Still answering.
    click(find(window, QStringLiteral("settingsTab")));
    EXPECT_TRUE(find(window, QStringLiteral("loginSwitch")));
}

TEST_F(HistoryJourney, ANameBeingTypedSurvivesAnotherScreenshotBeingRenamed)
{
    seedRecord(seeded, QStringLiteral("Team meeting notes.png"));
    launch();
    QQuickWindow *window = openMainWindow();
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
    EXPECT_EQ(recordFrom(seeded)->currentName, QStringLiteral("Retro board.png"));
}

TEST_F(HistoryJourney, UndoAndNameAgainFromTheHomeTabAndTheTrayPanel)
{
    launch();
    const QString shot = QFileInfo(takeScreenshot(QStringLiteral("Quarterly budget review"))).fileName();
    ASSERT_TRUE(waitFor([&] { return recordFrom(shot) && !exists(shot); }, namingTimeout));
    const QString named = recordFrom(shot)->currentName;
    const auto undone = [&] {
        return recordFrom(shot)->state == RenameRecord::State::undone && exists(shot) && !exists(named);
    };
    const auto renamed = [&] {
        return recordFrom(shot)->state == RenameRecord::State::renamed && !exists(shot) && exists(named);
    };

    QQuickItem *homeRow = row(openMainWindow(), QStringLiteral("recordRow"), stem(named));
    clickInRow(homeRow, QStringLiteral("undoButton"));
    ASSERT_TRUE(waitFor(undone));
    clickInRow(homeRow, QStringLiteral("againButton"));
    ASSERT_TRUE(waitFor(renamed, namingTimeout));

    QQuickItem *panelRow = row(openPanel(), QStringLiteral("menuRecordRow"), stem(named));
    clickInRow(panelRow, QStringLiteral("undoButton"));
    ASSERT_TRUE(waitFor(undone));
    clickInRow(panelRow, QStringLiteral("againButton"));
    ASSERT_TRUE(waitFor(renamed, namingTimeout));
    EXPECT_EQ(app().history().count(), 1);
}

TEST_F(HistoryJourney, UndoInARenameNotificationRestoresTheFile)
{
    launch();
    const QString shot = QFileInfo(takeScreenshot(QStringLiteral("Invoice for October"))).fileName();
    ASSERT_TRUE(waitFor([&] { return recordFrom(shot) && !exists(shot); }, namingTimeout));
    const QString named = recordFrom(shot)->currentName;

    uint notification = 0;
    ASSERT_TRUE(waitFor([&] {
        for (const RecordingNotifications::Shown &shown : desktop().notifications().shown()) {
            if (shown.actions.contains(QLatin1String(Notifier::undoAction)) && shown.body.contains(stem(named)))
                notification = shown.id;
        }
        return notification != 0;
    }));
    desktop().notifications().invokeAction(notification, QLatin1String(Notifier::undoAction));
    ASSERT_TRUE(waitFor([&] { return exists(shot) && !exists(named); }));
    EXPECT_EQ(recordFrom(shot)->state, RenameRecord::State::undone);
}

} // namespace
