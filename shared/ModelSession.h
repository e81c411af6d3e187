// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "ModelDeadline.h"
#include "ModelEnvironment.h"
#include "ModelError.h"
#include "ModelImage.h"
#include "ModelStatus.h"

#include <QJsonObject>
#include <QString>

#include <QCoroTask>

#include <optional>

// The record a model must answer with: one string field and the guide text that says what belongs in it.
struct ModelAnswerFormat
{
    // Names the schema for OpenAI-compatible servers ("ScreenshotName"); letters, digits, '_' and '-'.
    QString record;
    // The field ("name") and what it should hold ("What the screenshot shows, in 3 to 6 words.").
    QString field;
    QString description;

    // {"type": "object", "properties": {field: {"type": "string", "description": ...}}, "required": [field],
    //  "additionalProperties": false}
    QJsonObject schema() const;
};

// What one request produced: the field's text exactly as the model wrote it, or the reason there is none.
struct ModelAnswer
{
    QString text;
    std::optional<ModelError> error;

    bool ok() const { return !error; }
};

// A conversation with the local model for one screenshot: the instructions (system message) and the model the
// status chose. Each `respond` is a single independent chat of the instructions and one user message; nothing
// of earlier requests is carried over. The record's schema goes both into the user message, so the model reads
// what the field should hold, and into the decoding constraint. Decoding is greedy (temperature 0, top_k 1,
// seed 0), answers are at most 40 tokens, thinking is off, and Ollama is told not to truncate an over-long prompt
// so that it fails instead.
//
// A session is a small value; copies share nothing and calls may outlive it. Use it on one thread.
class ModelSession
{
public:
    static constexpr int maxResponseTokens = 40;

    // `status` should be available; a session over any other status answers every call with an `other` error.
    ModelSession(ModelStatus status, QString instructions, ModelEnvironment environment = ModelEnvironment::system());

    const ModelStatus &status() const { return m_status; }
    const QString &instructions() const { return m_instructions; }

    // The user message of a request: the prompt, then the record's schema with its description.
    static QString userText(const QString &prompt, const ModelAnswerFormat &format);

    // Loads the model so that the first real request starts at once. Ollama: an empty chat that keeps the model
    // resident; llama-server: waits until /health reports the model loaded; others: a one-token request.
    // Returns the error when the server could not be readied (busy when it is still loading at the deadline).
    QCoro::Task<std::optional<ModelError>> prewarm(ModelDeadline deadline) const;

    // Asks for the record `format` with the text prompt and, when `picture` is not null, the picture. An answer
    // cut off at the token limit, or that is not the record with its field as a string, is an `other` error; so
    // is a server that cannot be reached. No answer by the deadline, a server that drops the connection before
    // answering and a llama-server still loading at the deadline are `busy`: a later try may succeed.
    QCoro::Task<ModelAnswer> respond(const QString &prompt, const ModelAnswerFormat &format, ModelDeadline deadline,
                                     const ModelImage &picture = {}) const;

private:
    ModelStatus m_status;
    QString m_instructions;
    ModelEnvironment m_environment;
};
