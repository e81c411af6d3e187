// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
//
// The request a peer sends the analyzer: any bytes decode or fail cleanly, and what decodes survives its own
// encoding unchanged.
#include "AnalyzeRequest.h"
#include "FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const FuzzInput input(data, size);
    const std::optional<AnalyzeRequest> request = AnalyzeRequest::fromJson(input.rest());
    if (request)
        fuzzCheck(AnalyzeRequest::fromJson(request->toJson()) == request, "request round trip");
    return 0;
}
