// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "Clock.h"
#include "RecordRowInfo.h"
#include "RenameRecord.h"

#include <QAbstractListModel>
#include <QList>
#include <QPointer>
#include <QtQml/qqmlregistration.h>

#include <functional>

class HistoryStore;

// The newest history records as rows of the tray panel or the home tab, up to a limit, with what each row shows.
// Rows stay put: a history change inserts, moves, removes or updates only the rows it affects, so a row being
// edited, hovered or animated keeps its delegate while other screenshots are renamed.
class RecentRecordsModel : public QAbstractListModel
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the application")
    Q_PROPERTY(int limit READ limit WRITE setLimit NOTIFY limitChanged)
    Q_PROPERTY(int count READ count NOTIFY countChanged)
    Q_PROPERTY(int total READ total NOTIFY countChanged)

public:
    enum Role {
        IdRole = Qt::UserRole + 1,
        NameRole,
        FromRole,
        OriginalRole,
        TagRole,
        TrailingRole,
        StruckRole,
        CanUndoRole,
        CanAgainRole,
        ExistsRole,
        FilePathRole,
    };

    // `limit` below 0 shows every record. `exists` answers whether a file is still there.
    RecentRecordsModel(HistoryStore &history, int limit, std::function<bool(const QString &)> exists = {},
                       const Clock &clock = Clock::system(), QObject *parent = nullptr);

    int limit() const { return m_limit; }
    void setLimit(int limit);
    int count() const { return static_cast<int>(m_rows.size()); }
    // Every record of the history, shown or not.
    int total() const;

    // Reads the files' existence and the relative times again.
    Q_INVOKABLE void refresh();

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

Q_SIGNALS:
    void limitChanged();
    void countChanged();

private:
    friend class RowSync;

    struct Row
    {
        RenameRecord record;
        bool exists = false;
        RecordRowInfo info;
        friend bool operator==(const Row &, const Row &) = default;
    };

    // Brings the rows in line with the history with the fewest row changes.
    void sync();

    QPointer<HistoryStore> m_history;
    int m_limit;
    std::function<bool(const QString &)> m_exists;
    const Clock &m_clock;
    QList<Row> m_rows;
    int m_lastTotal = 0;
};
