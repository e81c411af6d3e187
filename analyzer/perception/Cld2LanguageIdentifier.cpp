// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "Cld2LanguageIdentifier.h"

#include <compact_lang_det.h>

#include <QByteArray>

std::vector<LanguageIdentifier::Hypothesis> Cld2LanguageIdentifier::hypotheses(const QString &text) const
{
    const QByteArray utf8 = text.toUtf8();
    CLD2::Language languages[3] = {CLD2::UNKNOWN_LANGUAGE, CLD2::UNKNOWN_LANGUAGE, CLD2::UNKNOWN_LANGUAGE};
    int percents[3] = {0, 0, 0};
    int textBytes = 0;
    bool reliable = false;
    CLD2::ExtDetectLanguageSummary(utf8.constData(), static_cast<int>(utf8.size()), true, languages, percents,
                                   &textBytes, &reliable);
    std::vector<Hypothesis> result;
    for (int i = 0; i < 3; ++i) {
        if (languages[i] == CLD2::UNKNOWN_LANGUAGE) {
            continue;
        }
        QString code = QString::fromLatin1(CLD2::LanguageCode(languages[i]));
        // CLD2 keeps a few withdrawn ISO 639 codes.
        if (code == QLatin1String("iw")) {
            code = QStringLiteral("he");
        } else if (code == QLatin1String("in")) {
            code = QStringLiteral("id");
        } else if (code == QLatin1String("jw")) {
            code = QStringLiteral("jv");
        }
        result.push_back({code, reliable ? percents[i] / 100.0 : 0.0});
    }
    return result;
}
