// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

// Opens folders and web pages with the desktop's default handler, and starts the desktop's settings programs; a
// program that is missing is told by the answer, one that ends with an error through the failure callback.
class DesktopLauncher : public QObject
{
    Q_OBJECT

public:
    using Failure = std::function<void(const QString &target)>;

    explicit DesktopLauncher(QObject *parent = nullptr);

    void setOnFailure(Failure onFailure) { m_onFailure = std::move(onFailure); }

    // False when the program cannot be started; one that ends with an error is reported when it ends.
    bool run(const QString &program, const QStringList &arguments, const QString &target = {});
    // A folder, file or address through xdg-open.
    bool open(const QString &target);

private:
    void fail(const QString &target) const;

    Failure m_onFailure;
};
