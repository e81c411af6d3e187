// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "Journey.h"

#include "AppModel.h"
#include "AppSettings.h"
#include "FolderBookmark.h"
#include "HistoryStore.h"
#include "L10n.h"
#include "MainWindowController.h"
#include "RenderedScreen.h"
#include "SetupChecker.h"
#include "TrayIcon.h"
#include "WindowGeometry.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

namespace {

JourneyDesktop *s_desktop = nullptr;

void collect(QQuickItem *item, const QString &objectName, const std::function<bool(QQuickItem *)> &accept,
             QQuickItem *&found)
{
    if (found || !item || !item->isVisible())
        return;
    if (item->objectName() == objectName && (!accept || accept(item))) {
        found = item;
        return;
    }
    const QList<QQuickItem *> children = item->childItems();
    for (QQuickItem *child : children)
        collect(child, objectName, accept, found);
}

QPoint centre(QQuickItem *item)
{
    return item->mapToScene(QPointF(item->width() / 2, item->height() / 2)).toPoint();
}

} // namespace

// ---- The desktop ----

void JourneyDesktop::prepareProfile(const QString &root)
{
    const QString home = root + QStringLiteral("/home");
    const struct
    {
        const char *variable;
        QString path;
    } folders[] = {
        {"HOME", home},
        {"XDG_CONFIG_HOME", home + QStringLiteral("/.config")},
        {"XDG_DATA_HOME", home + QStringLiteral("/.local/share")},
        {"XDG_STATE_HOME", home + QStringLiteral("/.local/state")},
        {"XDG_CACHE_HOME", home + QStringLiteral("/.cache")},
        {"XDG_RUNTIME_DIR", root + QStringLiteral("/run")},
    };
    for (const auto &folder : folders) {
        QDir().mkpath(folder.path);
        qputenv(folder.variable, QFile::encodeName(folder.path));
    }
    QFile::setPermissions(root + QStringLiteral("/run"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    // Nothing of the machine's desktop leaks in: its screenshot folder, its portal, its theme's native dialogs.
    for (const char *variable : {"XDG_SCREENSHOTS_DIR", "XDG_PICTURES_DIR", "XDG_CURRENT_DESKTOP", "WAYLAND_DISPLAY"})
        qunsetenv(variable);
    qputenv("QT_QPA_PLATFORMTHEME", "generic");
    // The activated analyzer reads its texts single-threaded and leaves soon after the journey.
    qputenv("OMP_THREAD_LIMIT", "1");
    qputenv("ZENTROPE_TEST_IDLE_EXIT_MS", "3000");
}

JourneyDesktop::JourneyDesktop(const QString &root)
    : m_root(root)
    , m_connection(QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("journey-desktop")))
{
    m_thread.start();
    m_anchor.moveToThread(&m_thread);
    // Made in the thread, so the bus delivers their calls there.
    QMetaObject::invokeMethod(
        &m_anchor,
        [this] {
            m_notifications = new RecordingNotifications(m_connection);
            m_tray = new TrayHost(m_connection);
        },
        Qt::BlockingQueuedConnection);
    s_desktop = this;
}

JourneyDesktop::~JourneyDesktop()
{
    s_desktop = nullptr;
    QMetaObject::invokeMethod(
        &m_anchor,
        [this] {
            delete m_tray;
            delete m_notifications;
        },
        Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
    QDBusConnection::disconnectFromBus(QStringLiteral("journey-desktop"));
}

JourneyDesktop &JourneyDesktop::instance()
{
    Q_ASSERT(s_desktop);
    return *s_desktop;
}

void JourneyDesktop::resetProfile()
{
    QDir(m_root + QStringLiteral("/home")).removeRecursively();
    prepareProfile(m_root);
    m_notifications->clear();
}

// ---- The journey ----

void Journey::SetUp()
{
    ASSERT_TRUE(desktop().isReady()) << "the journey's notification server or status area is not on the bus";
    desktop().resetProfile();
    m_screenshots = desktop().home().filePath(QStringLiteral("Pictures/Screenshots"));
    QDir().mkpath(m_screenshots);
    L10n::apply(InterfaceLanguage::en);
}

void Journey::TearDown()
{
    for (const QPointer<QTimer> &wait : std::as_const(m_dialogWaits))
        delete wait;
    m_dialogWaits.clear();
    if (m_shell) {
        m_shell->shutdown();
        m_shell.reset();
    }
}

void Journey::seed()
{
    AppSettings settings;
    settings.setInterfaceLanguage(InterfaceLanguage::en);
    // Where nothing answers: the journeys name from the recognised text, whatever runs on this machine.
    settings.setModelEndpoint(QStringLiteral("http://127.0.0.1:9"));
    settings.setOcrFallback(true);
    settings.setOnboardingDone(true);
    settings.setFolders(
        {WatchedFolder{QUuid::createUuid(), m_screenshots, *FolderBookmark::create(m_screenshots), true}});
    settings.defaults().setString(QString::fromLatin1(WindowGeometry::key),
                                  WindowGeometry::format(QRect(40, 20, 700, 1000)));
}

void Journey::launch()
{
    seed();
    m_shell = std::make_unique<AppShell>(AppShell::Options{});
    ASSERT_TRUE(m_shell->launch());
    ASSERT_TRUE(m_shell->tray()) << "the application found no status area";
    // Launching finishes in the background; a screenshot taken before the folders are watched is not one the
    // user would take.
    if (m_shell->settings().autoProcessing()) {
        ASSERT_TRUE(waitFor([this] { return m_shell->model().isWatching(); }));
    }
}

QString Journey::takeScreenshot(const QString &heading, const QString &folder)
{
    static int taken = 0;
    const QString name =
        QStringLiteral("Screenshot From %1.png")
            .arg(QDateTime::currentDateTime().addSecs(taken++).toString(QStringLiteral("yyyy-MM-dd HH-mm-ss")));
    const QString path = QDir(folder.isEmpty() ? m_screenshots : folder).filePath(name);
    EXPECT_TRUE(
        renderedScreen(heading, {QStringLiteral("Taken for a journey through Zentrope's windows")}).save(path, "PNG"));
    return path;
}

RenameRecord Journey::seedRecord(const QString &originalName, const QString &currentName)
{
    RenameRecord record;
    record.id = QUuid::createUuid();
    record.date = QDateTime::currentDateTimeUtc().addSecs(-600);
    record.folderPath = m_screenshots;
    record.originalName = originalName;
    record.currentName = currentName;
    record.engine = NamingEngineKind::ocr;
    EXPECT_TRUE(renderedScreen(QFileInfo(currentName).completeBaseName()).save(record.filePath(), "PNG"));
    record.fileID = FileID::fromPath(record.filePath());
    HistoryStore history;
    history.add(record);
    return record;
}

std::optional<RenameRecord> Journey::recordNamed(const QString &currentName) const
{
    for (const RenameRecord &record : m_shell->history().records()) {
        if (record.currentName == currentName)
            return record;
    }
    return std::nullopt;
}

std::optional<RenameRecord> Journey::recordFrom(const QString &originalName) const
{
    for (const RenameRecord &record : m_shell->history().records()) {
        if (record.originalName == originalName)
            return record;
    }
    return std::nullopt;
}

QQuickWindow *Journey::openPanel()
{
    // The tray registers its icon with the status area shortly after the launch.
    if (!waitFor([this] { return !desktop().tray().RegisteredStatusNotifierItems().isEmpty(); })) {
        ADD_FAILURE() << "the tray icon never reached the status area";
        return nullptr;
    }
    QQuickWindow *panel = m_shell->tray()->panel();
    if (panel && panel->isVisible())
        return panel;
    desktop().tray().clickIcon();
    if (!waitFor([this] {
            QQuickWindow *shown = m_shell->tray()->panel();
            return shown && shown->isExposed() && shown->isActive();
        })) {
        ADD_FAILURE() << "the tray panel did not open";
        return nullptr;
    }
    return m_shell->tray()->panel();
}

QQuickWindow *Journey::openMainWindow()
{
    QQuickWindow *panel = openPanel();
    if (!panel)
        return nullptr;
    click(find(panel, QStringLiteral("openWindowButton")));
    if (!waitFor([this] {
            QQuickWindow *window = m_shell->mainWindow().window();
            return window && window->isExposed() && window->isActive();
        })) {
        ADD_FAILURE() << "the main window did not open";
        return nullptr;
    }
    // The checker's first reading adds and changes rows; the user sees the window once it is in.
    EXPECT_TRUE(waitFor([this] {
        const SetupChecker *checker = m_shell->mainWindow().checker();
        return checker && checker->notificationsAllowed().has_value();
    }));
    return m_shell->mainWindow().window();
}

void Journey::closeMainWindow()
{
    QQuickWindow *window = m_shell->mainWindow().window();
    if (!window)
        return;
    // What the window manager's close button sends.
    window->close();
    EXPECT_TRUE(waitFor([this] { return !m_shell->mainWindow().window(); }));
}

QQuickItem *Journey::find(QQuickItem *root, const QString &objectName, const std::function<bool(QQuickItem *)> &accept,
                          std::chrono::milliseconds wait)
{
    QQuickItem *found = nullptr;
    waitFor(
        [&] {
            found = nullptr;
            collect(root, objectName, accept, found);
            return found != nullptr;
        },
        wait);
    if (!found)
        ADD_FAILURE() << "no visible item " << objectName.toStdString();
    return found;
}

QQuickItem *Journey::find(QQuickWindow *window, const QString &objectName,
                          const std::function<bool(QQuickItem *)> &accept, std::chrono::milliseconds wait)
{
    if (!window) {
        ADD_FAILURE() << "no window to find " << objectName.toStdString() << " in";
        return nullptr;
    }
    return find(window->contentItem(), objectName, accept, wait);
}

QQuickItem *Journey::row(QQuickWindow *window, const QString &rowName, const QString &name)
{
    return find(window, rowName, [&name](QQuickItem *item) { return item->property("name").toString() == name; });
}

QPoint Journey::settledCentre(QQuickItem *item)
{
    // Late content (the setup checker's first reading adds rows, a thumbnail arrives) can still move an item;
    // where it is counts once it has stayed there for a few turns of the event loop.
    QPoint last = centre(item);
    int still = 0;
    waitFor([&] {
        const QPoint now = centre(item);
        still = now == last ? still + 1 : 0;
        last = now;
        return still >= 10;
    });
    return last;
}

void Journey::hover(QQuickItem *item)
{
    if (!item)
        return;
    QTest::mouseMove(item->window(), settledCentre(item));
}

void Journey::click(QQuickItem *item)
{
    if (!item) {
        ADD_FAILURE() << "nothing to click";
        return;
    }
    QQuickWindow *window = item->window();
    const QPoint at = settledCentre(item);
    QTest::mouseMove(window, at);
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, at);
}

void Journey::clickInRow(QQuickItem *row, const QString &buttonName)
{
    if (!row) {
        ADD_FAILURE() << "no row to click " << buttonName.toStdString() << " in";
        return;
    }
    hover(row);
    QQuickItem *button = find(row, buttonName, [](QQuickItem *item) { return item->isEnabled(); });
    click(button);
}

void Journey::type(QQuickWindow *window, const QString &text)
{
    // Key by key, as a keyboard sends them (Latin-1 only, which is what the journeys type).
    for (const QChar c : text)
        QTest::keyClick(window, c.toLatin1());
}

void Journey::press(QQuickWindow *window, Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(window, key, modifiers);
}

void Journey::whenDialog(const std::function<void(QWidget *)> &act)
{
    auto *poll = new QTimer(qApp);
    m_dialogWaits.append(poll);
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
        QWidget *dialog = QApplication::activeModalWidget();
        if (!dialog || !dialog->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        act(dialog);
    });
    poll->start();
}

void Journey::answerMessageBox(const QString &button)
{
    QMessageBox *box = nullptr;
    waitFor([&box] {
        box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        return box && box->isVisible();
    });
    ASSERT_TRUE(box) << "no message box showed";
    const QList<QAbstractButton *> buttons = box->buttons();
    for (QAbstractButton *candidate : buttons) {
        if (candidate->text() == button) {
            QTest::mouseClick(candidate, Qt::LeftButton);
            return;
        }
    }
    ADD_FAILURE() << "the message box has no button " << button.toStdString();
}

bool Journey::waitFor(const std::function<bool()> &condition, std::chrono::milliseconds timeout)
{
    return QTest::qWaitFor(condition, static_cast<int>(timeout.count()));
}
