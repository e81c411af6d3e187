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
    std::optional<QStringList> answer = QStringList{u"actions"_qs, u"body"_qs};
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
    void SetUp() override { L10n::apply(InterfaceLanguage::en); }

    std::unique_ptr<FakeServer> owned = std::make_unique<FakeServer>();
    FakeServer *server = owned.get();
    Notifier notifier{std::move(owned)};
    const RenameRecord renamed = sampleRecord(u"Report.png"_qs);
};
} // namespace

TEST_F(NotifierTest, ModesDecideWhatIsPostedAndEachKindCarriesItsBodyActionsAndCategory)
{
    const auto posts = [this](NotificationMode mode, int renames, int errors, int infos) {
        server->shown.clear();
        notifier.postRenamed(renamed, mode);
        notifier.postError(u"a.png"_qs, u"No access"_qs, mode);
        notifier.postInfo(u"Batch"_qs, u"2 of 3"_qs, mode);
        EXPECT_EQ(server->shown.size(), renames + errors + infos) << rawValue(mode).toStdString();
    };
    posts(NotificationMode::off, 0, 0, 0);
    posts(NotificationMode::errors, 0, 1, 0);
    posts(NotificationMode::all, 1, 1, 1);

    const auto &rename = server->shown.at(0);
    EXPECT_EQ(rename.body, u"Report\n"_qs + L("notif.renamed.from", renamed.originalName));
    EXPECT_EQ(rename.actions, (QStringList{u"default"_qs, L("notif.reveal"), u"UNDO"_qs, L("notif.undo"), u"REVEAL"_qs,
                                           L("notif.reveal")}));
    EXPECT_EQ(rename.hints.value(u"category"_qs).toString(), u"x-zentrope.renames"_qs);
    const auto &error = server->shown.at(1);
    EXPECT_EQ(error.body, u"a.png\nNo access"_qs);
    EXPECT_TRUE(error.actions.isEmpty());
    EXPECT_EQ(error.hints.value(u"category"_qs).toString(), u"x-zentrope.errors"_qs);
}

TEST_F(NotifierTest, MarkupServersGetEscapedBodies)
{
    server->answer = QStringList{u"body-markup"_qs};
    notifier.postError(u"<b>&.png"_qs, u"x"_qs, NotificationMode::errors);
    ASSERT_EQ(server->shown.size(), 1);
    EXPECT_EQ(server->shown.front().body, u"&lt;b&gt;&amp;.png\nx"_qs);
}

TEST_F(NotifierTest, ARecordsLaterNotificationReplacesTheEarlierOneUntilClosedOrTheServerRestarts)
{
    QList<QUuid> undone;
    notifier.setOnUndo([&](const QUuid &id) { undone.append(id); });
    notifier.postRenamed(renamed, NotificationMode::all);
    notifier.postError(u"a.png"_qs, u"x"_qs, NotificationMode::all);
    notifier.postError(u"a.png"_qs, u"x"_qs, NotificationMode::all);
    RenameRecord again = renamed;
    again.currentName = u"Quarterly report.png"_qs;
    notifier.postRenamed(again, NotificationMode::all);
    ASSERT_EQ(server->shown.size(), 4);
    EXPECT_EQ(server->shown.at(2).replacesId, 0u);
    EXPECT_EQ(server->shown.at(3).replacesId, 100u);
    server->click(100, "UNDO");
    EXPECT_EQ(undone, QList<QUuid>{renamed.id});

    // Once the user closed it there is nothing left to replace.
    server->close(100);
    notifier.postRenamed(again, NotificationMode::all);
    EXPECT_EQ(server->shown.at(4).replacesId, 0u);

    // Restarted, the server gives the same ids to another application's notifications.
    const uint shownAs = server->nextId - 1;
    server->restart();
    server->click(shownAs, "UNDO");
    EXPECT_EQ(undone.size(), 1);
    notifier.postRenamed(again, NotificationMode::all);
    EXPECT_EQ(server->shown.last().replacesId, 0u);
    EXPECT_EQ(server->capabilityCalls, 2);
}
