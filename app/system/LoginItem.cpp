// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "LoginItem.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

QString defaultConfigHome()
{
    const QString fromEnvironment = qEnvironmentVariable("XDG_CONFIG_HOME");
    // XDG base directory rules ignore relative values.
    if (!fromEnvironment.isEmpty() && QDir::isAbsolutePath(fromEnvironment))
        return fromEnvironment;
    return QDir::homePath() + QStringLiteral("/.config");
}

// Exec values are split on spaces and interpret a few characters; a path with any of them must be quoted, with
// the quote's own escapes, and the value as a whole then takes the escapes of every desktop entry string.
QString quotedExec(const QString &program)
{
    static const QString special = QStringLiteral(" \t\n\r\"'\\><~|&;$*?#()`");
    bool needsQuotes = false;
    for (const QChar c : program)
        needsQuotes = needsQuotes || special.contains(c);
    QString argument = program;
    argument.replace(u'%', QStringLiteral("%%"));
    if (needsQuotes) {
        QString quoted;
        for (const QChar c : std::as_const(argument)) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
                quoted += u'\\';
            quoted += c;
        }
        argument = u'"' + quoted + u'"';
    }
    QString value;
    for (const QChar c : std::as_const(argument)) {
        if (c == u'\\')
            value += QStringLiteral("\\\\");
        else if (c == u'\n')
            value += QStringLiteral("\\n");
        else if (c == u'\t')
            value += QStringLiteral("\\t");
        else if (c == u'\r')
            value += QStringLiteral("\\r");
        else
            value += c;
    }
    return value;
}

} // namespace

LoginItem::LoginItem(QString configHome, QString program)
    : m_configHome(configHome.isEmpty() ? defaultConfigHome() : std::move(configHome))
    , m_program(std::move(program))
{}

QString LoginItem::entryPath() const
{
    return m_configHome + QStringLiteral("/autostart/") + QString::fromLatin1(entryName);
}

bool LoginItem::isEnabled() const
{
    const QString path = entryPath();
    if (!QFileInfo(path).isFile())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // Desktops treat Hidden=true as a deleted entry; X-GNOME-Autostart-enabled=false likewise on GNOME.
    bool inEntry = false;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (line.startsWith('['))
            inEntry = line == "[Desktop Entry]";
        else if (inEntry && (line == "Hidden=true" || line == "X-GNOME-Autostart-enabled=false"))
            return false;
    }
    return true;
}

QByteArray LoginItem::entryText(const QString &program)
{
    QByteArray text = "[Desktop Entry]\n"
                      "Type=Application\n"
                      "Name=Zentrope\n"
                      "Icon=org.zentrope.Zentrope\n";
    text += "Exec=" + quotedExec(program).toUtf8() + ' ' + loginArgument + '\n';
    text += "Terminal=false\n"
            "X-GNOME-Autostart-enabled=true\n";
    return text;
}

std::optional<QString> LoginItem::set(bool enabled) const
{
    const QString path = entryPath();
    if (!enabled) {
        if (!QFileInfo::exists(path))
            return std::nullopt;
        QFile file(path);
        if (!file.remove())
            return file.errorString();
        return std::nullopt;
    }
    if (isEnabled())
        return std::nullopt;
    // A folder that cannot be made shows up as the save file's error.
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QString program = m_program.isEmpty() ? QCoreApplication::applicationFilePath() : m_program;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    file.write(entryText(program));
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}
