// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include <optional>

// What the main window shows: which tab, and whether the onboarding covers it at which step. Lives for the whole
// run, so the tab and the step survive closing the window.
class WindowRouter : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the application")
    Q_PROPERTY(Tab tab READ tab WRITE setTab NOTIFY tabChanged)
    // The tab as the tab bar counts: 0 home, 1 settings.
    Q_PROPERTY(int tabIndex READ tabIndex WRITE setTabIndex NOTIFY tabChanged)
    Q_PROPERTY(bool showsSetup READ showsSetup WRITE setShowsSetup NOTIFY showsSetupChanged)
    Q_PROPERTY(int setupStep READ setupStep WRITE setSetupStep NOTIFY setupStepChanged)

public:
    enum class Tab { home, settings };
    Q_ENUM(Tab)

    // The onboarding's steps: welcome, how it works, folder, local model, name language, finish.
    static constexpr int setupStepCount = 6;
    // The onboarding's first step past welcome, how it works and the folder: the local model.
    static constexpr int intelligenceStep = 3;

    explicit WindowRouter(QObject *parent = nullptr);

    Tab tab() const { return m_tab; }
    bool showsSetup() const { return m_showsSetup; }
    int setupStep() const { return m_setupStep; }
    void setTab(Tab tab);
    int tabIndex() const { return static_cast<int>(m_tab); }
    void setTabIndex(int index);
    void setShowsSetup(bool shows);
    void setSetupStep(int step);

    // The routing part of opening the main window. Without `setup` the onboarding shows when it is not done
    // (and otherwise stays as it was); with `setup` true it starts at the welcome without folders, else at the
    // local model.
    void route(std::optional<Tab> tab, std::optional<bool> setup, bool onboardingDone, bool hasFolders);

Q_SIGNALS:
    void tabChanged();
    void showsSetupChanged();
    void setupStepChanged();

private:
    Tab m_tab = Tab::home;
    bool m_showsSetup = false;
    int m_setupStep = 0;
};

// "home", "settings": the tab's localisation key is "tab." and this.
QString rawValue(WindowRouter::Tab tab);
