// SPDX-License-Identifier: GPL-3.0-or-later
#include "frames/ThumbnailCache.h"

#include <gtest/gtest.h>
#include <png.h>
#include <sys/stat.h>

#include <filesystem>

#include "common/TempFolder.h"

namespace {

int ModeOf(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? static_cast<int>(info.st_mode & 07777) : -1;
}

// The PNG's size and bit depth as a reader of the cache sees them.
std::tuple<int, int, int> Shape(const std::string& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return {0, 0, 0};
    const int depth = PNG_IMAGE_SAMPLE_COMPONENT_SIZE(image.format) * 8;
    png_image_free(&image);
    return {static_cast<int>(image.width), static_cast<int>(image.height), depth};
}

}  // namespace

TEST(ThumbnailCache, NamesAreTheMd5OfTheFileAddress) {
    // The address escapes as the desktop's file managers do, so that they find the same name.
    EXPECT_EQ(ThumbnailCache::FileUri("/home/jens/photos/me.png"), "file:///home/jens/photos/me.png");
    EXPECT_EQ(ThumbnailCache::FileUri("/films/Les 400 coups #1 (1959)?.mkv"),
              "file:///films/Les%20400%20coups%20%231%20(1959)%3F.mkv");
    EXPECT_EQ(ThumbnailCache::FileUri("/films/Am\xC3\xA9lie 100%.mp4"), "file:///films/Am%C3%A9lie%20100%25.mp4");
    // md5("file:///home/jens/photos/me.png"), the freedesktop thumbnail cache's own worked example.
    EXPECT_EQ(ThumbnailCache::NameOf("/home/jens/photos/me.png"), "c6ee772d9e49320e97ec29a7eb5b1697.png");

    ScopedEnv cache("XDG_CACHE_HOME", "/var/cache/jens");
    EXPECT_EQ(ThumbnailCache::DesktopRoot(), "/var/cache/jens/thumbnails");
    ScopedEnv relative("XDG_CACHE_HOME", "cache");  // not absolute: ignored, as the base directory rules say
    ScopedEnv home("HOME", "/home/jens");
    EXPECT_EQ(ThumbnailCache::DesktopRoot(), "/home/jens/.cache/thumbnails");
}

TEST(ThumbnailCache, StoresPrivatePngsFoundOnlyWhileTheFileIsUnchanged) {
    TempFolder folder;
    const ThumbnailCache cache(folder.Path("cache/thumbnails"));
    const std::string film = folder.Write("film one.mkv", "x");
    const std::vector<unsigned char> rgb(40 * 30 * 3, 0x80);
    ASSERT_EQ(cache.Store(film, 1700000000, 1, rgb, 40, 30), "");

    const std::string large = cache.LargePath(film);
    EXPECT_EQ(large, folder.Path("cache/thumbnails/large/") + ThumbnailCache::NameOf(film));
    EXPECT_EQ(Shape(large), std::make_tuple(40, 30, 8));
    EXPECT_EQ(ModeOf(large), 0600);
    EXPECT_EQ(ModeOf(folder.Path("cache/thumbnails")), 0700);
    EXPECT_EQ(ModeOf(folder.Path("cache/thumbnails/large")), 0700);
    const std::string keys = folder.Read("cache/thumbnails/large/" + ThumbnailCache::NameOf(film));
    EXPECT_NE(keys.find(std::string("Thumb::URI\0", 11) + ThumbnailCache::FileUri(film)), std::string::npos);
    EXPECT_NE(keys.find(std::string("Thumb::Size\0", 12) + "1"), std::string::npos);
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path("cache/thumbnails/large")), {}), 1);

    // The modification time is compared for equality: older and newer alike are stale.
    EXPECT_EQ(cache.Find(film, 1700000000), large);
    EXPECT_FALSE(cache.Find(film, 1700000001));
    EXPECT_FALSE(cache.Find(film, 1699999999));
    EXPECT_FALSE(cache.Find(folder.Path("other.mkv"), 1700000000));
    EXPECT_FALSE(ThumbnailCache(folder.Path("nowhere")).Find(film, 1700000000));

    // A thumbnail whose address is another file's (a name clash, or a copied cache) is not trusted.
    std::filesystem::copy_file(large, cache.LargePath(folder.Path("copy.mkv")));
    EXPECT_FALSE(cache.Find(folder.Path("copy.mkv"), 1700000000));
    // Damaged or foreign PNGs are not trusted either.
    folder.Write("cache/thumbnails/large/" + ThumbnailCache::NameOf(film), "\x89PNG\r\n\x1a\n garbage");
    EXPECT_FALSE(cache.Find(film, 1700000000));
}

TEST(ThumbnailCache, FailuresAreNotedUnderOurOwnName) {
    TempFolder folder;
    const ThumbnailCache cache(folder.Path("thumbnails"));
    const std::string song = folder.Write("song.mp3", "x");
    EXPECT_FALSE(cache.Failed(song, 5));
    ASSERT_EQ(cache.StoreFailure(song, 5, 1), "");
    EXPECT_EQ(cache.FailPath(song), folder.Path("thumbnails/fail/reelvault/") + ThumbnailCache::NameOf(song));
    EXPECT_EQ(ModeOf(cache.FailPath(song)), 0600);
    EXPECT_EQ(ModeOf(folder.Path("thumbnails/fail")), 0700);
    EXPECT_TRUE(cache.Failed(song, 5));
    EXPECT_FALSE(cache.Failed(song, 6));  // the file changed: worth another try
    EXPECT_FALSE(cache.Find(song, 5));

    // A folder that cannot be made is a sentence, not a silent loss.
    folder.Write("blocked", "a file where the cache should be");
    const std::string error = ThumbnailCache(folder.Path("blocked/thumbnails")).StoreFailure(song, 5, 1);
    EXPECT_NE(error.find("Could not make the folder"), std::string::npos) << error;
}
