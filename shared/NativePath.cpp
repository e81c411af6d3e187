// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "NativePath.h"

#include <QCoreApplication>
#include <QFile>
#include <QUtf8StringView>

namespace NativePath {
namespace {

constexpr char16_t escapeBase = 0xDC00;

// The length of the well-formed UTF-8 sequence at `at`, or 0 when there is none.
int sequenceLength(const QByteArray &bytes, qsizetype at)
{
    const auto byte = [&](qsizetype i) { return static_cast<unsigned char>(bytes.at(i)); };
    const unsigned char lead = byte(at);
    int length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        // No overlong forms, no surrogates.
        if (lead == 0xE0)
            low = 0xA0;
        if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (at + length > bytes.size())
        return 0;
    if (byte(at + 1) < low || byte(at + 1) > high)
        return 0;
    for (int i = 2; i < length; ++i) {
        if (byte(at + i) < 0x80 || byte(at + i) > 0xBF)
            return 0;
    }
    return length;
}

} // namespace

QString decode(const QByteArray &bytes)
{
    if (QUtf8StringView(bytes).isValidUtf8())
        return QString::fromUtf8(bytes);
    QString text;
    text.reserve(bytes.size());
    qsizetype start = 0;
    qsizetype at = 0;
    while (at < bytes.size()) {
        const int length = sequenceLength(bytes, at);
        if (length > 0) {
            at += length;
            continue;
        }
        text += QString::fromUtf8(bytes.constData() + start, at - start);
        text += QChar(static_cast<char16_t>(escapeBase + static_cast<unsigned char>(bytes.at(at))));
        start = ++at;
    }
    text += QString::fromUtf8(bytes.constData() + start, at - start);
    return text;
}

QByteArray encode(const QString &path)
{
    QByteArray bytes;
    bytes.reserve(path.size());
    qsizetype start = 0;
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t unit = path.at(i).unicode();
        const bool paired = i > 0 && path.at(i - 1).isHighSurrogate();
        if (unit < 0xDC80 || unit > 0xDCFF || paired)
            continue;
        bytes += QStringView(path).mid(start, i - start).toUtf8();
        bytes += static_cast<char>(unit - escapeBase);
        start = i + 1;
    }
    bytes += QStringView(path).mid(start).toUtf8();
    return bytes;
}

QStringList processArguments()
{
    QFile file(QStringLiteral("/proc/self/cmdline"));
    const QStringList fallback = QCoreApplication::arguments();
    if (!file.open(QIODevice::ReadOnly))
        return fallback;
    QByteArray raw = file.readAll();
    if (raw.endsWith('\0'))
        raw.chop(1);
    QStringList arguments;
    for (const QByteArray &argument : raw.split('\0'))
        arguments.append(decode(argument));
    // Something rewrote the process title: trust Qt's copy.
    return arguments.size() == fallback.size() ? arguments : fallback;
}

} // namespace NativePath
