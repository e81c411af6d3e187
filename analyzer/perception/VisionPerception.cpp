// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "VisionPerception.h"

#include "Cld2LanguageIdentifier.h"
#include "LineCleanup.h"
#include "ScreenLayout.h"
#include "TesseractRecognizer.h"

#include <QBuffer>
#include <QImageReader>
#include <QLocale>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace {

constexpr double minimumLineHeight = 0.008;
constexpr double minimumConfidence = 0.3;
constexpr double minimumLabelConfidence = 0.25;
constexpr double minimumLanguageProbability = 0.6;

const QStringList &cyrillicLanguages()
{
    static const QStringList codes{
        QStringLiteral("ru"), QStringLiteral("uk"), QStringLiteral("be"), QStringLiteral("bg"), QStringLiteral("kk"),
        QStringLiteral("sr"), QStringLiteral("mk"), QStringLiteral("ky"), QStringLiteral("tg"), QStringLiteral("mn")};
    return codes;
}

QString primaryCode(const QString &code)
{
    return code.section(QLatin1Char('-'), 0, 0).section(QLatin1Char('_'), 0, 0).toLower();
}

} // namespace

VisionPerception::VisionPerception()
    : VisionPerception(TesseractRecognizer::shared(), []() -> const LanguageIdentifier & {
        static const Cld2LanguageIdentifier identifier;
        return identifier;
    }())
{}

VisionPerception::VisionPerception(const TextRecognizer &recognizer, const LanguageIdentifier &identifier,
                                   const ImageClassifier *classifier)
    : m_recognizer(&recognizer)
    , m_identifier(&identifier)
    , m_classifier(classifier)
{}

QImage VisionPerception::loadImage(const QByteArray &data, int maxPixelSize)
{
    QBuffer buffer;
    buffer.setData(data);
    if (!buffer.open(QIODevice::ReadOnly)) {
        return {};
    }
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    reader.setAllocationLimit(allocationLimitMb);
    // The declared size and pixel format come from the header; nothing of that size is allocated until read().
    const QSize declared = reader.size();
    // Formats that only tell their depth while decoding are counted at the deepest, 16 bits per channel.
    const QImage::Format format = reader.imageFormat();
    const qint64 bytesPerPixel =
        format == QImage::Format_Invalid ? 8 : std::max<qint64>(1, QImage::toPixelFormat(format).bitsPerPixel() / 8);
    const qint64 maxPixels = qint64(allocationLimitMb) * 1024 * 1024 / bytesPerPixel;
    if (!declared.isValid() || declared.isEmpty() || qint64(declared.width()) * declared.height() > maxPixels) {
        return {};
    }
    // The clip applies before orientation; screen captures are never stored turned, so those are left whole.
    QSize size = declared;
    if (size.height() > size.width() * tallestAspect &&
        !reader.transformation().testFlag(QImageIOHandler::TransformationRotate90)) {
        size.setHeight(size.width());
        reader.setClipRect(QRect(QPoint(0, 0), size));
    }
    const int longest = std::max(size.width(), size.height());
    if (maxPixelSize > 0 && longest > maxPixelSize) {
        const double scale = static_cast<double>(maxPixelSize) / longest;
        reader.setScaledSize(QSize(std::max(1, static_cast<int>(std::lround(size.width() * scale))),
                                   std::max(1, static_cast<int>(std::lround(size.height() * scale)))));
    }
    return reader.read();
}

PerceptionResult VisionPerception::analyze(const QImage &image, bool recognizeText) const
{
    if (image.isNull()) {
        return PerceptionError{PerceptionError::Code::unreadableImage, {}};
    }
    ScreenshotFeatures features;
    if (m_classifier) {
        features.labels = filterLabels(m_classifier->classify(image));
    }
    if (recognizeText) {
        const TextRecognizer::Result recognized = m_recognizer->recognize(image);
        if (recognized.error) {
            return PerceptionError{PerceptionError::Code::recognitionFailed, *recognized.error};
        }
        ScreenLayout::ReadingOrder order =
            ScreenLayout::readingOrder(acceptedLines(LineCleanup::clean(recognized.observations), image.size()));
        features.lines = std::move(order.lines);
        features.mainColumnCount = order.mainCount;
    }
    QStringList texts;
    for (const ScreenshotFeatures::Line &line : features.lines) {
        texts.append(line.text);
    }
    features.language = dominantLanguage(texts.join(QLatin1Char(' ')));
    features.pixelWidth = image.width();
    features.pixelHeight = image.height();
    return features;
}

void VisionPerception::warmUp() const
{
    static std::once_flag once;
    std::call_once(once, [this] {
        QImage blank(320, 120, QImage::Format_RGB888);
        blank.fill(Qt::white);
        // Only the loading of the models matters; the result and any error are of no interest.
        (void)analyze(blank, true);
    });
}

std::optional<QString> VisionPerception::dominantLanguage(const QString &text, const QStringList &candidates) const
{
    if (ScreenshotFeatures::graphemeCount(text) <= 7) {
        return std::nullopt;
    }
    QStringList remaining = candidates;
    if (remaining.isEmpty()) {
        remaining = preferredLanguageCodes();
        remaining << QStringLiteral("en") << QStringLiteral("ru");
    }
    remaining.removeDuplicates();

    const auto isCyrillic = [](const QString &code) { return cyrillicLanguages().contains(primaryCode(code)); };
    const double share = ScreenshotFeatures::cyrillicShare(text);
    if (share >= 0.4) {
        QStringList cyrillic;
        std::copy_if(remaining.begin(), remaining.end(), std::back_inserter(cyrillic), isCyrillic);
        if (cyrillic.size() == 1) {
            return cyrillic.front();
        }
        if (!cyrillic.isEmpty()) {
            remaining = cyrillic;
        }
    } else if (share <= 0.1) {
        QStringList latin;
        std::copy_if(remaining.begin(), remaining.end(), std::back_inserter(latin),
                     [&isCyrillic](const QString &code) { return !isCyrillic(code); });
        if (!latin.isEmpty()) {
            remaining = latin;
        }
    }
    if (remaining.size() == 1) {
        return remaining.front();
    }

    // The identifier is asked without constraint; its guesses outside the candidates are then set aside.
    std::optional<QString> best;
    double bestProbability = -1;
    for (const LanguageIdentifier::Hypothesis &hypothesis : m_identifier->hypotheses(text)) {
        const auto match = std::find_if(remaining.begin(), remaining.end(), [&hypothesis](const QString &code) {
            return primaryCode(code) == primaryCode(hypothesis.code);
        });
        if (match != remaining.end() && hypothesis.probability > bestProbability) {
            best = *match;
            bestProbability = hypothesis.probability;
        }
    }
    if (best && bestProbability >= minimumLanguageProbability) {
        return best;
    }
    return std::nullopt;
}

QStringList VisionPerception::preferredLanguageCodes()
{
    QStringList codes;
    for (const QString &name : QLocale::system().uiLanguages()) {
        const QLocale::Language language = QLocale(name).language();
        if (language == QLocale::C || language == QLocale::AnyLanguage) {
            continue;
        }
        const QString code = QLocale::languageToCode(language);
        if (!code.isEmpty() && !codes.contains(code)) {
            codes.append(code);
        }
    }
    return codes;
}

QStringList VisionPerception::filterLabels(std::vector<ImageClassifier::Observation> observations)
{
    static const QStringList generic{QStringLiteral("screenshot"),    QStringLiteral("document"),
                                     QStringLiteral("text"),          QStringLiteral("structure"),
                                     QStringLiteral("material"),      QStringLiteral("art"),
                                     QStringLiteral("illustrations"), QStringLiteral("graphic_design")};
    std::erase_if(observations, [](const ImageClassifier::Observation &o) {
        return !(o.confidence > minimumLabelConfidence) || generic.contains(o.identifier);
    });
    std::stable_sort(observations.begin(), observations.end(),
                     [](const auto &a, const auto &b) { return a.confidence > b.confidence; });
    QStringList labels;
    for (const ImageClassifier::Observation &o : observations) {
        if (labels.size() == 5) {
            break;
        }
        labels.append(QString(o.identifier).replace(QLatin1Char('_'), QLatin1Char(' ')));
    }
    return labels;
}

std::vector<ScreenshotFeatures::Line>
VisionPerception::acceptedLines(const std::vector<TextRecognizer::Observation> &found, QSize size)
{
    std::vector<ScreenshotFeatures::Line> lines;
    if (size.isEmpty()) {
        return lines;
    }
    const double w = size.width();
    const double h = size.height();
    for (const TextRecognizer::Observation &o : found) {
        ScreenshotFeatures::Line line;
        line.text = o.text.trimmed();
        line.confidence = std::clamp(o.confidence, 0.0, 1.0);
        line.left = o.box.left() / w;
        line.top = o.box.top() / h;
        line.width = o.box.width() / w;
        line.height = o.box.height() / h;
        if (ScreenshotFeatures::graphemeCount(line.text) < 2 || line.confidence < minimumConfidence ||
            line.height < minimumLineHeight) {
            continue;
        }
        lines.push_back(std::move(line));
    }
    return lines;
}
