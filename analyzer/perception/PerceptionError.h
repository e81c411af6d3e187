// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QString>

// Why a screenshot could not be perceived.
struct PerceptionError
{
    enum class Code {
        // The bytes are not an image we can decode, or its declared size is beyond what we decode.
        unreadableImage,
        // The text-recognition engine failed; detail carries its own message.
        recognitionFailed,
    };

    Code code = Code::unreadableImage;
    QString detail;

    // Dotted key of the user-facing text; recognition failures are shown with their detail instead.
    QString descriptionKey() const
    {
        return code == Code::unreadableImage ? QStringLiteral("error.unreadableImage") : QString();
    }
};
