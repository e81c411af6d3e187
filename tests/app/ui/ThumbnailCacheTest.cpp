// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "ThumbnailCache.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <QImage>

namespace {

TEST(ThumbnailCacheTest, HoldsAtMostTheLimitAndDropsTheLeastRecentlyUsed)
{
    ThumbnailCache cache;
    QImage image(4, 4, QImage::Format_RGB32);
    for (int i = 0; i < ThumbnailCache::limit; ++i)
        cache.insert(ThumbnailCache::key(QStringLiteral("/f%1.png").arg(i), 40), image);
    EXPECT_EQ(cache.count(), ThumbnailCache::limit);
    // Touching the oldest keeps it; the next oldest goes instead.
    EXPECT_TRUE(cache.image(ThumbnailCache::key(QStringLiteral("/f0.png"), 40)));
    cache.insert(ThumbnailCache::key(QStringLiteral("/f0.png"), 80), image);
    EXPECT_EQ(cache.count(), ThumbnailCache::limit);
    EXPECT_TRUE(cache.image(ThumbnailCache::key(QStringLiteral("/f0.png"), 40)));
    EXPECT_TRUE(cache.image(ThumbnailCache::key(QStringLiteral("/f0.png"), 80)));
    EXPECT_FALSE(cache.image(ThumbnailCache::key(QStringLiteral("/f1.png"), 40)));
    // Replacing an entry does not count twice.
    cache.insert(ThumbnailCache::key(QStringLiteral("/f0.png"), 80), image);
    EXPECT_EQ(cache.count(), ThumbnailCache::limit);
    cache.clear();
    EXPECT_EQ(cache.count(), 0);
}

TEST(ThumbnailCacheTest, DecodesScaledAndNeverFromBrokenFiles)
{
    TempDir dir;
    QImage wide(400, 200, QImage::Format_RGB32);
    wide.fill(Qt::red);
    const QString path = dir.filePath(QStringLiteral("wide.png"));
    ASSERT_TRUE(wide.save(path));
    const QImage thumbnail = ThumbnailCache::decode(path, 80);
    // The shorter side fits the square; the view crops the rest.
    EXPECT_EQ(thumbnail.size(), QSize(160, 80));
    EXPECT_EQ(ThumbnailCache::decode(path, 1000).size(), QSize(400, 200));

    EXPECT_TRUE(
        ThumbnailCache::decode(dir.write(QStringLiteral("broken.png"), "\x89PNG\r\n\x1a\n garbage"), 80).isNull());
    EXPECT_TRUE(ThumbnailCache::decode(dir.filePath(QStringLiteral("missing.png")), 80).isNull());
}

} // namespace
