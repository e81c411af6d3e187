// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QByteArray>
#include <QString>

// Why a request to the local model produced no answer, sorted into the classes the namer acts on.
class ModelError
{
public:
    // busy: try again later (HTTP 503 or 429, "server busy", rate limits, no answer in time).
    // contextTooLong: the prompt does not fit the model's context; a shorter prompt may.
    // refused: the model declined. Local servers never signal this; the case exists so callers handle it.
    // other: anything else, among them an answer that is cut off or not the requested record, and a server that
    //        cannot be reached.
    enum class Kind { busy, contextTooLong, refused, other };

    ModelError(Kind kind, QString message);

    Kind kind() const { return m_kind; }
    // The server's own message where it gave one, otherwise a short English description; shown to the user, so
    // only its first line and at most `maxMessageLength` characters of it are kept.
    QString message() const { return m_message; }

    static constexpr qsizetype maxMessageLength = 160;
    // The first line of `text`, cut to the length limit with an ellipsis.
    static QString shortened(const QString &text);

    // The error of a server's non-success answer: HTTP status and body. Reads the message from Ollama's
    // {"error": "..."} and the OpenAI-style {"error": {"message", "type"}} bodies, or takes the body as text.
    static ModelError fromServerAnswer(int httpStatus, const QByteArray &body);

    friend bool operator==(const ModelError &, const ModelError &) = default;

private:
    Kind m_kind;
    QString m_message;
};
