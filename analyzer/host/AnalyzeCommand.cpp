// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AnalyzeCommand.h"

#include "AnalyzerServiceImpl.h"
#include "ModelEnvironment.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace AnalyzeCommand {

std::optional<Arguments> parse(const QString &file, const QString &nameLanguage, const QString &interfaceCode,
                               bool ocrFallback, const QString &appName, QString *error)
{
    const std::optional<NameLanguage> language = nameLanguageFromRaw(nameLanguage);
    if (!language) {
        if (error)
            *error = QStringLiteral("--name-language must be auto, ru or en, not \"%1\"").arg(nameLanguage);
        return std::nullopt;
    }
    if (interfaceCode != QLatin1String("en") && interfaceCode != QLatin1String("ru")) {
        if (error)
            *error = QStringLiteral("--interface must be en or ru, not \"%1\"").arg(interfaceCode);
        return std::nullopt;
    }
    const int fd = ::open(QFile::encodeName(file).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(file, QString::fromLocal8Bit(strerror(errno)));
        return std::nullopt;
    }
    Arguments arguments;
    arguments.file = file;
    arguments.image.giveFileDescriptor(fd);
    arguments.request.nameLanguage = *language;
    arguments.request.interfaceCode = interfaceCode;
    arguments.request.ocrFallback = ocrFallback;
    if (!appName.isEmpty())
        arguments.request.appName = appName;
    return arguments;
}

QCoro::Task<int> run(Arguments arguments, AnalyzeEngine &engine, QTextStream &out)
{
    // The same path as a call over the bus: the job reads the descriptor, closes it, then names the image.
    const AnalyzeResponse response =
        co_await AnalyzerServiceImpl::respond(engine, std::move(arguments.image), arguments.request.toJson(),
                                              ModelDeadline::after(ModelEnvironment::system().timeLimit()));
    out << QString::fromUtf8(response.toJson()) << Qt::endl;
    co_return response.title ? 0 : 1;
}

} // namespace AnalyzeCommand
