// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "L10nTableCheck.h"

#include <gtest/gtest.h>

using namespace L10nTableCheck;

TEST(L10nTableCheck, FindsKeysInEveryCallFormAndReportsMissingTextsUnpairedKeysAndPlaceholderMismatches)
{
    const QString source = uR"(
        title = L("a.plain");
        body = L(QStringLiteral("b.literal"), count);
        text: Texts.L( "c.qml" )
        many = LPlural("d.plural", n);
        more = LPlural(QStringLiteral( "e.plural" ), n);
        skipped = URL("not.a.key"); tr("nor.this"); L(variable); QL("no");
    )"_qs;
    QStringList found;
    for (const KeyUse &use : scanText(source, u"x.cpp"_qs))
        found.append(use.key + (use.plural ? u" (n)"_qs : QString()));
    EXPECT_EQ(found,
              (QStringList{u"a.plain"_qs, u"b.literal"_qs, u"c.qml"_qs, u"d.plural (n)"_qs, u"e.plural (n)"_qs}));

    const QList<KeyUse> uses{{u"k"_qs, false, u"f.cpp"_qs}, {u"n"_qs, true, u"g.cpp"_qs}};
    Table en{{u"k"_qs, u"K"_qs}, {u"n.one"_qs, u"1"_qs}, {u"n.other"_qs, u"%1"_qs}};
    Table ru{{u"k"_qs, u"К"_qs}, {u"n.one"_qs, u"1"_qs}, {u"n.few"_qs, u"%1"_qs}, {u"n.many"_qs, u"%1"_qs}};
    EXPECT_TRUE(missingKeys(uses, en, ru).isEmpty());
    ru.remove(u"n.few"_qs);
    ru.remove(u"k"_qs);
    EXPECT_EQ(missingKeys(uses, en, ru),
              (QStringList{u"f.cpp: \"k\" missing from ru"_qs, u"g.cpp: \"n.few\" missing from ru"_qs}));

    // Plural keys pair whatever their forms; "%%" is no placeholder.
    en.insert(u"both"_qs, u"%1 of %2"_qs);
    ru.insert(u"both"_qs, u"100%% из %2"_qs);
    EXPECT_EQ(unpairedKeys(en, ru), QStringList{u"\"k\" only in en"_qs});
    EXPECT_EQ(placeholderMismatches(en, ru), QStringList{u"\"both\" has different placeholders in en and ru"_qs});
}
