// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/SetsLoader.h"

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

void SetsLoader::Poll() {
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
    error_.clear();
    facts_ = {};
    loaded_ = std::make_unique<Catalogue>();
    worker_ = std::jthread([this, path] {
        // A failure of the worker is the load's failure, never the end of the program.
        try {
            error_ = loaded_->Store.OpenDB(path);
            if (error_.empty()) error_ = loaded_->Reload([this](std::int64_t done, std::int64_t total) {
                done_ = done;
                total_ = total;
            });
            if (error_.empty()) error_ = facts_.LoadFromDatabase(loaded_->Store, loaded_->Files);
        } catch (const std::exception& error) {
            error_ = std::string("Unexpected error: ") + error.what();
        }
        if (!error_.empty()) loaded_->Files.Deleteall();
        loaded_->Store.CloseDB();
        finished_.store(true, std::memory_order_release);
    });
}

std::string SetsLoader::TakeInto(Catalogue& catalogue) {
    if (worker_.joinable()) worker_.join();
    SwapSets(catalogue, *loaded_);
    FreeSets(*loaded_);
    loaded_.reset();
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
