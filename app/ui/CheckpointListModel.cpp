// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "CheckpointListModel.h"

void CheckpointListModel::setRows(const QList<CheckpointRow> &rows)
{
    if (rows == m_rows)
        return;
    const bool countChanges = rows.size() != m_rows.size();
    beginResetModel();
    m_rows = rows;
    endResetModel();
    if (countChanges)
        Q_EMIT countChanged();
}

int CheckpointListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant CheckpointListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const CheckpointRow &row = m_rows.at(index.row());
    switch (role) {
    case KeyRole:
        return row.key;
    case Qt::DisplayRole:
    case TitleRole:
        return row.title;
    case StatusRole:
        return rawValue(row.status);
    case DetailRole:
        return row.detail;
    case ActionTitleRole:
        return row.actionTitle;
    case ActionRole:
        return rawValue(row.action);
    default:
        return {};
    }
}

QHash<int, QByteArray> CheckpointListModel::roleNames() const
{
    return {{KeyRole, "key"},
            {TitleRole, "title"},
            {StatusRole, "status"},
            {DetailRole, "detail"},
            {ActionTitleRole, "actionTitle"},
            {ActionRole, "action"}};
}
