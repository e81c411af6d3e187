// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "ImageIntake.h"

#include "OffThread.h"
#include "VisionPerception.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The raster formats screenshot tools write. Vector and legacy formats are refused: an SVG's size says nothing
// about the memory its document takes.
bool decodable(const QByteArray &format)
{
    static const QList<QByteArray> accepted{"png",  "jpeg", "jpg",  "gif",  "bmp", "webp",
                                            "tiff", "tif",  "heif", "heic", "avif"};
    return accepted.contains(format.toLower());
}

// A file read at fixed offsets: the descriptor's own position, shared with the peer, is never moved.
class PositionalFile : public QIODevice
{
public:
    PositionalFile(int fd, off_t start, qint64 size)
        : m_fd(fd)
        , m_start(start)
        , m_size(size)
    {
        open(QIODevice::ReadOnly);
    }

    qint64 size() const override { return m_size; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 wanted = std::min(maxSize, m_size - pos());
        if (wanted <= 0)
            return 0;
        for (;;) {
            const ssize_t count = ::pread(m_fd, data, size_t(wanted), m_start + off_t(pos()));
            if (count >= 0 || errno != EINTR)
                return count;
        }
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    int m_fd;
    off_t m_start;
    qint64 m_size;
};

std::optional<QByteArray> readAt(int fd, off_t start, qint64 size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    qint64 done = 0;
    while (done < size) {
        const ssize_t count = ::pread(fd, bytes.data() + done, size_t(size - done), start + off_t(done));
        if (count == 0)
            break; // shortened since it was measured
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return std::nullopt;
        }
        done += count;
    }
    bytes.truncate(done);
    return bytes;
}

} // namespace

namespace ImageIntake {

bool hasEnd(const QByteArray &bytes)
{
    // Decoders fill in what is missing of a cut-off JPEG (and some PNGs) with grey, and the text in the part that
    // is there would give the whole file a name; a cut-off file is re-tried once it is whole instead.
    const QByteArrayView tail = QByteArrayView(bytes).last(std::min<qsizetype>(64, bytes.size()));
    if (bytes.startsWith("\x89PNG\r\n\x1a\n"))
        return tail.contains(QByteArrayView("IEND"));
    if (bytes.startsWith("\xff\xd8"))
        return tail.contains(QByteArrayView("\xff\xd9"));
    return true;
}

std::optional<qint64> cost(QIODevice &image, qint64 fileBytes)
{
    QImageReader reader(&image);
    const QByteArray format = reader.format();
    if (format.isEmpty())
        return fileBytes;
    if (!decodable(format))
        return std::nullopt;
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty())
        return fileBytes; // decoding refuses an image of no known size
    // Formats beyond 8 bits a channel decode at full size, then the scaling converts them once more; the others
    // decode at most once at full size. Handlers that do not tell (WebP) decode 8 bits a channel.
    const QImage::Format pixels = reader.imageFormat();
    const int depth = pixels == QImage::Format_Invalid ? 4 : QImage::toPixelFormat(pixels).bitsPerPixel() / 8;
    const qint64 bytesPerPixel = depth > 4 ? 2 * depth : 4;
    // Of a scrolling capture only the top square is decoded.
    const bool clipped = size.height() > size.width() * VisionPerception::tallestAspect &&
                         !reader.transformation().testFlag(QImageIOHandler::TransformationRotate90);
    constexpr qint64 beyondAnyBudget = qint64(1) << 40;
    const qint64 area = std::min(qint64(size.width()) * (clipped ? size.width() : size.height()), beyondAnyBudget);
    return fileBytes + area * bytesPerPixel + recognitionBytes;
}

QCoro::Task<std::optional<Image>> read(int fd, MemoryBudget &budget)
{
    struct stat status = {};
    if (fd < 0 || ::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode))
        co_return std::nullopt;
    const off_t start = std::max<off_t>(0, ::lseek(fd, 0, SEEK_CUR));
    const qint64 size = std::max<qint64>(0, status.st_size - start);
    // Header parsing and reading run off the event loop: a crafted header may take a while to walk.
    const auto estimateJob = [fd, start, size] {
        PositionalFile file(fd, start, size);
        return cost(file, size);
    };
    const std::optional<qint64> need = co_await runOffThread(estimateJob);
    if (!need || *need > budget.capacity())
        co_return std::nullopt;

    MemoryBudget::Share share = co_await budget.acquire(*need);
    const auto readJob = [fd, start, size]() -> std::optional<std::pair<QByteArray, qint64>> {
        std::optional<QByteArray> bytes = readAt(fd, start, size);
        if (!bytes || !hasEnd(*bytes))
            return std::nullopt;
        // The peer may have rewritten the file since its header was read: what is held is measured again.
        QBuffer held(&*bytes);
        held.open(QIODevice::ReadOnly);
        const std::optional<qint64> heldNeed = cost(held, bytes->size());
        held.close();
        if (!heldNeed)
            return std::nullopt;
        return std::pair{std::move(*bytes), *heldNeed};
    };
    std::optional<std::pair<QByteArray, qint64>> held = co_await runOffThread(readJob);
    if (!held || held->second > share.bytes())
        co_return std::nullopt;
    co_return Image{std::move(held->first), std::move(share)};
}

} // namespace ImageIntake
