// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "KeyValueStore.h"
#include "TempDir.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

TEST(KeyValueStore, ValuesKeepTheirTypesAcrossInstancesAndReadAsBooleansLeniently)
{
    TempDir dir;
    const QString path = dir.filePath(u"zentrope/settings.json"_qs);
    const QDateTime when = QDateTime::fromString(u"2026-11-12T10:42:17.250+03:00"_qs, Qt::ISODateWithMs);
    {
        KeyValueStore store(path);
        ASSERT_TRUE(store.setBoolean(u"flag"_qs, false));
        ASSERT_TRUE(store.setString(u"text"_qs, u"true"_qs));
        ASSERT_TRUE(store.setNumber(u"count"_qs, 42.5));
        ASSERT_TRUE(store.setDate(u"when"_qs, when));
        ASSERT_TRUE(store.setBytes(u"blob"_qs, QByteArray("\x00\xff{}", 4)));
    }
    KeyValueStore store(path);
    EXPECT_EQ(store.boolean(u"flag"_qs), false);
    EXPECT_EQ(store.string(u"text"_qs), u"true"_qs);
    EXPECT_EQ(store.number(u"count"_qs), 42.5);
    EXPECT_EQ(store.date(u"when"_qs).value_or(QDateTime()).toMSecsSinceEpoch(), when.toMSecsSinceEpoch());
    EXPECT_EQ(store.bytes(u"blob"_qs), QByteArray("\x00\xff{}", 4));
    EXPECT_EQ(store.string(u"blob"_qs), std::nullopt);
    EXPECT_EQ(store.keys(), (QStringList{u"blob"_qs, u"count"_qs, u"flag"_qs, u"text"_qs, u"when"_qs}));

    int row = 0;
    const auto reads = [&store, &row](const KeyValueStore::Value &value, bool expected) {
        ASSERT_TRUE(store.set(u"b"_qs, value));
        EXPECT_EQ(store.booleanReading(u"b"_qs), expected) << "row " << row++;
    };
    reads(-0.5, true);
    reads(0.0, false);
    reads(u" true "_qs, true);
    reads(u"17"_qs, true);
    reads(u"0"_qs, false);
    reads(u"y"_qs, false);
    reads(QDateTime::currentDateTimeUtc(), false);
    EXPECT_FALSE(store.booleanReading(u"missing"_qs));
}

TEST(KeyValueStore, DamagedFilesLoadWhatIsSoundAndAreKeptAsideBeforeEachOverwrite)
{
    TempDir dir;
    const auto copies = [&dir] {
        QList<QByteArray> found;
        for (const QString &name :
             QDir(dir.path()).entryList({u"settings.json.damaged-*"_qs}, QDir::Files, QDir::Name)) {
            QFile file(dir.filePath(name));
            found.append(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
        }
        return found;
    };
    const QByteArray garbage("{\"autoProcessing\": {\"bool\": tr");
    const QString path = dir.write(u"settings.json"_qs, garbage);
    ASSERT_TRUE(KeyValueStore(path).setBoolean(u"autoProcessing"_qs, false));
    EXPECT_EQ(copies(), QList<QByteArray>{garbage});

    // Malformed entries are skipped one by one; the file is still kept, beside the first copy.
    const QByteArray malformed(R"({"good": {"string": "kept"}, "untagged": "NO", "wrongType": {"bool": "true"},
        "twoTags": {"bool": true, "string": "x"}, "badDate": {"date": "yesterday"}, "badBytes": {"bytes": "***"},
        "number": {"number": 3}})");
    dir.write(u"settings.json"_qs, malformed);
    KeyValueStore again(path);
    EXPECT_EQ(again.keys(), (QStringList{u"good"_qs, u"number"_qs}));
    ASSERT_TRUE(again.setBoolean(u"other"_qs, true));
    EXPECT_EQ(copies(), (QList<QByteArray>{garbage, malformed}));
}

TEST(KeyValueStore, InstancesSeeEachOthersWritesAndRefusalsAreReported)
{
    TempDir dir;
    const QString path = dir.filePath(u"settings.json"_qs);
    KeyValueStore app(path);
    KeyValueStore analyzer(path);
    ASSERT_TRUE(app.setString(u"modelName"_qs, u"llava"_qs));
    EXPECT_EQ(analyzer.string(u"modelName"_qs), u"llava"_qs);
    // Neither write loses the other's.
    ASSERT_TRUE(analyzer.setString(u"modelEndpoint"_qs, u"http://127.0.0.1:8080"_qs));
    ASSERT_TRUE(app.setBoolean(u"ocrFallback"_qs, true));
    const KeyValueStore fresh(path);
    EXPECT_EQ(fresh.string(u"modelEndpoint"_qs), u"http://127.0.0.1:8080"_qs);
    EXPECT_EQ(fresh.boolean(u"ocrFallback"_qs), true);
    ASSERT_TRUE(app.remove(u"modelName"_qs));
    EXPECT_FALSE(analyzer.contains(u"modelName"_qs));

    // Values JSON cannot carry are refused.
    EXPECT_FALSE(app.setNumber(u"n"_qs, std::nan("")));
    EXPECT_FALSE(app.setDate(u"d"_qs, QDateTime()));
    EXPECT_FALSE(app.contains(u"n"_qs) || app.contains(u"d"_qs));

    // A file where the folder should be: the write fails with a reason, the value is still kept in memory.
    dir.write(u"blocked"_qs);
    KeyValueStore blocked(dir.filePath(u"blocked/settings.json"_qs));
    QString error;
    EXPECT_FALSE(blocked.setNumber(u"n"_qs, 1, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(blocked.number(u"n"_qs), 1.0);
}
