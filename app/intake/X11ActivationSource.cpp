// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "X11ActivationSource.h"

#include "ScreenshotToolSettings.h"

#include <QLocale>
#include <QProcessEnvironment>
#include <QSocketNotifier>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace {

template <typename T>
struct FreeDeleter
{
    void operator()(T *pointer) const { std::free(pointer); }
};
template <typename T>
using XcbReply = std::unique_ptr<T, FreeDeleter<T>>;

uint32_t internAtom(xcb_connection_t *connection, const char *name)
{
    const auto cookie = xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    const XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(connection, cookie, nullptr));
    return reply ? reply->atom : uint32_t(XCB_ATOM_NONE);
}

} // namespace

X11ActivationSource::X11ActivationSource(QString displayName, QStringList dataDirs, bool waylandSession,
                                         QObject *parent)
    : ActivationSource(parent)
    , m_displayName(std::move(displayName))
    , m_dataDirs(std::move(dataDirs))
    , m_waylandSession(waylandSession)
{}

X11ActivationSource::~X11ActivationSource()
{
    stop();
}

bool X11ActivationSource::start()
{
    if (m_connection)
        return true;
    int screenNumber = 0;
    const QByteArray display = m_displayName.toLocal8Bit();
    xcb_connection_t *connection = xcb_connect(display.isEmpty() ? nullptr : display.constData(), &screenNumber);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return false;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i)
        xcb_screen_next(&screens);
    if (screens.rem <= 0) {
        xcb_disconnect(connection);
        return false;
    }
    m_connection = connection;
    m_root = screens.data->root;
    m_activeWindowAtom = internAtom(connection, "_NET_ACTIVE_WINDOW");

    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(connection, m_root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);

    if (m_dataDirs.isEmpty())
        m_dataDirs = DesktopEntryIndex::xdgDataDirs(QProcessEnvironment::systemEnvironment(),
                                                    ScreenshotToolSettings::realHomeDirectory());
    m_entries = DesktopEntryIndex::load(m_dataDirs, QLocale::system().name());
    followFocusOf(activeWindow());
    m_lastReported = frontmostApplication();

    m_notifier = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(connection), QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &X11ActivationSource::readEvents);
    return true;
}

void X11ActivationSource::stop()
{
    if (m_notifier) {
        // stop() may run inside the notifier's own signal, so it is deleted later.
        m_notifier->setEnabled(false);
        m_notifier.release()->deleteLater();
    }
    if (m_connection) {
        xcb_disconnect(m_connection);
        m_connection = nullptr;
    }
    m_lastReported.reset();
    m_followed = 0;
}

std::optional<QString> X11ActivationSource::frontmostApplication() const
{
    if (!m_connection)
        return std::nullopt;
    const uint32_t window = activeWindow();
    if (m_waylandSession && !focusIsIn(window))
        return std::nullopt;
    return applicationName(window);
}

void X11ActivationSource::readEvents()
{
    // Looking at the active window waits for replies, and waiting reads whatever else the socket holds into
    // xcb's queue: events that came in meanwhile wake no notifier, so the queue is drained again after every look.
    while (drainEvents()) {
        if (!m_connection)
            return;
        followFocusOf(activeWindow());
        // Focus moving between windows of one application is not a new activation.
        const std::optional<QString> name = frontmostApplication();
        if (name == m_lastReported)
            continue;
        m_lastReported = name;
        Q_EMIT activated(name.value_or(QString()));
    }
}

bool X11ActivationSource::drainEvents()
{
    bool relevant = false;
    while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection)) {
        const uint8_t type = event->response_type & 0x7f;
        if (type == XCB_PROPERTY_NOTIFY) {
            const auto *property = reinterpret_cast<const xcb_property_notify_event_t *>(event);
            relevant = relevant || (property->window == m_root && property->atom == m_activeWindowAtom);
        } else if (type == XCB_FOCUS_IN || type == XCB_FOCUS_OUT) {
            relevant = true;
        }
        std::free(event);
    }
    if (xcb_connection_has_error(m_connection)) {
        // The display went away; there is nothing more to report.
        stop();
        return false;
    }
    return relevant;
}

void X11ActivationSource::followFocusOf(uint32_t window)
{
    if (!m_waylandSession || window == m_followed)
        return;
    // Our own event mask on another client's window; a window that is gone only earns an ignored error.
    if (m_followed != XCB_WINDOW_NONE) {
        const uint32_t none = XCB_EVENT_MASK_NO_EVENT;
        xcb_change_window_attributes(m_connection, m_followed, XCB_CW_EVENT_MASK, &none);
    }
    m_followed = window;
    if (window != XCB_WINDOW_NONE) {
        const uint32_t focus = XCB_EVENT_MASK_FOCUS_CHANGE;
        xcb_change_window_attributes(m_connection, window, XCB_CW_EVENT_MASK, &focus);
    }
    xcb_flush(m_connection);
}

bool X11ActivationSource::focusIsIn(uint32_t window) const
{
    if (window == XCB_WINDOW_NONE)
        return false;
    const XcbReply<xcb_get_input_focus_reply_t> reply(
        xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    // None and PointerRoot: the keyboard is with no X11 window, so with a Wayland one.
    if (!reply || reply->focus == XCB_INPUT_FOCUS_NONE || reply->focus == XCB_INPUT_FOCUS_POINTER_ROOT)
        return false;
    // The focus may sit on a child of the application's window, or on the frame the window manager put round it.
    const auto reaches = [this](uint32_t from, uint32_t target) {
        for (int depth = 0; from != XCB_WINDOW_NONE && from != m_root && depth < 32; ++depth) {
            if (from == target)
                return true;
            from = parentOf(from);
        }
        return false;
    };
    return reaches(reply->focus, window) || reaches(window, reply->focus);
}

uint32_t X11ActivationSource::parentOf(uint32_t window) const
{
    const XcbReply<xcb_query_tree_reply_t> reply(
        xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, window), nullptr));
    return reply ? reply->parent : uint32_t(XCB_WINDOW_NONE);
}

uint32_t X11ActivationSource::activeWindow() const
{
    const auto cookie = xcb_get_property(m_connection, 0, m_root, m_activeWindowAtom, XCB_ATOM_WINDOW, 0, 1);
    const XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(m_connection, cookie, nullptr));
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) < 4)
        return XCB_WINDOW_NONE;
    return *static_cast<const uint32_t *>(xcb_get_property_value(reply.get()));
}

std::optional<QString> X11ActivationSource::applicationName(uint32_t window) const
{
    if (window == XCB_WINDOW_NONE)
        return std::nullopt;
    const auto cookie = xcb_get_property(m_connection, 0, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 256);
    xcb_generic_error_t *error = nullptr;
    const XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(m_connection, cookie, &error));
    std::free(error);
    if (!reply || reply->format != 8)
        return std::nullopt;
    const int length = xcb_get_property_value_length(reply.get());
    // WM_CLASS holds the instance name and the class name, each ended by a zero byte.
    const QByteArray value(static_cast<const char *>(xcb_get_property_value(reply.get())), length);
    const QList<QByteArray> parts = value.split('\0');
    const QString instanceName = parts.size() > 0 ? QString::fromLocal8Bit(parts.at(0)) : QString();
    const QString className = parts.size() > 1 ? QString::fromLocal8Bit(parts.at(1)) : QString();
    if (const auto name = m_entries.displayName(instanceName, className))
        return name;
    if (!className.isEmpty())
        return className;
    if (!instanceName.isEmpty())
        return instanceName;
    return std::nullopt;
}
