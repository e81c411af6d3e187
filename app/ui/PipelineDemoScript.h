// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "BeatClock.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include <chrono>
#include <memory>

// The looping script of the onboarding's pipeline demonstration: a screenshot appears with its default name, is
// captured and scanned, four stages light up one by one and the name is retyped as a description. The views only
// draw the state; the script owns the order and the timings, runs while `running` is set and touches neither files
// nor the model.
class PipelineDemoScript : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool running READ isRunning WRITE setRunning NOTIFY runningChanged)
    Q_PROPERTY(int stage READ stage NOTIFY changed)
    Q_PROPERTY(int lit READ lit NOTIFY changed)
    Q_PROPERTY(int typed READ typed NOTIFY changed)
    Q_PROPERTY(bool flash READ flash NOTIFY changed)
    Q_PROPERTY(bool scanning READ scanning NOTIFY changed)
    Q_PROPERTY(bool beamDown READ beamDown NOTIFY changed)
    Q_PROPERTY(bool thinking READ thinking NOTIFY changed)
    Q_PROPERTY(bool pulsing READ pulsing NOTIFY changed)
    Q_PROPERTY(bool done READ done NOTIFY changed)
    Q_PROPERTY(QString fileName READ fileName NOTIFY changed)

public:
    // What one beat of the script changes.
    enum class Cue {
        reset,    // everything back to the start, the default name shown
        flash,    // the capture flash
        scan,     // the flash fades and the beam starts down the screenshot
        think,    // the orb starts and the screenshot pulses
        beamDown, // the beam has reached the bottom
        light,    // the next stage row lights up
        result,   // all stages done: the orb rests
        type,     // one more character of the new name
        end,      // the last hold is over; the next cycle begins
    };

    struct Beat
    {
        // Since the cycle began.
        std::chrono::milliseconds at;
        Cue cue;
        // The stage lit or the characters typed.
        int value = 0;
        friend bool operator==(const Beat &, const Beat &) = default;
    };

    struct State
    {
        int stage = 0;
        int lit = 0;
        int typed = 0;
        bool flash = false;
        bool scanning = false;
        bool beamDown = false;
        bool thinking = false;
        bool pulsing = false;
        bool done = false;
        friend bool operator==(const State &, const State &) = default;
    };

    static constexpr int stageCount = 4;
    // As the desktop's screenshot tool names a new file in the interface language ("en" or "ru").
    static QString oldName(const QString &languageCode);

    // One cycle for a new name of `characters` user-perceived characters, ending with its `end` beat.
    static QList<Beat> cycle(int characters);
    static std::chrono::milliseconds cycleLength(int characters);
    static State apply(State state, const Beat &beat);
    // User-perceived characters, so a typed prefix never splits a letter from its accent.
    static int characterCount(const QString &text);
    static QString firstCharacters(const QString &text, int count);

    explicit PipelineDemoScript(QObject *parent = nullptr);
    PipelineDemoScript(std::unique_ptr<BeatClock> clock, QObject *parent = nullptr);
    ~PipelineDemoScript() override;

    bool isRunning() const { return m_running; }
    // Starting begins a fresh cycle at its reset; stopping cancels the pending beat and rests every element.
    void setRunning(bool running);

    const State &state() const { return m_state; }
    int stage() const { return m_state.stage; }
    int lit() const { return m_state.lit; }
    int typed() const { return m_state.typed; }
    bool flash() const { return m_state.flash; }
    bool scanning() const { return m_state.scanning; }
    bool beamDown() const { return m_state.beamDown; }
    bool thinking() const { return m_state.thinking; }
    bool pulsing() const { return m_state.pulsing; }
    bool done() const { return m_state.done; }
    // The default name until typing starts, then the typed part of the new name; both with the extension.
    QString fileName() const;

Q_SIGNALS:
    void runningChanged();
    void changed();
    // A cycle began at its reset (also the first one).
    void cycleBegan();

private:
    void begin(std::chrono::milliseconds start);
    // Plays every beat that is due and waits for the next.
    void advance();
    void show(const State &state);

    std::unique_ptr<BeatClock> m_clock;
    bool m_running = false;
    State m_state;
    // The names of the running cycle, read when it began.
    QString m_oldName;
    QString m_name;
    QList<Beat> m_beats;
    qsizetype m_next = 0;
    std::chrono::milliseconds m_cycleStart{0};
};
