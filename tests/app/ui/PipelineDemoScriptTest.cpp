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

    // Jumps to the pending wake-up and runs it.
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

struct Frame
{
    qint64 ms;
    State state;
    QString fileName;
};

class PipelineDemoScriptTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        L10n::apply(InterfaceLanguage::en);
        auto clock = std::make_unique<VirtualBeatClock>();
        m_clock = clock.get();
        m_script = std::make_unique<PipelineDemoScript>(std::move(clock));
    }

    VirtualBeatClock *m_clock = nullptr;
    std::unique_ptr<PipelineDemoScript> m_script;
};

State lit(State state, int stages)
{
    state.stage = stages;
    state.lit = stages;
    return state;
}

TEST_F(PipelineDemoScriptTest, OneCycleShowsEveryPhaseInOrderOnTheDot)
{
    const QString name = L("demo.newName");
    const int n = static_cast<int>(name.size());

    QSignalSpy cycles(m_script.get(), &PipelineDemoScript::cycleBegan);
    std::vector<Frame> frames;
    QObject::connect(m_script.get(), &PipelineDemoScript::changed, [&] {
        frames.push_back({m_clock->now().count(), m_script->state(), m_script->fileName()});
    });
    m_script->setRunning(true);
    while (cycles.count() < 2)
        m_clock->runNext();

    State s;
    std::vector<Frame> expected;
    s.flash = true;
    expected.push_back({700, s, {}});
    s.flash = false;
    s.scanning = true;
    expected.push_back({820, s, {}});
    s.thinking = s.pulsing = true;
    expected.push_back({2020, s, {}});
    s.beamDown = true;
    expected.push_back({2620, lit(s, 1), {}});
    expected.push_back({3520, lit(s, 2), {}});
    expected.push_back({4420, lit(s, 3), {}});
    s = lit(s, 4);
    expected.push_back({5320, s, {}});
    s.thinking = false;
    s.done = true;
    expected.push_back({6220, s, {}});
    for (int typed = 1; typed <= n; ++typed) {
        s.typed = typed;
        expected.push_back({10420 + 35 * (typed - 1), s, name.left(typed) + QStringLiteral(".png")});
    }
    // N characters take N × 35 ms, then 3 s rest before the next cycle's reset.
    expected.push_back({10420 + 35 * n + 3000, State{}, QStringLiteral("Screenshot From 2026-11-12 10-42-17.png")});

    ASSERT_EQ(frames.size(), expected.size());
    for (std::size_t i = 0; i < frames.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(frames[i].ms, expected[i].ms);
        EXPECT_EQ(frames[i].state, expected[i].state);
        if (!expected[i].fileName.isEmpty()) {
            EXPECT_EQ(frames[i].fileName, expected[i].fileName);
        }
    }
}

TEST_F(PipelineDemoScriptTest, StoppingMidStageCancelsAndRestartingBeginsAtTheReset)
{
    m_script->setRunning(true);
    m_clock->advance(4000ms);
    ASSERT_EQ(m_script->lit(), 2);

    QSignalSpy changes(m_script.get(), &PipelineDemoScript::changed);
    m_script->setRunning(false);
    EXPECT_FALSE(m_clock->isPending());
    EXPECT_EQ(m_script->state(), State{});
    EXPECT_EQ(changes.count(), 1);

    // A fresh cycle: the default name held for 0.7 s, then the flash.
    m_script->setRunning(true);
    m_clock->advance(699ms);
    EXPECT_EQ(m_script->state(), State{});
    m_clock->advance(1ms);
    EXPECT_TRUE(m_script->flash());
}

TEST_F(PipelineDemoScriptTest, ALateWakeUpCatchesUpInOneChangeWithoutShiftingTheTimeline)
{
    m_script->setRunning(true);
    // The event loop stood still through five beats.
    m_clock->jump(3000ms);
    QSignalSpy changes(m_script.get(), &PipelineDemoScript::changed);
    m_clock->runNext();
    EXPECT_EQ(changes.count(), 1);
    EXPECT_FALSE(m_script->flash());
    EXPECT_TRUE(m_script->beamDown());
    EXPECT_EQ(m_script->lit(), 1);
    m_clock->advance(519ms);
    EXPECT_EQ(m_script->lit(), 1);
    m_clock->advance(1ms);
    EXPECT_EQ(m_script->lit(), 2);
}

TEST(PipelineDemoScriptText, TypingNeverSplitsACharacter)
{
    const QString accented = QStringLiteral("Cafe\u0301 menu");
    EXPECT_EQ(PipelineDemoScript::characterCount(accented), 9);
    EXPECT_EQ(PipelineDemoScript::firstCharacters(accented, 4), QStringLiteral("Cafe\u0301"));
    const QString emoji = QStringLiteral("Plan \U0001F680 launch");
    EXPECT_EQ(PipelineDemoScript::firstCharacters(emoji, 6), QStringLiteral("Plan \U0001F680"));
    EXPECT_EQ(PipelineDemoScript::characterCount(QStringLiteral("Квартальный отчёт")), 17);
    EXPECT_EQ(PipelineDemoScript::firstCharacters(QStringLiteral("abc"), 10), QStringLiteral("abc"));
}

} // namespace
