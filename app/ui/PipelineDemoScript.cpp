// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "PipelineDemoScript.h"

#include "IcuText.h"
#include "L10n.h"

#include <unicode/brkiter.h>

#include <vector>

using namespace std::chrono_literals;

namespace {

constexpr auto resetHold = 700ms;
constexpr auto flashHold = 120ms;
constexpr auto scanHold = 1200ms;
constexpr auto beamDelay = 600ms;
constexpr auto stageHold = 900ms;
constexpr auto resultHold = 4200ms;
constexpr auto characterHold = 35ms;
constexpr auto finalHold = 3000ms;

// Offsets of the user-perceived character boundaries, from 0 to the length inclusive.
std::vector<int32_t> boundaries(const QString &text)
{
    static const std::unique_ptr<icu::BreakIterator> prototype = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::BreakIterator> iterator(
            icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
        IcuText::checkIcu(status, "the character break iterator");
        return iterator;
    }();
    std::unique_ptr<icu::BreakIterator> iterator(prototype->clone());
    const icu::UnicodeString icuText = IcuText::toIcu(text);
    iterator->setText(icuText);
    std::vector<int32_t> offsets;
    for (int32_t at = iterator->first(); at != icu::BreakIterator::DONE; at = iterator->next())
        offsets.push_back(at);
    if (offsets.empty())
        offsets.push_back(0);
    return offsets;
}

} // namespace

QList<PipelineDemoScript::Beat> PipelineDemoScript::cycle(int characters)
{
    QList<Beat> beats;
    std::chrono::milliseconds at{0};
    const auto add = [&](Cue cue, std::chrono::milliseconds hold, int value = 0) {
        beats.append({at, cue, value});
        at += hold;
    };
    add(Cue::reset, resetHold);
    add(Cue::flash, flashHold);
    add(Cue::scan, scanHold);
    add(Cue::think, beamDelay);
    add(Cue::beamDown, 0ms);
    for (int stage = 1; stage <= stageCount; ++stage)
        add(Cue::light, stageHold, stage);
    add(Cue::result, resultHold);
    for (int typed = 1; typed <= characters; ++typed)
        add(Cue::type, characterHold, typed);
    at += finalHold;
    add(Cue::end, 0ms);
    return beats;
}

std::chrono::milliseconds PipelineDemoScript::cycleLength(int characters)
{
    return cycle(characters).last().at;
}

PipelineDemoScript::State PipelineDemoScript::apply(State state, const Beat &beat)
{
    switch (beat.cue) {
    case Cue::reset:
    case Cue::end:
        return State{};
    case Cue::flash:
        state.flash = true;
        break;
    case Cue::scan:
        state.flash = false;
        state.scanning = true;
        break;
    case Cue::think:
        state.thinking = true;
        state.pulsing = true;
        break;
    case Cue::beamDown:
        state.beamDown = true;
        break;
    case Cue::light:
        state.stage = beat.value;
        state.lit = beat.value;
        break;
    case Cue::result:
        state.thinking = false;
        state.done = true;
        break;
    case Cue::type:
        state.typed = beat.value;
        break;
    }
    return state;
}

QString PipelineDemoScript::oldName(const QString &languageCode)
{
    return languageCode == u"ru" ? QStringLiteral("Снимок экрана от 2026-11-12 10-42-17.png")
                                 : QStringLiteral("Screenshot From 2026-11-12 10-42-17.png");
}

int PipelineDemoScript::characterCount(const QString &text)
{
    return static_cast<int>(boundaries(text).size()) - 1;
}

QString PipelineDemoScript::firstCharacters(const QString &text, int count)
{
    const std::vector<int32_t> offsets = boundaries(text);
    const auto index = static_cast<std::size_t>(std::clamp(count, 0, static_cast<int>(offsets.size()) - 1));
    return text.left(offsets[index]);
}

PipelineDemoScript::PipelineDemoScript(QObject *parent)
    : PipelineDemoScript(BeatClock::monotonic(), parent)
{}

PipelineDemoScript::PipelineDemoScript(std::unique_ptr<BeatClock> clock, QObject *parent)
    : QObject(parent)
    , m_clock(std::move(clock))
{}

PipelineDemoScript::~PipelineDemoScript()
{
    m_clock->cancel();
}

void PipelineDemoScript::setRunning(bool running)
{
    if (running == m_running)
        return;
    m_running = running;
    if (running) {
        begin(m_clock->now());
    } else {
        m_clock->cancel();
        show(State{});
    }
    Q_EMIT runningChanged();
}

QString PipelineDemoScript::fileName() const
{
    if (m_state.typed == 0)
        return m_running ? m_oldName : oldName(L10n::code());
    return firstCharacters(m_name, m_state.typed) + QStringLiteral(".png");
}

void PipelineDemoScript::begin(std::chrono::milliseconds start)
{
    // Read per cycle, so a change of the interface language shows from the next cycle on.
    m_oldName = oldName(L10n::code());
    m_name = L("demo.newName");
    m_beats = cycle(characterCount(m_name));
    // After the event loop stood still for longer than a cycle, start afresh rather than replay what was missed.
    const std::chrono::milliseconds now = m_clock->now();
    m_cycleStart = now - start > m_beats.last().at ? now : start;
    m_next = 0;
    Q_EMIT cycleBegan();
    advance();
}

void PipelineDemoScript::advance()
{
    const std::chrono::milliseconds elapsed = m_clock->now() - m_cycleStart;
    State state = m_state;
    // Beats that fell due together (a late wake-up, or beats at the same moment) show as one change.
    while (m_next < m_beats.size() && m_beats.at(m_next).at <= elapsed) {
        const Beat &beat = m_beats.at(m_next++);
        if (beat.cue == Cue::end) {
            begin(m_cycleStart + beat.at);
            return;
        }
        state = apply(state, beat);
    }
    show(state);
    m_clock->wakeAt(m_cycleStart + m_beats.at(m_next).at, [this] { advance(); });
}

void PipelineDemoScript::show(const State &state)
{
    if (state == m_state)
        return;
    m_state = state;
    Q_EMIT changed();
}
