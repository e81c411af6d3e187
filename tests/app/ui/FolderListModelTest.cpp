// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "FolderListModel.h"

#include "AppSettings.h"
#include "KeyValueStore.h"
#include "L10n.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QDir>
#include <QSignalSpy>

namespace {

WatchedFolder folder(const QString &path, bool enabled = true)
{
    WatchedFolder f;
    f.id = QUuid::createUuid();
    f.path = path;
    f.enabled = enabled;
    return f;
}

QVariant role(const FolderListModel &model, int row, FolderListModel::Role r)
{
    return model.data(model.index(row), r);
}

TEST(FolderListModelTest, RowsFollowTheFoldersInPlace)
{
    L10n::apply(InterfaceLanguage::en);
    TempDir profile;
    AppSettings settings(std::make_shared<KeyValueStore>(profile.filePath(QStringLiteral("settings.json"))));
    const WatchedFolder shots = folder(QDir::homePath() + QStringLiteral("/Pictures/Screenshots/"));
    const WatchedFolder root = folder(QStringLiteral("/"), false);
    settings.setFolders({shots});

    FolderListModel model(settings);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

    ASSERT_EQ(model.count(), 1);
    EXPECT_EQ(role(model, 0, FolderListModel::NameRole).toString(), QStringLiteral("Screenshots"));
    EXPECT_EQ(role(model, 0, FolderListModel::PathRole).toString(), QStringLiteral("~/Pictures/Screenshots/"));
    EXPECT_EQ(QUuid(role(model, 0, FolderListModel::IdRole).toString()), shots.id);
    EXPECT_EQ(role(model, 0, FolderListModel::GlyphRole).toString(), QStringLiteral("folder"));
    EXPECT_TRUE(role(model, 0, FolderListModel::NoteRole).toString().isEmpty());
    const QPersistentModelIndex first = model.index(0);

    settings.setFolders({shots, root});
    ASSERT_EQ(inserted.size(), 1);
    EXPECT_EQ(inserted.at(0).at(1).toInt(), 1);
    EXPECT_EQ(role(model, 1, FolderListModel::NameRole).toString(), QStringLiteral("/"));
    EXPECT_FALSE(role(model, 1, FolderListModel::EnabledRole).toBool());

    // Losing a folder and switching the language touch that row alone.
    model.setUnavailable({shots.id});
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(changed.at(0).at(0).toModelIndex().row(), 0);
    EXPECT_TRUE(role(model, 0, FolderListModel::UnavailableRole).toBool());
    EXPECT_EQ(role(model, 0, FolderListModel::GlyphRole).toString(), QStringLiteral("folder-questionmark"));
    EXPECT_EQ(role(model, 0, FolderListModel::NoteRole).toString(), L("folders.unavailable"));
    settings.setInterfaceLanguage(InterfaceLanguage::ru);
    EXPECT_EQ(changed.size(), 2);
    EXPECT_EQ(role(model, 0, FolderListModel::NoteRole).toString(), L("folders.unavailable"));
    settings.setInterfaceLanguage(InterfaceLanguage::en);

    WatchedFolder enabledRoot = root;
    enabledRoot.enabled = true;
    settings.setFolders({shots, enabledRoot});
    EXPECT_TRUE(role(model, 1, FolderListModel::EnabledRole).toBool());

    // Removing the first folder keeps the second row's delegate: its index only moves up.
    const QPersistentModelIndex second = model.index(1);
    settings.setFolders({enabledRoot});
    ASSERT_EQ(removed.size(), 1);
    EXPECT_EQ(removed.at(0).at(1).toInt(), 0);
    EXPECT_FALSE(first.isValid());
    EXPECT_EQ(second.row(), 0);
    EXPECT_EQ(resets.size(), 0);
}

} // namespace
