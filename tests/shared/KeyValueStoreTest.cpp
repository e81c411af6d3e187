// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "KeyValueStore.h"
#include "TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {
QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

TEST(KeyValueStore, ValuesKeepTheirTypesAcrossInstances)
{
    TempDir dir;
    const QString path = dir.filePath(QStringLiteral("zentrope/settings.json"));
    const QDateTime when = QDateTime::fromString(QStringLiteral("2026-11-12T10:42:17.250+03:00"), Qt::ISODateWithMs);
    {
        KeyValueStore store(path);
        ASSERT_TRUE(store.setBoolean(QStringLiteral("flag"), false));
        ASSERT_TRUE(store.setString(QStringLiteral("text"), QStringLiteral("true")));
        ASSERT_TRUE(store.setNumber(QStringLiteral("count"), 42.5));
        ASSERT_TRUE(store.setDate(QStringLiteral("when"), when));
        ASSERT_TRUE(store.setBytes(QStringLiteral("blob"), QByteArray("\x00\xff{}", 4)));
    }
    const KeyValueStore store(path);
    EXPECT_EQ(store.boolean(QStringLiteral("flag")), false);
    EXPECT_EQ(store.string(QStringLiteral("text")), QStringLiteral("true"));
    EXPECT_EQ(store.boolean(QStringLiteral("text")), std::nullopt);
    EXPECT_EQ(store.number(QStringLiteral("count")), 42.5);
    EXPECT_EQ(store.string(QStringLiteral("count")), std::nullopt);
    ASSERT_TRUE(store.date(QStringLiteral("when")).has_value());
    EXPECT_EQ(store.date(QStringLiteral("when"))->toMSecsSinceEpoch(), when.toMSecsSinceEpoch());
    EXPECT_EQ(store.bytes(QStringLiteral("blob")), QByteArray("\x00\xff{}", 4));
    EXPECT_EQ(store.string(QStringLiteral("blob")), std::nullopt);
    EXPECT_EQ(store.type(QStringLiteral("when")), KeyValueStore::Type::Date);
    EXPECT_EQ(store.keys(), (QStringList{QStringLiteral("blob"), QStringLiteral("count"), QStringLiteral("flag"),
                                         QStringLiteral("text"), QStringLiteral("when")}));
}

TEST(KeyValueStore, BooleanReadingOfEveryStoredType)
{
    TempDir dir;
    KeyValueStore store(dir.filePath(QStringLiteral("settings.json")));
    const struct
    {
        KeyValueStore::Value value;
        bool expected;
    } cases[] = {
        {true, true},
        {false, false},
        {1.0, true},
        {0.0, false},
        {-0.5, true},
        {QStringLiteral("YES"), true},
        {QStringLiteral(" true "), true},
        {QStringLiteral("17"), true},
        {QStringLiteral("0"), false},
        {QStringLiteral("NO"), false},
        {QStringLiteral("y"), false},
        {QString(), false},
        {QDateTime::currentDateTimeUtc(), false},
        {QByteArray("1"), false},
    };
    int index = 0;
    for (const auto &c : cases) {
        const QString key = QStringLiteral("k%1").arg(index++);
        ASSERT_TRUE(store.set(key, c.value));
        EXPECT_EQ(store.booleanReading(key), c.expected) << "case " << index - 1;
    }
    EXPECT_FALSE(store.booleanReading(QStringLiteral("missing")));
}

TEST(KeyValueStore, CorruptFileLoadsEmptyAndIsKeptAsideBeforeTheNextWrite)
{
    TempDir dir;
    const QByteArray garbage("{\"autoProcessing\": {\"bool\": tr");
    const QString path = dir.write(QStringLiteral("settings.json"), garbage);
    KeyValueStore store(path);
    EXPECT_TRUE(store.keys().isEmpty());
    ASSERT_TRUE(store.setBoolean(QStringLiteral("autoProcessing"), false));
    EXPECT_EQ(readAll(path + QStringLiteral(".corrupt")), garbage);
    EXPECT_EQ(KeyValueStore(path).boolean(QStringLiteral("autoProcessing")), false);
}

TEST(KeyValueStore, MalformedEntriesAreSkippedOneByOne)
{
    TempDir dir;
    const QString path = dir.write(QStringLiteral("settings.json"), R"({
        "good": {"string": "kept"},
        "untagged": "NO",
        "wrongType": {"bool": "true"},
        "twoTags": {"bool": true, "string": "x"},
        "badDate": {"date": "yesterday"},
        "badBytes": {"bytes": "***"},
        "number": {"number": 3}
    })");
    const KeyValueStore store(path);
    EXPECT_EQ(store.keys(), (QStringList{QStringLiteral("good"), QStringLiteral("number")}));
    EXPECT_FALSE(QFile::exists(path + QStringLiteral(".corrupt")));
}

TEST(KeyValueStore, SeesAndKeepsWhatAnotherInstanceWrote)
{
    TempDir dir;
    const QString path = dir.filePath(QStringLiteral("settings.json"));
    KeyValueStore app(path);
    KeyValueStore analyzer(path);
    ASSERT_TRUE(app.setString(QStringLiteral("modelName"), QStringLiteral("llava")));
    EXPECT_EQ(analyzer.string(QStringLiteral("modelName")), QStringLiteral("llava"));

    ASSERT_TRUE(analyzer.setString(QStringLiteral("modelEndpoint"), QStringLiteral("http://127.0.0.1:8080")));
    ASSERT_TRUE(app.setBoolean(QStringLiteral("ocrFallback"), true));
    const KeyValueStore fresh(path);
    EXPECT_EQ(fresh.string(QStringLiteral("modelEndpoint")), QStringLiteral("http://127.0.0.1:8080"));
    EXPECT_EQ(fresh.boolean(QStringLiteral("ocrFallback")), true);

    ASSERT_TRUE(app.remove(QStringLiteral("modelName")));
    EXPECT_FALSE(analyzer.contains(QStringLiteral("modelName")));
}

TEST(KeyValueStore, UnwritableLocationIsReportedAndKeepsTheValueInMemory)
{
    TempDir dir;
    // A file where the folder should be makes the folder impossible to create.
    dir.write(QStringLiteral("blocked"));
    KeyValueStore store(dir.filePath(QStringLiteral("blocked/settings.json")));
    QString error;
    EXPECT_FALSE(store.setNumber(QStringLiteral("n"), 1, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(store.number(QStringLiteral("n")), 1.0);
}

TEST(KeyValueStore, RejectsValuesJsonCannotCarry)
{
    TempDir dir;
    KeyValueStore store(dir.filePath(QStringLiteral("settings.json")));
    EXPECT_FALSE(store.setNumber(QStringLiteral("n"), std::nan("")));
    EXPECT_FALSE(store.setDate(QStringLiteral("d"), QDateTime()));
    EXPECT_TRUE(store.keys().isEmpty());
}
