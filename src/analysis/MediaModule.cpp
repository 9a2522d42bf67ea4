// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/MediaModule.h"

#include <dlfcn.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace {

std::atomic<bool> tried{false};

// Where the module should be when RV_MEDIA_MODULE does not say; "" when the program cannot tell
// where it is itself (a relative path would load whatever the current folder holds).
std::string ModulePath() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return {};
    const std::filesystem::path installed = (program.parent_path() / RV_MEDIA_MODULE_FROM_BIN).lexically_normal();
    if (std::filesystem::exists(installed, error)) return installed;
    const std::string tree = RV_BUILD_TREE "/";
    if (program.string().starts_with(tree)) return RV_MEDIA_MODULE_BUILT;
    return installed;  // the loader's complaint then says where it was looked for
}

std::string Sentence(const std::string& reason) { return "Media facts unavailable: " + reason; }

}  // namespace

void MediaModule::Close::operator()(void* handle) const { dlclose(handle); }

const MediaModule& MediaModule::Get() {
    static const MediaModule module;
    tried = true;
    return module;
}

bool MediaModule::Tried() { return tried; }

MediaModule::MediaModule() {
    const char* chosen = std::getenv("RV_MEDIA_MODULE");
    std::string path = chosen && *chosen ? chosen : "";
    // A program that links the probe in (the fuzz target, whose fuzzer steers by the probe's own
    // branches) uses that one, unless told otherwise.
    void* symbol = path.empty() ? dlsym(RTLD_DEFAULT, RV_MEDIA_PROBE_ENTRY) : nullptr;
    if (symbol) {
        path = "this program";
    } else {
        if (path.empty()) path = ModulePath();
        if ((symbol = Open(path)) == nullptr) return;
    }
    RvMediaProbeEntry entry = nullptr;
    std::memcpy(&entry, &symbol, sizeof entry);  // the loader's way to hand over a function
    const RvMediaProbe* table = entry();
    if (!table || table->Version != RV_MEDIA_PROBE_VERSION) {
        unavailable_ = Sentence(path + " is version " + std::to_string(table ? table->Version : 0) +
                                " of the media module; this program needs version " +
                                std::to_string(RV_MEDIA_PROBE_VERSION));
        return;
    }
    if (const char* problem = table->SetUp(); problem && *problem) {
        unavailable_ = Sentence(problem);
        return;
    }
    table_ = table;
}

void* MediaModule::Open(const std::string& path) {
    if (path.empty()) {
        unavailable_ = Sentence("the program cannot tell the folder it was started from");
        return nullptr;
    }
    // Never unmapped, even by the exit: FFmpeg's libraries may have left handlers behind.
    handle_.reset(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE));
    if (!handle_) {
        unavailable_ = Sentence(dlerror());
        return nullptr;
    }
    void* const symbol = dlsym(handle_.get(), RV_MEDIA_PROBE_ENTRY);
    if (!symbol) unavailable_ = Sentence(path + " is not a media module: no " RV_MEDIA_PROBE_ENTRY);
    return symbol;
}

RvMediaVerdict MediaModule::Probe(const RvMediaRequest& request) const {
    RvMediaVerdict verdict{};
    table_->Probe(&request, &verdict);
    return verdict;
}

RvFrameResult MediaModule::MakeFrame(const RvFrameRequest& request) const {
    RvFrameResult result{};
    table_->MakeFrame(&request, &result);
    return result;
}

void MediaModule::FreeFrame(RvFrameResult& result) const { table_->FreeFrame(&result); }

bool MediaModule::NameClaimed(const std::string& path) const { return table_->NameClaimed(path.c_str()) != 0; }

std::string MediaModule::FFmpegVersions() const { return table_ ? table_->Versions() : ""; }
