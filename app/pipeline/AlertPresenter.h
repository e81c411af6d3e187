// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QCoroTask>
#include <QString>
#include <QStringList>

// The application's modal alerts as the pipeline needs them; the interface shows them (main thread only).
class AlertPresenter
{
public:
    struct Alert
    {
        QString message;
        QString informativeText;
        // The first is the default button.
        QStringList buttons;
    };

    virtual ~AlertPresenter() = default;

    // Brings the application to the front and shows the alert; the index of the chosen button, or -1 when the
    // alert was dismissed without one.
    virtual QCoro::Task<int> present(Alert alert) = 0;
};
