// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QString>

#include <QCoroTask>

struct ModelEnvironment;

// Whether the local language model can be used now, and if not, why; values compare equal only with the same
// reason. A model provider reports one of these; the value itself knows nothing about where it came from.
class AIAvailability
{
public:
    enum class Kind { unknown, available, deviceNotEligible, notEnabled, modelNotReady };

    static AIAvailability available() { return AIAvailability(Kind::available); }
    static AIAvailability deviceNotEligible() { return AIAvailability(Kind::deviceNotEligible); }
    static AIAvailability notEnabled() { return AIAvailability(Kind::notEnabled); }
    static AIAvailability modelNotReady() { return AIAvailability(Kind::modelNotReady); }
    static AIAvailability unknown(const QString &reason) { return AIAvailability(Kind::unknown, reason); }

    // Asks the model servers now; never cached, never blocks the event loop, bounded by the probe time-out.
    // Callers that also need the model's languages or vision read a whole ModelStatus through ModelProbe instead.
    static QCoro::Task<AIAvailability> current();
    static QCoro::Task<AIAvailability> current(ModelEnvironment environment);

    Kind kind() const { return m_kind; }
    bool isAvailable() const { return m_kind == Kind::available; }
    // The provider's own description; empty unless the kind is unknown.
    QString reason() const { return m_reason; }

    // For diagnostics: the case name, with the reason for unknown.
    QString debugDescription() const;

    friend bool operator==(const AIAvailability &, const AIAvailability &) = default;

private:
    explicit AIAvailability(Kind kind, QString reason = {})
        : m_kind(kind)
        , m_reason(std::move(reason))
    {}

    Kind m_kind;
    QString m_reason;
};
