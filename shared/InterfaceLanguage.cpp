// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "InterfaceLanguage.h"

QString rawValue(InterfaceLanguage language)
{
    switch (language) {
    case InterfaceLanguage::system:
        return QStringLiteral("system");
    case InterfaceLanguage::en:
        return QStringLiteral("en");
    case InterfaceLanguage::ru:
        return QStringLiteral("ru");
    }
    return {};
}

std::optional<InterfaceLanguage> interfaceLanguageFromRaw(QStringView raw)
{
    for (const auto language : {InterfaceLanguage::system, InterfaceLanguage::en, InterfaceLanguage::ru}) {
        if (raw == rawValue(language))
            return language;
    }
    return std::nullopt;
}
