// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "CoroTest.h"
#include "L10n.h"
#include "NamingEngine.h"
#include "NamingTestSupport.h"

#include <QBuffer>
#include <QFont>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

// ctest lists the cases without the tests' environment; QGuiApplication then needs the headless platform.
const bool headless = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return true;
}();

QByteArray renderedScreen()
{
    QImage image(1400, 700, QImage::Format_RGB32);
    image.fill(QColor(250, 250, 250));
    QPainter painter(&image);
    painter.setPen(QColor(25, 25, 30));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(44);
    painter.setFont(font);
    painter.drawText(80, 120, QStringLiteral("Quarterly budget review"));
    font.setPixelSize(20);
    painter.setFont(font);
    painter.drawText(80, 220, QStringLiteral("Revenue and costs by region for the third quarter"));
    painter.drawText(80, 260, QStringLiteral("Prepared for the finance committee"));
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// The process's own text recognition, with no model: the title comes from the screen's heading.
TEST(NamingEngineIntegration, NamesFromRecognisedTextWhenNoModelAnswers)
{
    L10n::apply(InterfaceLanguage::en);
    ModelServerDouble server;
    server.serveOllama({});
    NamingEngine engine(NamingTestSupport::environmentFor(server));
    NamingEngine::sharedPerception().warmUp();

    const NamingResult result =
        runTask(engine.suggestTitle(renderedScreen(), NameLanguage::en, QStringLiteral("en"), true, std::nullopt));
    ASSERT_TRUE(std::holds_alternative<NamingOutcome>(result));
    const NamingOutcome &outcome = std::get<NamingOutcome>(result);
    EXPECT_EQ(outcome.title, QStringLiteral("Quarterly budget review"));
    EXPECT_EQ(outcome.engine, NamingEngineKind::ocr);
    EXPECT_EQ(outcome.features.lines.size(), 3u);
    EXPECT_GT(outcome.duration, 0);
}

} // namespace
