// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "ScreenshotDetector.h"

#include "IcuRegex.h"
#include "NativePath.h"
#include "ScreenshotToolSettings.h"
#include "ToolScreenshotNames.h"

#include <QCoroFuture>
#include <QCoroTimer>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPromise>
#include <QThreadPool>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace ScreenshotDetector {
namespace {

using namespace std::chrono_literals;

const QString dateTimeTail =
    QStringLiteral(R"(\s*\d{4}[-.]\d{2}[-.]\d{2}(?:\s+\S{1,6}){0,2}?\s+\d{1,2}[.:]\d{2}[.:]\d{2})"
                   R"((?:\s*(?:AM|PM|a\.\s?m\.|p\.\s?m\.))?(?:\s*\(\d+\)|\s+\d{1,3})?(?:@\dx)?$)");

const char screenCaptureAttribute[] = "user.com.apple.metadata:kMDItemIsScreenCapture";

const IcuRegex &knownNameRegex()
{
    static const IcuRegex regex(knownNamePattern(ScreenshotToolSettings::system().customPrefix()));
    return regex;
}

const IcuRegex &anyPrefixRegex()
{
    static const IcuRegex regex(QStringLiteral("^.{1,40}?") + dateTimeTail);
    return regex;
}

QString lowerExtension(const QString &fileName)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return dot < 0 ? QString() : fileName.mid(dot + 1).toLower();
}

QString stemOf(const QString &fileName)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return dot < 0 ? fileName : fileName.left(dot);
}

QDateTime fromTimestamp(const struct statx_timestamp &time)
{
    return QDateTime::fromMSecsSinceEpoch(time.tv_sec * 1000 + time.tv_nsec / 1000000);
}

// A file descriptor closed on every path.
class FileHandle
{
public:
    explicit FileHandle(const QString &path, int extraFlags = 0)
        : m_fd(::open(NativePath::encode(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | extraFlags))
    {}
    ~FileHandle()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileHandle(const FileHandle &) = delete;
    FileHandle &operator=(const FileHandle &) = delete;

    // Open, and a regular file: fifos and devices would block or never end.
    bool isRegularFile() const
    {
        struct stat st
        {
        };
        return m_fd >= 0 && fstat(m_fd, &st) == 0 && S_ISREG(st.st_mode);
    }
    int fd() const { return m_fd; }

    bool readExactly(void *buffer, size_t size, off_t offset) const
    {
        auto *bytes = static_cast<char *>(buffer);
        size_t done = 0;
        while (done < size) {
            const ssize_t n = pread(m_fd, bytes + done, size - done, offset + static_cast<off_t>(done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false;
            done += static_cast<size_t>(n);
        }
        return true;
    }

private:
    int m_fd;
};

quint32 bigEndian32(const unsigned char *bytes)
{
    return (quint32(bytes[0]) << 24) | (quint32(bytes[1]) << 16) | (quint32(bytes[2]) << 8) | quint32(bytes[3]);
}

bool hasGnomeSoftwareChunk(const QString &path)
{
    FileHandle file(path, O_NOFOLLOW);
    if (!file.isRegularFile())
        return false;
    static constexpr unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    unsigned char head[8];
    if (!file.readExactly(head, sizeof head, 0) || std::memcmp(head, signature, sizeof signature) != 0)
        return false;
    static constexpr char wanted[] = "Software\0gnome-screenshot";
    constexpr size_t wantedSize = sizeof wanted - 1;
    off_t offset = 8;
    // Text chunks written by the tools come right after the header; the pixel data ends the search.
    for (int chunk = 0; chunk < 16; ++chunk) {
        unsigned char header[8];
        if (!file.readExactly(header, sizeof header, offset))
            return false;
        const quint32 length = bigEndian32(header);
        const char *type = reinterpret_cast<const char *>(header + 4);
        if (std::memcmp(type, "IDAT", 4) == 0 || std::memcmp(type, "IEND", 4) == 0 || length > 0x7fffffffu)
            return false;
        if (std::memcmp(type, "tEXt", 4) == 0 && length == wantedSize) {
            char data[wantedSize];
            if (file.readExactly(data, wantedSize, offset + 8) && std::memcmp(data, wanted, wantedSize) == 0)
                return true;
        }
        offset += 12 + static_cast<off_t>(length);
    }
    return false;
}

QCoro::Task<bool> decodesCompletely(const QString &path)
{
    // Decoding a large screenshot takes long enough to stall the interface, so it runs on a pool thread.
    auto promise = std::make_shared<QPromise<bool>>();
    QFuture<bool> future = promise->future();
    promise->start();
    QThreadPool::globalInstance()->start([promise, path] {
        QFile file;
        const int fd = ::open(NativePath::encode(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
            if (fd >= 0)
                ::close(fd);
            promise->addResult(false);
            promise->finish();
            return;
        }
        // The reader names the format by content and by the name's extension, as it would for a path.
        QImageReader reader(&file, QFileInfo(path).suffix().toLatin1());
        reader.setAutoTransform(false);
        const QImage image = reader.read();
        promise->addResult(!image.isNull());
        promise->finish();
    });
    co_return co_await future;
}

struct FileStatus
{
    bool regular = false;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    bool operator==(const FileStatus &) const = default;
};

std::optional<FileStatus> fileStatus(const QString &path)
{
    struct statx st
    {
    };
    if (statx(AT_FDCWD, NativePath::encode(path).constData(), 0, STATX_TYPE | STATX_SIZE | STATX_MTIME, &st) != 0)
        return std::nullopt;
    if ((st.stx_mask & (STATX_TYPE | STATX_SIZE | STATX_MTIME)) != (STATX_TYPE | STATX_SIZE | STATX_MTIME))
        return std::nullopt;
    return FileStatus{S_ISREG(st.stx_mode), static_cast<qint64>(st.stx_size),
                      st.stx_mtime.tv_sec * 1000000000LL + st.stx_mtime.tv_nsec};
}

} // namespace

bool isImageExtension(const QString &lowerCaseExtension)
{
    static const std::array<QString, 10> extensions{
        QStringLiteral("png"),  QStringLiteral("jpg"),  QStringLiteral("jpeg"), QStringLiteral("heic"),
        QStringLiteral("heif"), QStringLiteral("tif"),  QStringLiteral("tiff"), QStringLiteral("gif"),
        QStringLiteral("bmp"),  QStringLiteral("webp"),
    };
    return std::find(extensions.begin(), extensions.end(), lowerCaseExtension) != extensions.end();
}

const QStringList &knownPrefixes()
{
    static const QStringList prefixes{
        QStringLiteral("Screenshot"),
        QStringLiteral("Screen Shot"),
        QStringLiteral("CleanShot"),
        QStringLiteral("Shottr"),
        QStringLiteral("Xnapper"),
        QStringLiteral("Снимок экрана"),
        QStringLiteral("Скриншот"),
        QStringLiteral("Знімок екрана"),
        QStringLiteral("Bildschirmfoto"),
        QStringLiteral("Capture d’écran"),
        QStringLiteral("Capture d'écran"),
        QStringLiteral("Captura de pantalla"),
        QStringLiteral("Captura de Tela"),
        QStringLiteral("Captura de ecrã"),
        QStringLiteral("Istantanea schermo"),
        QStringLiteral("Schermata"),
        QStringLiteral("Schermafbeelding"),
        QStringLiteral("Skärmavbild"),
        QStringLiteral("Skjermbilde"),
        QStringLiteral("Skærmbillede"),
        QStringLiteral("Näyttökuva"),
        QStringLiteral("Zrzut ekranu"),
        QStringLiteral("Snímek obrazovky"),
        QStringLiteral("Snímka obrazovky"),
        QStringLiteral("Ekran Resmi"),
        QStringLiteral("Képernyőfotó"),
        QStringLiteral("Captură de ecran"),
        QStringLiteral("Στιγμιότυπο οθόνης"),
        QStringLiteral("צילום מסך"),
        QStringLiteral("لقطة شاشة"),
        QStringLiteral("ภาพหน้าจอ"),
        QStringLiteral("Tangkapan Layar"),
        QStringLiteral("Gambar Skrin"),
        QStringLiteral("Ảnh màn hình"),
        QStringLiteral("スクリーンショット"),
        QStringLiteral("截屏"),
        QStringLiteral("螢幕截圖"),
        QStringLiteral("屏幕快照"),
        QStringLiteral("스크린샷"),
        QStringLiteral("Snimka zaslona"),
    };
    return prefixes;
}

QString knownNamePattern(const std::optional<QString> &customPrefix)
{
    QStringList alternatives;
    for (const QString &prefix : knownPrefixes())
        alternatives.append(IcuRegex::escape(prefix));
    if (customPrefix) {
        QString trimmed = *customPrefix;
        while (!trimmed.isEmpty() && (trimmed.front() == u' ' || trimmed.front() == u'\t'))
            trimmed.remove(0, 1);
        while (!trimmed.isEmpty() && (trimmed.back() == u' ' || trimmed.back() == u'\t'))
            trimmed.chop(1);
        if (!trimmed.isEmpty())
            alternatives.append(IcuRegex::escape(trimmed));
    }
    return QStringLiteral("^(?:") + alternatives.join(u'|') + u')' + dateTimeTail;
}

QString systemScreenshotFolder()
{
    return systemScreenshotFolder(ScreenshotToolSettings::system());
}

QString systemScreenshotFolder(const ScreenshotToolSettings &settings)
{
    return settings.screenshotFolder();
}

std::optional<QDateTime> creationDate(const QString &path)
{
    struct statx st
    {
    };
    if (statx(AT_FDCWD, NativePath::encode(path).constData(), AT_SYMLINK_NOFOLLOW, STATX_BTIME | STATX_MTIME, &st) != 0)
        return std::nullopt;
    if (st.stx_mask & STATX_BTIME)
        return fromTimestamp(st.stx_btime);
    if (st.stx_mask & STATX_MTIME)
        return fromTimestamp(st.stx_mtime);
    return std::nullopt;
}

bool isCandidate(const QString &path, ProcessingScope scope, const QDateTime &now)
{
    const QString name = QFileInfo(path).fileName();
    if (!isImageExtension(lowerExtension(name)))
        return false;
    if (name.startsWith(u'.') || name.startsWith(u'~'))
        return false;
    if (name.endsWith(QStringLiteral(".download")) || name.endsWith(QStringLiteral(".part")))
        return false;

    struct statx st
    {
    };
    if (statx(AT_FDCWD, NativePath::encode(path).constData(), AT_SYMLINK_NOFOLLOW, STATX_TYPE, &st) != 0 ||
        !(st.stx_mask & STATX_TYPE) || !S_ISREG(st.stx_mode))
        return false;
    const std::optional<QDateTime> created = creationDate(path);
    if (!created || !now.isValid())
        return false;

    const qint64 ageMs = created->msecsTo(now);
    if (looksLikeScreenshot(path))
        return ageMs < 900 * 1000;
    return scope == ProcessingScope::allImages && ageMs < 120 * 1000;
}

bool looksLikeScreenshot(const QString &path)
{
    const QString stem = stemOf(QFileInfo(path).fileName());
    if (knownNameRegex().matches(stem) || ToolScreenshotNames::matches(stem))
        return true;
    if (anyPrefixRegex().matches(stem) || ToolScreenshotNames::matchesAnyPrefixShape(stem))
        return hasScreenCaptureMark(path);
    return false;
}

bool hasScreenCaptureMark(const QString &path)
{
    const QByteArray native = NativePath::encode(path);
    // Only the size matters: any value at all marks a screen capture.
    if (lgetxattr(native.constData(), screenCaptureAttribute, nullptr, 0) >= 1)
        return true;
    return hasGnomeSoftwareChunk(path);
}

bool hasCompleteTrailer(const QString &path)
{
    const QString extension = lowerExtension(QFileInfo(path).fileName());
    const bool png = extension == QStringLiteral("png");
    if (!png && extension != QStringLiteral("jpg") && extension != QStringLiteral("jpeg"))
        return true;

    FileHandle file(path);
    if (!file.isRegularFile())
        return false;
    const off_t size = lseek(file.fd(), 0, SEEK_END);
    if (size < 12)
        return false;
    const off_t tailLength = png ? 12 : std::min<off_t>(64, size);
    unsigned char tail[64];
    if (!file.readExactly(tail, static_cast<size_t>(tailLength), size - tailLength))
        return false;
    if (png) {
        static constexpr unsigned char iend[8] = {0, 0, 0, 0, 'I', 'E', 'N', 'D'};
        return std::memcmp(tail, iend, sizeof iend) == 0;
    }
    for (off_t i = 0; i + 1 < tailLength; ++i) {
        if (tail[i] == 0xFF && tail[i + 1] == 0xD9)
            return true;
    }
    return false;
}

QCoro::Task<bool> waitUntilComplete(QString path, std::chrono::milliseconds timeout)
{
    constexpr std::chrono::milliseconds pollInterval{350};
    const QDeadlineTimer deadline(timeout);
    const QString extension = lowerExtension(QFileInfo(path).fileName());
    const bool needsTrailer =
        extension == QStringLiteral("png") || extension == QStringLiteral("jpg") || extension == QStringLiteral("jpeg");
    const int roundsNeeded = needsTrailer ? 1 : 3;
    std::optional<FileStatus> last;
    int stableRounds = 0;
    while (!deadline.hasExpired()) {
        const std::optional<FileStatus> status = fileStatus(path);
        // Only a regular file can become a complete image; anything else would block or never end.
        if (!status || !status->regular)
            co_return false;
        if (status->size > 0 && last == status)
            ++stableRounds;
        else
            stableRounds = 0;
        // A file untouched for a whole poll interval already counts as one unchanged observation, so a
        // screenshot written earlier is not held back by a pause. Only for formats whose end marker and full
        // decode still have to pass: a coarse timestamp (FAT) cannot let a half-written file through.
        if (!last && needsTrailer && status->size > 0 &&
            QDateTime::currentMSecsSinceEpoch() - status->modifiedNs / 1000000 >= pollInterval.count())
            stableRounds = 1;
        if (stableRounds >= roundsNeeded && hasCompleteTrailer(path) && co_await decodesCompletely(path))
            co_return true;
        last = status;
        // A coarse timer may fire early; the pause between polls is a lower bound.
        QTimer pause;
        pause.setTimerType(Qt::PreciseTimer);
        pause.setSingleShot(true);
        pause.start(pollInterval);
        co_await pause;
    }
    co_return false;
}

QStringList existingScreenshots(const QString &folder)
{
    struct Entry
    {
        QString path;
        QDateTime created;
    };
    std::vector<Entry> kept;
    // Read by hand: QDir gives names that are not UTF-8 back with their bytes replaced.
    const QString base = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    DIR *dir = ::opendir(NativePath::encode(base).constData());
    if (!dir)
        return {};
    while (const struct dirent *entry = ::readdir(dir)) {
        const QString name = NativePath::decode(QByteArray(entry->d_name));
        if (name.startsWith(u'.') || !isImageExtension(lowerExtension(name)))
            continue;
        const QString path = base + u'/' + name;
        // Links are left out: renaming one would rename the link, not the screenshot.
        struct statx st
        {
        };
        if (statx(AT_FDCWD, NativePath::encode(path).constData(), AT_SYMLINK_NOFOLLOW, STATX_TYPE, &st) != 0 ||
            !S_ISREG(st.stx_mode) || !looksLikeScreenshot(path))
            continue;
        kept.push_back({path, creationDate(path).value_or(QDateTime())});
    }
    ::closedir(dir);
    std::stable_sort(kept.begin(), kept.end(), [](const Entry &a, const Entry &b) {
        if (!a.created.isValid())
            return b.created.isValid();
        return b.created.isValid() && a.created < b.created;
    });
    QStringList paths;
    for (const Entry &entry : kept)
        paths.append(entry.path);
    return paths;
}

QStringList screenshots(const QString &folder, const QDateTime &createdAfter)
{
    QStringList result;
    for (const QString &path : existingScreenshots(folder)) {
        const std::optional<QDateTime> created = creationDate(path);
        if (created && *created > createdAfter)
            result.append(path);
    }
    return result;
}

} // namespace ScreenshotDetector
