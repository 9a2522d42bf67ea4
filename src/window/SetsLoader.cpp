// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/SetsLoader.h"

#include <future>
#include <utility>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

void SwapSets(Catalogue& a, Catalogue& b) {
    std::swap(a.Categories, b.Categories);
    std::swap(a.FileTypes, b.FileTypes);
    std::swap(a.Files, b.Files);
    std::swap(a.Drives, b.Drives);
    std::swap(a.OwnTables, b.OwnTables);
}

// Short enough that a small catalogue seems to open at once, long enough to cost nothing.
constexpr int kPollMs = 10;

// More than a window shows, little to read: it is found by one pass over the records.
constexpr int kPreviewRows = 200;

}  // namespace

SetsLoader::SetsLoader(QObject* parent) : QObject(parent) { connect(&poll_, &QTimer::timeout, this, &SetsLoader::Poll); }

SetsLoader::~SetsLoader() {
    if (worker_.joinable()) worker_.join();
    if (freeing_.joinable()) freeing_.join();
}

void SetsLoader::Begin() {
    if (worker_.joinable()) worker_.join();
    finished_ = false;
    done_ = 0;
    total_ = 0;
    poll_.start(kPollMs);
}

// A preview is always shown before the end, however soon that comes: one path for every open.
void SetsLoader::Poll() {
    if (previewReady_.exchange(false, std::memory_order_acq_rel)) Q_EMIT PreviewReady();
    if (finished_.load(std::memory_order_acquire)) {
        poll_.stop();
        if (worker_.joinable()) worker_.join();
        Q_EMIT Finished();
    } else if (total_ > 0) {
        Q_EMIT Progress(done_, total_);
    }
}

void SetsLoader::StartCheck(const std::string& path) {
    Begin();
    check_ = {};
    worker_ = std::jthread([this, path] {
        try {
            check_ = IsCatalogue(path);
        } catch (const std::exception& error) {
            check_.Reason = std::string("Unexpected error: ") + error.what();
        }
        finished_.store(true, std::memory_order_release);
    });
}

CatalogueCheck SetsLoader::TakeCheck() {
    if (worker_.joinable()) worker_.join();
    return check_;
}

void SetsLoader::Start(const std::string& path) {
    Begin();
    loaded_ = std::make_unique<Catalogue>();
    worker_ = std::jthread([this, path] {
        Load(path);
        finished_.store(true, std::memory_order_release);
    });
}

void SetsLoader::StartOpen(const std::string& path) {
    Begin();
    check_ = {};
    loaded_ = std::make_unique<Catalogue>();
    worker_ = std::jthread([this, path] {
        try {
            check_ = IsCatalogue(path, false);  // what can be told at once: no sets are read from what is no catalogue
            if (check_) {
                const auto whole = std::async(std::launch::async, [path] { return IsCatalogue(path); }).share();
                const auto previewing = std::async(std::launch::async, [this, path] { ReadPreview(path); }).share();
                // The preview's read lock would make the first write of ours fail as busy.
                Load(path, [whole, previewing] { return previewing.wait(), whole.get().Reason; });
                check_ = whole.get();
            }
        } catch (const std::exception& error) {
            check_.Reason = std::string("Unexpected error: ") + error.what();
        }
        finished_.store(true, std::memory_order_release);
    });
}

// A failure of the worker is the load's failure, never the end of the program.
void SetsLoader::Load(const std::string& path, const std::function<std::string()>& mayWrite) {
    error_.clear();
    facts_ = {};
    try {
        error_ = loaded_->Store.OpenDB(path);
        if (error_.empty()) error_ = loaded_->Reload([this](std::int64_t done, std::int64_t total) {
            done_ = done;
            total_ = total;
        }, mayWrite);
        if (error_.empty()) error_ = facts_.LoadFromDatabase(loaded_->Store, loaded_->Files);
    } catch (const std::exception& error) {
        error_ = std::string("Unexpected error: ") + error.what();
    }
    if (!error_.empty()) loaded_->Files.Deleteall();
    loaded_->Store.CloseDB();
}

void SetsLoader::ReadPreview(const std::string& path) {
    try {
        auto preview = std::make_unique<Catalogue>();
        if (!preview->Store.OpenDB(path).empty()) return;
        if (!preview->Categories.LoadFromDatabase(preview->Store).empty() ||
            !preview->FileTypes.LoadFromDatabase(preview->Store).empty() || !preview->Files.LoadFirst(preview->Store, kPreviewRows).empty())
            return;  // the load will say what is wrong
        preview->Store.CloseDB();
        preview_ = std::move(preview);
        previewReady_.store(true, std::memory_order_release);
    } catch (const std::exception&) {
    }
}

void SetsLoader::ShowPreview(Catalogue& catalogue) {
    if (!preview_ || previewShown_) return;
    SwapSets(catalogue, *preview_);
    previewShown_ = true;
}

void SetsLoader::Discard(Catalogue& catalogue) {
    if (worker_.joinable()) worker_.join();
    if (std::exchange(previewShown_, false)) SwapSets(catalogue, *preview_);
    FreePreview();
    if (loaded_) FreeSets(*loaded_);
    loaded_.reset();
}

void SetsLoader::FreePreview() {
    if (previewShown_) FreeSets(*preview_);  // what the catalogue held before: a million records, maybe
    preview_.reset();
    previewShown_ = false;
    previewReady_ = false;
}

std::string SetsLoader::TakeInto(Catalogue& catalogue) {
    if (worker_.joinable()) worker_.join();
    if (!loaded_) return "The catalogue was not read";
    SwapSets(catalogue, *loaded_);
    FreeSets(*loaded_);
    loaded_.reset();
    FreePreview();
    return error_;
}

void SetsLoader::FreeSets(Catalogue& catalogue) {
    auto old = std::make_unique<Catalogue>();
    SwapSets(catalogue, *old);
    if (freeing_.joinable()) freeing_.join();
    freeing_ = std::jthread([old = std::move(old)]() mutable {
        old.reset();
#ifdef __GLIBC__
        malloc_trim(0);  // what a million records held goes back to the system, not only to this process's heap
#endif
    });
}
