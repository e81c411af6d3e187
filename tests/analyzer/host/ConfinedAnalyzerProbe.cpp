// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
//
// Test-only: confines itself as the analyzer service does, tries what must be refused, then names IMAGE; prints one
// JSON object.   confined_analyzer_probe IMAGE OTHER_PORT
#include "AnalyzeCommand.h"
#include "Confinement.h"
#include "KeyValueStore.h"
#include "NamingAnalyzeEngine.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>

#include <arpa/inet.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
QString outcome(int result, int fd = -1)
{
    const QString text = result >= 0 ? QStringLiteral("succeeded") : QString::fromLatin1(strerrorname_np(errno));
    if (fd >= 0)
        ::close(fd);
    return text;
}

QString openFile(const QString &path, int flags)
{
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC, 0600);
    return outcome(fd, fd);
}

// Connects to, or binds, a loopback TCP port.
QString tcp(quint16 port, bool bind)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const auto *at = reinterpret_cast<sockaddr *>(&address);
    return outcome(bind ? ::bind(fd, at, sizeof address) : ::connect(fd, at, sizeof address), fd);
}

QString forkChild()
{
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(0);
    if (pid > 0)
        ::waitpid(pid, nullptr, 0);
    return outcome(pid);
}

QCoro::Task<void> nameAndQuit(AnalyzeCommand::Arguments arguments, QJsonObject report)
{
    QString printed;
    QTextStream out(&printed);
    const std::unique_ptr<AnalyzeEngine> engine = namingEngineFactory()();
    co_await AnalyzeCommand::run(std::move(arguments), *engine, out);
    report.insert(QStringLiteral("response"), QJsonDocument::fromJson(printed.toUtf8()).object());
    std::printf("%s\n", QJsonDocument(report).toJson(QJsonDocument::Compact).constData());
    QCoreApplication::exit(0);
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3)
        return 2;
    const QString image = arguments.at(1);
    const quint16 otherPort = quint16(arguments.at(2).toUInt());
    std::optional<AnalyzeCommand::Arguments> job =
        AnalyzeCommand::parse(image, QStringLiteral("auto"), QStringLiteral("en"), true, QString(), nullptr);
    if (!job)
        return 2;

    const ModelEnvironment models = ModelEnvironment::system();
    const Confinement::Plan plan = Confinement::plan(models, QProcessEnvironment::systemEnvironment());
    Confinement confinement;
    confinement.restrictFiles(plan);
    confinement.filterSyscalls();

    const QString home = QDir::homePath();
    const QString settingsFolder = QFileInfo(models.store->filePath()).absolutePath();
    char program[] = "/bin/true";
    char *programArguments[] = {program, nullptr};
    const QJsonObject attempts{
        {QStringLiteral("writeHome"), openFile(home + QStringLiteral("/planted"), O_WRONLY | O_CREAT)},
        {QStringLiteral("writeSettings"), openFile(settingsFolder + QStringLiteral("/planted"), O_WRONLY | O_CREAT)},
        {QStringLiteral("overwriteImage"), openFile(image, O_WRONLY | O_TRUNC)},
        {QStringLiteral("readSsh"), openFile(home + QStringLiteral("/.ssh/id_ed25519"), O_RDONLY)},
        {QStringLiteral("readSettings"), openFile(models.store->filePath(), O_RDONLY)},
        {QStringLiteral("fork"), forkChild()},
        {QStringLiteral("execute"), outcome(::execv(program, programArguments))}, // returns only when refused
        {QStringLiteral("connectOther"), tcp(otherPort, false)},
        {QStringLiteral("bind"), tcp(0, true)},
        {QStringLiteral("unixSocket"),
         [] {
             const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
             return outcome(fd, fd);
         }()},
    };
    QJsonObject report{{QStringLiteral("landlockAbi"), Landlock::abiVersion()},
                       {QStringLiteral("problems"), confinement.problems()},
                       {QStringLiteral("attempts"), attempts}};
    QTimer::singleShot(0, &app, [job = *job, report] { nameAndQuit(job, report); });
    return app.exec();
}
