// SPDX-License-Identifier: GPL-3.0-or-later
#include "frames/ThumbnailCache.h"

#include <fcntl.h>
#include <openssl/evp.h>
#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>

namespace {

constexpr const char* kFailFolder = "fail/reelvault";

struct Text {
    std::string Key, Value;
};

struct FileClose {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileClose>;

std::string ErrnoText(const std::string& doing, const std::string& path) { return "Could not " + doing + " " + path + ": " + std::strerror(errno); }

std::string MakeFolder(const std::string& folder) {
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return ErrnoText("make the folder", folder);
    return {};
}

// The root (and the cache folder above it) and each folder of below made 0700 when missing; one
// made by another program is left as it is.
std::string MakeFolders(const std::string& root, std::string_view below) {
    if (const std::size_t slash = root.rfind('/'); slash != std::string::npos && slash > 0)
        mkdir(root.substr(0, slash).c_str(), 0700);  // a failure shows at the root
    std::string folder = root;
    if (std::string error = MakeFolder(folder); !error.empty()) return error;
    for (std::size_t start = 0; start < below.size();) {
        const std::size_t end = std::min(below.find('/', start), below.size());
        folder += "/" + std::string(below.substr(start, end - start));
        if (std::string error = MakeFolder(folder); !error.empty()) return error;
        start = end + 1;
    }
    return {};
}

// libpng reports errors by a long jump: nothing with a destructor lives between setjmp and the
// calls that may jump, so these two stay plain.
bool WritePng(std::FILE* out, const unsigned char* rgba, int width, int height, int channels, const Text* texts, int count) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, out);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 channels == 4 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_text chunks[8] = {};
    for (int i = 0; i < count && i < 8; ++i) {
        chunks[i].compression = PNG_TEXT_COMPRESSION_NONE;
        chunks[i].key = const_cast<char*>(texts[i].Key.c_str());
        chunks[i].text = const_cast<char*>(texts[i].Value.c_str());
    }
    png_set_text(png, info, chunks, count);
    png_write_info(png, info);  // the keys before the pixels, so readers find them without decoding
    for (int row = 0; row < height; ++row)
        png_write_row(png, rgba + static_cast<std::size_t>(row) * static_cast<std::size_t>(width) * static_cast<std::size_t>(channels));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

// The text keys before the pixels of the PNG at path, into found (key=value\n ...); false when it
// is not a readable PNG.
bool ReadPngKeys(std::FILE* in, std::string& found) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_init_io(png, in);
    png_read_info(png, info);
    png_textp texts = nullptr;
    const int count = png_get_text(png, info, &texts, nullptr);
    for (int i = 0; i < count; ++i) {
        found.append(texts[i].key).append("=");
        found.append(texts[i].text, texts[i].text_length).append("\n");
    }
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

bool KeysMatch(const std::string& png, const std::string& path, std::int64_t mtime) {
    const FilePtr in(std::fopen(png.c_str(), "rbe"));
    std::string keys = "\n";
    if (!in || !ReadPngKeys(in.get(), keys)) return false;
    return keys.find("\nThumb::URI=" + ThumbnailCache::FileUri(path) + "\n") != std::string::npos &&
           keys.find("\nThumb::MTime=" + std::to_string(mtime) + "\n") != std::string::npos;
}

// Writes the PNG under a temporary name in the target's folder, then renames it over the target.
std::string WriteAtomically(const std::string& target, const unsigned char* pixels, int width, int height, int channels,
                            const std::vector<Text>& texts) {
    std::string temporary = target + ".XXXXXX";
    const int handle = mkstemp(temporary.data());  // 0600
    if (handle < 0) return ErrnoText("write the thumbnail", temporary);
    FilePtr out(fdopen(handle, "wb"));
    if (!out) {
        close(handle);
        unlink(temporary.c_str());
        return ErrnoText("write the thumbnail", temporary);
    }
    const bool written = WritePng(out.get(), pixels, width, height, channels, texts.data(), static_cast<int>(texts.size()));
    const bool closed = std::fclose(out.release()) == 0;
    if (!written || !closed || rename(temporary.c_str(), target.c_str()) != 0) {
        const std::string error = written && !closed ? ErrnoText("write the thumbnail", temporary)
                                                     : "Could not write the thumbnail " + target;
        unlink(temporary.c_str());
        return error;
    }
    return {};
}

std::vector<Text> Keys(const std::string& path, std::int64_t mtime, std::int64_t size) {
    return {{"Thumb::URI", ThumbnailCache::FileUri(path)},
            {"Thumb::MTime", std::to_string(mtime)},
            {"Thumb::Size", std::to_string(size)},
            {"Software", "Reelvault"}};
}

}  // namespace

std::string ThumbnailCache::DesktopRoot() {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    if (cache && cache[0] == '/') return std::string(cache) + "/thumbnails";
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return std::string(home) + "/.cache/thumbnails";
    return {};
}

std::string ThumbnailCache::FileUri(const std::string& path) {
    static constexpr std::string_view kKept = "-._~!$&'()*+,;=:@/";
    std::string uri = "file://";
    for (const unsigned char byte : path) {
        if (std::isalnum(byte) && byte < 0x80) uri += static_cast<char>(byte);
        else if (kKept.find(static_cast<char>(byte)) != std::string_view::npos) uri += static_cast<char>(byte);
        else {
            static constexpr char kHex[] = "0123456789ABCDEF";
            uri += '%';
            uri += kHex[byte >> 4];
            uri += kHex[byte & 15];
        }
    }
    return uri;
}

std::string ThumbnailCache::NameOf(const std::string& path) {
    const std::string uri = FileUri(path);
    unsigned char digest[EVP_MAX_MD_SIZE] = {};
    unsigned size = 0;
    EVP_Digest(uri.data(), uri.size(), digest, &size, EVP_md5(), nullptr);
    std::string name;
    static constexpr char kHex[] = "0123456789abcdef";
    for (unsigned i = 0; i < size; ++i) (name += kHex[digest[i] >> 4]) += kHex[digest[i] & 15];
    return name + ".png";
}

std::string ThumbnailCache::LargePath(const std::string& path) const { return root_ + "/large/" + NameOf(path); }

std::string ThumbnailCache::FailPath(const std::string& path) const { return root_ + "/" + kFailFolder + "/" + NameOf(path); }

std::optional<std::string> ThumbnailCache::Find(const std::string& path, std::int64_t mtime) const {
    if (root_.empty()) return std::nullopt;
    std::string large = LargePath(path);
    if (!KeysMatch(large, path, mtime)) return std::nullopt;
    return large;
}

bool ThumbnailCache::Failed(const std::string& path, std::int64_t mtime) const {
    return !root_.empty() && KeysMatch(FailPath(path), path, mtime);
}

std::string ThumbnailCache::Store(const std::string& path, std::int64_t mtime, std::int64_t size,
                                  const std::vector<unsigned char>& rgb, int width, int height) const {
    if (root_.empty()) return "Could not write a thumbnail: the home folder is not known";
    if (width <= 0 || height <= 0 || rgb.size() != static_cast<std::size_t>(width) * height * 3)
        return "Could not write a thumbnail of " + path + ": no picture";
    if (std::string error = MakeFolders(root_, "large"); !error.empty()) return error;
    return WriteAtomically(LargePath(path), rgb.data(), width, height, 3, Keys(path, mtime, size));
}

std::string ThumbnailCache::StoreFailure(const std::string& path, std::int64_t mtime, std::int64_t size) const {
    if (root_.empty()) return "Could not note a failed thumbnail: the home folder is not known";
    if (std::string error = MakeFolders(root_, kFailFolder); !error.empty()) return error;
    const unsigned char clear[4] = {0, 0, 0, 0};  // one transparent pixel: the keys are what counts
    return WriteAtomically(FailPath(path), clear, 1, 1, 4, Keys(path, mtime, size));
}
