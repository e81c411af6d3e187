// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "RecentRecordsModel.h"

#include "HistoryStore.h"
#include "RecordRowInfo.h"

#include <QFileInfo>

RecentRecordsModel::RecentRecordsModel(HistoryStore &history, int limit, std::function<bool(const QString &)> exists,
                                       const Clock &clock, QObject *parent)
    : QAbstractListModel(parent)
    , m_history(&history)
    , m_limit(limit)
    , m_exists(exists ? std::move(exists) : [](const QString &path) { return QFileInfo::exists(path); })
    , m_clock(clock)
{
    // The history changes a few times a minute at most; a reset keeps this model simple and always right.
    connect(&history, &QAbstractItemModel::modelReset, this, &RecentRecordsModel::reset);
    connect(&history, &QAbstractItemModel::layoutChanged, this, &RecentRecordsModel::reset);
    connect(&history, &QAbstractItemModel::rowsInserted, this, &RecentRecordsModel::reset);
    connect(&history, &QAbstractItemModel::rowsRemoved, this, &RecentRecordsModel::reset);
    connect(&history, &QAbstractItemModel::dataChanged, this, &RecentRecordsModel::reset);
    m_lastCount = count();
    m_lastTotal = total();
}

void RecentRecordsModel::setLimit(int limit)
{
    if (limit == m_limit)
        return;
    m_limit = limit;
    reset();
    Q_EMIT limitChanged();
}

int RecentRecordsModel::total() const
{
    return m_history ? m_history->count() : 0;
}

int RecentRecordsModel::count() const
{
    return m_limit < 0 ? total() : qMin(total(), m_limit);
}

void RecentRecordsModel::refresh()
{
    reset();
}

void RecentRecordsModel::reset()
{
    beginResetModel();
    endResetModel();
    if (count() != m_lastCount || total() != m_lastTotal) {
        m_lastCount = count();
        m_lastTotal = total();
        Q_EMIT countChanged();
    }
}

int RecentRecordsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant RecentRecordsModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid) || !m_history)
        return {};
    const RenameRecord &record = m_history->records().at(index.row());
    if (role == IdRole)
        return uuidText(record.id);
    if (role == FilePathRole)
        return record.filePath();
    const bool exists = m_exists(record.filePath());
    if (role == ExistsRole)
        return exists;
    const RecordRowInfo info = RecordRowInfo::make(record, exists, m_clock.now());
    switch (role) {
    case Qt::DisplayRole:
    case NameRole:
        return info.name;
    case FromRole:
        return info.fromText;
    case OriginalRole:
        return info.originalText;
    case TagRole:
        return info.tag;
    case TrailingRole:
        return info.trailing;
    case StruckRole:
        return info.struck;
    case CanUndoRole:
        return info.canUndo;
    case CanAgainRole:
        return info.canAgain;
    default:
        return {};
    }
}

QHash<int, QByteArray> RecentRecordsModel::roleNames() const
{
    return {{IdRole, "recordId"},           {NameRole, "name"},        {FromRole, "fromText"},
            {OriginalRole, "originalText"}, {TagRole, "tag"},          {TrailingRole, "trailing"},
            {StruckRole, "struck"},         {CanUndoRole, "canUndo"},  {CanAgainRole, "canAgain"},
            {ExistsRole, "exists"},         {FilePathRole, "filePath"}};
}
