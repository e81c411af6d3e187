// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "PipelineDemoScript.h"
#include "L10n.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

using namespace std::chrono_literals;
using State = PipelineDemoScript::State;

namespace {

// Time that moves only when the test runs the pending wake-up.
class VirtualBeatClock final : public BeatClock
{
public:
    std::chrono::milliseconds now() const override { return m_now; }
    void wakeAt(std::chrono::milliseconds when, std::function<void()> wake) override
    {
        m_when = when;
        m_wake = std::move(wake);
    }
    void cancel() override { m_wake = nullptr; }
    bool isPending() const override { return static_cast<bool>(m_wake); }

    void runNext()
    {
        ASSERT_TRUE(m_wake);
        m_now = std::max(m_now, m_when);
        std::function<void()> wake = std::move(m_wake);
        m_wake = nullptr;
        wake();
    }
    // Time passes without the pending wake-up being run, as when the event loop is busy.
    void jump(std::chrono::milliseconds by) { m_now += by; }
    void advance(std::chrono::milliseconds by)
    {
        const std::chrono::milliseconds target = m_now + by;
        while (m_wake && m_when <= target)
            runNext();
        m_now = target;
    }

private:
    std::chrono::milliseconds m_now{0};
    std::chrono::milliseconds m_when{0};
    std::function<void()> m_wake;
};

class PipelineDemoScriptTest : public ::testing::Test
{
protected:
    void SetUp() override { L10n::apply(InterfaceLanguage::en); }

    // "time flags stage/lit/typed", the flags being flash, scanning, thinking, pulsing, beam down, done.
    QString frame() const
    {
        const State s = m_script.state();
        QString flags;
        for (const auto &[on, letter] : {std::pair{s.flash, 'f'},
                                         {s.scanning, 's'},
                                         {s.thinking, 't'},
                                         {s.pulsing, 'p'},
                                         {s.beamDown, 'b'},
                                         {s.done, 'd'}}) {
            if (on)
                flags += QLatin1Char(letter);
        }
        return QStringLiteral("%1 %2 %3/%4/%5")
            .arg(m_clock->now().count())
            .arg(flags)
            .arg(s.stage)
            .arg(s.lit)
            .arg(s.typed);
    }

    VirtualBeatClock *m_clock = new VirtualBeatClock;
    PipelineDemoScript m_script{std::unique_ptr<BeatClock>(m_clock)};
};

TEST_F(PipelineDemoScriptTest, OneCycleShowsEveryPhaseInOrderOnTheDotAndTypesTheNewName)
{
    const QString name = L("demo.newName");
    const int n = static_cast<int>(name.size());
    QSignalSpy cycles(&m_script, &PipelineDemoScript::cycleBegan);
    QStringList frames;
    QStringList typedNames;
    QObject::connect(&m_script, &PipelineDemoScript::changed, [&] {
        frames.append(frame());
        if (m_script.typed() > 0)
            typedNames.append(m_script.fileName());
    });
    m_script.setRunning(true);
    while (cycles.count() < 2)
        m_clock->runNext();

    QStringList expected{u"700 f 0/0/0"_qs,     u"820 s 0/0/0"_qs,     u"2020 stp 0/0/0"_qs,  u"2620 stpb 1/1/0"_qs,
                         u"3520 stpb 2/2/0"_qs, u"4420 stpb 3/3/0"_qs, u"5320 stpb 4/4/0"_qs, u"6220 spbd 4/4/0"_qs};
    QStringList expectedNames;
    for (int typed = 1; typed <= n; ++typed) {
        expected.append(QStringLiteral("%1 spbd 4/4/%2").arg(10420 + 35 * (typed - 1)).arg(typed));
        expectedNames.append(name.left(typed) + QStringLiteral(".png"));
    }
    // 35 ms a character, then 3 s rest before the next cycle's reset.
    expected.append(QStringLiteral("%1  0/0/0").arg(10420 + 35 * n + 3000));
    EXPECT_EQ(frames, expected);
    EXPECT_EQ(typedNames, expectedNames);
    EXPECT_EQ(m_script.fileName(), QStringLiteral("Screenshot From 2026-11-12 10-42-17.png"));
}

TEST_F(PipelineDemoScriptTest, StoppingMidStageCancelsAndRestartingBeginsAtTheReset)
{
    m_script.setRunning(true);
    m_clock->advance(4000ms);
    ASSERT_EQ(m_script.lit(), 2);
    QSignalSpy changes(&m_script, &PipelineDemoScript::changed);
    m_script.setRunning(false);
    EXPECT_FALSE(m_clock->isPending());
    EXPECT_EQ(m_script.state(), State{});
    EXPECT_EQ(changes.count(), 1);
    // A fresh cycle: the default name held for 0.7 s, then the flash.
    m_script.setRunning(true);
    m_clock->advance(699ms);
    EXPECT_EQ(m_script.state(), State{});
    m_clock->advance(1ms);
    EXPECT_TRUE(m_script.flash());
}

TEST_F(PipelineDemoScriptTest, ALateWakeUpCatchesUpInOneChangeWithoutShiftingTheTimeline)
{
    m_script.setRunning(true);
    // The event loop stood still through five beats.
    m_clock->jump(3000ms);
    QSignalSpy changes(&m_script, &PipelineDemoScript::changed);
    m_clock->runNext();
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(frame(), u"3000 stpb 1/1/0"_qs);
    m_clock->advance(519ms);
    EXPECT_EQ(m_script.lit(), 1);
    m_clock->advance(1ms);
    EXPECT_EQ(m_script.lit(), 2);
}

TEST(PipelineDemoScriptText, TypingNeverSplitsACharacter)
{
    const QString accented = QStringLiteral("Cafe\u0301 menu");
    EXPECT_EQ(PipelineDemoScript::characterCount(accented), 9);
    EXPECT_EQ(PipelineDemoScript::firstCharacters(accented, 4), QStringLiteral("Cafe\u0301"));
    EXPECT_EQ(PipelineDemoScript::firstCharacters(QStringLiteral("Plan \U0001F680 launch"), 6),
              QStringLiteral("Plan \U0001F680"));
    EXPECT_EQ(PipelineDemoScript::firstCharacters(QStringLiteral("abc"), 10), QStringLiteral("abc"));
}

} // namespace
