// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
//
// The cost of one history save over a full history (2,000 records, 20,000 handled files), in the same run:
//   baseline: encoding both files and writing them atomically, what a save cost when each process wrote alone;
//   own save: a pending mark changed and nobody else wrote meanwhile (the usual case of the tray application);
//   shared save: another process wrote since, so the files are read and merged before the write;
//   reload: another process wrote, the folder watch takes it in (read and merge, no write).
#include "HistoryStore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSaveFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

HistoryStore::Contents fullHistory()
{
    HistoryStore::Contents contents;
    const QDateTime start = QDateTime::fromString(QStringLiteral("2026-01-01T00:00:00Z"), Qt::ISODate);
    for (int i = 0; i < HistoryStore::maxRecords; ++i) {
        RenameRecord record;
        record.id = QUuid::createUuid();
        record.date = start.addSecs(HistoryStore::maxRecords - i);
        record.folderPath = QStringLiteral("/home/user/Pictures/Screenshots");
        record.originalName = QStringLiteral("Screenshot From 2026-01-01 10-%1.png").arg(i);
        record.currentName = QStringLiteral("Quarterly budget review %1.png").arg(i);
        record.engine = NamingEngineKind::ai;
        record.fileID = FileID{QStringLiteral("0B5E-1F2A"), quint64(100000 + i)};
        contents.records.append(record);
    }
    for (quint64 i = 0; i < HistoryStore::maxHandled; ++i)
        contents.registry.handled.insert(FileID{QStringLiteral("0B5E-1F2A"), 100000 + i}, start.addSecs(qint64(i)));
    return contents;
}

void write(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        std::fprintf(stderr, "could not write %s\n", qPrintable(path));
}

// Median milliseconds of `rounds` runs of `step`, each after `prepare`.
double median(int rounds, const std::function<void()> &prepare, const std::function<void()> &step)
{
    QList<double> times;
    for (int i = 0; i < rounds; ++i) {
        prepare();
        QElapsedTimer timer;
        timer.start();
        step();
        times.append(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times.at(times.size() / 2);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 30;
    QTemporaryDir dir;
    const HistoryStore::Contents contents = fullHistory();
    const QString historyPath = dir.filePath(QStringLiteral("history.json"));
    const QString registryPath = dir.filePath(QStringLiteral("registry.json"));
    write(historyPath, HistoryStore::encodeRecords(contents.records));
    write(registryPath, HistoryStore::encodeRegistry(contents.registry));

    HistoryStore store(dir.path());
    HistoryStore other(dir.path());
    int n = 0;
    const auto nothing = [] {};
    const auto otherWrites = [&] {
        other.markPending(QStringLiteral("/other/%1.png").arg(++n));
        other.saveNow();
    };

    const double baseline = median(rounds, nothing, [&] {
        write(historyPath, HistoryStore::encodeRecords(store.records()));
        write(registryPath, HistoryStore::encodeRegistry(store.registry()));
    });
    // The baseline's own writes look like another process's to both stores: take them in first.
    store.reload();
    other.reload();
    const double own = median(rounds, nothing, [&] {
        store.markPending(QStringLiteral("/own/%1.png").arg(++n));
        store.saveNow();
    });
    const double shared = median(rounds, otherWrites, [&] {
        store.markPending(QStringLiteral("/own/%1.png").arg(++n));
        store.saveNow();
    });
    const double reload = median(rounds, otherWrites, [&] { store.reload(); });

    std::printf("history save, %d records, %d handled files, median of %d\n", int(store.records().size()),
                int(store.registry().handled.size()), rounds);
    std::printf("baseline (encode and write both files): %7.2f ms  1.00\n", baseline);
    std::printf("own save (nobody else wrote):           %7.2f ms  %.2f\n", own, own / baseline);
    std::printf("shared save (read, merge, write):       %7.2f ms  %.2f\n", shared, shared / baseline);
    std::printf("reload (read and merge):                %7.2f ms  %.2f\n", reload, reload / baseline);
    return 0;
}
