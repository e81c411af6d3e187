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

// Resident memory now, from the kernel's account of this process.
double residentMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').front().toDouble() / 1024.0;
    }
    return 0;
}

double peakRssMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

struct Totals
{
    long long errors = 0;
    long long characters = 0;
    void add(const ScreenCorpus::Reading &reading)
    {
        errors += reading.errors;
        characters += reading.characters;
    }
    double rate() const { return characters ? double(errors) / double(characters) : 0; }
};

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
    const QCommandLineOption wordsOption(QStringLiteral("words"),
                                         QStringLiteral("Print the recognised words with their confidence."));
    parser.addOptions({repeatOption, keepOption, onlyOption, textOption, wordsOption});
    parser.process(app);
    const int repeat = std::max(1, parser.value(repeatOption).toInt());

    const QString cli = QStandardPaths::findExecutable(QStringLiteral("tesseract"));
    if (cli.isEmpty()) {
        std::fprintf(stderr, "the tesseract command line is not installed\n");
        return 2;
    }

    // What the engines cost, before anything else takes memory: the models of one engine, then of a second.
    TesseractEnginePool pool;
    double engineMb[3] = {residentMb(), 0, 0};
    {
        QString error;
        const std::optional<TesseractEnginePool::Lease> first = pool.acquire(error);
        engineMb[1] = residentMb();
        const std::optional<TesseractEnginePool::Lease> second = pool.tryAcquire();
        engineMb[2] = residentMb();
        if (!first) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 2;
        }
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
        // The benchmark reads the files; its own copies of the pictures would only swell its peak memory.
        screen->image = QImage();
        screens.push_back(std::move(*screen));
    }

    const Cld2LanguageIdentifier identifier;
    const TesseractRecognizer oneEngine(pool, 1);
    const TesseractRecognizer allEngines(pool);
    const VisionPerception one(oneEngine, identifier);
    const VisionPerception all(allEngines, identifier);

    std::printf("%-22s %9s %7s %7s %7s %5s %7s %7s %7s  %s\n", "screen", "size", "cli ms", "one ms", "pool ms", "ratio",
                "cli CER", "one CER", "CER", "title");
    Totals cliTotal;
    Totals oneTotal;
    Totals ourTotal;
    std::vector<double> largeRatios;
    int named = 0;
    for (const ScreenCorpus::Screen &screen : screens) {
        const QString file = dir + u'/' + screen.name + QStringLiteral(".png");
        std::vector<double> cliMs;
        std::vector<double> oneMs;
        std::vector<double> poolMs;
        Run cliRun;
        Run oneRun;
        Run ourRun;
        for (int r = 0; r < repeat; ++r) {
            cliRun = runCli(cli, file);
            oneRun = runOurs(one, file);
            ourRun = runOurs(all, file);
            cliMs.push_back(cliRun.ms);
            oneMs.push_back(oneRun.ms);
            poolMs.push_back(ourRun.ms);
        }
        const ScreenCorpus::Reading cliReading = ScreenCorpus::judge(screen, cliRun.lines);
        const ScreenCorpus::Reading oneReading = ScreenCorpus::judge(screen, oneRun.lines);
        const ScreenCorpus::Reading ourReading = ScreenCorpus::judge(screen, ourRun.lines);
        cliTotal.add(cliReading);
        oneTotal.add(oneReading);
        ourTotal.add(ourReading);
        const double ratio = median(poolMs) / median(oneMs);
        if (screen.size.width() * screen.size.height() >= 1920 * 1080)
            largeRatios.push_back(ratio);
        const bool hit = ScreenCorpus::namesSubject(screen, ourRun.title);
        named += hit ? 1 : 0;
        std::printf("%-22s %4dx%-4d %7.0f %7.0f %7.0f %5.2f %7.3f %7.3f %7.3f  %s %s\n", qPrintable(screen.name),
                    screen.size.width(), screen.size.height(), median(cliMs), median(oneMs), median(poolMs), ratio,
                    cliReading.errorRate(), oneReading.errorRate(), ourReading.errorRate(), hit ? "named " : "MISSED",
                    qPrintable(ourRun.title));
        if (parser.isSet(textOption)) {
            for (const ReadLine &line : ourRun.lines) {
                std::printf("    %4.0f,%4.0f h%3.0f | %s\n", line.box.left(), line.box.top(), line.box.height(),
                            qPrintable(line.text));
            }
            for (const QString &spanning : ourReading.spanning)
                std::printf("    spans panes: %s\n", qPrintable(spanning));
        }
        if (parser.isSet(wordsOption)) {
            for (const TextRecognizer::Observation &line : allEngines.recognize(QImage(file)).observations) {
                QStringList words;
                for (const TextRecognizer::Word &word : line.words)
                    words.append(word.text + QStringLiteral("[%1]").arg(qRound(word.confidence * 100)));
                std::printf("    %3.0f | %s\n", line.confidence * 100, qPrintable(words.join(u' ')));
            }
        }
    }
    std::printf("\ncharacter error rate over the corpus: pool %.3f, one engine %.3f, tesseract command line %.3f\n",
                ourTotal.rate(), oneTotal.rate(), cliTotal.rate());
    std::printf("pool of %d engines against one engine, median over %zu screens of 1920x1080 and larger: %.2f\n",
                pool.limit(), largeRatios.size(), median(largeRatios));
    std::printf("titles naming the subject: %d of %zu\n", named, screens.size());
    std::printf("memory: first engine %.0f MB, second engine %.0f MB, peak resident %.0f MB (corpus rendering "
                "included)\n",
                engineMb[1] - engineMb[0], engineMb[2] - engineMb[1], peakRssMb());
    return 0;
}
