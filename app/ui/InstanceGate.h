// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QObject>

#include <functional>

// Keeps one application per session: the first claims its name on the session bus; a later start asks it to
// show its window ("re-open") and ends.
class InstanceGate : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.zentrope.Zentrope.App1")

public:
    static constexpr const char *serviceName = "org.zentrope.Zentrope";
    static constexpr const char *objectPath = "/org/zentrope/Zentrope";

    explicit InstanceGate(std::function<void()> reopen, QObject *parent = nullptr);

    // True when this process is the first; false after the running one was asked to re-open. Without a session
    // bus every process counts as the first.
    bool claim();

public Q_SLOTS:
    void Activate();

private:
    std::function<void()> m_reopen;
};
