// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "AppModel.h"

#include <QCoroTask>
#include <QIODevice>
#include <QString>
#include <QStringList>

#include <optional>

// `zentrope rename [--dry-run] [--json] FILE…`: names the files given on the command line through the
// application's own pipeline (as files the user chose) and prints what became of each; with --dry-run the names
// come from the preview and nothing changes.
class RenameCommand
{
public:
    struct Options
    {
        bool dryRun = false;
        bool json = false;
        QStringList files;
    };

    // Exit codes: every file named, some file not named, unusable arguments.
    static constexpr int success = 0;
    static constexpr int notAllNamed = 1;
    static constexpr int usageError = 2;

    // `arguments` start with the command's own name ("rename"). Absent when the command should not run: then
    // `exitCode` is set and `message` holds the help or the error text to print.
    static std::optional<Options> parse(const QStringList &arguments, QString *message, int *exitCode);

    // `progress`: show a progress line on `err` (only for a terminal).
    RenameCommand(AppModel &model, QIODevice &out, QIODevice &err, bool progress);

    QCoro::Task<int> run(Options options);

    // The whole command over the user's settings and history; needs a running QCoreApplication.
    static int exec(const QStringList &arguments);

private:
    struct Line
    {
        QString path;
        QString newName;
        QString newPath;
        std::optional<NamingEngineKind> engine;
        QString outcome;
        QString error;
        bool languageFallback = false;
    };

    QCoro::Task<int> rename(QStringList files);
    QCoro::Task<int> preview(QStringList files);
    // Files that exist and are images, made absolute and without repetitions; the others are reported.
    QStringList usable(const QStringList &files, bool *allUsable);
    void print(const Line &line, bool dryRun);
    void showProgress(const QString &file);
    void clearProgress();

    AppModel &m_model;
    QIODevice &m_out;
    QIODevice &m_err;
    const bool m_progress;
    int m_done = 0;
    int m_total = 0;
    bool m_progressShown = false;
    bool m_json = false;
};
