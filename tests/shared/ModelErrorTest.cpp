// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "ModelError.h"

#include <gtest/gtest.h>

TEST(ModelError, ServerAnswersAreClassified)
{
    using Kind = ModelError::Kind;
    struct Case
    {
        int status;
        const char *body;
        Kind kind;
        const char *message;
    };
    const Case cases[] = {
        {503, "", Kind::busy, "The model server answered with HTTP status 503."},
        {429, R"({"error":{"code":429,"message":"slow down","type":"rate_limit_error"}})", Kind::busy, "slow down"},
        {500, R"({"error":"server busy, please try again.  maximum pending requests exceeded"})", Kind::busy,
         "server busy, please try again.  maximum pending requests exceeded"},
        {400, R"({"error":"Rate limit reached"})", Kind::busy, "Rate limit reached"},
        {400,
         R"({"error":{"code":400,"message":"the request exceeds the available context size","type":"exceed_context_size_error"}})",
         Kind::contextTooLong, "the request exceeds the available context size"},
        {400, R"({"error":"the input length exceeds the context length"})", Kind::contextTooLong,
         "the input length exceeds the context length"},
        {400, R"({"error":"Trying to keep the first 5000 tokens when context the overflows. Prompt is too long"})",
         Kind::contextTooLong, nullptr},
        {400, R"({"error":"invalid image"})", Kind::other, "invalid image"},
        {404, R"({"error":"model 'qwen3' not found"})", Kind::other, "model 'qwen3' not found"},
        {500, "llama runner process has terminated", Kind::other, "llama runner process has terminated"},
        {502, "", Kind::other, "The model server answered with HTTP status 502."},
        // What reaches the user is one line of sensible length, not a stack trace or a page of HTML.
        {500, "panic: runtime error\ngoroutine 1 [running]:\nmain.main()", Kind::other, "panic: runtime error"},
    };
    for (const Case &c : cases) {
        const ModelError error = ModelError::fromServerAnswer(c.status, QByteArray(c.body));
        EXPECT_EQ(error.kind(), c.kind) << c.status << ' ' << c.body;
        if (c.message != nullptr) {
            EXPECT_EQ(error.message(), QString::fromUtf8(c.message)) << c.body;
        }
    }
}
