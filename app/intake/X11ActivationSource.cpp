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

X11ActivationSource::X11ActivationSource(QString displayName, QStringList dataDirs, QObject *parent)
    : ActivationSource(parent)
    , m_displayName(std::move(displayName))
    , m_dataDirs(std::move(dataDirs))
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
}

std::optional<QString> X11ActivationSource::frontmostApplication() const
{
    if (!m_connection)
        return std::nullopt;
    return applicationName(activeWindow());
}

void X11ActivationSource::readEvents()
{
    // Replies to our own requests can pull events into xcb's queue, so the queue is drained every time.
    bool activeWindowChanged = false;
    while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection)) {
        if ((event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY) {
            const auto *property = reinterpret_cast<const xcb_property_notify_event_t *>(event);
            if (property->window == m_root && property->atom == m_activeWindowAtom)
                activeWindowChanged = true;
        }
        std::free(event);
    }
    if (xcb_connection_has_error(m_connection)) {
        // The display went away; there is nothing more to report.
        stop();
        return;
    }
    if (!activeWindowChanged)
        return;
    // Focus moving between windows of one application is not a new activation.
    const std::optional<QString> name = frontmostApplication();
    if (name == m_lastReported)
        return;
    m_lastReported = name;
    Q_EMIT activated(name.value_or(QString()));
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
