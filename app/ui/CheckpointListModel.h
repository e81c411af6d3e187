// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "CheckpointRow.h"

#include <QAbstractListModel>
#include <QtQml/qqmlregistration.h>

// Checklist rows for a view; replaced whole, and only when they differ.
class CheckpointListModel : public QAbstractListModel
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the application")
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    enum Role { KeyRole = Qt::UserRole + 1, TitleRole, StatusRole, DetailRole, ActionTitleRole, ActionRole };

    using QAbstractListModel::QAbstractListModel;

    void setRows(const QList<CheckpointRow> &rows);
    const QList<CheckpointRow> &rows() const { return m_rows; }
    int count() const { return static_cast<int>(m_rows.size()); }

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

Q_SIGNALS:
    void countChanged();

private:
    QList<CheckpointRow> m_rows;
};
