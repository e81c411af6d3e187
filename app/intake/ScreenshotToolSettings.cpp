// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "ScreenshotToolSettings.h"

#include <QDir>
#include <QFile>
#include <QTextStream>
#include <QUrl>

#include <pwd.h>
#include <unistd.h>

#include <vector>

namespace {

// One value of an INI-style file; `section` empty matches the key in any section. Keys may carry a KDE
// "[$e]"-style suffix, which is ignored.
QString readIniValue(const QString &path, const QString &section, const QString &key)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    // Settings files are small; a huge one is not a settings file.
    if (file.size() > 1024 * 1024)
        return {};
    QTextStream stream(&file);
    QString current;
    while (!stream.atEnd()) {
        const QString line = stream.readLine().trimmed();
        if (line.isEmpty() || line.startsWith(u'#') || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            current = line.mid(1, line.size() - 2);
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (equals <= 0)
            continue;
        QString name = line.left(equals).trimmed();
        if (name.endsWith(u']') && name.contains(u'['))
            name = name.left(name.indexOf(u'[')).trimmed();
        if (name == key && (section.isEmpty() || current == section))
            return line.mid(equals + 1).trimmed();
    }
    return {};
}

QString unquote(QString value)
{
    if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"'))
        value = value.mid(1, value.size() - 2);
    return value;
}

QString trimSpacesAndTabs(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && (text.at(begin) == u' ' || text.at(begin) == u'\t'))
        ++begin;
    while (end > begin && (text.at(end - 1) == u' ' || text.at(end - 1) == u'\t'))
        --end;
    return text.mid(begin, end - begin);
}

} // namespace

ScreenshotToolSettings::ScreenshotToolSettings(QString home, QProcessEnvironment environment)
    : m_home(std::move(home))
    , m_environment(std::move(environment))
{}

ScreenshotToolSettings ScreenshotToolSettings::system()
{
    // The tools save under HOME, as the session sets it; the password database's entry is only the fallback.
    return ScreenshotToolSettings(QDir::homePath(), QProcessEnvironment::systemEnvironment());
}

QString ScreenshotToolSettings::realHomeDirectory()
{
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
    struct passwd entry
    {
    };
    struct passwd *result = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &result) == 0 && result && result->pw_dir &&
        result->pw_dir[0] != '\0')
        return QDir::cleanPath(QFile::decodeName(result->pw_dir));
    return QDir::homePath();
}

QString ScreenshotToolSettings::configHome() const
{
    const QString configured = m_environment.value(QStringLiteral("XDG_CONFIG_HOME"));
    // Relative values are invalid by the XDG rules and are ignored.
    if (QDir::isAbsolutePath(configured))
        return configured;
    return m_home + QStringLiteral("/.config");
}

QString ScreenshotToolSettings::folderFromSetting(QString value) const
{
    value = unquote(value.trimmed());
    if (value.isEmpty())
        return {};
    if (value.startsWith(QStringLiteral("file:"))) {
        value = QUrl(value).toLocalFile();
    } else if (value == u'~' || value.startsWith(QStringLiteral("~/"))) {
        value = m_home + value.mid(1);
    } else if (value == QStringLiteral("$HOME") || value.startsWith(QStringLiteral("$HOME/"))) {
        value = m_home + value.mid(5);
    }
    if (!QDir::isAbsolutePath(value))
        return {};
    return QDir::cleanPath(value);
}

QString ScreenshotToolSettings::picturesFolder() const
{
    QString pictures = folderFromSetting(m_environment.value(QStringLiteral("XDG_PICTURES_DIR")));
    if (pictures.isEmpty()) {
        const QString configured = unquote(
            readIniValue(configHome() + QStringLiteral("/user-dirs.dirs"), {}, QStringLiteral("XDG_PICTURES_DIR")));
        pictures = folderFromSetting(configured);
        // user-dirs.dirs allows paths relative to the home folder.
        if (pictures.isEmpty() && !configured.isEmpty() && !configured.startsWith(u'$'))
            pictures = QDir::cleanPath(m_home + u'/' + configured);
    }
    // A Pictures folder set to the home folder itself means the user switched it off.
    if (pictures.isEmpty() || pictures == QDir::cleanPath(m_home))
        pictures = QDir::cleanPath(m_home + QStringLiteral("/Pictures"));
    return pictures;
}

QString ScreenshotToolSettings::screenshotFolder() const
{
    const QString config = configHome();
    const QString configured[] = {
        readIniValue(config + QStringLiteral("/spectaclerc"), QStringLiteral("ImageSave"),
                     QStringLiteral("imageSaveLocation")),
        readIniValue(config + QStringLiteral("/flameshot/flameshot.ini"), QStringLiteral("General"),
                     QStringLiteral("savePath")),
        readIniValue(config + QStringLiteral("/xfce4/xfce4-screenshooter"), {}, QStringLiteral("screenshot_dir")),
        m_environment.value(QStringLiteral("XDG_SCREENSHOTS_DIR")),
    };
    for (const QString &value : configured) {
        const QString folder = folderFromSetting(value);
        if (!folder.isEmpty())
            return folder;
    }
    const QString pictures = picturesFolder();
    // GNOME translates the folder's name when it creates it.
    for (const QString &name : {QStringLiteral("Screenshots"), QStringLiteral("Снимки экрана"),
                                QStringLiteral("Bildschirmfotos"), QStringLiteral("Captures d’écran")}) {
        const QString candidate = pictures + u'/' + name;
        if (QFileInfo(candidate).isDir())
            return candidate;
    }
    return pictures;
}

std::optional<QString> ScreenshotToolSettings::customPrefix() const
{
    const QString config = configHome();
    // Spectacle writes placeholders as <yyyy>, older versions and Flameshot as %Y.
    const struct
    {
        QString file;
        QString section;
        QString key;
    } templates[] = {
        {QStringLiteral("/spectaclerc"), QStringLiteral("ImageSave"), QStringLiteral("imageFilenameTemplate")},
        {QStringLiteral("/spectaclerc"), QStringLiteral("General"), QStringLiteral("filenameString")},
        {QStringLiteral("/flameshot/flameshot.ini"), QStringLiteral("General"), QStringLiteral("filenamePattern")},
    };
    for (const auto &source : templates) {
        const QString pattern = unquote(readIniValue(config + source.file, source.section, source.key));
        if (pattern.isEmpty())
            continue;
        qsizetype end = pattern.size();
        for (const QChar placeholder : {QChar(u'<'), QChar(u'%')}) {
            const qsizetype at = pattern.indexOf(placeholder);
            if (at >= 0)
                end = std::min(end, at);
        }
        const QString prefix = trimSpacesAndTabs(pattern.left(end));
        if (!prefix.isEmpty())
            return prefix;
    }
    return std::nullopt;
}
