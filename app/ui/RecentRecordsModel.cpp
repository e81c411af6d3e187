// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "RecentRecordsModel.h"

#include "RowSync.h"

#include "HistoryStore.h"
#include <QFileInfo>
#include <QSet>

RecentRecordsModel::RecentRecordsModel(HistoryStore &history, int limit, std::function<bool(const QString &)> exists,
                                       const Clock &clock, QObject *parent)
    : QAbstractListModel(parent)
    , m_history(&history)
    , m_limit(limit)
    , m_exists(exists ? std::move(exists) : [](const QString &path) { return QFileInfo::exists(path); })
    , m_clock(clock)
{
    // Whatever the history did (added, trimmed, updated, reloaded from disk), the rows follow by comparison.
    connect(&history, &QAbstractItemModel::modelReset, this, &RecentRecordsModel::sync);
    connect(&history, &QAbstractItemModel::layoutChanged, this, &RecentRecordsModel::sync);
    connect(&history, &QAbstractItemModel::rowsInserted, this, &RecentRecordsModel::sync);
    connect(&history, &QAbstractItemModel::rowsRemoved, this, &RecentRecordsModel::sync);
    connect(&history, &QAbstractItemModel::rowsMoved, this, &RecentRecordsModel::sync);
    connect(&history, &QAbstractItemModel::dataChanged, this, &RecentRecordsModel::sync);
    sync();
}

void RecentRecordsModel::setLimit(int limit)
{
    if (limit == m_limit)
        return;
    m_limit = limit;
    sync();
    Q_EMIT limitChanged();
}

int RecentRecordsModel::total() const
{
    return m_history ? m_history->count() : 0;
}

void RecentRecordsModel::refresh()
{
    sync();
}

void RecentRecordsModel::sync()
{
    const QList<RenameRecord> empty;
    const QList<RenameRecord> &records = m_history ? m_history->records() : empty;
    const qsizetype shown = m_limit < 0 ? records.size() : qMin<qsizetype>(records.size(), m_limit);
    const QDateTime now = m_clock.now();
    QList<Row> wanted;
    wanted.reserve(shown);
    for (qsizetype i = 0; i < shown; ++i) {
        const RenameRecord &record = records.at(i);
        const bool exists = m_exists(record.filePath());
        wanted.append(Row{record, exists, RecordRowInfo::make(record, exists, now)});
    }
    const int before = count();

    RowSync::apply(*this, m_rows, wanted, [](const Row &row) { return row.record.id; });

    if (count() != before || total() != m_lastTotal) {
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
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Row &row = m_rows.at(index.row());
    if (role == IdRole)
        return uuidText(row.record.id);
    if (role == FilePathRole)
        return row.record.filePath();
    if (role == ExistsRole)
        return row.exists;
    const RecordRowInfo &info = row.info;
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
