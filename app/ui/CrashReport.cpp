// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "CrashReport.h"

#include <QDir>
#include <QFile>

#include <atomic>
#include <csignal>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int fatalSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT};

char s_reportPath[4096];
std::atomic<const char *> s_lastAction{"none"};
// A stack overflow leaves no stack for the handler.
alignas(16) char s_alternateStack[64 * 1024];

// Appends text to a fixed buffer; nothing here may allocate.
struct Line
{
    char text[512];
    size_t length = 0;
    void add(const char *part)
    {
        for (; *part && length < sizeof text - 1; ++part)
            text[length++] = *part;
    }
    void add(long long value, int width = 1)
    {
        char digits[24];
        int count = 0;
        const bool negative = value < 0;
        unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(value) : value;
        do {
            digits[count++] = static_cast<char>('0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude > 0);
        while (count < width)
            digits[count++] = '0';
        if (negative)
            add("-");
        while (count > 0 && length < sizeof text - 1)
            text[length++] = digits[--count];
    }
};

const char *signalName(int signal)
{
    switch (signal) {
    case SIGSEGV:
        return "SIGSEGV (segmentation fault)";
    case SIGBUS:
        return "SIGBUS (bus error)";
    case SIGILL:
        return "SIGILL (illegal instruction)";
    case SIGFPE:
        return "SIGFPE (arithmetic error)";
    case SIGABRT:
        return "SIGABRT (aborted)";
    default:
        return "unknown";
    }
}

// UTC date and time from the epoch, by the days-to-civil rule, since gmtime is not safe in a handler.
void addTime(Line &line, time_t now)
{
    const long long seconds = now;
    long long days = seconds / 86400;
    long long rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long dayOfEra = days - era * 146097;
    const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long monthIndex = (5 * dayOfYear + 2) / 153;
    const long long day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    const long long month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    const long long year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    line.add(year, 4);
    line.add("-");
    line.add(month, 2);
    line.add("-");
    line.add(day, 2);
    line.add(" ");
    line.add(rest / 3600, 2);
    line.add(":");
    line.add(rest / 60 % 60, 2);
    line.add(":");
    line.add(rest % 60, 2);
    line.add(" UTC");
}

void onFatalSignal(int signal)
{
    Line line;
    line.add("Zentrope stopped unexpectedly.\nsignal: ");
    line.add(signalName(signal));
    line.add("\ntime: ");
    addTime(line, time(nullptr));
    line.add("\nlast action: ");
    line.add(s_lastAction.load());
    line.add("\n");
    const int fd = open(s_reportPath, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd >= 0) {
        const ssize_t written = write(fd, line.text, line.length);
        static_cast<void>(written);
        close(fd);
    }
    // The handler was reset on entry: the signal now ends the process as it would have, core dump included.
    raise(signal);
}

QString reportPath(const QString &directory)
{
    return QDir(directory).filePath(QStringLiteral("crash.txt"));
}

} // namespace

namespace CrashReport {

QString defaultDirectory()
{
    const QString state = qEnvironmentVariable("XDG_STATE_HOME");
    const QString base = QDir::isAbsolutePath(state) ? state : QDir::homePath() + QStringLiteral("/.local/state");
    return base + QStringLiteral("/zentrope");
}

void install(const QString &directory)
{
    QDir().mkpath(directory);
    const QByteArray path = QFile::encodeName(reportPath(directory));
    if (path.size() >= static_cast<qsizetype>(sizeof s_reportPath))
        return;
    std::memcpy(s_reportPath, path.constData(), static_cast<size_t>(path.size()) + 1);

    stack_t stack{};
    stack.ss_sp = s_alternateStack;
    stack.ss_size = sizeof s_alternateStack;
    sigaltstack(&stack, nullptr);
    struct sigaction action
    {
    };
    action.sa_handler = onFatalSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND | SA_ONSTACK;
    for (const int signal : fatalSignals)
        sigaction(signal, &action, nullptr);
}

void noteAction(const char *action)
{
    s_lastAction.store(action);
}

QString keptReportPath(const QString &directory)
{
    return QDir(directory).filePath(QStringLiteral("last-crash.txt"));
}

std::optional<QString> takeReport(const QString &directory)
{
    QFile file(reportPath(directory));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QString text = QString::fromUtf8(file.readAll());
    file.close();
    QFile::remove(keptReportPath(directory));
    if (!file.rename(keptReportPath(directory)))
        file.remove();
    return text;
}

} // namespace CrashReport
