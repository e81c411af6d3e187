// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "ToolScreenshotNames.h"

#include "IcuRegex.h"
#include "ScreenshotDetector.h"

#include <memory>
#include <vector>

namespace ToolScreenshotNames {
namespace {

struct ToolPattern
{
    std::unique_ptr<IcuRegex> regex;
    bool utc = false;
};

QString alternatives(const QStringList &words)
{
    QStringList escaped;
    for (const QString &word : words)
        escaped.append(IcuRegex::escape(word));
    return QStringLiteral("(?:") + escaped.join(u'|') + u')';
}

const QString isoDate = QStringLiteral(R"((?<y>\d{4})-(?<mo>\d{2})-(?<d>\d{2}))");
const QString dashedTime = QStringLiteral(R"((?<h>\d{2})-(?<mi>\d{2})-(?<s>\d{2}))");
const QString compactDate = QStringLiteral(R"((?<y>\d{4})(?<mo>\d{2})(?<d>\d{2}))");
const QString compactTime = QStringLiteral(R"((?<h>\d{2})(?<mi>\d{2})(?<s>\d{2}))");

const std::vector<ToolPattern> &patterns()
{
    static const std::vector<ToolPattern> compiled = [] {
        // GNOME Shell appends "-1" on a collision, gnome-screenshot " - 1".
        const QString gnomeSuffix = QStringLiteral(R"((?:-\d+|\s-\s\d+)?)");
        const QString translatedScreenshot =
            alternatives(QStringList{QStringLiteral("Screenshot")} + ScreenshotDetector::knownPrefixes());
        const QString xfcePrefixes = alternatives({QStringLiteral("Screenshot"), QStringLiteral("Bildschirmfoto"),
                                                   QStringLiteral("Capture d’écran"), QStringLiteral("Capture d'écran"),
                                                   QStringLiteral("Снимок экрана")});
        const struct
        {
            QString pattern;
            bool utc;
        } sources[] = {
            // GNOME Shell and gnome-screenshot: "Screenshot from 2024-01-15 10-42-17", "Screenshot From …" (47+).
            {u'^' + alternatives(gnomePrefixes()) + QStringLiteral(R"(\s*)") + isoDate + u' ' + dashedTime +
                 gnomeSuffix + u'$',
             false},
            // gnome-screenshot in Chinese puts the date first.
            {u'^' + isoDate + u' ' + dashedTime + QStringLiteral(R"(\s*(?:屏幕截图|截图))") + gnomeSuffix + u'$',
             false},
            // Spectacle: "Screenshot_20240115_104217".
            {u'^' + translatedScreenshot + u'_' + compactDate + u'_' + compactTime + QStringLiteral(R"((?:-\d+)?$)"),
             false},
            // XFCE Screenshooter: "Screenshot_2024-01-15_10-42-17".
            {u'^' + xfcePrefixes + u'_' + isoDate + u'_' + dashedTime + QStringLiteral(R"((?:-\d+)?$)"), false},
            // ksnip: "ksnip_20240115-104217", "ksnip_20240115-104217(2)".
            {QStringLiteral("^ksnip_") + compactDate + u'-' + compactTime + QStringLiteral(R"((?:\s?\(\d+\))?$)"),
             false},
            // grim: "20240115_10h42m17s_grim".
            {u'^' + compactDate + QStringLiteral(R"(_(?<h>\d{2})h(?<mi>\d{2})m(?<s>\d{2})s_grim$)"), false},
            // Older grim wrote UTC: "2024-01-15T10:42:17Z_grim".
            {u'^' + isoDate + QStringLiteral(R"(T(?<h>\d{2}):(?<mi>\d{2}):(?<s>\d{2})Z_grim$)"), true},
            // Deepin: "Screenshot_20240115104217", "Screenshot_<window title>_20240115104217".
            {u'^' + translatedScreenshot + QStringLiteral("(?:_.{1,200}?)?_") + compactDate + compactTime + u'$',
             false},
            // Flameshot: "2024-01-15_10-42", "2024-01-15_10-42_1" (minutes only).
            {u'^' + isoDate + QStringLiteral(R"(_(?<h>\d{2})-(?<mi>\d{2})(?:_\d+)?$)"), false},
        };
        std::vector<ToolPattern> result;
        for (const auto &source : sources)
            result.push_back({std::make_unique<IcuRegex>(source.pattern), source.utc});
        return result;
    }();
    return compiled;
}

int number(const IcuRegex &regex, const IcuRegex::Match &match, const char *name)
{
    const int index = regex.groupIndex(name);
    return index < 0 ? 0 : match.group(index).toInt();
}

} // namespace

const QStringList &gnomePrefixes()
{
    static const QStringList prefixes{
        QStringLiteral("Screenshot from"),
        QStringLiteral("Bildschirmfoto vom"),
        QStringLiteral("Capture d’écran du"),
        QStringLiteral("Capture d'écran du"),
        QStringLiteral("Captura desde"),
        QStringLiteral("Снимок экрана от"),
        QStringLiteral("Zrzut ekranu z"),
        QStringLiteral("Schermafdruk van"),
        QStringLiteral("截图"),
    };
    return prefixes;
}

bool matches(const QString &stem)
{
    for (const ToolPattern &pattern : patterns()) {
        if (pattern.regex->matches(stem))
            return true;
    }
    return false;
}

std::optional<DateTime> dateTime(const QString &stem)
{
    for (const ToolPattern &pattern : patterns()) {
        const auto match = pattern.regex->matchWhole(stem);
        if (!match)
            continue;
        const IcuRegex &regex = *pattern.regex;
        return DateTime{number(regex, *match, "y"),
                        number(regex, *match, "mo"),
                        number(regex, *match, "d"),
                        number(regex, *match, "h"),
                        number(regex, *match, "mi"),
                        number(regex, *match, "s"),
                        pattern.utc};
    }
    return std::nullopt;
}

bool matchesAnyPrefixShape(const QString &stem)
{
    static const IcuRegex shape(
        QStringLiteral(R"(^(?:.{1,40}?[\s_]*\d{4}-\d{2}-\d{2}[ _]\d{2}-\d{2}-\d{2}(?:-\d+|\s-\s\d+)?)"
                       R"(|\d{4}-\d{2}-\d{2} \d{2}-\d{2}-\d{2}.{1,40}?)$)"));
    return shape.matches(stem);
}

} // namespace ToolScreenshotNames
