// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "FolderListModel.h"
#include "RecentRecordsModel.h"
#include "RecordRowInfo.h"

#include "AppSettings.h"
#include "HistoryStore.h"
#include "KeyValueStore.h"
#include "L10n.h"
#include "TempDir.h"
#include "TestClock.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QDir>
#include <QSet>
#include <QSignalSpy>

namespace {

class ListModelsTest : public ::testing::Test
{
protected:
    void SetUp() override { L10n::apply(InterfaceLanguage::en); }

    RenameRecord record(int n, RenameRecord::State state = RenameRecord::State::renamed)
    {
        RenameRecord r;
        r.id = QUuid::createUuid();
        r.date = m_now.addSecs(-600);
        r.folderPath = m_dir.path();
        r.originalName = QStringLiteral("Screenshot %1.png").arg(n);
        r.currentName = QStringLiteral("Name %1.png").arg(n);
        r.state = state;
        return r;
    }

    TempDir m_dir;
    const QDateTime m_now = QDateTime(QDate(2026, 11, 12), QTime(10, 0), Qt::UTC);
};

TEST_F(ListModelsTest, RecordRowsSayWhatCanBeDone)
{
    RenameRecord renamed = record(1);
    renamed.currentName = QStringLiteral("Release notes v1.2.png");
    RecordRowInfo info = RecordRowInfo::make(renamed, true, m_now);
    EXPECT_EQ(info.name, QStringLiteral("Release notes v1.2"));
    EXPECT_EQ(info.fromText, L("history.from", QStringLiteral("Screenshot 1.png")));
    EXPECT_TRUE(info.canUndo);
    EXPECT_FALSE(info.canAgain);
    EXPECT_FALSE(info.struck);
    // A vanished file: no thumbnail, no undo, the "missing" line; the tray panel still says where it came from.
    info = RecordRowInfo::make(renamed, false, m_now);
    EXPECT_EQ(info.fromText, L("history.missing"));
    EXPECT_EQ(info.originalText, L("history.from", QStringLiteral("Screenshot 1.png")));
    EXPECT_FALSE(info.canUndo);
    EXPECT_FALSE(info.showsThumbnail);
    info = RecordRowInfo::make(record(2, RenameRecord::State::undone), true, m_now);
    EXPECT_TRUE(info.struck);
    EXPECT_EQ(info.trailing, L("history.undone"));
    EXPECT_FALSE(info.canUndo);
    EXPECT_TRUE(info.canAgain);
    EXPECT_EQ(RecordRowInfo::withoutExtension(QStringLiteral(".hidden")), QStringLiteral(".hidden"));
    EXPECT_EQ(RecordRowInfo::withoutExtension(QStringLiteral("no extension")), QStringLiteral("no extension"));
}

// Rows stay put under the views (a journey edits one while another is added): an update touches one row, and nothing
// resets the list.
TEST_F(ListModelsTest, RecentRecordsAreLimitedNewestFirstAndFollowTheHistoryInPlace)
{
    TempDir data;
    TestClock clock(m_now);
    HistoryStore history(data.path(), clock);
    QSet<QString> existing;
    RecentRecordsModel model(
        history, 4, [&existing](const QString &path) { return existing.contains(path); }, clock);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QList<RenameRecord> added;
    for (int i = 0; i < 10; ++i) {
        added.append(record(i));
        history.add(added.last());
    }
    EXPECT_EQ(model.total(), 10);
    ASSERT_EQ(model.rowCount(), 4);
    EXPECT_EQ(model.data(model.index(0), RecentRecordsModel::IdRole).toString(), uuidText(added.last().id));
    EXPECT_FALSE(model.data(model.index(0), RecentRecordsModel::CanUndoRole).toBool());
    existing.insert(added.last().filePath());
    model.refresh();
    EXPECT_TRUE(model.data(model.index(0), RecentRecordsModel::CanUndoRole).toBool());
    model.setLimit(-1);
    EXPECT_EQ(model.rowCount(), 10);
    model.setLimit(5);

    RenameRecord changed = history.records().at(2);
    changed.state = RenameRecord::State::undone;
    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);
    history.update(changed);
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(changes.first().at(0).toModelIndex().row(), 2);
    EXPECT_TRUE(model.data(model.index(2), RecentRecordsModel::StruckRole).toBool());
    history.clear();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(resets.count(), 0);
}

TEST_F(ListModelsTest, FolderRowsFollowTheFoldersInPlace)
{
    AppSettings settings(std::make_shared<KeyValueStore>(m_dir.filePath(QStringLiteral("settings.json"))));
    const WatchedFolder shots{
        QUuid::createUuid(), QDir::homePath() + QStringLiteral("/Pictures/Screenshots/"), {}, true};
    WatchedFolder root{QUuid::createUuid(), QStringLiteral("/"), {}, false};
    settings.setFolders({shots});
    FolderListModel model(settings);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    const auto role = [&](int row, FolderListModel::Role r) { return model.data(model.index(row), r); };
    ASSERT_EQ(model.count(), 1);
    EXPECT_EQ(role(0, FolderListModel::NameRole).toString(), QStringLiteral("Screenshots"));
    EXPECT_EQ(role(0, FolderListModel::PathRole).toString(), QStringLiteral("~/Pictures/Screenshots/"));
    const QPersistentModelIndex first = model.index(0);

    settings.setFolders({shots, root});
    EXPECT_EQ(role(1, FolderListModel::NameRole).toString(), QStringLiteral("/"));
    EXPECT_FALSE(role(1, FolderListModel::EnabledRole).toBool());
    // Losing a folder and switching the language touch that row alone.
    model.setUnavailable({shots.id});
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(changed.at(0).at(0).toModelIndex().row(), 0);
    EXPECT_EQ(role(0, FolderListModel::NoteRole).toString(), L("folders.unavailable"));
    settings.setInterfaceLanguage(InterfaceLanguage::ru);
    EXPECT_EQ(changed.size(), 2);
    EXPECT_EQ(role(0, FolderListModel::NoteRole).toString(), L("folders.unavailable"));
    settings.setInterfaceLanguage(InterfaceLanguage::en);
    root.enabled = true;
    settings.setFolders({shots, root});
    EXPECT_TRUE(role(1, FolderListModel::EnabledRole).toBool());

    // Removing the first folder keeps the second row's delegate: its index only moves up.
    const QPersistentModelIndex second = model.index(1);
    settings.setFolders({root});
    EXPECT_FALSE(first.isValid());
    EXPECT_EQ(second.row(), 0);
    EXPECT_EQ(resets.size(), 0);
}

} // namespace
