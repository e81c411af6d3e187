// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AIAvailability.h"

#include "ModelProbe.h"

QCoro::Task<AIAvailability> AIAvailability::current()
{
    return current(ModelEnvironment::system());
}

QCoro::Task<AIAvailability> AIAvailability::current(ModelEnvironment environment)
{
    const ModelStatus status = co_await ModelProbe::read(std::move(environment));
    co_return status.availability;
}

QString AIAvailability::debugDescription() const
{
    switch (m_kind) {
    case Kind::available:
        return QStringLiteral("available");
    case Kind::deviceNotEligible:
        return QStringLiteral("deviceNotEligible");
    case Kind::notEnabled:
        return QStringLiteral("notEnabled");
    case Kind::modelNotReady:
        return QStringLiteral("modelNotReady");
    case Kind::unknown:
        break;
    }
    return QStringLiteral("unknown(%1)").arg(m_reason);
}
