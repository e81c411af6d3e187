// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "TesseractRecognizer.h"

#include "PageBands.h"

#include <QPainter>

#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include <array>
#include <atomic>
#include <cmath>
#include <memory>
#include <system_error>
#include <thread>

namespace {

// A shade this far from a box's background is ink.
constexpr int inkContrast = 48;
// Blank rows that may part a letter from its dot or accent.
constexpr int maxInkGap = 2;

struct BandResult
{
    std::vector<TextRecognizer::Observation> observations;
    std::optional<QString> error;
};

QRect boxAt(const tesseract::ResultIterator &it, tesseract::PageIteratorLevel level, int top)
{
    int left = 0;
    int up = 0;
    int right = 0;
    int bottom = 0;
    if (!it.BoundingBox(level, &left, &up, &right, &bottom))
        return {};
    return QRect(QPoint(left, up + top), QPoint(right - 1, bottom - 1 + top));
}

QString textAt(const tesseract::ResultIterator &it, tesseract::PageIteratorLevel level)
{
    const std::unique_ptr<char[]> text(it.GetUTF8Text(level));
    return text ? QString::fromUtf8(text.get()).trimmed() : QString();
}

// The rows of a box that the letters take. The engine's word boxes span the strip of page it read the line
// from, padding and all, so a short line would look as tall as a heading; the letters are the run of rows around
// the inkiest one, where ink is what stands out from the box's most common shade.
QRect letterRows(const QImage &grey, const QRect &box)
{
    const QRect area = box & grey.rect();
    if (area.isEmpty())
        return box;
    std::array<int, 256> shades{};
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const uchar *row = grey.constScanLine(y);
        for (int x = area.left(); x <= area.right(); ++x)
            ++shades[row[x]];
    }
    const int background = static_cast<int>(std::max_element(shades.begin(), shades.end()) - shades.begin());
    std::vector<int> ink(static_cast<std::size_t>(area.height()), 0);
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const uchar *row = grey.constScanLine(y);
        for (int x = area.left(); x <= area.right(); ++x)
            ink[static_cast<std::size_t>(y - area.top())] += std::abs(row[x] - background) > inkContrast ? 1 : 0;
    }
    const auto peak = std::max_element(ink.begin(), ink.end());
    if (*peak == 0)
        return box;
    // Dots and accents sit a row or two apart from their letters.
    int top = static_cast<int>(peak - ink.begin());
    int bottom = top;
    for (int gap = 0, y = top - 1; y >= 0 && gap <= maxInkGap; --y) {
        gap = ink[static_cast<std::size_t>(y)] > 0 ? 0 : gap + 1;
        if (gap == 0)
            top = y;
    }
    for (int gap = 0, y = bottom + 1; y < area.height() && gap <= maxInkGap; ++y) {
        gap = ink[static_cast<std::size_t>(y)] > 0 ? 0 : gap + 1;
        if (gap == 0)
            bottom = y;
    }
    return QRect(box.left(), area.top() + top, box.width(), bottom - top + 1);
}

// Reads one band of the page with page segmentation of its own; boxes are in pixels of the whole page.
BandResult recognizeBand(tesseract::TessBaseAPI &engine, const QImage &grey, PageBands::Band band)
{
    BandResult result;
    engine.SetPageSegMode(tesseract::PSM_AUTO);
    engine.SetImage(grey.constScanLine(band.top), grey.width(), band.bottom - band.top, 1,
                    static_cast<int>(grey.bytesPerLine()));
    if (engine.Recognize(nullptr) != 0) {
        result.error = QStringLiteral("Tesseract could not recognise the image");
        return result;
    }
    // The iterator reads the engine's results, so it must be gone before the engine is cleared.
    if (const std::unique_ptr<tesseract::ResultIterator> it(engine.GetIterator());
        it && !it->Empty(tesseract::RIL_TEXTLINE)) {
        do {
            TextRecognizer::Observation line{textAt(*it, tesseract::RIL_TEXTLINE),
                                             letterRows(grey, boxAt(*it, tesseract::RIL_TEXTLINE, band.top)),
                                             it->Confidence(tesseract::RIL_TEXTLINE) / 100.0,
                                             {}};
            do {
                if (!it->Empty(tesseract::RIL_WORD)) {
                    line.words.push_back({textAt(*it, tesseract::RIL_WORD),
                                          letterRows(grey, boxAt(*it, tesseract::RIL_WORD, band.top)),
                                          it->Confidence(tesseract::RIL_WORD) / 100.0});
                }
            } while (!it->IsAtFinalElement(tesseract::RIL_TEXTLINE, tesseract::RIL_WORD) &&
                     it->Next(tesseract::RIL_WORD));
            if (!line.text.isEmpty() && line.box.isValid())
                result.observations.push_back(std::move(line));
        } while (it->Next(tesseract::RIL_TEXTLINE));
    }
    engine.Clear();
    return result;
}

} // namespace

TesseractRecognizer::TesseractRecognizer(TesseractEnginePool &pool, int bands)
    : m_pool(&pool)
    , m_bands(bands > 0 ? bands : pool.limit())
{}

TesseractRecognizer &TesseractRecognizer::shared()
{
    static TesseractRecognizer instance;
    return instance;
}

bool TesseractRecognizer::isDark(const QImage &grey)
{
    std::array<qint64, 256> histogram{};
    for (int y = 0; y < grey.height(); ++y) {
        const uchar *row = grey.constScanLine(y);
        for (int x = 0; x < grey.width(); ++x) {
            ++histogram[row[x]];
        }
    }
    const qint64 total = qint64(grey.width()) * grey.height();
    qint64 dark = 0;
    for (int value = 0; value < 128; ++value) {
        dark += histogram[value];
    }
    return total > 0 && dark * 2 > total;
}

QImage TesseractRecognizer::prepareForRecognition(const QImage &image)
{
    QImage grey;
    if (image.hasAlphaChannel()) {
        QImage flattened(image.size(), QImage::Format_RGB32);
        flattened.fill(Qt::white);
        QPainter painter(&flattened);
        painter.drawImage(0, 0, image);
        painter.end();
        grey = flattened.convertToFormat(QImage::Format_Grayscale8);
    } else {
        grey = image.convertToFormat(QImage::Format_Grayscale8);
    }
    // The page as a whole is turned to dark-on-light; Tesseract still retries single inverted lines itself,
    // which covers light text on dark bars of an otherwise light screen.
    if (isDark(grey)) {
        grey.invertPixels();
    }
    return grey;
}

TextRecognizer::Result TesseractRecognizer::recognize(const QImage &image) const
{
    Result result;
    if (image.isNull() || image.width() < 3 || image.height() < 3) {
        return result;
    }
    QString error;
    std::optional<TesseractEnginePool::Lease> first = m_pool->acquire(error);
    if (!first) {
        result.error = error;
        return result;
    }
    const QImage grey = prepareForRecognition(image);
    const std::vector<PageBands::Band> bands = PageBands::split(grey, m_bands);
    std::vector<BandResult> read(bands.size());
    std::atomic<std::size_t> next = 0;
    const auto work = [&](tesseract::TessBaseAPI &engine) {
        for (std::size_t i = next++; i < bands.size(); i = next++)
            read[i] = recognizeBand(engine, grey, bands[i]);
    };
    // Helpers read on with engines free now (loading one where the pool has room), so that this thread starts at
    // once; with every engine busy in other calls, this call reads its bands alone.
    std::vector<std::jthread> helpers;
    for (std::size_t i = 1; i < bands.size(); ++i) {
        try {
            helpers.emplace_back([this, &work] {
                if (const std::optional<TesseractEnginePool::Lease> lease = m_pool->tryAcquire())
                    work(**lease);
            });
        } catch (const std::system_error &) {
            break;
        }
    }
    work(**first);
    helpers.clear();
    for (BandResult &band : read) {
        if (band.error && !result.error)
            result.error = band.error;
        std::move(band.observations.begin(), band.observations.end(), std::back_inserter(result.observations));
    }
    return result;
}
