// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "L10nTableCheck.h"

#include <gtest/gtest.h>

using namespace L10nTableCheck;

TEST(L10nTableCheck, FindsLiteralKeysInEveryCallForm)
{
    const QString source = QStringLiteral(R"(
        title = L("a.plain");
        body = L(QStringLiteral("b.literal"), count);
        text: Texts.L( "c.qml" )
        many = LPlural("d.plural", n);
        more = LPlural(QStringLiteral( "e.plural" ), n);
        skipped = URL("not.a.key"); tr("nor.this"); L(variable); QL("no");
    )");
    QStringList found;
    for (const KeyUse &use : scanText(source, QStringLiteral("x.cpp")))
        found.append(use.key + (use.plural ? QStringLiteral(" (n)") : QString()));
    EXPECT_EQ(found, (QStringList{QStringLiteral("a.plain"), QStringLiteral("b.literal"), QStringLiteral("c.qml"),
                                  QStringLiteral("d.plural (n)"), QStringLiteral("e.plural (n)")}));
}

TEST(L10nTableCheck, ReportsMissingTextsUnpairedKeysAndPlaceholderMismatches)
{
    const QList<KeyUse> uses{{QStringLiteral("k"), false, QStringLiteral("f.cpp")},
                             {QStringLiteral("n"), true, QStringLiteral("g.cpp")}};
    Table en{{QStringLiteral("k"), QStringLiteral("K")},
             {QStringLiteral("n.one"), QStringLiteral("1")},
             {QStringLiteral("n.other"), QStringLiteral("%1")}};
    Table ru{{QStringLiteral("k"), QStringLiteral("К")},
             {QStringLiteral("n.one"), QStringLiteral("1")},
             {QStringLiteral("n.few"), QStringLiteral("%1")},
             {QStringLiteral("n.many"), QStringLiteral("%1")}};
    EXPECT_TRUE(missingKeys(uses, en, ru).isEmpty());
    ru.remove(QStringLiteral("n.few"));
    ru.remove(QStringLiteral("k"));
    EXPECT_EQ(missingKeys(uses, en, ru), (QStringList{QStringLiteral("f.cpp: \"k\" missing from ru"),
                                                      QStringLiteral("g.cpp: \"n.few\" missing from ru")}));

    // Plural keys pair whatever their forms; "%%" is no placeholder.
    en.insert(QStringLiteral("both"), QStringLiteral("%1 of %2"));
    ru.insert(QStringLiteral("both"), QStringLiteral("100%% из %2"));
    EXPECT_EQ(unpairedKeys(en, ru), QStringList{QStringLiteral("\"k\" only in en")});
    EXPECT_EQ(placeholderMismatches(en, ru),
              QStringList{QStringLiteral("\"both\" has different placeholders in en and ru")});
}
