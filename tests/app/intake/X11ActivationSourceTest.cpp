// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "X11ActivationSource.h"

#include "FrontAppLog.h"
#include "TempDir.h"
#include "TestClock.h"

#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <xcb/xcb.h>

#include <cstdlib>

namespace {

// A private X server on a display number it picks itself, and a client that plays the window manager.
class X11ActivationSourceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        if (xvfb.isEmpty())
            GTEST_SKIP() << "Xvfb is not installed";
        // -displayfd makes the server choose a free display number and write it to stdout once it is ready.
        m_server.start(xvfb, QStringLiteral("-displayfd 1 -nolisten tcp -screen 0 320x240x24").split(u' '));
        ASSERT_TRUE(m_server.waitForStarted(5000));
        while (!m_server.canReadLine())
            ASSERT_TRUE(m_server.waitForReadyRead(10000)) << "Xvfb did not report its display";
        m_display = u':' + QString::fromLatin1(m_server.readLine().trimmed());
        m_connection = xcb_connect(m_display.toLatin1().constData(), nullptr);
        ASSERT_FALSE(xcb_connection_has_error(m_connection));
        m_screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
        static constexpr char name[] = "_NET_ACTIVE_WINDOW";
        xcb_intern_atom_reply_t *reply =
            xcb_intern_atom_reply(m_connection, xcb_intern_atom(m_connection, 0, sizeof name - 1, name), nullptr);
        ASSERT_TRUE(reply);
        m_activeWindowAtom = reply->atom;
        std::free(reply);

        m_data.write(QStringLiteral("applications/org.example.Alpha.desktop"),
                     "[Desktop Entry]\nName=Alpha Editor\nStartupWMClass=AlphaClass\n");
    }

    void TearDown() override
    {
        if (m_connection)
            xcb_disconnect(m_connection);
        if (m_server.state() != QProcess::NotRunning) {
            m_server.terminate();
            if (!m_server.waitForFinished(5000))
                m_server.kill();
        }
    }

    // A window whose WM_CLASS is `instance` and `className`; a mapped one can take the input focus.
    uint32_t window(const QByteArray &instance, const QByteArray &className, bool mapped = false)
    {
        const uint32_t id = xcb_generate_id(m_connection);
        xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, id, m_screen->root, 0, 0, 50, 50, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, m_screen->root_visual, 0, nullptr);
        const QByteArray wmClass = instance + '\0' + className + '\0';
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8,
                            static_cast<uint32_t>(wmClass.size()), wmClass.constData());
        if (mapped)
            xcb_map_window(m_connection, id);
        xcb_flush(m_connection);
        return id;
    }

    void focus(uint32_t window)
    {
        xcb_set_input_focus(m_connection, XCB_INPUT_FOCUS_NONE, window, XCB_CURRENT_TIME);
        sync();
    }

    void activate(uint32_t window)
    {
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, m_screen->root, m_activeWindowAtom, XCB_ATOM_WINDOW,
                            32, 1, &window);
        sync();
    }

    // A round trip: the server has carried out every request sent before, whoever asks next.
    void sync() { std::free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr)); }

    QProcess m_server;
    QString m_display;
    xcb_connection_t *m_connection = nullptr;
    const xcb_screen_t *m_screen = nullptr;
    uint32_t m_activeWindowAtom = 0;
    TempDir m_data;
};

TEST_F(X11ActivationSourceTest, reportsTheActiveWindowsApplicationAndUnderWaylandOnlyWhileItHasTheFocus)
{
    const uint32_t alpha = window("alpha", "AlphaClass", true);
    const uint32_t alphaSecond = window("alpha", "AlphaClass");
    const uint32_t beta = window("beta-tool", "BetaTool");
    activate(alpha);

    TestClock clock;
    auto owned = std::make_unique<X11ActivationSource>(m_display, QStringList{m_data.path()});
    X11ActivationSource *source = owned.get();
    QSignalSpy spy(source, &ActivationSource::activated);
    FrontAppLog log(std::move(owned), clock);
    log.start();
    ASSERT_EQ(log.entries().size(), 1);
    EXPECT_EQ(log.entries().first().name, QStringLiteral("Alpha Editor"));

    // Another window of the same application is no new activation; another application is.
    clock.advance(30);
    activate(alphaSecond);
    activate(beta);
    ASSERT_TRUE(spy.wait(5000));
    ASSERT_EQ(spy.size(), 1);
    EXPECT_EQ(spy.takeFirst().at(0).toString(), QStringLiteral("BetaTool")) << "no desktop entry: the class name";
    EXPECT_EQ(source->frontmostApplication(), QStringLiteral("BetaTool"));
    ASSERT_EQ(log.entries().size(), 2);
    EXPECT_EQ(log.app(clock.now().addSecs(-10)), QStringLiteral("Alpha Editor"));
    activate(XCB_WINDOW_NONE);
    ASSERT_TRUE(spy.wait(5000));
    EXPECT_EQ(spy.takeFirst().at(0).toString(), QString());

    // XWayland keeps its last X11 window active while a native Wayland window has the keyboard; the compositor
    // moves XWayland's focus to a window of its own (or to none) then.
    const uint32_t compositor = window("compositor", "NoFocus", true);
    activate(alpha);
    focus(alpha);
    X11ActivationSource wayland(m_display, QStringList{m_data.path()}, true);
    ASSERT_TRUE(wayland.start());
    EXPECT_EQ(wayland.frontmostApplication(), QStringLiteral("Alpha Editor"));
    QSignalSpy waylandSpy(&wayland, &ActivationSource::activated);
    for (const auto &[window, expected] : {std::pair{compositor, QString()},
                                           {alpha, QStringLiteral("Alpha Editor")},
                                           {uint32_t(XCB_WINDOW_NONE), QString()}}) {
        focus(window);
        ASSERT_TRUE(waylandSpy.wait(5000));
        EXPECT_EQ(waylandSpy.takeFirst().at(0).toString(), expected);
        EXPECT_EQ(wayland.frontmostApplication().value_or(QString()), expected);
    }

    // When the display goes away the log keeps what it has and nothing fails.
    const qsizetype kept = log.entries().size();
    m_server.terminate();
    ASSERT_TRUE(m_server.waitForFinished(5000));
    spy.wait(300);
    EXPECT_EQ(log.entries().size(), kept);
    log.stop();
}

TEST(X11ActivationSourceNoDisplayTest, missingDisplayIsNotAnError)
{
    X11ActivationSource source(QStringLiteral(":9999"), {});
    EXPECT_FALSE(source.start());
    EXPECT_EQ(source.frontmostApplication(), std::nullopt);
}

} // namespace
