// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "AlertPresenter.h"

// The pipeline's alerts as application-modal message boxes, awaited without a nested event loop.
class MessageBoxAlertPresenter : public AlertPresenter
{
public:
    QCoro::Task<int> present(Alert alert) override;
};
