// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "FolderListModel.h"

#include "AppSettings.h"
#include "L10n.h"
#include "UiController.h"

#include <QFileInfo>

FolderListModel::FolderListModel(const AppSettings &settings, QObject *parent)
    : QAbstractListModel(parent)
    , m_settings(settings)
{
    connect(&settings, &AppSettings::foldersChanged, this, &FolderListModel::sync);
    // The note is a text of the interface language.
    connect(&settings, &AppSettings::interfaceLanguageChanged, this, &FolderListModel::sync);
    sync();
}

void FolderListModel::setUnavailable(const QSet<QUuid> &ids)
{
    if (ids == m_unavailable)
        return;
    m_unavailable = ids;
    sync();
}

QString FolderListModel::displayName(const QString &path)
{
    QString trimmed = path;
    while (trimmed.size() > 1 && trimmed.endsWith(u'/'))
        trimmed.chop(1);
    const QString name = QFileInfo(trimmed).fileName();
    return name.isEmpty() ? trimmed : name;
}

void FolderListModel::sync()
{
    const QList<WatchedFolder> folders = m_settings.folders();
    QList<Row> wanted;
    wanted.reserve(folders.size());
    for (const WatchedFolder &folder : folders) {
        const bool unavailable = m_unavailable.contains(folder.id);
        wanted.append(Row{folder, unavailable, unavailable ? L("folders.unavailable") : QString()});
    }
    const int before = count();

    QSet<QUuid> wantedIds;
    for (const Row &row : std::as_const(wanted))
        wantedIds.insert(row.folder.id);
    for (int i = count() - 1; i >= 0; --i) {
        if (wantedIds.contains(m_rows.at(i).folder.id))
            continue;
        beginRemoveRows({}, i, i);
        m_rows.removeAt(i);
        endRemoveRows();
    }
    for (int i = 0; i < wanted.size(); ++i) {
        const Row &target = wanted.at(i);
        int found = -1;
        for (int j = i; j < count() && found < 0; ++j) {
            if (m_rows.at(j).folder.id == target.folder.id)
                found = j;
        }
        if (found < 0) {
            beginInsertRows({}, i, i);
            m_rows.insert(i, target);
            endInsertRows();
            continue;
        }
        if (found != i) {
            beginMoveRows({}, found, found, {}, i);
            m_rows.move(found, i);
            endMoveRows();
        }
        if (!(m_rows.at(i) == target)) {
            m_rows[i] = target;
            Q_EMIT dataChanged(index(i), index(i));
        }
    }
    if (count() != before)
        Q_EMIT countChanged();
}

int FolderListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant FolderListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Row &row = m_rows.at(index.row());
    switch (role) {
    case IdRole:
        return row.folder.id.toString(QUuid::WithoutBraces);
    case Qt::DisplayRole:
    case NameRole:
        return displayName(row.folder.path);
    case PathRole:
        return UiController::displayPath(row.folder.path);
    case EnabledRole:
        return row.folder.enabled;
    case UnavailableRole:
        return row.unavailable;
    case GlyphRole:
        return row.unavailable ? QStringLiteral("folder-questionmark") : QStringLiteral("folder");
    case NoteRole:
        return row.note;
    default:
        return {};
    }
}

QHash<int, QByteArray> FolderListModel::roleNames() const
{
    return {{IdRole, "folderId"},
            {NameRole, "name"},
            {PathRole, "path"},
            {EnabledRole, "enabled"},
            {UnavailableRole, "unavailable"},
            {GlyphRole, "glyph"},
            {NoteRole, "note"}};
}
