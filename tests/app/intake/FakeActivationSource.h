// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "ActivationSource.h"

// An activation source driven by the test.
class FakeActivationSource final : public ActivationSource
{
public:
    bool available = true;
    std::optional<QString> frontmost;
    int starts = 0;
    int stops = 0;

    bool start() override
    {
        ++starts;
        return available;
    }
    void stop() override { ++stops; }
    std::optional<QString> frontmostApplication() const override { return available ? frontmost : std::nullopt; }
    void activate(const QString &name) { Q_EMIT activated(name); }
};
