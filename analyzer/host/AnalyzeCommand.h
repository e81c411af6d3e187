// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "AnalyzeEngine.h"

#include <QDBusUnixFileDescriptor>
#include <QStringList>
#include <QTextStream>

// `zentrope-analyzer --analyze FILE`: the service's job run in-process, its response printed as one JSON line.
namespace AnalyzeCommand {

struct Arguments
{
    QString file;
    // Opened by parse(), before the analyzer confines itself out of the user's files.
    QDBusUnixFileDescriptor image;
    AnalyzeRequest request;
};

// Reads the command's options and opens the file; nullopt with the reason in error when one is invalid.
std::optional<Arguments> parse(const QString &file, const QString &nameLanguage, const QString &interfaceCode,
                               bool ocrFallback, const QString &appName, QString *error);

// Prints the response JSON to out; 0 when a title came back, 1 otherwise.
QCoro::Task<int> run(Arguments arguments, AnalyzeEngine &engine, QTextStream &out);

} // namespace AnalyzeCommand
