// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "ActivationSource.h"

#include "X11ActivationSource.h"

#include <QProcessEnvironment>

namespace {
// Plain Wayland sessions do not reveal the focused application to ordinary clients.
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
    const QString display = QProcessEnvironment::systemEnvironment().value(QStringLiteral("DISPLAY"));
    if (!display.isEmpty())
        return std::make_unique<X11ActivationSource>(display);
    return std::make_unique<SilentActivationSource>();
}
