// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "FolderListModel.h"

#include "RowSync.h"

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

    RowSync::apply(*this, m_rows, wanted, [](const Row &row) { return row.folder.id; });
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
