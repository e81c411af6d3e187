// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "RenameCommand.h"

#include "AppSettings.h"
#include "HistoryStore.h"
#include "KeyValueStore.h"
#include "NativePath.h"
#include "ScreenshotDetector.h"

#include "SignalWait.h"
#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QString outcomeName(AppModel::Outcome outcome)
{
    switch (outcome) {
    case AppModel::Outcome::deferred:
        return QStringLiteral("deferred");
    case AppModel::Outcome::retry:
        return QStringLiteral("retry");
    case AppModel::Outcome::renamed:
        return QStringLiteral("renamed");
    case AppModel::Outcome::failed:
        return QStringLiteral("failed");
    case AppModel::Outcome::skipped:
        break;
    }
    return QStringLiteral("skipped");
}

void write(QIODevice &device, const QString &text)
{
    device.write(text.toUtf8());
}

} // namespace

std::optional<RenameCommand::Options> RenameCommand::parse(const QStringList &arguments, QString *message,
                                                           int *exitCode)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Names image files by what they show, like the application does for new screenshots."));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help."));
    const QCommandLineOption dryRun(QStringLiteral("dry-run"),
                                    QStringLiteral("Shows the names the files would get; changes nothing."));
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("Prints one JSON object per file."));
    parser.addOption(help);
    parser.addOption(dryRun);
    parser.addOption(json);
    parser.addPositionalArgument(QStringLiteral("files"), QStringLiteral("The image files to name."),
                                 QStringLiteral("FILE…"));
    QStringList withProgram = arguments;
    if (!withProgram.isEmpty())
        withProgram.first() = QStringLiteral("zentrope ") + withProgram.first();
    if (!parser.parse(withProgram)) {
        *message = parser.errorText() + QLatin1Char('\n');
        *exitCode = usageError;
        return std::nullopt;
    }
    if (parser.isSet(help)) {
        *message = parser.helpText();
        *exitCode = success;
        return std::nullopt;
    }
    if (parser.positionalArguments().isEmpty()) {
        *message = QStringLiteral("No files given.\n") + parser.helpText();
        *exitCode = usageError;
        return std::nullopt;
    }
    return Options{parser.isSet(dryRun), parser.isSet(json), parser.positionalArguments()};
}

RenameCommand::RenameCommand(AppModel &model, QIODevice &out, QIODevice &err, bool progress)
    : m_model(model)
    , m_out(out)
    , m_err(err)
    , m_progress(progress)
{}

QCoro::Task<int> RenameCommand::run(Options options)
{
    m_done = 0;
    m_total = 0;
    m_json = options.json;
    if (options.dryRun)
        co_return co_await preview(options.files);
    co_return co_await rename(options.files);
}

QStringList RenameCommand::usable(const QStringList &files, bool *allUsable)
{
    QStringList kept;
    *allUsable = true;
    for (const QString &file : files) {
        const QString path = AppModel::standardizedPath(QFileInfo(file).absoluteFilePath());
        struct stat st
        {
        };
        QString error;
        // A link is refused rather than followed: renaming it would name the link after another file's content
        // and mark that file as handled.
        if (::lstat(NativePath::encode(path).constData(), &st) != 0)
            error = errno == ENOENT ? QStringLiteral("No such file") : QString::fromLocal8Bit(std::strerror(errno));
        else if (S_ISLNK(st.st_mode))
            error = QStringLiteral("A symbolic link: name the file it points to");
        else if (!S_ISREG(st.st_mode))
            error = QStringLiteral("Not a regular file");
        else if (!ScreenshotDetector::isImageExtension(QFileInfo(path).suffix().toLower()))
            error = QStringLiteral("Not an image file");
        if (!error.isEmpty()) {
            *allUsable = false;
            print(Line{path, {}, {}, std::nullopt, QStringLiteral("skipped"), error, false}, false);
            continue;
        }
        if (!kept.contains(path))
            kept.append(path);
    }
    return kept;
}

QCoro::Task<int> RenameCommand::rename(QStringList files)
{
    bool allUsable = true;
    const QStringList kept = usable(files, &allUsable);
    bool allNamed = allUsable;
    QPointer<AppModel> model(&m_model);
    // Each file is told as soon as it is done, so a pipe reading the output can follow along.
    const QMetaObject::Connection settled =
        QObject::connect(&m_model, &AppModel::jobSettled, &m_model, [&](const AppModel::JobReport &report) {
            ++m_done;
            const bool renamed = report.outcome == AppModel::Outcome::renamed;
            allNamed = allNamed && renamed;
            QString error = report.error;
            if (!renamed && error.isEmpty())
                error = report.outcome == AppModel::Outcome::skipped
                            ? QString::fromLatin1("The file changed or disappeared")
                            : QString::fromLatin1("Not named");
            print(Line{report.job.path, renamed ? QFileInfo(report.newPath).fileName() : QString(), report.newPath,
                       report.engine, outcomeName(report.outcome), renamed ? QString() : error, false},
                  false);
        });
    const QMetaObject::Connection working = QObject::connect(&m_model, &AppModel::activityChanged, &m_model, [&] {
        if (m_model.activity().kind() == Activity::Kind::working)
            showProgress(m_model.activity().file());
    });

    const QStringList accepted = m_model.renameFiles(kept);
    m_total = static_cast<int>(accepted.size());
    for (const QString &path : kept) {
        if (accepted.contains(path))
            continue;
        // Refused at the queue: the file could not be examined.
        allNamed = false;
        print(Line{path,
                   {},
                   {},
                   std::nullopt,
                   QString::fromLatin1("skipped"),
                   QString::fromLatin1("Could not be read"),
                   false},
              false);
    }
    while (model && m_model.isWorking())
        co_await NextSignal(&m_model, &AppModel::workerFinished);
    if (!model)
        co_return notAllNamed;
    QObject::disconnect(settled);
    QObject::disconnect(working);
    clearProgress();
    co_return allNamed ? success : notAllNamed;
}

QCoro::Task<int> RenameCommand::preview(QStringList files)
{
    bool allNamed = true;
    const QStringList kept = usable(files, &allNamed);
    m_total = static_cast<int>(kept.size());
    QPointer<AppModel> model(&m_model);
    for (const QString &path : kept) {
        showProgress(QFileInfo(path).fileName());
        const AppModel::PreviewOutcome outcome = co_await m_model.preview(path);
        if (!model)
            co_return notAllNamed;
        ++m_done;
        clearProgress();
        if (const auto *failure = std::get_if<AnalyzerFailure>(&outcome)) {
            allNamed = false;
            print(Line{path, {}, {}, std::nullopt, QString::fromLatin1("failed"), failure->message, false}, true);
            continue;
        }
        const PreviewResult &result = std::get<PreviewResult>(outcome);
        print(Line{path,
                   result.fileName,
                   {},
                   result.response.engine,
                   QString::fromLatin1("preview"),
                   {},
                   result.response.languageFallback},
              true);
    }
    clearProgress();
    co_return allNamed ? success : notAllNamed;
}

void RenameCommand::print(const Line &line, bool dryRun)
{
    clearProgress();
    const QString name = QFileInfo(line.path).fileName();
    if (m_json) {
        QJsonObject object{{QStringLiteral("path"), line.path},
                           {QStringLiteral("name"), name},
                           {QStringLiteral("outcome"), line.outcome},
                           {QStringLiteral("dryRun"), dryRun}};
        if (!line.newName.isEmpty())
            object.insert(QStringLiteral("newName"), line.newName);
        if (!line.newPath.isEmpty())
            object.insert(QStringLiteral("newPath"), line.newPath);
        if (line.engine)
            object.insert(QStringLiteral("engine"), rawValue(*line.engine));
        if (line.languageFallback)
            object.insert(QStringLiteral("languageFallback"), true);
        if (!line.error.isEmpty())
            object.insert(QStringLiteral("error"), line.error);
        m_out.write(QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n');
        return;
    }
    // Names go out as the bytes they are on disk, also when they are not UTF-8.
    if (!line.error.isEmpty()) {
        m_err.write(NativePath::encode(name + QStringLiteral(": ") + line.error + QLatin1Char('\n')));
        return;
    }
    m_out.write(NativePath::encode(name + QStringLiteral(" → ") + line.newName + QLatin1Char('\n')));
}

void RenameCommand::showProgress(const QString &file)
{
    if (!m_progress)
        return;
    write(m_err, QStringLiteral("\r\x1b[K[%1/%2] %3…").arg(m_done + 1).arg(std::max(m_total, m_done + 1)).arg(file));
    m_progressShown = true;
}

void RenameCommand::clearProgress()
{
    if (!m_progressShown)
        return;
    write(m_err, QStringLiteral("\r\x1b[K"));
    m_progressShown = false;
}

int RenameCommand::exec(const QStringList &arguments)
{
    QFile out;
    QFile err;
    out.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered);
    err.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered);
    QString message;
    int exitCode = success;
    // File names that are not UTF-8 come through byte for byte.
    const QStringList raw = NativePath::processArguments();
    const std::optional<Options> options =
        parse(raw.size() == arguments.size() + 1 ? raw.mid(1) : arguments, &message, &exitCode);
    if (!options) {
        write(exitCode == success ? out : err, message);
        return exitCode;
    }
    AppSettings settings;
    HistoryStore history;
    AppModel model(settings, history, AppModelServices::commandLine());
    RenameCommand command(model, out, err, ::isatty(STDERR_FILENO) == 1);
    exitCode = QCoro::waitFor(command.run(*options));
    history.saveNow();
    return exitCode;
}
