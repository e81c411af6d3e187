// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
//
// The history and registry files as another process or a damaged disk may leave them: whatever is read, what is
// kept of it is written back and read again unchanged, with nothing reported damaged the second time.
#include "FuzzInput.h"
#include "HistoryStore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    const bool registryFile = input.byte() & 1;
    const QByteArray bytes = input.rest();
    bool damaged = false;
    if (registryFile) {
        QHash<QString, QDateTime> deferred;
        const HistoryStore::Registry registry = HistoryStore::decodeRegistry(bytes, &damaged, &deferred);
        bool again = false;
        fuzzCheck(HistoryStore::decodeRegistry(HistoryStore::encodeRegistry(registry), &again) == registry,
                  "registry round trip");
        fuzzCheck(!again, "a written registry reads as sound");
    } else {
        const QList<RenameRecord> records = HistoryStore::decodeRecords(bytes, &damaged);
        bool again = false;
        fuzzCheck(HistoryStore::decodeRecords(HistoryStore::encodeRecords(records), &again) == records,
                  "history round trip");
        fuzzCheck(!again, "a written history reads as sound");
    }
    return 0;
}
