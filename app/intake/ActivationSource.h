// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QObject>
#include <QString>

#include <memory>
#include <optional>

// Tells which application the user brings to the front, by its display name.
class ActivationSource : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~ActivationSource() override;

    // Begins reporting activations; false when this desktop offers no way to see them.
    virtual bool start() = 0;
    virtual void stop() = 0;
    // The application in front now, when it is known and has a name.
    virtual std::optional<QString> frontmostApplication() const = 0;

    // The source that works on this desktop: a KWin script on Plasma's Wayland session, X11 (and XWayland, for
    // its own windows only) through the root window, else one that reports nothing.
    static std::unique_ptr<ActivationSource> createDefault();

Q_SIGNALS:
    // An application came to the front; `name` is empty when it has none.
    void activated(const QString &name);
};
