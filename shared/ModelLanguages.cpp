// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "ModelLanguages.h"

#include <QJsonArray>

namespace {
struct Family
{
    // Lower-case fragments of a name, family or architecture; the first rule with a matching fragment wins.
    QStringList fragments;
    QStringList languages;
};

const QList<Family> &families()
{
    static const QList<Family> table = {
        {{QStringLiteral("qwen")},
         {QStringLiteral("en"), QStringLiteral("zh"), QStringLiteral("ru"), QStringLiteral("de"), QStringLiteral("fr"),
          QStringLiteral("es"), QStringLiteral("pt"), QStringLiteral("it"), QStringLiteral("ja"), QStringLiteral("ko"),
          QStringLiteral("vi"), QStringLiteral("th"), QStringLiteral("ar")}},
        {{QStringLiteral("gemma3"), QStringLiteral("gemma-3"), QStringLiteral("gemma 3")},
         {QStringLiteral("en"), QStringLiteral("ru"), QStringLiteral("uk"), QStringLiteral("de"), QStringLiteral("fr"),
          QStringLiteral("es"), QStringLiteral("pt"), QStringLiteral("it"), QStringLiteral("nl"), QStringLiteral("pl"),
          QStringLiteral("tr"), QStringLiteral("ja"), QStringLiteral("ko"), QStringLiteral("zh"), QStringLiteral("ar"),
          QStringLiteral("hi")}},
        {{QStringLiteral("mistral-small"), QStringLiteral("mistral3"), QStringLiteral("mistral-3"),
          QStringLiteral("magistral"), QStringLiteral("ministral")},
         {QStringLiteral("en"), QStringLiteral("fr"), QStringLiteral("de"), QStringLiteral("es"), QStringLiteral("it"),
          QStringLiteral("pt"), QStringLiteral("ru"), QStringLiteral("uk"), QStringLiteral("pl"), QStringLiteral("nl"),
          QStringLiteral("tr"), QStringLiteral("ja"), QStringLiteral("ko"), QStringLiteral("zh"), QStringLiteral("ar"),
          QStringLiteral("hi")}},
        {{QStringLiteral("mistral-nemo"), QStringLiteral("nemo")},
         {QStringLiteral("en"), QStringLiteral("fr"), QStringLiteral("de"), QStringLiteral("es"), QStringLiteral("it"),
          QStringLiteral("pt"), QStringLiteral("zh"), QStringLiteral("ja"), QStringLiteral("ko"), QStringLiteral("ar"),
          QStringLiteral("hi")}},
        {{QStringLiteral("llama4"), QStringLiteral("llama-4")},
         {QStringLiteral("en"), QStringLiteral("de"), QStringLiteral("fr"), QStringLiteral("it"), QStringLiteral("pt"),
          QStringLiteral("es"), QStringLiteral("hi"), QStringLiteral("th"), QStringLiteral("vi"), QStringLiteral("id"),
          QStringLiteral("ar")}},
        // Meta states English only for image and text together.
        {{QStringLiteral("llama3.2-vision"), QStringLiteral("mllama")}, {QStringLiteral("en")}},
        {{QStringLiteral("llama3.1"), QStringLiteral("llama3.2"), QStringLiteral("llama3.3"),
          QStringLiteral("llama-3.1"), QStringLiteral("llama-3.2"), QStringLiteral("llama-3.3")},
         {QStringLiteral("en"), QStringLiteral("de"), QStringLiteral("fr"), QStringLiteral("it"), QStringLiteral("pt"),
          QStringLiteral("es"), QStringLiteral("hi"), QStringLiteral("th")}},
        {{QStringLiteral("aya")},
         {QStringLiteral("en"), QStringLiteral("ru"), QStringLiteral("uk"), QStringLiteral("de"), QStringLiteral("fr"),
          QStringLiteral("es"), QStringLiteral("pt"), QStringLiteral("it"), QStringLiteral("nl"), QStringLiteral("pl"),
          QStringLiteral("cs"), QStringLiteral("ro"), QStringLiteral("el"), QStringLiteral("tr"), QStringLiteral("ar"),
          QStringLiteral("he"), QStringLiteral("fa"), QStringLiteral("hi"), QStringLiteral("id"), QStringLiteral("vi"),
          QStringLiteral("ja"), QStringLiteral("ko"), QStringLiteral("zh")}},
        {{QStringLiteral("command-r"), QStringLiteral("command-a")},
         {QStringLiteral("en"), QStringLiteral("fr"), QStringLiteral("es"), QStringLiteral("it"), QStringLiteral("de"),
          QStringLiteral("pt"), QStringLiteral("ja"), QStringLiteral("ko"), QStringLiteral("zh"),
          QStringLiteral("ar")}},
        {{QStringLiteral("granite3"), QStringLiteral("granite-3")},
         {QStringLiteral("en"), QStringLiteral("de"), QStringLiteral("es"), QStringLiteral("fr"), QStringLiteral("ja"),
          QStringLiteral("pt"), QStringLiteral("ar"), QStringLiteral("cs"), QStringLiteral("it"), QStringLiteral("ko"),
          QStringLiteral("nl"), QStringLiteral("zh")}},
        {{QStringLiteral("minicpm")}, {QStringLiteral("en"), QStringLiteral("zh")}},
    };
    return table;
}

bool isLanguageCode(const QString &code)
{
    if (code.size() < 2 || code.size() > 3)
        return false;
    for (const QChar c : code) {
        if (c < QLatin1Char('a') || c > QLatin1Char('z'))
            return false;
    }
    return true;
}
} // namespace

QStringList ModelLanguages::fromDeclared(const QJsonValue &declared)
{
    QStringList codes;
    const QJsonArray entries = declared.toArray();
    for (const QJsonValue &entry : entries) {
        QString code = entry.toString().trimmed().toLower();
        code = code.section(QLatin1Char('-'), 0, 0).section(QLatin1Char('_'), 0, 0);
        if (isLanguageCode(code) && !codes.contains(code))
            codes.append(code);
    }
    return codes;
}

QStringList ModelLanguages::forFamily(const QStringList &names)
{
    QString haystack;
    for (const QString &name : names)
        haystack += name.toLower() + QLatin1Char('\n');
    for (const Family &family : families()) {
        for (const QString &fragment : family.fragments) {
            if (haystack.contains(fragment))
                return family.languages;
        }
    }
    return {};
}

QStringList ModelLanguages::resolve(const QJsonValue &declared, const QStringList &names)
{
    QStringList languages = fromDeclared(declared);
    if (languages.isEmpty())
        languages = forFamily(names);
    if (languages.isEmpty())
        languages = {QStringLiteral("en")};
    return languages;
}
