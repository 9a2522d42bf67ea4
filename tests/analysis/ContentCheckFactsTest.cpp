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

// A file's facts found as a load finds them, with its first bytes in hand, and by FFmpeg alone;
// Settled when the first bytes alone gave the verdict.
struct Probe {
    MediaInfo Checked, Alone;
    bool Settled = false;
};

Probe ProbeBothWays(const std::string& path) {
    std::vector<unsigned char> first(kContentCheckBytes);
    std::ifstream in(path, std::ios::binary);
    in.read(reinterpret_cast<char*>(first.data()), static_cast<std::streamsize>(first.size()));
    first.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    std::error_code error;
    const auto size = static_cast<std::int64_t>(fs::file_size(path, error));
    return {GetMediaInfo(path, first, size), GetMediaInfo(path, kMediaProbeTimeout, MediaDetection::FFmpegOnly),
            !FormatNoMediaReads(first, size).empty()};
}

std::vector<Probe> ProbeOnAllCores(const std::vector<std::string>& files) {
    std::vector<Probe> probes(files.size());
    std::atomic<std::size_t> next{0};
    std::vector<std::jthread> workers;
    for (unsigned i = 0; i < std::max(1u, std::thread::hardware_concurrency()); ++i)
        workers.emplace_back([&] {
            for (std::size_t at; (at = next++) < files.size();) probes[at] = ProbeBothWays(files[at]);
        });
    workers.clear();  // joined
    return probes;
}

std::string Facts(const MediaInfo& info) {
    return std::to_string(info.IsMedia) + " " + std::to_string(info.Length) + " '" + info.FourCC + "' (" +
           info.Reason + ")";
}

}  // namespace

TEST(ContentCheckFacts, SameAsFFmpegAloneOverWholeTrees) {
    ASSERT_FALSE(trees.empty()) << "no folders given";
    std::size_t settled = 0, media = 0, leftNoMedia = 0;
    for (const Tree& tree : trees) {
        const std::vector<std::string> files = FilesBelow(tree);
        const std::vector<Probe> probes = ProbeOnAllCores(files);
        std::size_t examined = 0;
        for (std::size_t at = 0; at < files.size(); ++at) {
            const auto& [checked, alone, byFirstBytes] = probes[at];
            if (checked.ProbeFailed || alone.ProbeFailed) continue;  // unreadable, or out of time on a busy machine
            ++examined;
            ++(byFirstBytes ? settled : alone.IsMedia ? media : leftNoMedia);
            EXPECT_TRUE(checked.IsMedia == alone.IsMedia && checked.Length == alone.Length &&
                        checked.FourCC == alone.FourCC)
                << files[at] << ": " << Facts(checked) << " with the check, " << Facts(alone) << " alone";
            EXPECT_TRUE(alone.IsMedia || !tree.AllMedia) << files[at] << ": " << Facts(alone);
        }
        std::printf("%s (one file in %zu): %zu files, %zu examined\n", tree.Folder.c_str(), tree.Every, files.size(), examined);
        EXPECT_TRUE(!files.empty() || !tree.AllMedia) << tree.Folder;
    }
    // Both sides of the check must have been tried, or the comparison proves nothing.
    std::printf("%zu settled by their first bytes, %zu media, %zu no media to FFmpeg\n", settled, media, leftNoMedia);
    EXPECT_GT(settled, 0u);
    EXPECT_GT(media, 0u);
    EXPECT_GT(leftNoMedia, 0u);
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
