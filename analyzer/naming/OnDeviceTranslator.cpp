// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "OnDeviceTranslator.h"

#include "AnswerCleanup.h"
#include "NamingLanguage.h"

namespace OnDeviceTranslator {

bool isInstalled(const ModelStatus &status, const QString &from, const QString &to)
{
    return status.isAvailable() && status.supports(from) && status.supports(to);
}

QString instructions(const QString &from, const QString &to)
{
    return u"You translate short titles of screenshots from "_qs + NamingLanguage::englishName(from) + u" into "_qs +
           NamingLanguage::englishName(to) +
           u". Keep names of apps, products, people and files as they are. Answer with the translation only."_qs;
}

ModelAnswerFormat format(const QString &to)
{
    return {u"Translation"_qs, u"translation"_qs,
            u"The text translated into "_qs + NamingLanguage::englishName(to) + u'.'};
}

QCoro::Task<Translation> translate(QStringList texts, QString from, QString to, ModelStatus status,
                                   ModelEnvironment environment, ModelDeadline deadline)
{
    if (texts.isEmpty())
        co_return Translation{};
    if (!isInstalled(status, from, to))
        co_return Translation{{}, u"Translation from %1 to %2 is not supported by the local model."_qs.arg(from, to)};

    const ModelSession session(status, instructions(from, to), std::move(environment));
    const ModelAnswerFormat answerFormat = format(to);
    Translation result{texts, std::nullopt};
    for (qsizetype index = 0; index < texts.size(); ++index) {
        if (texts[index].trimmed().isEmpty())
            continue;
        const ModelAnswer answer = co_await session.respond(texts[index], answerFormat, deadline);
        if (!answer.ok())
            co_return Translation{{}, answer.error->message()};
        const QString translated = AnswerCleanup::tidyTranslation(answer.text);
        if (translated.isEmpty() || NamingLanguage::actual(translated, to) != to)
            co_return Translation{{}, u"The model did not translate \"%1\" into %2."_qs.arg(texts[index], to)};
        result.texts[index] = translated;
    }
    co_return result;
}

} // namespace OnDeviceTranslator
