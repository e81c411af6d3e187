// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "ModelError.h"

#include <gtest/gtest.h>

TEST(ModelError, ServerAnswersAreClassified)
{
    using Kind = ModelError::Kind;
    const auto classifies = [](int status, const char *body, Kind kind, const char *message) {
        const ModelError error = ModelError::fromServerAnswer(status, QByteArray(body));
        EXPECT_EQ(error.kind(), kind) << status << ' ' << body;
        EXPECT_EQ(error.message(), QString::fromUtf8(message)) << body;
    };
    // A 429, and context overflow worded as Ollama words it, are met by the namer's tests through a real session.
    classifies(503, "", Kind::busy, "The model server answered with HTTP status 503.");
    classifies(502, "", Kind::other, "The model server answered with HTTP status 502.");
    classifies(500, R"({"error":"server busy, please try again"})", Kind::busy, "server busy, please try again");
    classifies(400, R"({"error":{"message":"too big","type":"exceed_context_size_error"}})", Kind::contextTooLong,
               "too big");
    classifies(400, R"({"error":"Prompt is too long"})", Kind::contextTooLong, "Prompt is too long");
    classifies(400, R"({"error":"invalid image"})", Kind::other, "invalid image");
    // What reaches the user is one line, not a stack trace.
    classifies(500, "panic: runtime error\ngoroutine 1 [running]:\nmain.main()", Kind::other, "panic: runtime error");
}
