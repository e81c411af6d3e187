// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "LanguageGate.h"

#include "L10n.h"

#include <QCoroFuture>

LanguageGate &LanguageGate::shared()
{
    static LanguageGate gate;
    return gate;
}

QCoro::Task<> LanguageGate::enter(InterfaceLanguage language)
{
    if (m_waiting.isEmpty() && (m_running == 0 || m_current == language)) {
        admit(language);
        co_return;
    }
    auto turn = std::make_shared<QPromise<void>>();
    turn->start();
    m_waiting.append({language, turn});
    // leave() admits this call before it fulfils the promise.
    co_await turn->future();
}

void LanguageGate::leave()
{
    --m_running;
    while (!m_waiting.isEmpty() && (m_running == 0 || m_current == m_waiting.first().language)) {
        const Waiter next = m_waiting.takeFirst();
        admit(next.language);
        next.turn->finish();
    }
}

void LanguageGate::admit(InterfaceLanguage language)
{
    if (m_running++ == 0 && m_current != language) {
        m_current = language;
        L10n::apply(language);
    }
}
