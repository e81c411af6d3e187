// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "Cld2LanguageIdentifier.h"
#include "OCRNamer.h"
#include "OpenMpThreadLimit.h"
#include "ScreenCorpus.h"
#include "TesseractRecognizer.h"
#include "VisionPerception.h"

#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using ScreenCorpus::ReadLine;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

struct Run
{
    double ms = -1;
    std::vector<ReadLine> lines;
    QString title;
};

// The tesseract command line as a user would run it (single-threaded, same models and page mode), its words
// gathered into lines from the TSV output.
Run runCli(const QString &program, const QString &file)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("OMP_THREAD_LIMIT"), QStringLiteral("1"));
    process.setProcessEnvironment(env);
    process.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start(program, {file, QStringLiteral("stdout"), QStringLiteral("-l"), QStringLiteral("eng+rus"),
                            QStringLiteral("--oem"), QStringLiteral("1"), QStringLiteral("--psm"), QStringLiteral("3"),
                            QStringLiteral("tsv")});
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        std::fprintf(stderr, "tesseract failed on %s\n", qPrintable(file));
        return {};
    }
    Run run;
    run.ms = timer.nsecsElapsed() / 1e6;
    QString key;
    for (const QByteArray &row : process.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> f = row.split('\t');
        if (f.size() < 12 || f[0] != "5" || f[11].trimmed().isEmpty())
            continue;
        const QString lineKey = QString::fromUtf8(f[2] + '.' + f[3] + '.' + f[4]);
        const QRectF box(f[6].toDouble(), f[7].toDouble(), f[8].toDouble(), f[9].toDouble());
        if (lineKey != key || run.lines.empty()) {
            run.lines.push_back({QString::fromUtf8(f[11]), box});
            key = lineKey;
        } else {
            run.lines.back().text += u' ' + QString::fromUtf8(f[11]);
            run.lines.back().box |= box;
        }
    }
    return run;
}

// Our path from the encoded file to features: read, decode, recognise, lay out, identify the language.
Run runOurs(const VisionPerception &perception, const QString &file)
{
    QElapsedTimer timer;
    timer.start();
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return {};
    const QImage image = VisionPerception::loadImage(in.readAll(), VisionPerception::recognitionPixelSize);
    const PerceptionResult result = perception.analyze(image, true);
    Run run;
    run.ms = timer.nsecsElapsed() / 1e6;
    const auto *features = std::get_if<ScreenshotFeatures>(&result);
    if (!features) {
        std::fprintf(stderr, "perception failed on %s\n", qPrintable(file));
        return {};
    }
    const double w = image.width();
    const double h = image.height();
    for (const ScreenshotFeatures::Line &line : features->lines)
        run.lines.push_back({line.text, QRectF(line.left * w, line.top * h, line.width * w, line.height * h)});
    run.title = OCRNamer::title(*features, 8).value_or(QString());
    return run;
}

double peakRssMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

} // namespace

int main(int argc, char *argv[])
{
    OpenMpThreadLimit::restartSingleThreadedIfNeeded(argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Recognition of the screen corpus against the tesseract command line."));
    parser.addHelpOption();
    const QCommandLineOption repeatOption(QStringLiteral("repeat"), QStringLiteral("Runs per image (median)."),
                                          QStringLiteral("n"), QStringLiteral("3"));
    const QCommandLineOption keepOption(QStringLiteral("keep"), QStringLiteral("Write the images here and keep them."),
                                        QStringLiteral("dir"));
    const QCommandLineOption onlyOption(
        QStringLiteral("only"), QStringLiteral("Only screens whose name contains this."), QStringLiteral("text"));
    const QCommandLineOption textOption(QStringLiteral("text"), QStringLiteral("Print the lines read."));
    parser.addOptions({repeatOption, keepOption, onlyOption, textOption});
    parser.process(app);
    const int repeat = std::max(1, parser.value(repeatOption).toInt());

    const QString cli = QStandardPaths::findExecutable(QStringLiteral("tesseract"));
    if (cli.isEmpty()) {
        std::fprintf(stderr, "the tesseract command line is not installed\n");
        return 2;
    }
    QTemporaryDir temporary;
    const QString dir = parser.isSet(keepOption) ? parser.value(keepOption) : temporary.path();
    QDir().mkpath(dir);

    std::vector<ScreenCorpus::Screen> screens;
    for (const QString &name : ScreenCorpus::names()) {
        if (parser.isSet(onlyOption) && !name.contains(parser.value(onlyOption)))
            continue;
        QString error;
        std::optional<ScreenCorpus::Screen> screen = ScreenCorpus::render(name, &error);
        if (!screen) {
            std::fprintf(stderr, "cannot render %s: %s\n", qPrintable(name), qPrintable(error));
            return 2;
        }
        if (!screen->image.save(dir + u'/' + name + QStringLiteral(".png"))) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(name));
            return 2;
        }
        screens.push_back(std::move(*screen));
    }

    const VisionPerception perception;
    perception.warmUp();

    std::printf("%-24s %9s %8s %8s %7s %7s  %s\n", "screen", "size", "cli ms", "ours ms", "cli CER", "CER", "title");
    for (const ScreenCorpus::Screen &screen : screens) {
        const QString file = dir + u'/' + screen.name + QStringLiteral(".png");
        std::vector<double> cliMs;
        std::vector<double> ourMs;
        Run cliRun;
        Run ourRun;
        for (int r = 0; r < repeat; ++r) {
            cliRun = runCli(cli, file);
            ourRun = runOurs(perception, file);
            cliMs.push_back(cliRun.ms);
            ourMs.push_back(ourRun.ms);
        }
        const ScreenCorpus::Reading cliReading = ScreenCorpus::judge(screen, cliRun.lines);
        const ScreenCorpus::Reading ourReading = ScreenCorpus::judge(screen, ourRun.lines);
        const bool hit = ScreenCorpus::namesSubject(screen, ourRun.title);
        std::printf("%-24s %4dx%-4d %8.0f %8.0f %7.3f %7.3f  %s %s\n", qPrintable(screen.name), screen.image.width(),
                    screen.image.height(), median(cliMs), median(ourMs), cliReading.errorRate(), ourReading.errorRate(),
                    hit ? "HIT " : "miss", qPrintable(ourRun.title));
        if (parser.isSet(textOption)) {
            for (const ReadLine &line : ourRun.lines)
                std::printf("    | %s\n", qPrintable(line.text));
            for (const QString &spanning : ourReading.spanning)
                std::printf("    spans: %s\n", qPrintable(spanning));
        }
    }
    std::printf("peak RSS %.0f MB\n", peakRssMb());
    return 0;
}
