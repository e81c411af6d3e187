// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "TesseractRecognizer.h"

#include <QPainter>

#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include <array>
#include <cstdlib>

namespace {

constexpr const char *debianTessdata = "/usr/share/tesseract-ocr/5/tessdata";

} // namespace

TesseractRecognizer::TesseractRecognizer() = default;
TesseractRecognizer::~TesseractRecognizer() = default;

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

TesseractRecognizer::Engine TesseractRecognizer::acquire(QString &error) const
{
    {
        const std::lock_guard lock(m_mutex);
        if (!m_idle.empty()) {
            Engine engine = std::move(m_idle.back());
            m_idle.pop_back();
            return engine;
        }
    }
    Engine engine = std::make_unique<tesseract::TessBaseAPI>();
    // Tesseract reports progress and guesses (such as the estimated resolution) on stderr; keep the service quiet.
    engine->SetVariable("debug_file", "/dev/null");
    // TESSDATA_PREFIX, when set, wins over the packaged models.
    const char *dataPath = std::getenv("TESSDATA_PREFIX") ? nullptr : debianTessdata;
    if (engine->Init(dataPath, "eng+rus", tesseract::OEM_LSTM_ONLY) != 0) {
        error = QStringLiteral("Tesseract could not load its English and Russian models");
        return nullptr;
    }
    engine->SetPageSegMode(tesseract::PSM_AUTO);
    return engine;
}

void TesseractRecognizer::release(Engine engine) const
{
    engine->Clear();
    const std::lock_guard lock(m_mutex);
    m_idle.push_back(std::move(engine));
}

TextRecognizer::Result TesseractRecognizer::recognize(const QImage &image) const
{
    Result result;
    if (image.isNull() || image.width() < 3 || image.height() < 3) {
        return result;
    }
    QString error;
    Engine engine = acquire(error);
    if (!engine) {
        result.error = error;
        return result;
    }
    const QImage grey = prepareForRecognition(image);
    engine->SetImage(grey.constBits(), grey.width(), grey.height(), 1, static_cast<int>(grey.bytesPerLine()));
    if (engine->Recognize(nullptr) != 0) {
        result.error = QStringLiteral("Tesseract could not recognise the image");
        release(std::move(engine));
        return result;
    }
    // The iterator reads the engine's results, so it must be gone before the engine is cleared.
    if (const std::unique_ptr<tesseract::ResultIterator> it(engine->GetIterator());
        it && !it->Empty(tesseract::RIL_TEXTLINE)) {
        do {
            const std::unique_ptr<char[]> text(it->GetUTF8Text(tesseract::RIL_TEXTLINE));
            int left = 0;
            int top = 0;
            int right = 0;
            int bottom = 0;
            if (!text || !it->BoundingBox(tesseract::RIL_TEXTLINE, &left, &top, &right, &bottom)) {
                continue;
            }
            result.observations.push_back({QString::fromUtf8(text.get()),
                                           QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)),
                                           it->Confidence(tesseract::RIL_TEXTLINE) / 100.0});
        } while (it->Next(tesseract::RIL_TEXTLINE));
    }
    release(std::move(engine));
    return result;
}
