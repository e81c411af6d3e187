// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "DesktopEntryIndex.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace {

struct Entry
{
    QString name;
    QString wmClass;
    bool hidden = false;
};

Entry readEntry(const QString &path, const QString &locale)
{
    Entry entry;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text) || file.size() > 256 * 1024)
        return entry;
    const QString language = locale.section(u'_', 0, 0);
    const QString localeKey = QStringLiteral("Name[%1]").arg(locale);
    const QString languageKey = QStringLiteral("Name[%1]").arg(language);
    QString plainName;
    QString localeName;
    QString languageName;
    bool inMainGroup = false;
    QTextStream stream(&file);
    while (!stream.atEnd()) {
        const QString line = stream.readLine().trimmed();
        if (line.startsWith(u'[')) {
            inMainGroup = line == QStringLiteral("[Desktop Entry]");
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!inMainGroup || equals <= 0)
            continue;
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        if (key == QStringLiteral("Name"))
            plainName = value;
        else if (key == localeKey)
            localeName = value;
        else if (key == languageKey)
            languageName = value;
        else if (key == QStringLiteral("StartupWMClass"))
            entry.wmClass = value;
        else if (key == QStringLiteral("Hidden"))
            entry.hidden = value == QStringLiteral("true");
    }
    entry.name = !localeName.isEmpty() ? localeName : !languageName.isEmpty() ? languageName : plainName;
    return entry;
}

} // namespace

DesktopEntryIndex DesktopEntryIndex::load(const QStringList &dataDirs, const QString &locale)
{
    DesktopEntryIndex index;
    for (const QString &dataDir : dataDirs) {
        const QString applications = dataDir + QStringLiteral("/applications");
        QDirIterator it(applications, {QStringLiteral("*.desktop")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const Entry entry = readEntry(path, locale);
            if (entry.hidden || entry.name.isEmpty())
                continue;
            // An earlier data folder overrides a later one, as the XDG rules say.
            if (!entry.wmClass.isEmpty() && !index.m_byWmClass.contains(entry.wmClass.toLower()))
                index.m_byWmClass.insert(entry.wmClass.toLower(), entry.name);
            const QString id = QFileInfo(path).completeBaseName().toLower();
            if (!index.m_byFileName.contains(id))
                index.m_byFileName.insert(id, entry.name);
            // Reverse-DNS ids ("org.gnome.Nautilus") are found by their last part as well.
            const QString lastPart = id.section(u'.', -1);
            if (lastPart != id && !index.m_byFileName.contains(lastPart))
                index.m_byFileName.insert(lastPart, entry.name);
        }
    }
    return index;
}

QStringList DesktopEntryIndex::xdgDataDirs(const QProcessEnvironment &environment, const QString &home)
{
    QStringList dirs;
    const QString dataHome = environment.value(QStringLiteral("XDG_DATA_HOME"));
    dirs.append(QDir::isAbsolutePath(dataHome) ? dataHome : home + QStringLiteral("/.local/share"));
    QStringList system = environment.value(QStringLiteral("XDG_DATA_DIRS")).split(u':', Qt::SkipEmptyParts);
    if (system.isEmpty())
        system = {QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")};
    for (const QString &dir : std::as_const(system)) {
        if (QDir::isAbsolutePath(dir))
            dirs.append(dir);
    }
    return dirs;
}

std::optional<QString> DesktopEntryIndex::displayName(const QString &instanceName, const QString &className) const
{
    for (const QString &name : {className, instanceName}) {
        if (name.isEmpty())
            continue;
        const auto it = m_byWmClass.constFind(name.toLower());
        if (it != m_byWmClass.constEnd())
            return *it;
    }
    for (const QString &name : {className, instanceName}) {
        if (name.isEmpty())
            continue;
        const auto it = m_byFileName.constFind(name.toLower());
        if (it != m_byFileName.constEnd())
            return *it;
    }
    return std::nullopt;
}
