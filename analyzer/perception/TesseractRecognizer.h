// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "TesseractEnginePool.h"
#include "TextRecognizer.h"

// Text recognition by Tesseract (English and Russian LSTM models, automatic page segmentation). The page is cut
// into bands read by as many engines of the pool as are free; the result depends on the bands, never on how
// many engines read them.
class TesseractRecognizer final : public TextRecognizer
{
public:
    // Bands per page: by default one per engine the pool may hold.
    explicit TesseractRecognizer(TesseractEnginePool &pool = TesseractEnginePool::shared(), int bands = 0);

    // One recognizer per process over the shared pool.
    static TesseractRecognizer &shared();

    Result recognize(const QImage &image) const override;

    // Greyscale with dark text on a light background, as Tesseract reads best; transparency is laid on white.
    static QImage prepareForRecognition(const QImage &image);
    // Whether most of a greyscale image is dark, as in a dark-mode screen.
    static bool isDark(const QImage &grey);

private:
    TesseractEnginePool *m_pool;
    int m_bands;
};
