// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "CheckpointListModel.h"

#include <QCoroTask>
#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include <functional>

class AppModel;
class AppSettings;
class Clock;
class HistoryStore;
class SetupChecker;
class WindowRouter;

// The onboarding's state and actions: moving between the six steps, the readiness of the local model, the name
// language's translation row, the finish step's switches and its try-it card.
class OnboardingController : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the application")

    Q_PROPERTY(int step READ step NOTIFY stepChanged)
    Q_PROPERTY(int stepCount READ stepCount CONSTANT)
    Q_PROPERTY(bool forward READ forward NOTIFY stepChanged)
    Q_PROPERTY(bool moving READ moving NOTIFY stepChanged)
    Q_PROPERTY(bool canAdvance READ canAdvance NOTIFY changed)
    Q_PROPERTY(QString mainButtonTitle READ mainButtonTitle NOTIFY changed)
    Q_PROPERTY(QVariantList welcomeExamples READ welcomeExamples CONSTANT)
    Q_PROPERTY(bool hasFolders READ hasFolders NOTIFY changed)
    Q_PROPERTY(bool aiAvailable READ aiAvailable NOTIFY changed)
    Q_PROPERTY(QString aiTitle READ aiTitle NOTIFY changed)
    Q_PROPERTY(bool showsServerHelp READ showsServerHelp NOTIFY changed)
    Q_PROPERTY(QString serverHelp READ serverHelp NOTIFY changed)
    Q_PROPERTY(CheckpointListModel *intelligenceRows READ intelligenceRows CONSTANT)
    Q_PROPERTY(QVariantList languageOptions READ languageOptions NOTIFY changed)
    Q_PROPERTY(CheckpointListModel *translationRows READ translationRows CONSTANT)
    Q_PROPERTY(bool notifyOn READ notifyOn NOTIFY changed)
    Q_PROPERTY(bool showsNotifyDenied READ showsNotifyDenied NOTIFY changed)
    Q_PROPERTY(bool willRename READ willRename NOTIFY changed)
    Q_PROPERTY(QString finishTitle READ finishTitle NOTIFY changed)
    Q_PROPERTY(QString finishSubtitle READ finishSubtitle NOTIFY changed)
    Q_PROPERTY(QString triedName READ triedName NOTIFY changed)
    Q_PROPERTY(QString tryHint READ tryHint NOTIFY changed)

public:
    enum Step { welcome, howItWorks, folder, intelligence, language, finish };
    Q_ENUM(Step)

    // `open` opens the first address of a list that opens, and says so in the window when none does.
    OnboardingController(AppModel &model, AppSettings &settings, HistoryStore &history, WindowRouter &router,
                         std::function<void(const QStringList &)> open, const Clock &clock, QObject *parent = nullptr);

    void setChecker(SetupChecker *checker);

    int step() const;
    static int stepCount();
    bool forward() const { return m_forward; }
    // The step change under way is a move through the pages, not the window opening at a step.
    bool moving() const { return m_moving; }
    // Past the folder step only with a folder to watch.
    bool canAdvance() const;
    QString mainButtonTitle() const;
    // Pairs of a default name and the name Zentrope gives it, both without the extension.
    static QVariantList welcomeExamples();
    bool hasFolders() const;
    bool aiAvailable() const;
    QString aiTitle() const;
    // No model server answers: the step says how to get one.
    bool showsServerHelp() const;
    // How to get one: install it, or start the one that is installed.
    QString serverHelp() const;
    CheckpointListModel *intelligenceRows() { return &m_intelligenceRows; }
    // Automatic, Russian, English, each with its explanation or sample name.
    static QVariantList languageOptions();
    CheckpointListModel *translationRows() { return &m_translationRows; }
    bool notifyOn() const;
    bool showsNotifyDenied() const { return m_notifyDenied; }
    // Whether a new screenshot would be renamed: a folder is watched and something can name it.
    bool willRename() const;
    QString finishTitle() const;
    QString finishSubtitle() const;
    // The new name, without the extension, of the newest rename since the finish step appeared.
    QString triedName() const { return m_triedName; }
    QString tryHint() const;

    // Moves by `change` steps; past the last step the onboarding is done and the home tab shows.
    Q_INVOKABLE void go(int change);
    // The finish step appeared: the try-it card waits for renames from now on.
    Q_INVOKABLE void finishShown();
    Q_INVOKABLE void setNotify(bool on);
    Q_INVOKABLE void openServerHelp();

Q_SIGNALS:
    void stepChanged();
    void changed();

private:
    void update();
    QCoro::Task<> askForNotifications();

    AppModel &m_model;
    AppSettings &m_settings;
    HistoryStore &m_history;
    WindowRouter &m_router;
    std::function<void(const QStringList &)> m_open;
    const Clock &m_clock;
    QPointer<SetupChecker> m_checker;
    QMetaObject::Connection m_checkerConnection;
    CheckpointListModel m_intelligenceRows;
    CheckpointListModel m_translationRows;
    bool m_forward = true;
    bool m_moving = false;
    bool m_notifyDenied = false;
    QDateTime m_finishShown;
    QString m_triedName;
};
