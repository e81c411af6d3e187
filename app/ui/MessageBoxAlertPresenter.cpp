// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "MessageBoxAlertPresenter.h"

#include "SignalWait.h"
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

#include <memory>

QCoro::Task<int> MessageBoxAlertPresenter::present(Alert alert)
{
    // Owned here rather than deleted on close: a box deleted on close is gone before the answer is read, and
    // every answer would read as a dismissal.
    auto box = std::make_unique<QMessageBox>();
    box->setWindowTitle(QStringLiteral("Zentrope"));
    box->setWindowModality(Qt::ApplicationModal);
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
    int chosen = -1;
    QObject::connect(box.get(), &QMessageBox::buttonClicked, box.get(), [&chosen, &buttons](QAbstractButton *button) {
        chosen = static_cast<int>(buttons.indexOf(button));
    });
    box->show();
    box->raise();
    box->activateWindow();
    co_await NextSignal(box.get(), &QDialog::finished);
    co_return chosen;
}
