// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "AINamerError.h"
#include "FifoLock.h"
#include "ModelDeadline.h"
#include "ModelEnvironment.h"
#include "ModelError.h"
#include "ModelSession.h"
#include "ModelStatus.h"
#include "NameLanguage.h"
#include "ScreenshotFeatures.h"

#include <QString>

#include <QCoroTask>

#include <optional>
#include <utility>
#include <variant>

// A title from the language model and the language it ended up in.
struct AINameResult
{
    QString title;
    QString language;
    // The title could not be brought into the wanted language.
    bool languageFallback = false;

    bool operator==(const AINameResult &) const = default;
};

using AINamerResult = std::variant<AINameResult, AINamerError>;

// Asks the local language model for a short title of one screenshot, from the picture and its text or from the
// text alone, and keeps only titles whose words are on the screen. One per connection: its calls run one at a
// time in arrival order, and a session prewarmed for a language serves that connection's next screenshot in it.
// A prewarm never waits for or holds up a call: the model loads while calls go on, each within its deadline.
class AINamer
{
public:
    // What a model error means for the namer.
    struct Failure
    {
        enum class Kind { busy, other, contextTooLong, refused };
        Kind kind = Kind::other;
        QString message;

        bool operator==(const Failure &) const = default;
    };

    // Characters of recognised text in a text-mode prompt, and after the model's context overflowed.
    static constexpr int textBudget = 1300;
    static constexpr int reducedTextBudget = 500;

    explicit AINamer(ModelEnvironment environment = ModelEnvironment::system());
    AINamer(const AINamer &) = delete;
    AINamer &operator=(const AINamer &) = delete;

    // Readies a session for titles in outputLanguage (English when the model does not write it) and has the server
    // load the model; returns at once when the model is not available or such a session is already waiting.
    QCoro::Task<void> prewarm(QString outputLanguage);

    // `status` is the caller's fresh reading of the model. `picture` is used only when the model accepts images;
    // pass a null one for text mode. Every request of the call, translations included, ends by `deadline`; one
    // that runs out is a busy error.
    QCoro::Task<AINamerResult> suggest(ModelStatus status, ScreenshotFeatures features, ModelImage picture,
                                       NameLanguage nameLanguage, QString interfaceCode, std::optional<QString> appName,
                                       ModelDeadline deadline);

    // The language of the session waiting to be used, if any.
    std::optional<QString> warmLanguage() const;

    static QString instructions(const QString &outputLanguage);
    static QString visionInstructions(const QString &outputLanguage);
    static QString prompt(const ScreenshotFeatures &features, const std::optional<QString> &app, int budget);
    static QString picturePrompt(const ScreenshotFeatures &features, const std::optional<QString> &app, int textBudget,
                                 bool strict);
    static const ModelAnswerFormat &summaryFormat();
    static const ModelAnswerFormat &nameFormat();

    // The application's name when it can say something about the screen (not the dock, the login window, ...).
    static std::optional<QString> cleanAppName(const std::optional<QString> &appName);
    // The title led by the application's name unless the title already names it.
    static QString withAppPrefix(const QString &title, const std::optional<QString> &cleanApp);
    static Failure classify(const ModelError &error);

private:
    struct Call;
    using Attempt = std::variant<QString, AINamerError>;

    ModelSession session(const ModelStatus &status, const QString &language, bool picture) const;
    ModelSession takeSession(const ModelStatus &status, const QString &language);

    QCoro::Task<Attempt> nameFromText(const Call &call);
    QCoro::Task<Attempt> nameFromPicture(const Call &call, const ModelImage &picture);
    QCoro::Task<bool> accepted(const Call &call, const QString &title, bool pictureMode);
    QCoro::Task<AINameResult> inWantedLanguage(const Call &call, const QString &title);

    ModelEnvironment m_environment;
    FifoLock m_lock;
    std::optional<std::pair<QString, ModelSession>> m_warmSession;
};
