// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// Finds the texts a program's sources look up and checks them against that program's English and Russian tables.
// Each check returns its problems, one line each.
namespace L10nTableCheck {

using Table = QHash<QString, QString>;

struct KeyUse
{
    QString key;
    bool plural = false;
    QString file;
};

// Literal keys passed to L(...) or LPlural(...), bare or in QStringLiteral, in every .cpp, .h and .qml below root.
QList<KeyUse> scanSources(const QString &root);
QList<KeyUse> scanText(const QString &text, const QString &file);
// A table read from a JSON file or resource; empty when it cannot be read.
Table loadTable(const QString &path);
// Keys the sources use that a table lacks, including missing plural forms.
QStringList missingKeys(const QList<KeyUse> &uses, const Table &en, const Table &ru);
// Keys present in one table only; plural keys count once, whatever their forms.
QStringList unpairedKeys(const Table &en, const Table &ru);
// Keys whose texts use different placeholders (%1, %2, ...) in the two tables.
QStringList placeholderMismatches(const Table &en, const Table &ru);

} // namespace L10nTableCheck
