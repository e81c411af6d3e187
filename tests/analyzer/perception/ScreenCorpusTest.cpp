// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "ScreenCorpus.h"
#include "OCRNamer.h"
#include "VisionPerception.h"

#include <gtest/gtest.h>

#include <QBuffer>

namespace {

class ScreenCorpusTest : public ::testing::TestWithParam<QString>
{
};

// Each realistic screen goes the service's way (PNG bytes, decoding, recognition, layout) and is judged as a
// person would judge it: no line across two panes, headings read right, a title that names the subject (unless
// the screen says why the naming rules cannot) and carries no debris.
TEST_P(ScreenCorpusTest, ReadsTheScreenAsAPersonWould)
{
    QString error;
    const std::optional<ScreenCorpus::Screen> screen = ScreenCorpus::render(GetParam(), &error);
    ASSERT_TRUE(screen) << error.toStdString();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(screen->image.save(&buffer, "PNG"));

    const QImage image = VisionPerception::loadImage(png, VisionPerception::recognitionPixelSize);
    const PerceptionResult result = VisionPerception().analyze(image, true);
    ASSERT_TRUE(std::holds_alternative<ScreenshotFeatures>(result));
    const auto &features = std::get<ScreenshotFeatures>(result);
    std::vector<ScreenCorpus::ReadLine> read;
    for (const ScreenshotFeatures::Line &line : features.lines)
        read.push_back({line.text, QRectF(line.left * image.width(), line.top * image.height(),
                                          line.width * image.width(), line.height * image.height())});
    const ScreenCorpus::Reading reading = ScreenCorpus::judge(*screen, read);
    const QString title = OCRNamer::title(features, 8).value_or(QString());
    const bool named =
        !screen->namingLimit.isEmpty() || screen->subjects.isEmpty() || ScreenCorpus::namesSubject(*screen, title);
    const QStringList debris = ScreenCorpus::debris(*screen, title);

    EXPECT_TRUE(reading.spanning.isEmpty()) << "read across panes: " << reading.spanning.join(" | ").toStdString();
    EXPECT_LE(reading.headingErrorRate(), 0.15);
    EXPECT_TRUE(named) << "\"" << title.toStdString() << "\" misses " << screen->subjects.join(" | ").toStdString();
    EXPECT_TRUE(debris.isEmpty()) << "\"" << title.toStdString() << "\" carries " << debris.join(' ').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Corpus, ScreenCorpusTest, ::testing::ValuesIn(ScreenCorpus::names()),
                         [](const ::testing::TestParamInfo<QString> &info) {
                             return QString(info.param).replace(u'-', u'_').toStdString();
                         });

} // namespace
