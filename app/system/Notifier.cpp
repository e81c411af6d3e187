// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "Notifier.h"

#include "L10n.h"
#include "NotifierDBusServer.h"

#include <QFileInfo>
#include <QPointer>

Notifier::Notifier(std::unique_ptr<NotifierServer> server, QObject *parent)
    : QObject(parent)
    , m_server(server ? std::move(server) : std::make_unique<NotifierDBusServer>())
{
    connect(m_server.get(), &NotifierServer::actionInvoked, this, &Notifier::onActionInvoked);
    connect(m_server.get(), &NotifierServer::notificationClosed, this, &Notifier::onNotificationClosed);
    connect(m_server.get(), &NotifierServer::serverChanged, this, &Notifier::onServerChanged);
}

Notifier::~Notifier() = default;

void Notifier::registerCategories()
{
    m_actionTitles = std::make_pair(L("notif.undo"), L("notif.reveal"));
}

QCoro::Task<bool> Notifier::requestAuthorizationIfNeeded()
{
    if (m_authorized.value_or(false))
        co_return true;
    QPointer<Notifier> self(this);
    const std::optional<QStringList> capabilities = co_await m_server->capabilities();
    if (!self)
        co_return false;
    // Two askers racing both store the same answer.
    m_authorized = capabilities.has_value();
    if (capabilities)
        m_bodyMarkup = capabilities->contains(QLatin1String("body-markup"));
    co_return *m_authorized;
}

void Notifier::postRenamed(const RenameRecord &record, NotificationMode mode)
{
    if (mode != NotificationMode::all)
        return;
    const QString stem = QFileInfo(record.currentName).completeBaseName();
    enqueue({uuidText(record.id), L("notif.renamed.title"),
             stem + QLatin1Char('\n') + L("notif.renamed.from", record.originalName), record.id,
             QLatin1String(renamesThread)});
}

void Notifier::postError(const QString &file, const QString &message, NotificationMode mode)
{
    if (mode == NotificationMode::off)
        return;
    enqueue({uuidText(QUuid::createUuid()), L("notif.error.title"), file + QLatin1Char('\n') + message, std::nullopt,
             QLatin1String(errorsThread)});
}

void Notifier::postInfo(const QString &title, const QString &body, NotificationMode mode)
{
    if (mode != NotificationMode::all)
        return;
    enqueue({uuidText(QUuid::createUuid()), title, body, std::nullopt, {}});
}

void Notifier::enqueue(Outgoing outgoing)
{
    m_queue.append(std::move(outgoing));
    if (!m_draining)
        drain();
}

QCoro::Task<> Notifier::drain()
{
    // One notification at a time, so a second one for a record knows the id of the first and replaces it.
    m_draining = true;
    QPointer<Notifier> self(this);
    while (!m_queue.isEmpty()) {
        const bool allowed = co_await requestAuthorizationIfNeeded();
        if (!self)
            co_return;
        const Outgoing outgoing = m_queue.takeFirst();
        if (!allowed) {
            Q_EMIT delivered(outgoing.requestIdentifier, false);
            continue;
        }
        const NotifierServer::Notification request =
            notification(outgoing, m_shownIds.value(outgoing.requestIdentifier));
        const std::optional<uint> id = co_await m_server->notify(request);
        if (!self)
            co_return;
        if (id) {
            // A replaced notification's id may change; the old one then no longer routes anything.
            if (const uint previous = m_shownIds.value(outgoing.requestIdentifier); previous != 0 && previous != *id)
                m_records.remove(previous);
            if (outgoing.record) {
                m_shownIds.insert(outgoing.requestIdentifier, *id);
                m_records.insert(*id, *outgoing.record);
            }
        }
        Q_EMIT delivered(outgoing.requestIdentifier, id.has_value());
    }
    m_draining = false;
}

NotifierServer::Notification Notifier::notification(const Outgoing &outgoing, uint replacesId) const
{
    NotifierServer::Notification n;
    n.appName = QLatin1String(appName);
    n.replacesId = replacesId;
    n.appIcon = QLatin1String(desktopEntry);
    n.summary = outgoing.title;
    // Servers that read markup would take "<" or "&" in a file name for tags.
    n.body = m_bodyMarkup ? outgoing.body.toHtmlEscaped() : outgoing.body;
    n.hints.insert(QStringLiteral("desktop-entry"), QLatin1String(desktopEntry));
    if (!outgoing.thread.isEmpty())
        n.hints.insert(QStringLiteral("category"), QStringLiteral("x-zentrope.") + outgoing.thread);
    if (outgoing.record) {
        const auto titles = m_actionTitles ? *m_actionTitles : std::make_pair(L("notif.undo"), L("notif.reveal"));
        n.actions = {QLatin1String(defaultAction), titles.second, QLatin1String(undoAction), titles.first,
                     QLatin1String(revealAction),  titles.second};
    }
    return n;
}

void Notifier::onActionInvoked(uint id, const QString &actionKey)
{
    // Only rename notifications are routed; the server's ids of other notifications are not kept.
    const auto it = m_records.constFind(id);
    if (it == m_records.cend())
        return;
    const QUuid record = *it;
    if (actionKey == QLatin1String(undoAction)) {
        if (m_onUndo)
            m_onUndo(record);
    } else if (actionKey == QLatin1String(revealAction) || actionKey == QLatin1String(defaultAction)) {
        if (m_onReveal)
            m_onReveal(record);
    }
}

void Notifier::onServerChanged()
{
    // A new server numbers its notifications afresh: an old id could reveal or undo through another application's
    // notification. Its capabilities are asked anew too.
    m_records.clear();
    m_shownIds.clear();
    m_authorized.reset();
}

void Notifier::onNotificationClosed(uint id)
{
    const auto it = m_records.constFind(id);
    if (it == m_records.cend())
        return;
    m_shownIds.remove(uuidText(*it));
    m_records.erase(it);
}
