// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "NativePath.h"

#include <gtest/gtest.h>

TEST(NativePath, EveryNameComesBackAsTheSameBytes)
{
    const struct
    {
        QByteArray bytes;
        qsizetype escaped;
    } cases[] = {
        {"\xd0\xa1\xd0\xbd\xd0\xb8\xd0\xbc\xd0\xbe\xd0\xba \xf0\x9f\x93\xb7.png", 0},
        {"Latin-1 \xe9t\xe9.png", 2},
        {"lone \x80 continuation", 1},
        {"cut short \xe2\x82", 2},
        {"overlong \xc0\xaf", 2},
        // UTF-8 of a surrogate is not UTF-8.
        {"surrogate \xed\xb2\x80", 3},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.bytes.toHex().toStdString());
        const QString text = NativePath::decode(c.bytes);
        EXPECT_EQ(NativePath::encode(text), c.bytes);
        qsizetype escaped = 0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char16_t unit = text.at(i).unicode();
            escaped += unit >= 0xDC80 && unit <= 0xDCFF && (i == 0 || !text.at(i - 1).isHighSurrogate());
        }
        EXPECT_EQ(escaped, c.escaped);
        if (c.escaped == 0) {
            EXPECT_EQ(text, QString::fromUtf8(c.bytes));
        }
    }
}
