// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "ModelEndpoint.h"

#include <QList>
#include <QString>

#include <chrono>
#include <functional>

class KeyValueStore;

// Everything the model lookup and the model client read from outside: settings, environment variables, the
// executables on PATH, where to look for servers and how long to wait. Tests replace any part of it.
struct ModelEnvironment
{
    // Settings keys of the user's explicit choices; empty or missing means "detect".
    static constexpr const char *endpointKey = "modelEndpoint";
    static constexpr const char *modelKey = "modelName";
    // Seconds one analyzer call may spend on the model, every request of it together (a number).
    static constexpr const char *timeLimitKey = "modelTimeLimit";

    // Enough for a cold load from disk (about 20 s), one picture answer of a 4B to 8B vision model on a CPU (20 to
    // 45 s) and a translation; waiting longer for a rename serves the user worse than the text's name or a retry.
    static constexpr std::chrono::seconds defaultTimeLimit{90};
    static constexpr std::chrono::seconds minimumTimeLimit{5};
    static constexpr std::chrono::seconds maximumTimeLimit{600};
    // A named server that is not on this machine is used only when this Boolean is true (default false).
    static constexpr const char *allowRemoteKey = "modelAllowRemote";

    // The settings store; null reads no settings. Not owned: it must outlive every call that uses this value.
    const KeyValueStore *store = nullptr;
    // An environment variable's value (OLLAMA_HOST), empty when unset.
    std::function<QString(const QString &name)> variable;
    // Whether a program of this name is on PATH.
    std::function<bool(const QString &program)> hasExecutable;
    // Where auto-detection looks, in order of preference; each entry's server kind is only asked first, the
    // server is recognised by its answers. Entries not on loopback are skipped.
    QList<ModelEndpoint> candidates;

    // Each request of an availability probe (connect and answer); keeps a query from ever hanging.
    std::chrono::milliseconds probeTimeout{1500};
    // How long a prewarm lets the server load the model. Loads are not cut short at a call's deadline: a server
    // may drop a load whose request went away, and then no call would ever find the model ready.
    std::chrono::milliseconds loadTimeout{300000};
    // How often a loading llama-server is asked whether it is ready.
    std::chrono::milliseconds loadPollInterval{500};

    // The real machine: the user's settings file, the process environment and PATH, and the default ports of
    // Ollama (11434), llama-server (8080, then 9931) and LM Studio (1234) on 127.0.0.1.
    static ModelEnvironment system();
    static QList<ModelEndpoint> defaultCandidates();

    // The settings' values, trimmed; empty when there is no store or no string under the key.
    QString endpointSetting() const;
    QString modelSetting() const;
    // "modelTimeLimit" within the minimum and maximum; the default when it is missing or not a number.
    std::chrono::milliseconds timeLimit() const;
    bool allowsRemote() const;
};
