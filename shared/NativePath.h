// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// File names on Linux are bytes, and not every name is UTF-8. Each byte that is not part of valid UTF-8 becomes
// one of the lone surrogates U+DC80 to U+DCFF (as Python's "surrogateescape" does), so every name survives a
// QString, the history's JSON and the way back to the file system unchanged. QFile::encodeName would turn those
// bytes into U+FFFD and lose the file.
namespace NativePath {

QString decode(const QByteArray &bytes);
QByteArray encode(const QString &path);

// The program's arguments as the kernel holds them, decoded as above; QCoreApplication::arguments() when they
// cannot be read.
QStringList processArguments();

} // namespace NativePath
