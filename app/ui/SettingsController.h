// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "AnalyzeResponse.h"
#include "CheckpointListModel.h"
#include "ModelStatus.h"
#include "NamingOptions.h"
#include "SettingsAddress.h"

#include <QCoroTask>
#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include <functional>

class AppModel;
class AppSettings;
class FolderAccess;
class HistoryStore;
class SetupChecker;

// The settings tab beyond what the other views share: what each control shows (indexes into its choices, the name
// preview, the model's status and naming mode, the test's result) and the one call behind each control.
class SettingsController : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the application")

    // Lists of choices notify before the indexes into them: a drop-down given a new list forgets its index, and the
    // index binding is to be evaluated after that.

    // Folders
    Q_PROPERTY(int scopeIndex READ scopeIndex WRITE setScopeIndex NOTIFY choicesChanged)
    Q_PROPERTY(QStringList scopeLabels READ scopeLabels NOTIFY labelsChanged)
    Q_PROPERTY(QString scopeExplanation READ scopeExplanation NOTIFY choicesChanged)
    // Naming
    Q_PROPERTY(int separatorIndex READ separatorIndex WRITE setSeparatorIndex NOTIFY choicesChanged)
    Q_PROPERTY(int caseIndex READ caseIndex WRITE setCaseIndex NOTIFY choicesChanged)
    Q_PROPERTY(int dateIndex READ dateIndex WRITE setDateIndex NOTIFY choicesChanged)
    // Each entry: "text", and "divider" when a line follows it.
    Q_PROPERTY(QVariantList dateChoices READ dateChoices NOTIFY labelsChanged)
    Q_PROPERTY(int maxLength READ maxLength NOTIFY choicesChanged)
    Q_PROPERTY(int sliderMinimum READ sliderMinimum CONSTANT)
    Q_PROPERTY(int sliderMaximum READ sliderMaximum CONSTANT)
    Q_PROPERTY(QString preview READ preview NOTIFY choicesChanged)
    Q_PROPERTY(CheckpointListModel *translationRow READ translationRow CONSTANT)
    // Behaviour
    Q_PROPERTY(int notificationIndex READ notificationIndex WRITE setNotificationIndex NOTIFY choicesChanged)
    Q_PROPERTY(bool showsNotificationWarning READ showsNotificationWarning NOTIFY statusChanged)
    // Intelligence
    Q_PROPERTY(QString aiStatus READ aiStatus NOTIFY statusChanged)
    Q_PROPERTY(QString aiTitle READ aiTitle NOTIFY statusChanged)
    Q_PROPERTY(QString modeTitle READ modeTitle NOTIFY statusChanged)
    Q_PROPERTY(QString modeSubtitle READ modeSubtitle NOTIFY statusChanged)
    Q_PROPERTY(QString visionHint READ visionHint NOTIFY statusChanged)
    Q_PROPERTY(bool automaticServer READ automaticServer NOTIFY serverChanged)
    Q_PROPERTY(QString serverAddress READ serverAddress NOTIFY serverChanged)
    Q_PROPERTY(QString foundServer READ foundServer NOTIFY statusChanged)
    Q_PROPERTY(QString serverError READ serverError NOTIFY serverChanged)
    Q_PROPERTY(QString remoteServer READ remoteServer NOTIFY serverChanged)
    Q_PROPERTY(QString remoteQuestion READ remoteQuestion NOTIFY serverChanged)
    Q_PROPERTY(QStringList modelLabels READ modelLabels NOTIFY modelLabelsChanged)
    Q_PROPERTY(int modelIndex READ modelIndex WRITE setModelIndex NOTIFY modelsChanged)
    // Seconds the model is given for one screenshot.
    Q_PROPERTY(int timeLimit READ timeLimit WRITE setTimeLimit NOTIFY modelsChanged)
    Q_PROPERTY(int timeLimitMinimum READ timeLimitMinimum CONSTANT)
    Q_PROPERTY(int timeLimitMaximum READ timeLimitMaximum CONSTANT)
    Q_PROPERTY(bool testing READ testing NOTIFY testChanged)
    Q_PROPERTY(QString testName READ testName NOTIFY testChanged)
    Q_PROPERTY(QString testDetail READ testDetail NOTIFY testChanged)
    Q_PROPERTY(QString testError READ testError NOTIFY testChanged)
    // Appearance
    Q_PROPERTY(
        int interfaceLanguageIndex READ interfaceLanguageIndex WRITE setInterfaceLanguageIndex NOTIFY choicesChanged)
    // Footer
    Q_PROPERTY(QString versionLine READ versionLine CONSTANT)
    Q_PROPERTY(QString siteAddress READ siteAddress CONSTANT)

public:
    // Where the tab reaches beyond the model, the settings and the history.
    struct Services
    {
        FolderAccess *folderAccess = nullptr;
        SettingsAddress::Opener opener;
        // Says that something asked for did not happen (a folder that no file manager showed).
        std::function<void(const QString &)> notice;
        // A reading of the model server that offers every usable model; empty offers none.
        std::function<QCoro::Task<ModelStatus>()> readCatalog;
        // The project's web address; empty hides the link.
        QString siteAddress;
    };

    SettingsController(AppModel &model, AppSettings &settings, HistoryStore &history, Services services,
                       QObject *parent = nullptr);
    ~SettingsController() override;

    // The checker of the open window, or null; the status lines and the translation row follow it.
    void setChecker(SetupChecker *checker);
    // Every text of the tab is looked up again; the lists first.
    void languageSwitched();

    int scopeIndex() const;
    void setScopeIndex(int index);
    QStringList scopeLabels() const;
    QString scopeExplanation() const;
    int separatorIndex() const;
    void setSeparatorIndex(int index);
    int caseIndex() const;
    void setCaseIndex(int index);
    int dateIndex() const;
    void setDateIndex(int index);
    QVariantList dateChoices() const;
    int maxLength() const;
    static int sliderMinimum() { return sliderMinimumLength; }
    static int sliderMaximum() { return sliderMaximumLength; }
    QString preview() const;
    CheckpointListModel *translationRow() { return &m_translationRow; }
    int notificationIndex() const;
    // A mode other than off asks for permission and then refreshes the checks.
    void setNotificationIndex(int index);
    bool showsNotificationWarning() const;
    QString aiStatus() const;
    QString aiTitle() const;
    QString modeTitle() const;
    QString modeSubtitle() const;
    // Empty when the model accepts images.
    QString visionHint() const;
    bool automaticServer() const;
    QString serverAddress() const;
    QString foundServer() const;
    QString serverError() const { return m_serverError; }
    QString remoteServer() const { return m_remoteServer; }
    QString remoteQuestion() const;
    QStringList modelLabels() const;
    int modelIndex() const;
    void setModelIndex(int index);
    int timeLimit() const;
    void setTimeLimit(int seconds);
    static int timeLimitMinimum();
    static int timeLimitMaximum();
    bool testing() const { return m_testing; }
    QString testName() const { return m_testName; }
    QString testDetail() const;
    QString testError() const { return m_testError; }
    int interfaceLanguageIndex() const;
    void setInterfaceLanguageIndex(int index);
    QString versionLine() const;
    QString siteAddress() const { return m_services.siteAddress; }

    // Folder rows; `id` as the folder list model gives it.
    Q_INVOKABLE void setFolderEnabled(const QString &id, bool enabled);
    Q_INVOKABLE void revealFolder(const QString &id);
    Q_INVOKABLE void processExisting(const QString &id);
    Q_INVOKABLE void removeFolder(const QString &id);
    Q_INVOKABLE void setMaxLengthFromSlider(double value);
    // Empty finds the server by itself; an address on another machine waits for confirmRemote.
    Q_INVOKABLE void setServerAddress(const QString &text);
    Q_INVOKABLE void setAutomaticServer(bool automatic);
    Q_INVOKABLE void confirmRemote();
    Q_INVOKABLE void cancelRemote();
    // Reads the models the server offers again.
    Q_INVOKABLE void refreshModels();
    // Chooses one image and shows the name it would get; the file is not touched.
    Q_INVOKABLE void runTest();
    Q_INVOKABLE void clearHistory();
    Q_INVOKABLE void openSite();

    // Rules without state.
    // The file name the preview shows: a sample title in the language names will be in, built as a rename would.
    static QString previewName(const NamingOptions &options, const QString &interfaceCode, const QDateTime &now);
    // Time, the engine's tag unless the model named it, and a language fallback, joined by " · ".
    static QString testDetail(const AnalyzeResponse &response);
    // The model chooser's entries by name: empty (the best installed model) first, then each offered one; a chosen
    // model the server does not offer (or that could not be read) stays listed so the choice shows.
    static QStringList modelNames(const QList<ModelStatus::Offered> &offered, const QString &chosen);
    // Whether an offered name is the one the user chose: the same, or the same with Ollama's default tag.
    static bool sameModel(const QString &offered, const QString &chosen);

Q_SIGNALS:
    void labelsChanged();
    void modelLabelsChanged();
    void choicesChanged();
    void statusChanged();
    void serverChanged();
    void modelsChanged();
    void testChanged();

private:
    void updateStatus();
    void applyServer(const QString &address);
    QCoro::Task<> readModels();
    QCoro::Task<> askForNotifications();
    QCoro::Task<> test(QString path);

    AppModel &m_model;
    AppSettings &m_settings;
    HistoryStore &m_history;
    Services m_services;
    QPointer<SetupChecker> m_checker;
    QMetaObject::Connection m_checkerConnection;
    CheckpointListModel m_translationRow;
    QString m_serverError;
    QString m_remoteServer;
    // The user switched to typing an address and has not entered one yet.
    bool m_typingAddress = false;
    QList<ModelStatus::Offered> m_offered;
    quint64 m_modelsGeneration = 0;
    bool m_testing = false;
    QString m_testName;
    std::optional<AnalyzeResponse> m_testResponse;
    QString m_testError;
};
