// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "NotificationMode.h"
#include "NotifierServer.h"
#include "RenameRecord.h"

#include <QCoroTask>
#include <QHash>
#include <QList>
#include <QObject>
#include <QUuid>

#include <functional>
#include <memory>
#include <optional>

// The application's one gateway to desktop notifications: turns renames, failures and batch ends into
// notifications as the user's mode allows, and routes "Undo", "Reveal" and clicks back to the model.
class Notifier : public QObject
{
    Q_OBJECT

public:
    using RecordCallback = std::function<void(const QUuid &recordId)>;

    static constexpr const char *appName = "Zentrope";
    static constexpr const char *desktopEntry = "org.zentrope.Zentrope";
    static constexpr const char *renamedCategory = "RENAMED";
    static constexpr const char *undoAction = "UNDO";
    static constexpr const char *revealAction = "REVEAL";
    // The key the protocol reserves for a click on the notification itself.
    static constexpr const char *defaultAction = "default";
    static constexpr const char *renamesThread = "renames";
    static constexpr const char *errorsThread = "errors";

    // `server` empty: the desktop's notification service on the session bus.
    explicit Notifier(std::unique_ptr<NotifierServer> server = nullptr, QObject *parent = nullptr);
    ~Notifier() override;

    void setOnUndo(RecordCallback callback) { m_onUndo = std::move(callback); }
    void setOnReveal(RecordCallback callback) { m_onReveal = std::move(callback); }

    // Whether posting is possible; empty until first asked. A server that answered is not asked again until another
    // one takes over; without an answer the next post asks again (at a login the server may start after us).
    std::optional<bool> authorized() const { return m_authorized; }

    // Takes the action titles from the current interface language; later rename notifications carry them.
    void registerCategories();

    // Posting is possible when a notification server answers.
    QCoro::Task<bool> requestAuthorizationIfNeeded();

    // Each returns at once; notifications go out in the order they were posted. A later notification of the
    // same record replaces the earlier one.
    void postRenamed(const RenameRecord &record, NotificationMode mode);
    void postError(const QString &file, const QString &message, NotificationMode mode);
    void postInfo(const QString &title, const QString &body, NotificationMode mode);

Q_SIGNALS:
    // A notification was handed to the server (or dropped: not authorised, or the server refused it); for tests
    // and for observers that need to know the queue moved on.
    void delivered(const QString &requestIdentifier, bool shown);

private:
    struct Outgoing
    {
        QString requestIdentifier;
        QString title;
        QString body;
        // Present for rename notifications: the record their actions act on.
        std::optional<QUuid> record;
        QString thread;
    };

    void enqueue(Outgoing outgoing);
    QCoro::Task<> drain();
    NotifierServer::Notification notification(const Outgoing &outgoing, uint replacesId) const;
    void onActionInvoked(uint id, const QString &actionKey);
    void onNotificationClosed(uint id);
    void onServerChanged();

    std::unique_ptr<NotifierServer> m_server;
    RecordCallback m_onUndo;
    RecordCallback m_onReveal;
    std::optional<bool> m_authorized;
    bool m_bodyMarkup = false;
    std::optional<std::pair<QString, QString>> m_actionTitles;
    QList<Outgoing> m_queue;
    bool m_draining = false;
    // Request identifier -> the server's id of the notification on screen, so a new one replaces it.
    QHash<QString, uint> m_shownIds;
    // The server's id -> the record its actions act on.
    QHash<uint, QUuid> m_records;
};
