// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "ActivationSource.h"
#include "DesktopEntryIndex.h"

#include <QStringList>

#include <cstdint>
#include <memory>

class QSocketNotifier;
struct xcb_connection_t;

// Activations on an X11 display, seen as changes of the root window's _NET_ACTIVE_WINDOW property.
//
// In a Wayland session the display is XWayland's, which sees only X11 applications: its active window stays the
// last X11 one while a native Wayland window has the focus. There the answer counts only while XWayland's input
// focus lies in the active window; otherwise the application in front is unknown.
class X11ActivationSource final : public ActivationSource
{
    Q_OBJECT
public:
    // `displayName` as in DISPLAY; `dataDirs` are where desktop entries are looked up (the XDG ones when empty).
    explicit X11ActivationSource(QString displayName, QStringList dataDirs = {}, bool waylandSession = false,
                                 QObject *parent = nullptr);
    ~X11ActivationSource() override;

    bool start() override;
    void stop() override;
    std::optional<QString> frontmostApplication() const override;

private:
    void readEvents();
    // Takes every event xcb has; true when one may change the answer.
    bool drainEvents();
    void followFocusOf(uint32_t window);
    bool focusIsIn(uint32_t window) const;
    uint32_t parentOf(uint32_t window) const;
    uint32_t activeWindow() const;
    // The window's application name: its desktop entry's name, else its class name.
    std::optional<QString> applicationName(uint32_t window) const;

    QString m_displayName;
    QStringList m_dataDirs;
    const bool m_waylandSession;
    // The window whose focus changes are followed (in a Wayland session).
    uint32_t m_followed = 0;
    DesktopEntryIndex m_entries;
    xcb_connection_t *m_connection = nullptr;
    uint32_t m_root = 0;
    uint32_t m_activeWindowAtom = 0;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::optional<QString> m_lastReported;
};
