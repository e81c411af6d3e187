// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "DesktopFileRevealer.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

DesktopFileRevealer::DesktopFileRevealer(QDBusConnection sessionBus, Opener opener, QObject *parent)
    : QObject(parent)
    , m_bus(std::move(sessionBus))
    , m_opener(opener ? std::move(opener) : Opener(&DesktopFileRevealer::openWithDefaultHandler))
{}

void DesktopFileRevealer::openWithDefaultHandler(const QString &path)
{
    QProcess::startDetached(QStringLiteral("xdg-open"), {path});
}

void DesktopFileRevealer::reveal(const QString &filePath)
{
    const QString folder = QFileInfo(filePath).absolutePath();
    if (!m_bus.isConnected()) {
        openFolder(folder);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(service), QString::fromLatin1(path),
                                                       QString::fromLatin1(interface), QStringLiteral("ShowItems"));
    call << QStringList{QUrl::fromLocalFile(filePath).toString(QUrl::FullyEncoded)} << QString();
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, callTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, folder] {
        watcher->deleteLater();
        if (watcher->isError())
            openFolder(folder);
    });
}

void DesktopFileRevealer::openFolder(const QString &folderPath)
{
    m_opener(folderPath);
}
