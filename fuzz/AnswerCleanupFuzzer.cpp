// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
//
// A model's answer, however odd, is cleaned into well-formed text on one line, no longer than the answer.
#include "AnswerCleanup.h"
#include "FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const FuzzInput input(data, size);
    const QString answer = input.restText();
    for (const QString &cleaned : {AnswerCleanup::tidy(answer), AnswerCleanup::tidyTranslation(answer)}) {
        fuzzCheck(isWellFormed(cleaned), "well-formed text");
        fuzzCheck(!cleaned.contains(u'\n'), "one line");
        fuzzCheck(cleaned.size() <= answer.size(), "no longer than the answer");
    }
    return 0;
}
