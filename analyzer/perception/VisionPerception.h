// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "ImageClassifier.h"
#include "LanguageIdentifier.h"
#include "PerceptionError.h"
#include "ScreenshotFeatures.h"
#include "TextRecognizer.h"

#include <QByteArray>
#include <QImage>
#include <QStringList>

#include <variant>
#include <vector>

using PerceptionResult = std::variant<ScreenshotFeatures, PerceptionError>;

// Turns one screenshot into ScreenshotFeatures: its text lines, labels, language and size.
// Every call is synchronous and CPU-heavy; run it on a worker thread. Calls may overlap.
class VisionPerception
{
public:
    static constexpr int recognitionPixelSize = 2560;
    static constexpr int modelPixelSize = 1280;
    // Megabytes one decoded frame may take. Images whose declared size needs more are refused before decoding: a
    // small file may declare a huge size to exhaust memory.
    static constexpr int allocationLimitMb = 320;
    // Images taller than this many widths are scrolling captures. Only their top square is read: recognition keeps
    // lines by their height relative to the image's, so in a long strip ordinary text would count as noise.
    static constexpr double tallestAspect = 2.5;

    // Tesseract, CLD2 and no classifier.
    VisionPerception();
    VisionPerception(const TextRecognizer &recognizer, const LanguageIdentifier &identifier,
                     const ImageClassifier *classifier = nullptr);

    // Decodes bytes with the orientation applied and the longest side at most maxPixelSize; null if unreadable.
    // A scrolling capture is cut to its top square first.
    static QImage loadImage(const QByteArray &data, int maxPixelSize);

    PerceptionResult analyze(const QImage &image, bool recognizeText) const;

    // Loads the recognition models on a tiny blank image; does its work once per process.
    void warmUp() const;

    // The language of text when one is clear. Without candidates: the user's languages, then English and Russian.
    std::optional<QString> dominantLanguage(const QString &text, const QStringList &candidates = {}) const;

    // Language codes of the user's preferred languages, most preferred first.
    static QStringList preferredLanguageCodes();
    // Keeps confident, telling labels, most confident first, at most five, with spaces for underscores.
    static QStringList filterLabels(std::vector<ImageClassifier::Observation> observations);
    // Keeps lines worth reading (two characters, some confidence, not tiny) with geometry normalised to size.
    static std::vector<ScreenshotFeatures::Line> acceptedLines(const std::vector<TextRecognizer::Observation> &found,
                                                               QSize size);

private:
    const TextRecognizer *m_recognizer;
    const LanguageIdentifier *m_identifier;
    const ImageClassifier *m_classifier;
};
