// SPDX-License-Identifier: GPL-3.0-or-later
// The content check must never change a file's facts: over real trees of files, IsMedia, Length and
// FourCC as a load finds them (its first bytes in hand, the check first) must equal FFmpeg's alone.
//   content_check_facts [--every=N] FOLDER... [--all-media FOLDER...]
// --every=N probes one file in N of the sorted list of each folder (1 by default); the folders
// after --all-media are probed whole and must hold media only, so that a broken set of clips
// cannot pass unseen.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "analysis/ContentCheck.h"
#include "analysis/modMediaInfo.h"

namespace fs = std::filesystem;

namespace {

struct Tree {
    std::string Folder;
    std::size_t Every = 1;
    bool AllMedia = false;
};

std::vector<Tree> trees;

std::vector<std::string> FilesBelow(const Tree& tree) {
    std::vector<std::string> files;
    std::error_code error;
    for (fs::recursive_directory_iterator it(tree.Folder, fs::directory_options::skip_permission_denied, error), end;
         !error && it != end; it.increment(error)) {
        if (it->is_regular_file(error) && !it->is_symlink(error)) files.push_back(it->path());
    }
    std::ranges::sort(files);  // the same sample on every run
    std::vector<std::string> sample;
    for (std::size_t at = 0; at < files.size(); at += tree.Every) sample.push_back(files[at]);
    return sample;
}

std::vector<unsigned char> FirstBytes(const std::string& path) {
    std::vector<unsigned char> first(kContentCheckBytes);
    std::ifstream in(path, std::ios::binary);
    in.read(reinterpret_cast<char*>(first.data()), static_cast<std::streamsize>(first.size()));
    first.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    return first;
}

template <typename Work>
double OnAllCores(std::size_t count, Work work) {
    std::atomic<std::size_t> next{0};
    const auto start = std::chrono::steady_clock::now();
    {
        std::vector<std::jthread> workers;
        for (unsigned i = 0; i < std::max(1u, std::thread::hardware_concurrency()); ++i)
            workers.emplace_back([&] {
                for (std::size_t at; (at = next++) < count;) work(at);
            });
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct Comparison {
    std::vector<std::string> Files;
    std::vector<MediaInfo> Checked, Alone;
    std::vector<char> Settled;
    double CheckedSeconds = 0, AloneSeconds = 0;
};

Comparison Compare(std::vector<std::string> files) {
    Comparison run{std::move(files), {}, {}, {}, 0, 0};
    const std::size_t count = run.Files.size();
    run.Checked.resize(count);
    run.Alone.resize(count);
    run.Settled.resize(count);
    run.CheckedSeconds = OnAllCores(count, [&run](std::size_t at) {
        const std::vector<unsigned char> first = FirstBytes(run.Files[at]);
        std::error_code error;
        const auto size = static_cast<std::int64_t>(fs::file_size(run.Files[at], error));
        run.Settled[at] = !FormatNoMediaReads(first, size).empty();
        run.Checked[at] = GetMediaInfo(run.Files[at], first, size);
    });
    run.AloneSeconds = OnAllCores(count, [&run](std::size_t at) {
        run.Alone[at] = GetMediaInfo(run.Files[at], kMediaProbeTimeout, MediaDetection::FFmpegOnly);
    });
    return run;
}

std::string Facts(const MediaInfo& info) {
    return std::to_string(info.IsMedia) + " " + std::to_string(info.Length) + " '" + info.FourCC + "' (" +
           info.Reason + ")";
}

}  // namespace

TEST(ContentCheckFacts, SameAsFFmpegAloneOverWholeTrees) {
    ASSERT_FALSE(trees.empty()) << "no folders given";
    std::size_t files = 0, settled = 0, media = 0;
    for (const Tree& tree : trees) {
        const Comparison run = Compare(FilesBelow(tree));
        std::size_t failed = 0, treeSettled = 0, treeMedia = 0;
        for (std::size_t at = 0; at < run.Files.size(); ++at) {
            const MediaInfo &checked = run.Checked[at], &alone = run.Alone[at];
            if (checked.ProbeFailed || alone.ProbeFailed) {  // unreadable, or out of time on a busy machine
                ++failed;
                continue;
            }
            treeSettled += run.Settled[at];
            treeMedia += alone.IsMedia;
            EXPECT_TRUE(checked.IsMedia == alone.IsMedia && checked.Length == alone.Length &&
                        checked.FourCC == alone.FourCC)
                << run.Files[at] << ": " << Facts(checked) << " with the check, " << Facts(alone) << " alone";
            if (tree.AllMedia) {
                EXPECT_TRUE(alone.IsMedia) << run.Files[at] << ": " << Facts(alone);
            }
        }
        std::printf("%s (one file in %zu): %zu files, %zu media, %zu settled by their first bytes, %zu not examined; "
                    "%.1f s with the check, %.1f s by FFmpeg alone\n",
                    tree.Folder.c_str(), tree.Every, run.Files.size(), treeMedia, treeSettled, failed,
                    run.CheckedSeconds, run.AloneSeconds);
        if (tree.AllMedia) {
            EXPECT_FALSE(run.Files.empty()) << tree.Folder;
        }
        files += run.Files.size();
        settled += treeSettled;
        media += treeMedia;
    }
    // Both sides of the check must have been tried, or the comparison proves nothing.
    EXPECT_GT(settled, 0u);
    EXPECT_GT(media, 0u);
    EXPECT_GT(files - settled - media, 0u);
}

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    std::size_t every = 1;
    bool allMedia = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.starts_with("--every=")) every = std::max(1, std::stoi(argument.substr(8)));
        else if (argument == "--all-media") allMedia = true;
        else trees.push_back({argument, allMedia ? 1 : every, allMedia});
    }
    return RUN_ALL_TESTS();
}
