// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "UiDoubles.h"

#include "CoroTest.h"
#include "L10n.h"
#include "ThumbnailCache.h"
#include "ThumbnailProvider.h"

#include <gtest/gtest.h>

#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

#include <memory>

namespace {

QStringList g_warnings;

void collect(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        g_warnings.append(message);
}

// Loads views with every warning of the engine, the bindings and the layouts caught.
class QmlSmokeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        L10n::apply(InterfaceLanguage::en);
        g_warnings.clear();
        m_previous = qInstallMessageHandler(collect);
    }
    void TearDown() override { qInstallMessageHandler(m_previous); }

    std::unique_ptr<QQuickWindow> load(QQmlEngine &engine, const char *file)
    {
        QQmlComponent component(&engine, QUrl(QStringLiteral("qrc:/qt/qml/Zentrope/Ui/%1").arg(QLatin1String(file))));
        std::unique_ptr<QQuickWindow> window(qobject_cast<QQuickWindow *>(component.create()));
        if (!window)
            ADD_FAILURE() << component.errorString().toStdString();
        return window;
    }

    // Lets bindings, layouts, asynchronous images and rendering settle.
    static void settle(QQuickWindow &window)
    {
        window.show();
        for (int i = 0; i < 5; ++i) {
            QTest::qWait(20);
            window.grabWindow();
        }
    }

    static bool showsText(QQuickItem *item, const QString &text)
    {
        if (!item)
            return false;
        if (item->isVisible() && item->property("text").toString() == text)
            return true;
        const QList<QQuickItem *> children = item->childItems();
        return std::any_of(children.cbegin(), children.cend(),
                           [&](QQuickItem *child) { return showsText(child, text); });
    }

    QtMessageHandler m_previous = nullptr;
};

TEST_F(QmlSmokeTest, EveryViewLoadsWithoutWarnings)
{
    for (const auto &availability : {AIAvailability::available(), AIAvailability::notEnabled()}) {
        SCOPED_TRACE(availability.debugDescription().toStdString());
        for (int records : {0, 8}) {
            SeededUi seeded(records, availability);
            runTask(seeded.model->syncAvailability(false));
            runTask(seeded.checker->refresh());
            QQmlEngine engine;
            engine.addImageProvider(QString::fromLatin1(ThumbnailProvider::id),
                                    new ThumbnailProvider(ThumbnailCache::shared()));

            auto window = load(engine, "MainWindow.qml");
            ASSERT_TRUE(window);
            settle(*window);
            EXPECT_TRUE(showsText(window->contentItem(), seeded.ui->statusTitle()));
            seeded.ui->setShowAll(true);
            seeded.router.setTab(WindowRouter::Tab::settings);
            settle(*window);
            seeded.router.setShowsSetup(true);
            for (int step = 0; step < WindowRouter::setupStepCount; ++step) {
                seeded.router.setSetupStep(step);
                settle(*window);
            }

            auto panel = load(engine, "TrayPanel.qml");
            ASSERT_TRUE(panel);
            settle(*panel);
            EXPECT_TRUE(showsText(panel->contentItem(), seeded.ui->statusTitle()));
            EXPECT_EQ(showsText(panel->contentItem(), L("menu.empty")), records == 0);
            window.reset();
            panel.reset();
            ThumbnailCache::shared().clear();
        }
    }
    EXPECT_TRUE(g_warnings.isEmpty()) << g_warnings.join(u'\n').toStdString();
}

TEST_F(QmlSmokeTest, ThumbnailsArriveThroughTheCacheAndOpenWindowsFollowTheInterfaceLanguageAtOnce)
{
    SeededUi seeded(3);
    QQmlEngine engine;
    engine.addImageProvider(QString::fromLatin1(ThumbnailProvider::id),
                            new ThumbnailProvider(ThumbnailCache::shared()));
    ThumbnailCache::shared().clear();
    auto window = load(engine, "MainWindow.qml");
    auto panel = load(engine, "TrayPanel.qml");
    ASSERT_TRUE(window && panel);
    settle(*window);
    settle(*panel);
    const QString newest = seeded.history->records().first().filePath();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return ThumbnailCache::shared().count() >= 3 &&
                   (ThumbnailCache::shared().image(ThumbnailCache::key(newest, 80)) ||
                    ThumbnailCache::shared().image(ThumbnailCache::key(newest, 160)));
        },
        3000));

    seeded.router.setTab(WindowRouter::Tab::settings);
    seeded.settings->setInterfaceLanguage(InterfaceLanguage::ru);
    settle(*window);
    EXPECT_TRUE(showsText(window->contentItem(), L("tab.settings")));
    EXPECT_TRUE(showsText(panel->contentItem(), L("menu.open")));
    // The drop-downs are given lists in the new language and still show the choices made.
    auto *language = window->findChild<QQuickItem *>(QStringLiteral("interfaceLanguageBox"));
    ASSERT_TRUE(language);
    EXPECT_EQ(language->property("currentText").toString(), QStringLiteral("Русский"));
    auto *timeLimit = window->findChild<QQuickItem *>(QStringLiteral("timeLimitBox"));
    ASSERT_TRUE(timeLimit);
    EXPECT_EQ(timeLimit->property("displayText").toString(), L("model.timeLimit.value", 90));
    seeded.settings->setInterfaceLanguage(InterfaceLanguage::en);
    ThumbnailCache::shared().clear();
    EXPECT_TRUE(g_warnings.isEmpty()) << g_warnings.join(u'\n').toStdString();
}

} // namespace
