// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "CoroTest.h"
#include "L10n.h"
#include "NamingEngine.h"
#include "NamingTestSupport.h"
#include "RenderedScreen.h"

#include <gtest/gtest.h>

namespace {

// A scrolling capture 1920 × 22000 (42 megapixels): read from its top, where its heading is legible.
TEST(NamingEngineIntegration, NamesALongScrollingCapture)
{
    L10n::apply(InterfaceLanguage::en);
    ModelServerDouble server;
    server.serveOllama({});
    NamingEngine engine(NamingTestSupport::environmentFor(server));
    QStringList lines;
    for (int i = 0; i < 540; ++i)
        lines.append(QStringLiteral("Entry %1 of the changelog describes one fixed problem").arg(i + 1));
    const QByteArray capture = renderedScreenPng(QStringLiteral("Release notes archive"), lines, QSize(1920, 22000));

    const NamingResult result = runTask(engine.suggestTitle(capture, NameLanguage::en, QStringLiteral("en"), true,
                                                            std::nullopt, NamingTestSupport::ample()));
    ASSERT_TRUE(std::holds_alternative<NamingOutcome>(result)) << result.index();
    EXPECT_EQ(std::get<NamingOutcome>(result).title, QStringLiteral("Release notes archive"));
}

} // namespace
