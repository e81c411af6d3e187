// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
//
// The analyzer service under hostile and heavy callers: whatever arrives, each call gets a coded answer, the same
// process keeps serving, and its memory stays bounded. An analyzer killed in the middle of a call costs the file
// one attempt, not its name.
#include "AnalyzeRequest.h"
#include "AnalyzeResponse.h"
#include "AnalyzerBus.h"
#include "AppModel.h"
#include "AppSettings.h"
#include "CoroTest.h"
#include "HistoryStore.h"
#include "ModelServerDouble.h"
#include "PrivateBus.h"
#include "ProfileApplication.h"
#include "Soak.h"
#include "TestProfile.h"

#include <QBuffer>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusUnixFileDescriptor>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QTest>
#include <QtEndian>

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString noModelServer = QStringLiteral("http://127.0.0.1:9");

// A descriptor owned by the test, closed when it goes.
struct Fd
{
    int fd = -1;
    explicit Fd(int value)
        : fd(value)
    {}
    ~Fd()
    {
        if (fd >= 0)
            ::close(fd);
    }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
};

QByteArray request()
{
    AnalyzeRequest request;
    request.interfaceCode = QStringLiteral("en");
    request.ocrFallback = true;
    return request.toJson();
}

// One Analyze call as any peer can send it; the reply is the decoded response, or the D-Bus error's name.
struct Answer
{
    std::optional<AnalyzeResponse> response;
    QString busError;

    QString code() const
    {
        if (!response)
            return busError.isEmpty() ? QStringLiteral("undecodable") : busError;
        return response->errorCode ? rawValue(*response->errorCode) : QStringLiteral("title");
    }
};

Answer answerOf(const QDBusMessage &reply)
{
    if (reply.type() == QDBusMessage::ErrorMessage)
        return {std::nullopt, reply.errorName()};
    if (reply.arguments().size() != 1)
        return {};
    return {AnalyzeResponse::fromJson(reply.arguments().first().toByteArray()), {}};
}

QDBusMessage analyzeCall(int fd, const QByteArray &bytes)
{
    QDBusMessage call = QDBusMessage::createMethodCall(AnalyzerBus::serviceName, AnalyzerBus::objectPath,
                                                       AnalyzerBus::interfaceName, QStringLiteral("Analyze"));
    call << QVariant::fromValue(QDBusUnixFileDescriptor(fd)) << bytes;
    return call;
}

// Sends every call at once and waits for all the answers.
QList<Answer> callAll(QDBusConnection &bus, const QList<QDBusMessage> &calls)
{
    QList<Answer> answers(calls.size());
    int pending = static_cast<int>(calls.size());
    std::vector<std::unique_ptr<QDBusPendingCallWatcher>> watchers;
    for (qsizetype i = 0; i < calls.size(); ++i) {
        watchers.push_back(std::make_unique<QDBusPendingCallWatcher>(bus.asyncCall(calls.at(i), 200000)));
        QObject::connect(watchers.back().get(), &QDBusPendingCallWatcher::finished, [&, i](QDBusPendingCallWatcher *w) {
            answers[i] = answerOf(w->reply());
            --pending;
        });
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return pending == 0; }, 300000)) << pending << " calls unanswered";
    return answers;
}

QString fileOf(const TempDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    EXPECT_TRUE(Soak::writeFile(path, bytes));
    return path;
}

quint32 crc32(const QByteArray &bytes)
{
    quint32 crc = 0xffffffffu;
    for (const char byte : bytes) {
        crc ^= static_cast<quint8>(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray pngChunk(const QByteArray &type, const QByteArray &data)
{
    QByteArray chunk(4, '\0');
    qToBigEndian<quint32>(static_cast<quint32>(data.size()), chunk.data());
    const QByteArray body = type + data;
    QByteArray crc(4, '\0');
    qToBigEndian<quint32>(crc32(body), crc.data());
    return chunk + body + crc;
}

// A well-formed PNG head declaring 100000 × 100000 RGBA pixels, followed by a little compressed data.
QByteArray hugeDeclaredPng()
{
    QByteArray header(13, '\0');
    qToBigEndian<quint32>(100000, header.data());
    qToBigEndian<quint32>(100000, header.data() + 4);
    header[8] = 8;
    header[9] = 6;
    QByteArray zeros(1 << 20, '\0');
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header) + pngChunk("IDAT", qCompress(zeros).mid(4)) +
           pngChunk("IEND", {});
}

} // namespace

TEST(AnalyzerSoakTest, hostileCallsGetCodedAnswersFromOneServiceOfBoundedMemory)
{
    TempDir config;
    TempDir files;
    {
        AppSettings settings(
            std::make_shared<KeyValueStore>(config.filePath(QStringLiteral("zentrope/settings.json"))));
        settings.setModelEndpoint(noModelServer);
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    // The service must outlive the pauses between the waves, so its idle time stays as shipped.
    environment.remove(QStringLiteral("ZENTROPE_TEST_IDLE_EXIT_MS"));
    PrivateBus privateBus(PrivateBus::defaultConfig(), environment);
    ASSERT_TRUE(privateBus.isRunning());
    QDBusConnection bus = privateBus.connect();
    ASSERT_TRUE(bus.interface()->startService(AnalyzerBus::serviceName).isValid());
    const qint64 pid = Soak::ownerPid(bus, AnalyzerBus::serviceName);
    ASSERT_GT(pid, 0);
    const double startPeak = Soak::peakMiB(pid);
    QElapsedTimer clock;
    clock.start();

    // Descriptors that are not regular files, and bytes that are not a request.
    int ends[2] = {-1, -1};
    ASSERT_EQ(::pipe(ends), 0);
    const Fd pipeRead(ends[0]);
    ::close(ends[1]);
    const Fd directory(::open(files.path().toLocal8Bit().constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    const QString fifoPath = files.filePath(QStringLiteral("fifo.png"));
    ASSERT_EQ(::mkfifo(fifoPath.toLocal8Bit().constData(), 0600), 0);
    const Fd fifo(::open(fifoPath.toLocal8Bit().constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    int pair[2] = {-1, -1};
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair), 0);
    const Fd socket(pair[0]);
    const Fd socketPeer(pair[1]);
    const Fd good(::open(fileOf(files, QStringLiteral("good.png"), Soak::screenPng(1)).toLocal8Bit().constData(),
                         O_RDONLY | O_CLOEXEC));
    const Fd alsoGood(
        ::open(files.filePath(QStringLiteral("good.png")).toLocal8Bit().constData(), O_RDONLY | O_CLOEXEC));
    // Under the bus's message limit (32 MiB on a standard session bus) the request reaches the service.
    QByteArray bigRequest = request();
    bigRequest.chop(1);
    bigRequest += ",\"appName\":\"" + QByteArray(30 * 1024 * 1024, 'a') + "\"}";
    QDBusMessage unknownMember = QDBusMessage::createMethodCall(
        AnalyzerBus::serviceName, AnalyzerBus::objectPath, AnalyzerBus::interfaceName, QStringLiteral("Frobnicate"));
    QDBusMessage wrongArguments = QDBusMessage::createMethodCall(AnalyzerBus::serviceName, AnalyzerBus::objectPath,
                                                                 AnalyzerBus::interfaceName, QStringLiteral("Analyze"));
    wrongArguments << QStringLiteral("not a descriptor");

    const QList<Answer> hostile =
        callAll(bus, {analyzeCall(pipeRead.fd, request()), analyzeCall(directory.fd, request()),
                      analyzeCall(fifo.fd, request()), analyzeCall(socket.fd, request()),
                      analyzeCall(good.fd, QByteArray("{not json")), analyzeCall(alsoGood.fd, bigRequest),
                      unknownMember, wrongArguments});
    QStringList codes;
    for (const Answer &answer : hostile)
        codes.append(answer.code());
    EXPECT_EQ(codes.join(u' '), QStringLiteral("unreadable unreadable unreadable unreadable other title "
                                               "org.freedesktop.DBus.Error.UnknownMethod "
                                               "org.freedesktop.DBus.Error.UnknownMethod"));
    // Over it the bus itself turns the sender away; the service never sees the call.
    QByteArray hugeRequest = bigRequest;
    hugeRequest.insert(hugeRequest.size() - 2, QByteArray(20 * 1024 * 1024, 'a'));
    QDBusConnection sender = privateBus.connect();
    const QList<Answer> huge = callAll(sender, {analyzeCall(good.fd, hugeRequest)});
    EXPECT_FALSE(huge.first().response.has_value());
    const double hostileSeconds = Soak::seconds(clock);

    // Images that are broken or lie about their size.
    const QByteArray png = Soak::screenPng(2);
    QByteArray jpeg;
    {
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        QImage::fromData(png).save(&buffer, "JPEG");
    }
    QList<std::shared_ptr<Fd>> images;
    for (const auto &[name, bytes] : std::initializer_list<std::pair<QString, QByteArray>>{
             {QStringLiteral("truncated.png"), png.left(png.size() / 2)},
             {QStringLiteral("truncated.jpg"), jpeg.left(jpeg.size() / 2)},
             {QStringLiteral("huge.png"), hugeDeclaredPng()},
             {QStringLiteral("empty.png"), {}}})
        images.append(std::make_shared<Fd>(::open(fileOf(files, name, bytes).toLocal8Bit().constData(), O_RDONLY)));
    QList<QDBusMessage> imageCalls;
    for (const auto &image : std::as_const(images))
        imageCalls.append(analyzeCall(image->fd, request()));
    clock.restart();
    codes.clear();
    for (const Answer &answer : callAll(bus, imageCalls))
        codes.append(answer.code());
    EXPECT_EQ(codes.join(u' '), QStringLiteral("unreadable unreadable unreadable unreadable"));
    const double imageSeconds = Soak::seconds(clock);
    const double imagePeak = Soak::peakMiB(pid);
    EXPECT_LT(imagePeak, 300.0);

    // Twenty callers at once, each with a real screenshot.
    QList<std::shared_ptr<Fd>> shots;
    QList<QDBusMessage> calls;
    for (int n = 0; n < 20; ++n) {
        shots.append(std::make_shared<Fd>(
            ::open(fileOf(files, QStringLiteral("shot-%1.png").arg(n), Soak::screenPng(n)).toLocal8Bit().constData(),
                   O_RDONLY)));
        calls.append(analyzeCall(shots.last()->fd, request()));
    }
    clock.restart();
    int titled = 0;
    for (const Answer &answer : callAll(bus, calls)) {
        EXPECT_TRUE(answer.response.has_value()) << answer.code().toStdString();
        titled += answer.code() == QStringLiteral("title") ? 1 : 0;
    }
    EXPECT_EQ(titled, 20);
    const double concurrentSeconds = Soak::seconds(clock);

    // Still the same process.
    EXPECT_EQ(Soak::ownerPid(bus, AnalyzerBus::serviceName), pid);
    const double peak = Soak::peakMiB(pid);
    EXPECT_LT(peak, 600.0);
    Soak::report("analyzer hostile calls",
                 QStringLiteral("8 hostile calls answered in %1 s (a 50 MiB request refused by the bus: %8); 4 broken "
                                "images \"unreadable\" in %2 s, peak %3 MiB "
                                "(at start %4 MiB); 20 concurrent screenshots, %5 titled in %6 s; service peak %7 MiB, "
                                "same process throughout")
                     .arg(hostileSeconds, 0, 'f', 2)
                     .arg(imageSeconds, 0, 'f', 2)
                     .arg(imagePeak, 0, 'f', 0)
                     .arg(startPeak, 0, 'f', 0)
                     .arg(titled)
                     .arg(concurrentSeconds, 0, 'f', 2)
                     .arg(peak, 0, 'f', 0)
                     .arg(huge.first().code()));
}

TEST(AnalyzerSoakTest, anAnalyzerKilledDuringACallCostsTheFileOneAttemptNotItsName)
{
    ModelServerDouble model;
    ModelServerDouble::OllamaModel text;
    text.name = QStringLiteral("llama3.2:3b");
    model.serveOllama({text});
    TestProfile profile(model.url());
    ASSERT_TRUE(profile.bus().isRunning());
    QDBusConnection observer = profile.bus().connect();
    // The first request for a name (a prewarm sends no messages) finds the analyzer dead before it can answer;
    // later ones are answered.
    int chats = 0;
    qint64 killed = 0;
    QElapsedTimer sinceKill;
    model.setHandler(QStringLiteral("/api/chat"), [&](const ModelServerDouble::Request &request) {
        const bool naming = !request.json().value(QStringLiteral("messages")).toArray().isEmpty();
        if (naming && ++chats == 1) {
            killed = Soak::ownerPid(observer, AnalyzerBus::serviceName);
            ::kill(static_cast<pid_t>(killed), SIGKILL);
            sinceKill.start();
        }
        return ModelServerDouble::ollamaAnswer(
            ModelServerDouble::record(QStringLiteral("summary"), QStringLiteral("Harbour planning notes")));
    });

    TempDir watched;
    AppSettings settings(profile.settingsStore());
    settings.setFolders({watchedFolder(watched.path())});
    HistoryStore history(profile.historyDirectory());
    AppModelServices services = profileServices(profile);
    services.timing.retryInterval = std::chrono::milliseconds(1000);
    AppModel tray(settings, history, std::move(services));
    runTask(tray.start());
    ASSERT_TRUE(tray.isWatching());

    const QString shot = watched.filePath(Soak::gnomeName(0));
    ASSERT_TRUE(Soak::writeFile(shot, Soak::screenPng(0)));
    const QString named = watched.filePath(QStringLiteral("Harbour planning notes.png"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(named); }, 240000))
        << Soak::fileNames(watched.path()).join(u", ").toStdString();
    const double recovery = Soak::seconds(sinceKill);
    EXPECT_GT(killed, 0);
    EXPECT_NE(Soak::ownerPid(observer, AnalyzerBus::serviceName), killed);
    EXPECT_EQ(Soak::fileNames(watched.path()), QStringList{QFileInfo(named).fileName()});
    EXPECT_EQ(history.count(), 1);
    EXPECT_EQ(history.pendingCount(), 0);
    Soak::report("analyzer killed during a call",
                 QStringLiteral("%1 naming requests; named %2 s after the kill (re-try interval 1 s), 1 record, "
                                "nothing pending")
                     .arg(chats)
                     .arg(recovery, 0, 'f', 2));
    tray.shutdown();
}
