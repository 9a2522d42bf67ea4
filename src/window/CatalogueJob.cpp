// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/CatalogueJob.h"

#include <exception>

namespace {

// Short enough that work of a few milliseconds seems to end at once, long enough to cost nothing.
constexpr int kPollMs = 5;

std::string Run(Catalogue& catalogue, const std::string& path, int busyTimeoutMs, const CatalogueJob::Work& work) {
    try {
        catalogue.Store.SetBusyTimeout(busyTimeoutMs);
        if (std::string error = catalogue.Store.OpenDB(path); !error.empty()) return error;
        return work(catalogue);
    } catch (const std::exception& error) {
        return std::string("Unexpected error: ") + error.what();
    } catch (...) {
        return "Unexpected error";
    }
}

}  // namespace

CatalogueJob::CatalogueJob(const clsSQLite& store, Work work, QObject* parent)
    : QObject(parent), worked_(std::make_unique<Catalogue>()) {
    connect(&poll_, &QTimer::timeout, this, &CatalogueJob::Poll);
    poll_.start(kPollMs);
    if (!store.DBOpen()) {
        error_ = "SQLite database not open";
        finished_ = true;
        return;
    }
    worker_ = std::jthread([this, path = store.FileName(), timeout = store.BusyTimeout(), work = std::move(work)] {
        error_ = Run(*worked_, path, timeout, work);
        worked_->Store.CloseDB();
        finished_.store(true, std::memory_order_release);
    });
}

CatalogueJob::~CatalogueJob() {
    if (worker_.joinable()) worker_.join();
}

void CatalogueJob::Poll() {
    if (!finished_.load(std::memory_order_acquire)) return;
    poll_.stop();
    Q_EMIT Finished(QString::fromStdString(error_));
}
