// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "CheckpointListModel.h"
#include "FolderListModel.h"
#include "OnboardingController.h"
#include "RecentRecordsModel.h"
#include "RenameRecord.h"
#include "SettingsAddress.h"
#include "SettingsController.h"
#include "StatusSummary.h"
#include "WindowRouter.h"

#include <QJSEngine>
#include <QJSValue>
#include <QObject>
#include <QPointer>
#include <QQmlEngine>
#include <QtQml/qqmlregistration.h>

#include <functional>
#include <optional>

class AppModel;
class AppSettings;
class Clock;
class Appearance;
class FolderAccess;
class HistoryStore;
class SetupChecker;

// What the views read and the one call behind each of their actions: the status, the checklist, the batch and
// the recent renames, over the model, the settings, the history and (while the window is open) the setup checker.
class UiController : public QObject
{
    Q_OBJECT
    QML_NAMED_ELEMENT(App)
    QML_SINGLETON

    Q_PROPERTY(QString statusKind READ statusKind NOTIFY stateChanged)
    Q_PROPERTY(QString statusTitle READ statusTitle NOTIFY stateChanged)
    Q_PROPERTY(QString statusSubtitle READ statusSubtitle NOTIFY stateChanged)
    Q_PROPERTY(bool autoProcessing READ autoProcessing NOTIFY stateChanged)
    Q_PROPERTY(QString switchHelp READ switchHelp NOTIFY stateChanged)
    Q_PROPERTY(bool showsAttentionRow READ showsAttentionRow NOTIFY stateChanged)
    Q_PROPERTY(QString attentionText READ attentionText NOTIFY stateChanged)
    Q_PROPERTY(bool batchRunning READ batchRunning NOTIFY stateChanged)
    Q_PROPERTY(int batchDone READ batchDone NOTIFY stateChanged)
    Q_PROPERTY(int batchTotal READ batchTotal NOTIFY stateChanged)
    Q_PROPERTY(QString batchText READ batchText NOTIFY stateChanged)
    Q_PROPERTY(bool needsAttention READ needsAttention NOTIFY stateChanged)
    Q_PROPERTY(QString deferredText READ deferredText NOTIFY stateChanged)
    Q_PROPERTY(QString trayIcon READ trayIcon NOTIFY stateChanged)
    Q_PROPERTY(bool showAll READ showAll WRITE setShowAll NOTIFY showAllChanged)
    Q_PROPERTY(bool hasMoreRecords READ hasMoreRecords NOTIFY stateChanged)
    Q_PROPERTY(QString showAllText READ showAllText NOTIFY showAllChanged)
    Q_PROPERTY(CheckpointListModel *checklist READ checklist CONSTANT)
    Q_PROPERTY(RecentRecordsModel *panelRecords READ panelRecords CONSTANT)
    Q_PROPERTY(RecentRecordsModel *homeRecords READ homeRecords CONSTANT)
    Q_PROPERTY(CheckpointListModel *setupChecklist READ setupChecklist CONSTANT)
    Q_PROPERTY(FolderListModel *folders READ folders CONSTANT)
    Q_PROPERTY(SettingsController *settingsTab READ settingsTab CONSTANT)
    // The views call App.text("key"). Reading the function is what ties every text binding to the language, so a
    // change of language re-evaluates them all: the windows, the tray panel and the lists redraw at once.
    Q_PROPERTY(QJSValue text READ textFunction NOTIFY languageChanged)
    // The interface language's code, "en" or "ru".
    Q_PROPERTY(QString language READ language NOTIFY languageChanged)
    Q_PROPERTY(bool hasFolders READ hasFolders NOTIFY stateChanged)
    Q_PROPERTY(bool aiReady READ aiReady NOTIFY stateChanged)
    Q_PROPERTY(QStringList folderPaths READ folderPaths NOTIFY stateChanged)
    Q_PROPERTY(int appearanceIndex READ appearanceIndex WRITE setAppearanceIndex NOTIFY settingsChanged)
    Q_PROPERTY(int nameLanguageIndex READ nameLanguageIndex WRITE setNameLanguageIndex NOTIFY settingsChanged)
    Q_PROPERTY(bool ocrFallback READ ocrFallback WRITE setOcrFallback NOTIFY settingsChanged)
    Q_PROPERTY(bool loginEnabled READ loginEnabled NOTIFY settingsChanged)
    Q_PROPERTY(QString loginError READ loginError NOTIFY settingsChanged)
    Q_PROPERTY(bool notificationsDenied READ notificationsDenied NOTIFY stateChanged)
    Q_PROPERTY(bool trayAvailable READ trayAvailable CONSTANT)
    Q_PROPERTY(WindowRouter *router READ router CONSTANT)
    Q_PROPERTY(OnboardingController *onboarding READ onboarding CONSTANT)
    Q_PROPERTY(Appearance *appearance READ appearance CONSTANT)
    Q_PROPERTY(QString notice READ notice NOTIFY noticeChanged)

public:
    // Rows of the tray panel and of the collapsed home list.
    static constexpr int panelRows = 4;
    static constexpr int collapsedCount = 5;

    // How the controller reaches the shell.
    struct Shell
    {
        // Opens the main window, optionally on a tab and with or without the onboarding.
        std::function<void(std::optional<WindowRouter::Tab>, std::optional<bool>)> showMainWindow;
        std::function<void()> quit;
        FolderAccess *folderAccess = nullptr;
        // The autostart entry; null leaves the login switch off and inert.
        const class LoginItem *loginItem = nullptr;
        SettingsAddress::Opener opener;
        // Without a tray the window is the only way to the application, so it offers quitting itself.
        bool trayAvailable = true;
        // Reads every model the model server offers, for the settings' chooser; empty offers none.
        std::function<QCoro::Task<ModelStatus>()> readCatalog;
        // Null: the system clock.
        const Clock *clock = nullptr;
    };

    UiController(AppModel &model, AppSettings &settings, HistoryStore &history, WindowRouter &router,
                 Appearance &appearance, Shell shell, QObject *parent = nullptr);
    ~UiController() override;

    // The instance QML sees as the singleton "App"; set before the first view loads.
    static void setInstance(UiController *controller);
    static UiController *create(QQmlEngine *qmlEngine, QJSEngine *jsEngine);

    // The checker of the open window, or null; its facts feed the checklist.
    void setChecker(SetupChecker *checker);

    QString statusKind() const { return rawValue(m_summary.kind); }
    QString statusTitle() const { return m_summary.title; }
    QString statusSubtitle() const { return m_summary.subtitle; }
    const StatusSummary &summary() const { return m_summary; }
    bool autoProcessing() const;
    QString switchHelp() const;
    bool showsAttentionRow() const;
    QString attentionText() const;
    bool batchRunning() const;
    int batchDone() const;
    int batchTotal() const;
    QString batchText() const;
    bool needsAttention() const { return m_needsAttention; }
    QString deferredText() const { return m_deferredText; }
    QString trayIcon() const;
    bool showAll() const { return m_showAll; }
    void setShowAll(bool showAll);
    bool hasMoreRecords() const;
    QString showAllText() const;
    CheckpointListModel *checklist() { return &m_checklist; }
    RecentRecordsModel *panelRecords() { return &m_panelRecords; }
    RecentRecordsModel *homeRecords() { return &m_homeRecords; }
    CheckpointListModel *setupChecklist() { return &m_setupChecklist; }
    FolderListModel *folders() { return &m_folders; }
    SettingsController *settingsTab() { return m_settingsTab.get(); }
    bool hasFolders() const;
    bool aiReady() const;
    QStringList folderPaths() const;
    int appearanceIndex() const;
    void setAppearanceIndex(int index);
    int nameLanguageIndex() const;
    void setNameLanguageIndex(int index);
    bool ocrFallback() const;
    void setOcrFallback(bool on);
    bool loginEnabled() const;
    QString loginError() const { return m_loginError; }
    // The checker found no notification server to show notifications with.
    bool notificationsDenied() const;
    bool trayAvailable() const { return m_shell.trayAvailable; }
    WindowRouter *router() { return &m_router; }
    OnboardingController *onboarding() { return &m_onboarding; }
    Appearance *appearance() { return &m_appearance; }

    // The tray icon for an activity: a wand while working, a pause sign while paused, else the viewfinder.
    static QString trayIconFor(const Activity &activity);
    // A path as the windows show it: inside the home folder with "~".
    static QString displayPath(const QString &path);

    // A message the windows show until it is dismissed, replaced or the main window closes: something asked for
    // did not happen (nothing opened a folder or a page) or the application has news (an earlier crash).
    QString notice() const { return m_notice; }
    void showNotice(const QString &text);
    Q_INVOKABLE void dismissNotice();
    // The main window closed: what it showed for this opening only is forgotten.
    void windowClosed();

    // The text under a key in the interface language.
    Q_INVOKABLE QString lookup(const QString &key) const;
    QJSValue textFunction() const;
    QString language() const;

    // Actions; each is one call of the model or the shell.
    Q_INVOKABLE void setAutoProcessing(bool on);
    Q_INVOKABLE void cancelQueue();
    Q_INVOKABLE void openMainWindow();
    Q_INVOKABLE void openHome();
    Q_INVOKABLE void openGuide();
    Q_INVOKABLE void renameFiles();
    Q_INVOKABLE void processExisting();
    Q_INVOKABLE void chooseFolder();
    Q_INVOKABLE void quit();
    Q_INVOKABLE void panelShown();
    Q_INVOKABLE void runCheckpointAction(const QString &action);
    Q_INVOKABLE void undo(const QString &recordId);
    Q_INVOKABLE void reveal(const QString &recordId);
    Q_INVOKABLE void again(const QString &recordId);
    // Empty on success, else the text to show under the field.
    Q_INVOKABLE QString rename(const QString &recordId, const QString &name);
    // Shows the error under the switch when the autostart entry cannot be written or removed.
    Q_INVOKABLE void setLoginEnabled(bool on);
    Q_INVOKABLE void openNotificationSettings();

Q_SIGNALS:
    void stateChanged();
    void showAllChanged();
    void settingsChanged();
    void noticeChanged();
    // The interface language changed; every text is to be looked up again.
    void languageChanged();

private:
    void update();
    void languageSwitched();
    // Opens the first address that opens; says so when none did.
    void openAddresses(const QStringList &addresses);
    std::optional<RenameRecord> record(const QString &recordId) const;

    AppModel &m_model;
    AppSettings &m_settings;
    HistoryStore &m_history;
    WindowRouter &m_router;
    Appearance &m_appearance;
    Shell m_shell;
    QPointer<SetupChecker> m_checker;
    CheckpointListModel m_checklist;
    CheckpointListModel m_setupChecklist;
    QString m_loginError;
    RecentRecordsModel m_panelRecords;
    RecentRecordsModel m_homeRecords;
    FolderListModel m_folders;
    std::unique_ptr<SettingsController> m_settingsTab;
    StatusSummary m_summary;
    bool m_needsAttention = false;
    QString m_deferredText;
    bool m_showAll = false;
    QString m_notice;
    QMetaObject::Connection m_checkerConnection;
    OnboardingController m_onboarding;
};
