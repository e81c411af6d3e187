// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "ActivationSource.h"

#include "KWinScriptActivationSource.h"
#include "X11ActivationSource.h"

#include <QProcessEnvironment>

namespace {
// Wayland sessions other than Plasma reveal the focused application to no ordinary client.
class SilentActivationSource final : public ActivationSource
{
public:
    bool start() override { return false; }
    void stop() override {}
    std::optional<QString> frontmostApplication() const override { return std::nullopt; }
};
} // namespace

ActivationSource::~ActivationSource() = default;

std::unique_ptr<ActivationSource> ActivationSource::createDefault()
{
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QString display = environment.value(QStringLiteral("DISPLAY"));
    const bool wayland = environment.value(QStringLiteral("XDG_SESSION_TYPE")) == QLatin1String("wayland") ||
                         !environment.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty();
    const bool plasma = environment.value(QStringLiteral("XDG_CURRENT_DESKTOP"))
                            .split(u':')
                            .contains(QLatin1String("KDE"), Qt::CaseInsensitive);
    if (wayland && plasma)
        return std::make_unique<KWinScriptActivationSource>();
    if (!display.isEmpty())
        return std::make_unique<X11ActivationSource>(display, QStringList(), wayland);
    return std::make_unique<SilentActivationSource>();
}
