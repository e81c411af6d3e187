// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "Appearance.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QPalette>

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString settingsInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString appearanceGroup = QStringLiteral("org.freedesktop.appearance");
const QString schemeKey = QStringLiteral("color-scheme");

bool paletteIsDark()
{
    const QPalette palette = QGuiApplication::palette();
    return palette.color(QPalette::Window).lightness() < palette.color(QPalette::WindowText).lightness();
}

} // namespace

Appearance::Appearance(QObject *parent)
    : QObject(parent)
{
    update();
}

bool Appearance::resolveDark(AppearanceMode mode, std::optional<uint> colorScheme, bool paletteDark)
{
    switch (mode) {
    case AppearanceMode::light:
        return false;
    case AppearanceMode::dark:
        return true;
    case AppearanceMode::system:
        break;
    }
    if (colorScheme == 1u)
        return true;
    if (colorScheme == 2u)
        return false;
    return paletteDark;
}

std::optional<uint> Appearance::colorSchemeFrom(const QVariant &reply)
{
    QVariant value = reply;
    // Read() answers v(v(u)); ReadOne() answers v(u). Unwrap at most twice.
    for (int depth = 0; depth < 3; ++depth) {
        if (value.canConvert<QDBusVariant>() && value.metaType() == QMetaType::fromType<QDBusVariant>()) {
            value = qvariant_cast<QDBusVariant>(value).variant();
            continue;
        }
        if (value.metaType() == QMetaType::fromType<QDBusArgument>()) {
            const auto argument = qvariant_cast<QDBusArgument>(value);
            if (argument.currentSignature() != u"v")
                return std::nullopt;
            QDBusVariant inner;
            argument >> inner;
            value = inner.variant();
            continue;
        }
        break;
    }
    if (value.metaType() == QMetaType::fromType<uint>())
        return value.toUInt();
    if (value.metaType() == QMetaType::fromType<int>() && value.toInt() >= 0)
        return static_cast<uint>(value.toInt());
    return std::nullopt;
}

void Appearance::apply(AppearanceMode mode)
{
    m_mode = mode;
    update();
}

void Appearance::followDesktop()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.connect(portalService, portalPath, settingsInterface, QStringLiteral("SettingChanged"), this,
                SLOT(onSettingChanged(QString, QString, QDBusVariant)));
    read(true);
}

void Appearance::read(bool readOne)
{
    QDBusMessage call = QDBusMessage::createMethodCall(portalService, portalPath, settingsInterface,
                                                       readOne ? QStringLiteral("ReadOne") : QStringLiteral("Read"));
    call << appearanceGroup << schemeKey;
    auto *watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call, 2000), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, readOne] {
        watcher->deleteLater();
        const QDBusMessage reply = watcher->reply();
        if (reply.type() == QDBusMessage::ErrorMessage || reply.arguments().isEmpty()) {
            // Portals before version 2 know only Read.
            if (readOne && reply.errorName() == u"org.freedesktop.DBus.Error.UnknownMethod")
                read(false);
            return;
        }
        m_colorScheme = colorSchemeFrom(reply.arguments().constFirst());
        update();
    });
}

void Appearance::onSettingChanged(const QString &group, const QString &key, const QDBusVariant &value)
{
    if (group != appearanceGroup || key != schemeKey)
        return;
    m_colorScheme = colorSchemeFrom(value.variant());
    update();
}

void Appearance::update()
{
    const bool dark = resolveDark(m_mode, m_colorScheme, paletteIsDark());
    if (dark == m_dark)
        return;
    m_dark = dark;
    Q_EMIT darkChanged();
}
