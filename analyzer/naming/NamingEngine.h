// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "AINamer.h"
#include "Clock.h"
#include "ModelDeadline.h"
#include "ModelEnvironment.h"
#include "NameLanguage.h"
#include "NamingEngineKind.h"
#include "NamingError.h"
#include "VisionPerception.h"

#include <QByteArray>
#include <QString>

#include <QCoroTask>

#include <functional>
#include <optional>
#include <variant>

// A title and how it was made.
struct NamingOutcome
{
    QString title;
    NamingEngineKind engine = NamingEngineKind::ai;
    bool languageFallback = false;
    ScreenshotFeatures features;
    // Seconds from the request to the title.
    double duration = 0;
};

using NamingResult = std::variant<NamingOutcome, NamingError, PerceptionError>;

// Names one screenshot: with the language model when it is available, else from the recognised text when the
// request allows it. One per connection, around that connection's AINamer.
//
// The deadline bounds the model's part. A model still loading is waited for until then; a model that has not
// answered by then gives the recognised text's title when the request allows it, else a busy error, so the file is
// tried again later. Recognition itself is not cut short.
class NamingEngine
{
public:
    // Perception of one decoded image; runs on a worker thread.
    using Perceive = std::function<PerceptionResult(const QImage &image)>;

    static constexpr int ocrTitleWords = 8;

    // Without `perceive`, Tesseract and CLD2 read the image.
    explicit NamingEngine(ModelEnvironment environment = ModelEnvironment::system(), Perceive perceive = {},
                          const Clock &clock = Clock::system());
    NamingEngine(const NamingEngine &) = delete;
    NamingEngine &operator=(const NamingEngine &) = delete;

    AINamer &ai() { return m_ai; }

    QCoro::Task<NamingResult> suggestTitle(QByteArray imageData, NameLanguage nameLanguage, QString interfaceCode,
                                           bool ocrFallback, std::optional<QString> appName, ModelDeadline deadline);

    // The process's text recognition, shared by every connection.
    static const VisionPerception &sharedPerception();

private:
    NamingResult ocrOutcome(ScreenshotFeatures features, const QDateTime &start) const;
    double secondsSince(const QDateTime &start) const;

    ModelEnvironment m_environment;
    Perceive m_perceive;
    const Clock &m_clock;
    AINamer m_ai;
};
