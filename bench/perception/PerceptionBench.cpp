// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "OpenMpThreadLimit.h"
#include "VisionPerception.h"

#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr double maxRatio = 1.15;
constexpr double maxPeakMb = 250;

const QStringList englishSentences{
    "The quarterly report shows steady growth in every region we serve.",
    "Marketing spending stayed within the budget agreed in the spring planning round.",
    "Customer satisfaction improved after the support team changed its rota.",
    "Please review the attached figures before the meeting on Thursday morning.",
    "Shipping times dropped by two days once the new warehouse opened.",
    "We will focus on reliability, onboarding and clearer billing next quarter.",
    "Open issues: export to spreadsheet, dark mode contrast, search by date.",
    "Revenue 1,284,500 EUR, up 12.4 percent compared with last year.",
};

const QStringList russianSentences{
    "Квартальный отчёт показывает устойчивый рост во всех регионах.",
    "Расходы на маркетинг остались в пределах бюджета, согласованного весной.",
    "Удовлетворённость клиентов выросла после изменения графика поддержки.",
    "Пожалуйста, просмотрите приложенные цифры до встречи в четверг утром.",
    "Сроки доставки сократились на два дня после открытия нового склада.",
    "В следующем квартале мы сосредоточимся на надёжности и понятных счетах.",
    "Открытые задачи: экспорт в таблицу, контраст тёмной темы, поиск по дате.",
    "Выручка 1 284 500 рублей, на 12,4 процента больше, чем в прошлом году.",
};

struct Scenario
{
    QString name;
    QSize size;
    bool dark;
    bool russian;
    bool twoPane;
};

struct Palette
{
    QColor background, chrome, text, muted;
};

Palette palette(bool dark)
{
    return dark ? Palette{QColor(32, 33, 38), QColor(45, 46, 52), QColor(226, 227, 232), QColor(150, 152, 160)}
                : Palette{QColor(252, 252, 252), QColor(236, 237, 240), QColor(28, 28, 32), QColor(110, 112, 118)};
}

QFont font(const QString &family, int pixelSize, bool bold = false)
{
    QFont f(family);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

// Fills a column with paragraphs wrapped to its width, as a document or message view would.
void paragraphs(QPainter &painter, const QStringList &sentences, QRect area, int pixelSize)
{
    const QFont body = font(QStringLiteral("Noto Sans"), pixelSize);
    painter.setFont(body);
    const QFontMetrics metrics(body);
    const int lineStep = pixelSize * 16 / 10;
    int y = area.top() + pixelSize;
    int sentence = 0;
    while (y < area.bottom()) {
        QString paragraph;
        for (int i = 0; i < 3; ++i) {
            paragraph += sentences[sentence++ % sentences.size()] + QLatin1Char(' ');
        }
        QString current;
        for (const QString &word : paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const QString candidate = current.isEmpty() ? word : current + QLatin1Char(' ') + word;
            if (metrics.horizontalAdvance(candidate) > area.width() && !current.isEmpty()) {
                painter.drawText(area.left(), y, current);
                y += lineStep;
                current = word;
                if (y >= area.bottom()) {
                    return;
                }
            } else {
                current = candidate;
            }
        }
        painter.drawText(area.left(), y, current);
        y += lineStep * 2;
    }
}

QImage render(const Scenario &s)
{
    const Palette p = palette(s.dark);
    const QStringList &sentences = s.russian ? russianSentences : englishSentences;
    const double scale = s.size.width() / 1920.0;
    const auto px = [scale](int value) { return static_cast<int>(value * scale); };

    QImage image(s.size, QImage::Format_RGB32);
    image.fill(p.background);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);

    // Title bar and toolbar.
    painter.fillRect(QRect(0, 0, s.size.width(), px(44)), p.chrome);
    painter.setPen(p.text);
    painter.setFont(font(QStringLiteral("DejaVu Sans"), px(15), true));
    painter.drawText(QRect(0, 0, s.size.width(), px(44)), Qt::AlignCenter,
                     s.russian ? QStringLiteral("Отчёт за третий квартал — Документы")
                               : QStringLiteral("Third quarter report — Documents"));
    painter.setPen(p.muted);
    painter.setFont(font(QStringLiteral("DejaVu Sans"), px(13)));
    const QStringList tools = s.russian ? QStringList{"Файл", "Правка", "Вид", "Вставка", "Формат", "Справка"}
                                        : QStringList{"File", "Edit", "View", "Insert", "Format", "Help"};
    for (int i = 0; i < tools.size(); ++i) {
        painter.drawText(px(24 + 90 * i), px(72), tools[i]);
    }

    int contentLeft = px(160);
    if (s.twoPane) {
        const int sidebarWidth = px(320);
        painter.fillRect(QRect(0, px(90), sidebarWidth, s.size.height() - px(90)), p.chrome);
        painter.setPen(p.text);
        painter.setFont(font(QStringLiteral("DejaVu Sans"), px(14)));
        const QStringList items = s.russian
                                      ? QStringList{"Входящие", "Черновики", "Отправленные", "Архив",     "Спам",
                                                    "Корзина",  "Заметки",   "Задачи",       "Календарь", "Контакты"}
                                      : QStringList{"Inbox", "Drafts", "Sent",  "Archive",  "Spam",
                                                    "Trash", "Notes",  "Tasks", "Calendar", "Contacts"};
        for (int i = 0; i < items.size() * 2; ++i) {
            painter.drawText(px(28), px(140 + 44 * i), items[i % items.size()] + QStringLiteral(" %1").arg(i + 1));
        }
        contentLeft = sidebarWidth + px(60);
    }
    painter.setPen(p.text);
    painter.setFont(font(QStringLiteral("Noto Sans"), px(30), true));
    painter.drawText(contentLeft, px(150),
                     s.russian ? QStringLiteral("Итоги квартала") : QStringLiteral("Quarter in review"));
    painter.setPen(p.text);
    paragraphs(painter, sentences,
               QRect(contentLeft, px(180), s.size.width() - contentLeft - px(160), s.size.height() - px(230)), px(17));
    painter.end();
    return image;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Wall time of one tesseract command-line run, as a user would run it: single-threaded, same models and mode.
double timeCli(const QString &program, const QString &file)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("OMP_THREAD_LIMIT"), QStringLiteral("1"));
    process.setProcessEnvironment(env);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start(program,
                  {file, QStringLiteral("stdout"), QStringLiteral("-l"), QStringLiteral("eng+rus"),
                   QStringLiteral("--oem"), QStringLiteral("1"), QStringLiteral("--psm"), QStringLiteral("3")});
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        std::fprintf(stderr, "tesseract failed on %s\n", qPrintable(file));
        return -1;
    }
    return timer.nsecsElapsed() / 1e6;
}

struct OurRun
{
    double ms = -1;
    std::size_t lines = 0;
    QString text;
};

// Wall time of our path from the encoded file to features: read, decode, recognise, lay out, identify language.
OurRun timeOurs(const VisionPerception &perception, const QString &file)
{
    QElapsedTimer timer;
    timer.start();
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QImage image = VisionPerception::loadImage(in.readAll(), VisionPerception::recognitionPixelSize);
    const PerceptionResult result = perception.analyze(image, true);
    const double ms = timer.nsecsElapsed() / 1e6;
    const auto *features = std::get_if<ScreenshotFeatures>(&result);
    if (!features) {
        std::fprintf(stderr, "perception failed on %s\n", qPrintable(file));
        return {};
    }
    return {ms, features->lines.size(), features->allText()};
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
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Times perception against the tesseract command line."));
    parser.addHelpOption();
    const QCommandLineOption repeatOption(QStringLiteral("repeat"), QStringLiteral("Runs per image (median)."),
                                          QStringLiteral("n"), QStringLiteral("3"));
    const QCommandLineOption keepOption(QStringLiteral("keep"), QStringLiteral("Write the images here and keep them."),
                                        QStringLiteral("dir"));
    parser.addOption(repeatOption);
    const QCommandLineOption textOption(QStringLiteral("text"),
                                        QStringLiteral("Print the lines read from each image."));
    parser.addOption(keepOption);
    parser.addOption(textOption);
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

    const std::vector<Scenario> scenarios{
        {"document-en-light-1920x1080", {1920, 1080}, false, false, false},
        {"document-en-dark-1920x1080", {1920, 1080}, true, false, false},
        {"document-ru-light-2560x1600", {2560, 1600}, false, true, false},
        {"document-ru-dark-2560x1600", {2560, 1600}, true, true, false},
        {"twopane-en-light-2560x1600", {2560, 1600}, false, false, true},
        {"twopane-ru-dark-1920x1080", {1920, 1080}, true, true, true},
    };
    QStringList files;
    for (const Scenario &s : scenarios) {
        const QString file = dir + QLatin1Char('/') + s.name + QStringLiteral(".png");
        if (!render(s).save(file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 2;
        }
        files.append(file);
    }

    // The service loads its models once at start; the command line loads them on every run.
    const VisionPerception perception;
    perception.warmUp();
    QImage blank(320, 120, QImage::Format_RGB32);
    blank.fill(Qt::white);
    const QString blankFile = dir + QStringLiteral("/blank.png");
    blank.save(blankFile);
    timeCli(cli, files.front()); // fills the disk cache for the first run
    std::vector<double> startup;
    for (int i = 0; i < 3; ++i) {
        startup.push_back(timeCli(cli, blankFile));
    }

    std::printf("%-30s %6s %10s %10s %7s\n", "image", "lines", "ours ms", "cli ms", "ratio");
    bool ok = true;
    double worst = 0;
    for (qsizetype i = 0; i < files.size(); ++i) {
        std::vector<double> ours;
        std::vector<double> theirs;
        std::size_t lines = 0;
        QString text;
        for (int r = 0; r < repeat; ++r) {
            const OurRun run = timeOurs(perception, files[i]);
            ours.push_back(run.ms);
            lines = run.lines;
            text = run.text;
            theirs.push_back(timeCli(cli, files[i]));
        }
        const double our = median(ours);
        const double their = median(theirs);
        if (our < 0 || their <= 0) {
            ok = false;
            continue;
        }
        const double ratio = our / their;
        worst = std::max(worst, ratio);
        ok = ok && ratio <= maxRatio;
        std::printf("%-30s %6zu %10.0f %10.0f %7.2f\n", qPrintable(scenarios[static_cast<std::size_t>(i)].name), lines,
                    our, their, ratio);
        if (parser.isSet(textOption)) {
            std::printf("%s\n\n", qPrintable(text));
        }
    }
    const double peak = peakRssMb();
    ok = ok && peak <= maxPeakMb;
    std::printf("tesseract start-up on a blank image: %.0f ms (included in every cli run)\n", median(startup));
    std::printf("worst ratio %.2f (target <= %.2f), our peak RSS %.0f MB (target <= %.0f MB): %s\n", worst, maxRatio,
                peak, maxPeakMb, ok ? "PASS" : "FAIL");
    return ok ? 0 : 1;
}
