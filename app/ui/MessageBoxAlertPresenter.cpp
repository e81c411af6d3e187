// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "MessageBoxAlertPresenter.h"

#include <QCoroSignal>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

QCoro::Task<int> MessageBoxAlertPresenter::present(Alert alert)
{
    QPointer<QMessageBox> box = new QMessageBox;
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowTitle(QStringLiteral("Zentrope"));
    box->setText(alert.message);
    box->setInformativeText(alert.informativeText);
    QList<QAbstractButton *> buttons;
    for (qsizetype i = 0; i < alert.buttons.size(); ++i) {
        QPushButton *button =
            box->addButton(alert.buttons.at(i), i == 0 ? QMessageBox::AcceptRole : QMessageBox::RejectRole);
        if (i == 0)
            box->setDefaultButton(button);
        buttons.append(button);
    }
    box->show();
    box->raise();
    box->activateWindow();
    co_await qCoro(box.data(), &QDialog::finished);
    if (!box)
        co_return -1;
    co_return static_cast<int>(buttons.indexOf(box->clickedButton()));
}
