// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
//
// The analyzer's answer as the application reads it: any bytes decode or fail cleanly, and what decodes survives
// its own encoding unchanged.
#include "AnalyzeResponse.h"
#include "FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const FuzzInput input(data, size);
    const std::optional<AnalyzeResponse> response = AnalyzeResponse::fromJson(input.rest());
    if (response) {
        const QByteArray again = response->toJson();
        fuzzCheck(!again.isEmpty(), "a decoded response encodes");
        fuzzCheck(AnalyzeResponse::fromJson(again) == response, "response round trip");
    }
    return 0;
}
