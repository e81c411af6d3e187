// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "WatchedFolder.h"

#include <QAbstractListModel>
#include <QList>
#include <QSet>
#include <QUuid>
#include <QtQml/qqmlregistration.h>

class AppSettings;

// The watched folders as rows of the settings tab and the onboarding, in stored order, with what each row shows.
// Rows stay put: adding, removing, switching or losing a folder inserts, removes or updates only its own row, so an
// open menu or a confirmation keeps its delegate.
class FolderListModel : public QAbstractListModel
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the application")
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    enum Role {
        IdRole = Qt::UserRole + 1,
        NameRole,
        PathRole,
        EnabledRole,
        UnavailableRole,
        GlyphRole,
        NoteRole,
    };

    explicit FolderListModel(const AppSettings &settings, QObject *parent = nullptr);

    int count() const { return static_cast<int>(m_rows.size()); }
    // Folders that cannot be watched now (missing, unmounted, no access), by id.
    void setUnavailable(const QSet<QUuid> &ids);

    // The name a file manager shows for a folder: its last component, or the path itself for "/".
    static QString displayName(const QString &path);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

Q_SIGNALS:
    void countChanged();

private:
    friend class RowSync;

    struct Row
    {
        WatchedFolder folder;
        bool unavailable = false;
        // Looked up in the interface language of the moment the row was built.
        QString note;
        friend bool operator==(const Row &, const Row &) = default;
    };

    // Brings the rows in line with the settings with the fewest row changes.
    void sync();

    const AppSettings &m_settings;
    QSet<QUuid> m_unavailable;
    QList<Row> m_rows;
};
