// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "NamingLanguage.h"

#include <QLocale>

namespace NamingLanguage {

bool isCyrillicScript(const QString &code)
{
    static const QStringList codes = {u"ru"_qs, u"uk"_qs, u"be"_qs, u"bg"_qs, u"kk"_qs, u"sr"_qs, u"mk"_qs};
    return codes.contains(code);
}

QString wanted(NameLanguage requested, const ScreenshotFeatures &features, const QString &interfaceCode,
               const ModelStatus &status)
{
    switch (requested) {
    case NameLanguage::ru:
        return u"ru"_qs;
    case NameLanguage::en:
        return u"en"_qs;
    case NameLanguage::automatic:
        break;
    }
    if (features.language) {
        const QString &screen = *features.language;
        if (screen == u"ru" || screen == u"en" || status.supports(screen))
            return screen;
    }
    return interfaceCode;
}

QString output(const QString &wanted, const ModelStatus &status)
{
    return status.supports(wanted) ? wanted : u"en"_qs;
}

QString actual(const QString &title, const QString &expected)
{
    const double share = ScreenshotFeatures::cyrillicShare(title);
    if (share >= 0.5 && !isCyrillicScript(expected))
        return u"ru"_qs;
    if (share < 0.2 && isCyrillicScript(expected))
        return u"en"_qs;
    return expected;
}

std::optional<QString> other(const QString &language, const ScreenshotFeatures &features)
{
    if (features.language && *features.language != language)
        return *features.language;
    const double share = ScreenshotFeatures::cyrillicShare(features.allText());
    if (isCyrillicScript(language) && share <= 0.85)
        return u"en"_qs;
    if (!isCyrillicScript(language) && share >= 0.15)
        return u"ru"_qs;
    return std::nullopt;
}

QString englishName(const QString &code)
{
    const QLocale locale(code);
    // An unknown code yields the C locale; a code that only names a script or region is no language either.
    if (locale.language() == QLocale::C || locale.language() == QLocale::AnyLanguage ||
        QLocale::languageToCode(locale.language()) != code)
        return code;
    return QLocale::languageToString(locale.language());
}

} // namespace NamingLanguage
