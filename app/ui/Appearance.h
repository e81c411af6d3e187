// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "AppearanceMode.h"

#include <QDBusVariant>
#include <QObject>
#include <QVariant>
#include <QtQml/qqmlregistration.h>

#include <optional>

// Light or dark windows: as the user chose, or following the desktop's colour-scheme preference, which the
// settings portal reports (and announces when it changes); the palette decides where no portal answers.
class Appearance : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the application")
    Q_PROPERTY(bool dark READ dark NOTIFY darkChanged)

public:
    explicit Appearance(QObject *parent = nullptr);

    bool dark() const { return m_dark; }
    void apply(AppearanceMode mode);
    // Starts listening to the desktop's preference; without it only the palette counts.
    void followDesktop();

    // The portal's "color-scheme": 0 no preference, 1 dark, 2 light.
    static bool resolveDark(AppearanceMode mode, std::optional<uint> colorScheme, bool paletteDark);
    // The scheme inside a portal reply, which older portals wrap in one more variant; absent when malformed.
    static std::optional<uint> colorSchemeFrom(const QVariant &reply);

Q_SIGNALS:
    void darkChanged();

private Q_SLOTS:
    void onSettingChanged(const QString &group, const QString &key, const QDBusVariant &value);

private:
    void update();
    void read(bool readOne);

    AppearanceMode m_mode = AppearanceMode::system;
    std::optional<uint> m_colorScheme;
    bool m_dark = false;
};
