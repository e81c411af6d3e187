// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "NameLanguage.h"

QString rawValue(NameLanguage language)
{
    switch (language) {
    case NameLanguage::automatic:
        return QStringLiteral("auto");
    case NameLanguage::ru:
        return QStringLiteral("ru");
    case NameLanguage::en:
        return QStringLiteral("en");
    }
    return {};
}

const QList<NameLanguage> &allNameLanguages()
{
    static const QList<NameLanguage> all{NameLanguage::automatic, NameLanguage::ru, NameLanguage::en};
    return all;
}

std::optional<NameLanguage> nameLanguageFromRaw(QStringView raw)
{
    for (const NameLanguage language : allNameLanguages()) {
        if (raw == rawValue(language))
            return language;
    }
    return std::nullopt;
}
