// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QList>
#include <QSet>

// Brings a list model's rows in line with the wanted ones with the fewest row changes (remove, move, insert,
// update), never a reset: views keep the delegates of rows that stay, with an open menu or a name being typed.
// A model befriends RowSync so it may send QAbstractItemModel's protected row notifications for it.
class RowSync
{
public:
    template <typename Model, typename Row, typename KeyOf>
    static void apply(Model &model, QList<Row> &rows, const QList<Row> &wanted, KeyOf keyOf)
    {
        // Rows that left go first, from the end so the indexes ahead stay valid.
        QSet<decltype(keyOf(wanted.first()))> wantedKeys;
        for (const Row &row : wanted)
            wantedKeys.insert(keyOf(row));
        for (auto i = rows.size() - 1; i >= 0; --i) {
            if (wantedKeys.contains(keyOf(rows.at(i))))
                continue;
            model.beginRemoveRows({}, static_cast<int>(i), static_cast<int>(i));
            rows.removeAt(i);
            model.endRemoveRows();
        }
        // Then each position takes its row: kept in place and updated, moved up from further down, or inserted.
        for (int i = 0; i < wanted.size(); ++i) {
            const Row &target = wanted.at(i);
            int found = -1;
            for (int j = i; j < rows.size() && found < 0; ++j) {
                if (keyOf(rows.at(j)) == keyOf(target))
                    found = j;
            }
            if (found < 0) {
                model.beginInsertRows({}, i, i);
                rows.insert(i, target);
                model.endInsertRows();
                continue;
            }
            if (found != i) {
                model.beginMoveRows({}, found, found, {}, i);
                rows.move(found, i);
                model.endMoveRows();
            }
            if (!(rows.at(i) == target)) {
                rows[i] = target;
                Q_EMIT model.dataChanged(model.index(i), model.index(i));
            }
        }
    }
};
