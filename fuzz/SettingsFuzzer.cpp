// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
//
// The settings file as anything may leave it: the typed store keeps what is well-formed and writes it back
// unchanged, and the application's settings load from it within their limits.
#include "AppSettings.h"
#include "FileNameBuilder.h"
#include "FuzzInput.h"

#include <QFile>
#include <QTemporaryDir>

namespace {
const QTemporaryDir &folder()
{
    static const QTemporaryDir dir;
    return dir;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const FuzzInput input(data, size);
    const QByteArray bytes = input.rest();
    bool incomplete = false;
    const std::optional<QHash<QString, KeyValueStore::Value>> values = KeyValueStore::decode(bytes, &incomplete);
    if (values) {
        bool again = false;
        fuzzCheck(KeyValueStore::decode(KeyValueStore::encode(*values), &again) == values, "settings round trip");
        fuzzCheck(!again, "written settings read as sound");
    }

    const QString path = folder().filePath(QStringLiteral("settings.json"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(bytes);
    file.close();
    const AppSettings settings(std::make_shared<KeyValueStore>(path));
    fuzzCheck(settings.modelTimeLimit() >= 5 && settings.modelTimeLimit() <= 600, "model time limit in range");
    const int maxLength = settings.naming().maxLength;
    fuzzCheck(maxLength >= FileNameBuilder::minimumLength && maxLength <= FileNameBuilder::maximumLength,
              "name length in range");
    for (const WatchedFolder &watched : settings.folders())
        fuzzCheck(!watched.path.isEmpty(), "a watched folder has a path");
    QFile::remove(path);
    return 0;
}
