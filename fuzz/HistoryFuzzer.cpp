// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
//
// The history and registry files as another process or a damaged disk may leave them: whatever is read, what is
// kept of it is written in a form that reads back sound and then round-trips exactly (dates are kept to the second,
// so the first writing may round what was read).
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
        const QByteArray written =
            HistoryStore::encodeRegistry(HistoryStore::decodeRegistry(bytes, &damaged, &deferred));
        bool again = false;
        const HistoryStore::Registry reread = HistoryStore::decodeRegistry(written, &again);
        fuzzCheck(!again, "a written registry reads as sound");
        fuzzCheck(HistoryStore::decodeRegistry(HistoryStore::encodeRegistry(reread)) == reread,
                  "a written registry round-trips");
    } else {
        const QByteArray written = HistoryStore::encodeRecords(HistoryStore::decodeRecords(bytes, &damaged));
        bool again = false;
        const QList<RenameRecord> reread = HistoryStore::decodeRecords(written, &again);
        fuzzCheck(!again, "a written history reads as sound");
        fuzzCheck(HistoryStore::decodeRecords(HistoryStore::encodeRecords(reread)) == reread,
                  "a written history round-trips");
    }
    return 0;
}
