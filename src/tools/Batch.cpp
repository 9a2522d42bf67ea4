// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/Batch.h"

namespace {

constexpr std::chrono::seconds kMaxAge{1};

}  // namespace

std::string Batch::Begin() {
    if (group_) return {};
    group_.emplace(store_);
    if (std::string error = group_->BeginError(); !error.empty()) {
        group_.reset();
        return error;
    }
    started_ = std::chrono::steady_clock::now();
    return {};
}

std::string Batch::UnitDone() {
    ++pending_;
    if (pending_ < maxUnits_ && std::chrono::steady_clock::now() - started_ < kMaxAge) return {};
    return Finish();
}

std::string Batch::Finish() {
    if (!group_) return {};
    std::string error = group_->Commit();
    group_.reset();
    if (error.empty()) committed_ += pending_;
    pending_ = 0;
    return error;
}
