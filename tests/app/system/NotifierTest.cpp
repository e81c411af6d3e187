// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "Notifier.h"
#include "InterfaceLanguage.h"
#include "L10n.h"
#include "SampleRecord.h"

#include <gtest/gtest.h>

namespace {
// Answers at once, remembers every notification, and gives a replaced notification its old id back.
class FakeServer final : public NotifierServer
{
public:
    std::optional<QStringList> answer = QStringList{QStringLiteral("actions"), QStringLiteral("body")};
    int capabilityCalls = 0;
    QList<Notification> shown;
    uint nextId = 100;

    QCoro::Task<std::optional<QStringList>> capabilities() override
    {
        ++capabilityCalls;
        co_return answer;
    }

    QCoro::Task<std::optional<uint>> notify(const Notification &notification) override
    {
        shown.append(notification);
        co_return notification.replacesId != 0 ? notification.replacesId : nextId++;
    }

    void close(uint id) { Q_EMIT notificationClosed(id); }
    void click(uint id, const char *action) { Q_EMIT actionInvoked(id, QString::fromLatin1(action)); }
    void restart() { Q_EMIT serverChanged(); }
};

class NotifierTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        L10n::apply(InterfaceLanguage::en);
        auto fake = std::make_unique<FakeServer>();
        server = fake.get();
        notifier = std::make_unique<Notifier>(std::move(fake));
    }

    FakeServer *server = nullptr;
    std::unique_ptr<Notifier> notifier;
};
} // namespace

TEST_F(NotifierTest, ModesDecideWhatIsPosted)
{
    const struct
    {
        NotificationMode mode;
        bool renamed, error, info;
    } cases[] = {
        {NotificationMode::all, true, true, true},
        {NotificationMode::errors, false, true, false},
        {NotificationMode::off, false, false, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(rawValue(c.mode).toStdString());
        server->shown.clear();
        notifier->postRenamed(sampleRecord(QStringLiteral("Report.png")), c.mode);
        EXPECT_EQ(server->shown.size(), c.renamed ? 1 : 0);
        notifier->postError(QStringLiteral("a.png"), QStringLiteral("No access"), c.mode);
        EXPECT_EQ(server->shown.size(), (c.renamed ? 1 : 0) + (c.error ? 1 : 0));
        notifier->postInfo(QStringLiteral("Batch"), QStringLiteral("2 of 3"), c.mode);
        EXPECT_EQ(server->shown.size(), (c.renamed ? 1 : 0) + (c.error ? 1 : 0) + (c.info ? 1 : 0));
    }
}

TEST_F(NotifierTest, ContentOfEachKind)
{
    const RenameRecord renamed = sampleRecord(QStringLiteral("Report.png"));
    notifier->postRenamed(renamed, NotificationMode::all);
    notifier->postError(QStringLiteral("a.png"), QStringLiteral("No access"), NotificationMode::all);
    ASSERT_EQ(server->shown.size(), 2);

    const auto &rename = server->shown.at(0);
    EXPECT_EQ(rename.summary, L("notif.renamed.title"));
    EXPECT_EQ(rename.body, QStringLiteral("Report\n") + L("notif.renamed.from", renamed.originalName));
    EXPECT_EQ(rename.actions, (QStringList{QStringLiteral("default"), L("notif.reveal"), QStringLiteral("UNDO"),
                                           L("notif.undo"), QStringLiteral("REVEAL"), L("notif.reveal")}));
    EXPECT_EQ(rename.hints.value(QStringLiteral("category")).toString(), QStringLiteral("x-zentrope.renames"));

    const auto &error = server->shown.at(1);
    EXPECT_EQ(error.summary, L("notif.error.title"));
    EXPECT_EQ(error.body, QStringLiteral("a.png\nNo access"));
    EXPECT_TRUE(error.actions.isEmpty());
    EXPECT_EQ(error.hints.value(QStringLiteral("category")).toString(), QStringLiteral("x-zentrope.errors"));
}

TEST_F(NotifierTest, MarkupServersGetEscapedBodies)
{
    server->answer = QStringList{QStringLiteral("body-markup")};
    notifier->postError(QStringLiteral("<b>&.png"), QStringLiteral("x"), NotificationMode::errors);
    ASSERT_EQ(server->shown.size(), 1);
    EXPECT_EQ(server->shown.front().body, QStringLiteral("&lt;b&gt;&amp;.png\nx"));
}

TEST_F(NotifierTest, ARecordsLaterNotificationReplacesTheEarlierOne)
{
    const RenameRecord renamed = sampleRecord(QStringLiteral("Report.png"));
    notifier->postRenamed(renamed, NotificationMode::all);
    notifier->postError(QStringLiteral("a.png"), QStringLiteral("x"), NotificationMode::all);
    notifier->postError(QStringLiteral("a.png"), QStringLiteral("x"), NotificationMode::all);
    RenameRecord again = renamed;
    again.currentName = QStringLiteral("Quarterly report.png");
    notifier->postRenamed(again, NotificationMode::all);
    ASSERT_EQ(server->shown.size(), 4);
    EXPECT_EQ(server->shown.at(1).replacesId, 0u);
    EXPECT_EQ(server->shown.at(2).replacesId, 0u);
    EXPECT_EQ(server->shown.at(3).replacesId, 100u);

    // Once the user closed it there is nothing left to replace.
    server->close(100);
    notifier->postRenamed(again, NotificationMode::all);
    EXPECT_EQ(server->shown.at(4).replacesId, 0u);
}

TEST_F(NotifierTest, ANewServerForgetsTheIdsOfTheOldOne)
{
    QList<QUuid> undone;
    notifier->setOnUndo([&](const QUuid &id) { undone.append(id); });
    const RenameRecord record = sampleRecord(QStringLiteral("Report.png"));
    notifier->postRenamed(record, NotificationMode::all);
    server->click(100, "UNDO");
    EXPECT_EQ(undone, QList<QUuid>{record.id});

    // Restarted, the server gives id 100 to another application's notification.
    server->restart();
    server->click(100, "UNDO");
    EXPECT_EQ(undone.size(), 1);
    notifier->postRenamed(record, NotificationMode::all);
    EXPECT_EQ(server->shown.last().replacesId, 0u);
    EXPECT_EQ(server->capabilityCalls, 2);
}
