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
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QWheelEvent>

namespace {

JourneyDesktop *s_desktop = nullptr;

QQuickItem *findIn(QQuickItem *item, const QString &objectName, const std::function<bool(QQuickItem *)> &accept)
{
    if (!item || !item->isVisible())
        return nullptr;
    if (item->objectName() == objectName && (!accept || accept(item)))
        return item;
    const QList<QQuickItem *> children = item->childItems();
    for (QQuickItem *child : children) {
        if (QQuickItem *found = findIn(child, objectName, accept))
            return found;
    }
    return nullptr;
}

QPoint centre(QQuickItem *item)
{
    return item->mapToScene(QPointF(item->width() / 2, item->height() / 2)).toPoint();
}

} // namespace

void JourneyDesktop::prepareProfile(const QString &root)
{
    const QString home = root + QStringLiteral("/home");
    for (const auto &[variable, path] : {std::pair{"HOME", home},
                                         {"XDG_CONFIG_HOME", home + "/.config"},
                                         {"XDG_DATA_HOME", home + "/.local/share"},
                                         {"XDG_STATE_HOME", home + "/.local/state"},
                                         {"XDG_CACHE_HOME", home + "/.cache"},
                                         {"XDG_RUNTIME_DIR", root + "/run"}}) {
        QDir().mkpath(path);
        qputenv(variable, QFile::encodeName(path));
    }
    QFile::setPermissions(root + QStringLiteral("/run"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    // Nothing of the machine's desktop leaks in: its screenshot folder, its portal, its native dialogs.
    for (const char *variable : {"XDG_SCREENSHOTS_DIR", "XDG_PICTURES_DIR", "XDG_CURRENT_DESKTOP", "WAYLAND_DISPLAY"})
        qunsetenv(variable);
    qputenv("QT_QPA_PLATFORMTHEME", "generic");
    // The analyzer the bus activates recognises single-threaded and leaves soon after the journey.
    qputenv("OMP_THREAD_LIMIT", "1");
    qputenv("ZENTROPE_TEST_IDLE_EXIT_MS", "3000");
}

JourneyDesktop::JourneyDesktop(const QString &root)
    : m_root(root)
    , m_connection(QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("journey-desktop")))
{
    m_thread.start();
    m_anchor.moveToThread(&m_thread);
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
    return *s_desktop;
}

void JourneyDesktop::reset()
{
    home().removeRecursively();
    prepareProfile(m_root);
    m_notifications->clear();
}

void Journey::SetUp()
{
    ASSERT_TRUE(desktop().notifications().isServing() && desktop().tray().isServing());
    desktop().reset();
    m_screenshots = desktop().home().filePath(QStringLiteral("Pictures/Screenshots"));
    QDir().mkpath(m_screenshots);
    L10n::apply(InterfaceLanguage::en);
}

void Journey::TearDown()
{
    qDeleteAll(m_dialogWaits);
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
    // Nothing answers there, whatever runs on this machine.
    settings.setModelEndpoint(QStringLiteral("http://127.0.0.1:9"));
    settings.setOcrFallback(true);
    settings.setOnboardingDone(true);
    settings.setFolders({{QUuid::createUuid(), m_screenshots, *FolderBookmark::create(m_screenshots), true}});
    settings.defaults().setString(QString::fromLatin1(WindowGeometry::key),
                                  WindowGeometry::format(QRect(40, 20, 700, 1000)));
}

void Journey::launch()
{
    seed();
    m_shell = std::make_unique<AppShell>(AppShell::Options{});
    ASSERT_TRUE(m_shell->launch());
    ASSERT_TRUE(m_shell->tray()) << "the application found no status area";
    // A screenshot taken before the folders are watched is not one a user takes. A first start has none to watch.
    if (m_shell->settings().autoProcessing() && !m_shell->settings().folders().isEmpty()) {
        ASSERT_TRUE(waitFor([this] { return m_shell->model().isWatching(); }));
    }
}

QString Journey::takeScreenshot(const QString &heading)
{
    static int taken = 0;
    const QDateTime when = QDateTime::currentDateTime().addSecs(taken++);
    const QString path =
        QDir(m_screenshots)
            .filePath(
                QStringLiteral("Screenshot From %1.png").arg(when.toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"))));
    EXPECT_TRUE(renderedScreen(heading, {QStringLiteral("Taken on a journey through the windows")}).save(path));
    return path;
}

RenameRecord Journey::seedRecord(const QString &originalName, const QString &currentName)
{
    RenameRecord record{QUuid::createUuid(),
                        QDateTime::currentDateTimeUtc().addSecs(-600),
                        m_screenshots,
                        originalName,
                        currentName,
                        NamingEngineKind::ocr,
                        RenameRecord::State::renamed,
                        std::nullopt};
    EXPECT_TRUE(renderedScreen(QFileInfo(currentName).completeBaseName()).save(record.filePath()));
    record.fileID = FileID::fromPath(record.filePath());
    HistoryStore().add(record);
    return record;
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
    TrayIcon *tray = m_shell->tray();
    if (!tray->panel() || !tray->panel()->isVisible()) {
        EXPECT_TRUE(waitFor([this] { return desktop().tray().clickIcon(); })) << "no icon in the status area";
        EXPECT_TRUE(waitFor([tray] { return tray->panel() && tray->panel()->isActive(); })) << "no panel";
    }
    return tray->panel();
}

QQuickWindow *Journey::openMainWindow()
{
    click(find(openPanel(), QStringLiteral("openWindowButton")));
    MainWindowController &main = m_shell->mainWindow();
    // Open once active and once the setup checker's first reading, which adds rows, is in.
    EXPECT_TRUE(waitFor([&main] {
        return main.window() && main.window()->isActive() && main.checker() &&
               main.checker()->notificationsAllowed().has_value();
    })) << "the main window did not open";
    return main.window();
}

void Journey::closeMainWindow()
{
    if (QQuickWindow *window = m_shell->mainWindow().window())
        window->close(); // what the window manager's close button does
    EXPECT_TRUE(waitFor([this] { return !m_shell->mainWindow().window(); }));
}

QQuickItem *Journey::find(QQuickItem *root, const QString &objectName, const std::function<bool(QQuickItem *)> &accept)
{
    QQuickItem *found = nullptr;
    waitFor([&] { return (found = findIn(root, objectName, accept)) != nullptr; });
    EXPECT_TRUE(found) << "no visible item " << objectName.toStdString();
    return found;
}

QQuickItem *Journey::row(QQuickWindow *window, const QString &rowName, const QString &name)
{
    return find(window ? window->contentItem() : nullptr, rowName,
                [&name](QQuickItem *item) { return item->property("name").toString() == name; });
}

QPoint Journey::settledCentre(QQuickItem *item)
{
    // Late content (a thumbnail, a reading) can still move an item: it counts where it has stayed a few turns.
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

void Journey::reveal(QQuickItem *item)
{
    ASSERT_TRUE(item) << "nothing to scroll to";
    QQuickWindow *window = item->window();
    for (int turn = 0; turn < 200; ++turn) {
        const QRectF area = item->mapRectToScene(item->boundingRect());
        // Clear of the tab bar at the top and of the window's edge at the bottom.
        const int step = area.top() < 60 ? 1 : (area.bottom() > window->height() - 10 ? -1 : 0);
        if (step == 0)
            break;
        // Over the view but beside its controls, which may take the wheel for themselves.
        const QPointF over(8, window->height() / 2.0);
        QWheelEvent wheel(over, window->mapToGlobal(over), QPoint(), QPoint(0, 120 * step), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        // The view reckons how fast it is turned from the events' times, as a real wheel's events carry them.
        wheel.setTimestamp(static_cast<quint64>(QDateTime::currentMSecsSinceEpoch()));
        QGuiApplication::sendEvent(window, &wheel);
        // A view at its end does not move any more; one that moves glides a little before it stops.
        if (!waitFor([&] { return item->mapRectToScene(item->boundingRect()) != area; },
                     std::chrono::milliseconds(1000)))
            break;
        settledCentre(item);
    }
    const QRectF area = item->mapRectToScene(item->boundingRect());
    EXPECT_TRUE(area.top() >= 0 && area.bottom() <= window->height())
        << "cannot scroll to " << item->objectName().toStdString();
}

void Journey::click(QQuickItem *item)
{
    ASSERT_TRUE(item) << "nothing to click";
    const QPoint at = settledCentre(item);
    QTest::mouseMove(item->window(), at);
    QTest::mouseClick(item->window(), Qt::LeftButton, Qt::NoModifier, at);
}

void Journey::clickInRow(QQuickItem *row, const QString &buttonName)
{
    ASSERT_TRUE(row) << "no row to click " << buttonName.toStdString() << " in";
    QTest::mouseMove(row->window(), settledCentre(row));
    click(find(row, buttonName, [](QQuickItem *item) { return item->isEnabled(); }));
}

void Journey::type(QQuickWindow *window, const QString &text)
{
    // Key by key, as a keyboard sends them (Latin-1 is all the journeys type).
    for (const QChar c : text)
        QTest::keyClick(window, c.toLatin1());
}

void Journey::press(QQuickWindow *window, Qt::Key key)
{
    QTest::keyClick(window, key);
}

void Journey::whenDialog(const std::function<void(QWidget *)> &act)
{
    auto *poll = new QTimer(qApp);
    m_dialogWaits.append(poll);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
        QWidget *dialog = QApplication::activeModalWidget();
        if (!dialog || !dialog->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        act(dialog);
    });
    poll->start(20);
}

void Journey::whenFileDialogChoose(const QString &path)
{
    whenDialog([path](QWidget *widget) {
        auto *dialog = qobject_cast<QFileDialog *>(widget);
        ASSERT_TRUE(dialog);
        auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        ASSERT_TRUE(name);
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
        name->setFocus();
        name->setText(path);
        QTest::keyClick(name, Qt::Key_Return);
    });
}

void Journey::answerMessageBox(const QString &button)
{
    QMessageBox *box = nullptr;
    ASSERT_TRUE(waitFor([&box] { return (box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())); }));
    const QList<QAbstractButton *> buttons = box->buttons();
    const auto chosen = std::find_if(buttons.begin(), buttons.end(),
                                     [&button](QAbstractButton *candidate) { return candidate->text() == button; });
    ASSERT_NE(chosen, buttons.end()) << "no button " << button.toStdString();
    QTest::mouseClick(*chosen, Qt::LeftButton);
}

bool Journey::waitFor(const std::function<bool()> &condition, std::chrono::milliseconds timeout)
{
    return QTest::qWaitFor(condition, static_cast<int>(timeout.count()));
}
