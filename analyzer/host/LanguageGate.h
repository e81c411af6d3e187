// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "InterfaceLanguage.h"

#include <QCoroTask>
#include <QList>
#include <QPromise>

#include <memory>
#include <optional>

// Calls in different interface languages take turns. The language of the texts is process-wide, and a call makes
// its texts after suspending (for recognition, for the model), so a call may run only while every running call
// shares its language; one in another language waits for them, and calls after it wait for it.
class LanguageGate
{
public:
    static LanguageGate &shared();

    // Resolves once `language` is applied and the caller may run; every entry is paired with one leave().
    QCoro::Task<> enter(InterfaceLanguage language);
    void leave();

private:
    struct Waiter
    {
        InterfaceLanguage language;
        std::shared_ptr<QPromise<void>> turn;
    };
    void admit(InterfaceLanguage language);

    std::optional<InterfaceLanguage> m_current;
    int m_running = 0;
    // First come, first served: a call waits behind every call that waits already.
    QList<Waiter> m_waiting;
};
