// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "TextRecognizer.h"

#include <memory>
#include <mutex>
#include <vector>

namespace tesseract {
class TessBaseAPI;
}

// Text recognition by Tesseract (English and Russian LSTM models, automatic page segmentation).
class TesseractRecognizer final : public TextRecognizer
{
public:
    TesseractRecognizer();
    ~TesseractRecognizer() override;

    // One recognizer per process, so the models loaded at warm-up serve every later screenshot.
    static TesseractRecognizer &shared();

    Result recognize(const QImage &image) const override;

    // Greyscale with dark text on a light background, as Tesseract reads best; transparency is laid on white.
    static QImage prepareForRecognition(const QImage &image);
    // Whether most of a greyscale image is dark, as in a dark-mode screen.
    static bool isDark(const QImage &grey);

private:
    using Engine = std::unique_ptr<tesseract::TessBaseAPI>;
    Engine acquire(QString &error) const;
    void release(Engine engine) const;

    // A TessBaseAPI serves one thread at a time: idle engines wait here and concurrent calls get their own.
    mutable std::mutex m_mutex;
    mutable std::vector<Engine> m_idle;
};
