// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "NativePath.h"

#include <gtest/gtest.h>

// Invalid lead bytes in a real file's name are renamed by the rename command's tests.
TEST(NativePath, EveryNameComesBackAsTheSameBytes)
{
    const auto roundTrips = [](const QByteArray &bytes, qsizetype escapes) {
        SCOPED_TRACE(bytes.toHex().toStdString());
        const QString text = NativePath::decode(bytes);
        EXPECT_EQ(NativePath::encode(text), bytes);
        qsizetype escaped = 0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char16_t unit = text.at(i).unicode();
            escaped += unit >= 0xDC80 && unit <= 0xDCFF && (i == 0 || !text.at(i - 1).isHighSurrogate());
        }
        EXPECT_EQ(escaped, escapes);
        EXPECT_TRUE(escapes > 0 || text == QString::fromUtf8(bytes));
    };
    roundTrips("\xd0\xa1\xd0\xbd\xd0\xb8\xd0\xbc\xd0\xbe\xd0\xba \xf0\x9f\x93\xb7.png", 0);
    roundTrips("cut short \xe2\x82", 2);
    roundTrips("overlong \xc0\xaf", 2);
    roundTrips("surrogate \xed\xb2\x80", 3); // UTF-8 of a surrogate is not UTF-8
}
