// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "WindowRouter.h"

WindowRouter::WindowRouter(QObject *parent)
    : QObject(parent)
{}

void WindowRouter::setTab(Tab tab)
{
    if (m_tab == tab)
        return;
    m_tab = tab;
    Q_EMIT tabChanged();
}

void WindowRouter::setTabIndex(int index)
{
    if (index == 0 || index == 1)
        setTab(static_cast<Tab>(index));
}

void WindowRouter::setShowsSetup(bool shows)
{
    if (m_showsSetup == shows)
        return;
    m_showsSetup = shows;
    Q_EMIT showsSetupChanged();
}

void WindowRouter::setSetupStep(int step)
{
    if (m_setupStep == step)
        return;
    m_setupStep = step;
    Q_EMIT setupStepChanged();
}

void WindowRouter::route(std::optional<Tab> tab, std::optional<bool> setup, bool onboardingDone, bool hasFolders)
{
    if (tab)
        setTab(*tab);
    if (!setup) {
        if (!onboardingDone)
            setShowsSetup(true);
        return;
    }
    setShowsSetup(*setup);
    if (*setup)
        setSetupStep(hasFolders ? intelligenceStep : 0);
}

QString rawValue(WindowRouter::Tab tab)
{
    return tab == WindowRouter::Tab::home ? QStringLiteral("home") : QStringLiteral("settings");
}
