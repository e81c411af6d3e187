// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "ModelError.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace {
struct ServerMessage
{
    QString text;
    QString type;
};

ServerMessage readMessage(const QByteArray &body)
{
    const QJsonDocument document = QJsonDocument::fromJson(body);
    if (document.isObject()) {
        const QJsonValue error = document.object().value(QLatin1String("error"));
        if (error.isString())
            return {error.toString(), {}};
        if (error.isObject()) {
            const QJsonObject object = error.toObject();
            return {object.value(QLatin1String("message")).toString(), object.value(QLatin1String("type")).toString()};
        }
        const QJsonValue message = document.object().value(QLatin1String("message"));
        if (message.isString())
            return {message.toString(), {}};
    }
    return {QString::fromUtf8(body), {}};
}

bool saysContextExceeded(const QString &lower)
{
    if (lower.contains(QLatin1String("exceed_context_size")) || lower.contains(QLatin1String("prompt is too long")) ||
        lower.contains(QLatin1String("prompt too long")) || lower.contains(QLatin1String("input is too long")))
        return true;
    // "the input length exceeds the context length", "requested tokens (5000) exceed context window of 4096",
    // "prompt is longer than the context size".
    const bool context = lower.contains(QLatin1String("context"));
    return context && (lower.contains(QLatin1String("exceed")) || lower.contains(QLatin1String("too long")) ||
                       lower.contains(QLatin1String("longer than")) || lower.contains(QLatin1String("larger than")));
}

bool saysBusy(const QString &lower)
{
    return lower.contains(QLatin1String("server busy")) || lower.contains(QLatin1String("rate limit")) ||
           lower.contains(QLatin1String("ratelimit")) || lower.contains(QLatin1String("too many requests"));
}
} // namespace

ModelError::ModelError(Kind kind, QString message)
    : m_kind(kind)
    , m_message(shortened(message))
{}

QString ModelError::shortened(const QString &text)
{
    QString line = text.trimmed();
    const auto lineEnd = std::find_if(line.begin(), line.end(), [](QChar c) { return c == u'\n' || c == u'\r'; });
    if (lineEnd != line.end())
        line = line.left(lineEnd - line.begin()).trimmed();
    if (line.size() <= maxMessageLength)
        return line;
    // Cut between characters, never inside a surrogate pair.
    qsizetype cut = maxMessageLength - 1;
    if (line[cut - 1].isHighSurrogate())
        --cut;
    return line.left(cut).trimmed() + QChar(0x2026);
}

ModelError ModelError::fromServerAnswer(int httpStatus, const QByteArray &body)
{
    const ServerMessage server = readMessage(body);
    QString message = server.text;
    if (message.isEmpty())
        message = QStringLiteral("The model server answered with HTTP status %1.").arg(httpStatus);
    const QString lower = (server.type + QLatin1Char(' ') + server.text).toLower();
    if (server.type == QLatin1String("exceed_context_size_error") ||
        ((httpStatus == 400 || httpStatus == 413 || httpStatus == 500) && saysContextExceeded(lower)))
        return {Kind::contextTooLong, message};
    if (httpStatus == 503 || httpStatus == 429 || saysBusy(lower))
        return {Kind::busy, message};
    return {Kind::other, message};
}
