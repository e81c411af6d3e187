// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "KWinScriptActivationSource.h"

#include "ScreenshotToolSettings.h"

#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDir>
#include <QLocale>
#include <QPointer>
#include <QProcessEnvironment>

// The object the script calls; only KWin may call it.
class KWinScriptActivationSource::Receiver : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.zentrope.Zentrope.Activation1")

public:
    explicit Receiver(KWinScriptActivationSource &source)
        : m_source(source)
    {}

public Q_SLOTS:
    void Activated(const QString &desktopFile, const QString &resourceClass, const QString &resourceName)
    {
        const QDBusReply<QString> owner =
            connection().interface()->serviceOwner(QString::fromLatin1(KWinScriptActivationSource::kwinService));
        if (!owner.isValid() || owner.value() != message().service())
            return;
        m_source.report(desktopFile, resourceClass, resourceName);
    }

private:
    KWinScriptActivationSource &m_source;
};

namespace {
QDBusMessage scripting(const char *method)
{
    return QDBusMessage::createMethodCall(QLatin1String(KWinScriptActivationSource::kwinService),
                                          QLatin1String(KWinScriptActivationSource::scriptingPath),
                                          QLatin1String(KWinScriptActivationSource::scriptingInterface),
                                          QLatin1String(method));
}
} // namespace

KWinScriptActivationSource::KWinScriptActivationSource(const QDBusConnection &connection, QStringList dataDirs,
                                                       QObject *parent)
    : ActivationSource(parent)
    , m_connection(connection)
    , m_dataDirs(std::move(dataDirs))
{}

KWinScriptActivationSource::~KWinScriptActivationSource()
{
    stop();
}

QByteArray KWinScriptActivationSource::script(const QString &service)
{
    // KWin 6 names it windowActivated and activeWindow, KWin 5 clientActivated and activeClient; KWin 5 hands the
    // resource names over as byte arrays. Wayland windows carry their application id as resource class.
    QByteArray text = R"(function text(value) {
    if (!value)
        return "";
    if (value instanceof ArrayBuffer)
        return String.fromCharCode.apply(null, new Uint8Array(value));
    return String(value);
}
function report(window) {
    callDBus("@SERVICE@", "@PATH@", "@INTERFACE@", "Activated", window ? text(window.desktopFileName) : "",
             window ? text(window.resourceClass) : "", window ? text(window.resourceName) : "");
}
if (workspace.windowActivated) {
    workspace.windowActivated.connect(report);
    report(workspace.activeWindow);
} else {
    workspace.clientActivated.connect(report);
    report(workspace.activeClient);
}
)";
    text.replace("@SERVICE@", service.toUtf8());
    text.replace("@PATH@", reportPath);
    text.replace("@INTERFACE@", reportInterface);
    return text;
}

bool KWinScriptActivationSource::start()
{
    if (m_started)
        return true;
    if (!m_connection.isConnected())
        return false;
    m_receiver = std::make_unique<Receiver>(*this);
    if (!m_connection.registerObject(QLatin1String(reportPath), m_receiver.get(), QDBusConnection::ExportAllSlots)) {
        m_receiver.reset();
        return false;
    }
    const QString runtime = QProcessEnvironment::systemEnvironment().value(QStringLiteral("XDG_RUNTIME_DIR"));
    m_scriptFile = std::make_unique<QTemporaryFile>((runtime.isEmpty() ? QDir::tempPath() : runtime) +
                                                    QStringLiteral("/zentrope-activation-XXXXXX.js"));
    if (!m_scriptFile->open() || m_scriptFile->write(script(m_connection.baseService())) < 0 ||
        !m_scriptFile->flush()) {
        stop();
        return false;
    }
    if (m_dataDirs.isEmpty())
        m_dataDirs = DesktopEntryIndex::xdgDataDirs(QProcessEnvironment::systemEnvironment(),
                                                    ScreenshotToolSettings::realHomeDirectory());
    m_entries = DesktopEntryIndex::load(m_dataDirs, QLocale::system().name());
    m_started = true;

    // A script of an earlier run that ended without stopping would keep the name: unload it first. Every call is
    // asynchronous; KWin answers them in order.
    m_connection.asyncCall(scripting("unloadScript") << QLatin1String(pluginName));
    QDBusMessage load = scripting("loadScript");
    load << m_scriptFile->fileName() << QLatin1String(pluginName);
    auto *watcher = new QDBusPendingCallWatcher(m_connection.asyncCall(load), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher] {
        watcher->deleteLater();
        const QDBusPendingReply<int> reply = *watcher;
        if (m_started && reply.isValid() && reply.value() >= 0)
            m_connection.asyncCall(scripting("start"));
    });
    return true;
}

void KWinScriptActivationSource::stop()
{
    if (m_started)
        m_connection.asyncCall(scripting("unloadScript") << QLatin1String(pluginName));
    if (m_receiver)
        m_connection.unregisterObject(QLatin1String(reportPath));
    m_receiver.reset();
    m_scriptFile.reset();
    m_started = false;
    m_current.reset();
}

void KWinScriptActivationSource::report(const QString &desktopFile, const QString &resourceClass,
                                        const QString &resourceName)
{
    std::optional<QString> name = m_entries.displayName(desktopFile, resourceClass);
    if (!name)
        name = m_entries.displayName(resourceName, resourceClass);
    if (!name && !resourceClass.isEmpty())
        name = resourceClass;
    if (name == m_current)
        return;
    m_current = name;
    Q_EMIT activated(name.value_or(QString()));
}

#include "KWinScriptActivationSource.moc"
