// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/FramePasses.h"

#include "frames/ThumbnailCache.h"
#include "window/FrameJob.h"

void FramePasses::Start(const Catalogue& catalogue) {
    if (job_) {
        again_ = &catalogue;
        return job_->Cancel();
    }
    const clsSQLite& store = catalogue.Store;
    if (!store.DBOpen() || store.ReadOnly() || !catalogue.OwnTables.Usable()) return;
    job_ = new FrameJob(store.FileName(), store.BusyTimeout(), ThumbnailCache::DesktopRoot(), this);
    connect(job_, &FrameJob::Arrived, this, &FramePasses::Arrived);
    connect(job_, &FrameJob::Finished, this, &FramePasses::Ended);
}

void FramePasses::Stop() {
    again_ = nullptr;
    if (job_) job_->Cancel();
}

void FramePasses::Ended(const FramePassResult& result) {
    job_->deleteLater();  // its worker has ended: nothing to wait for
    job_ = nullptr;
    // Another program writing just now: the frames are made at the next load.
    if (!result.Error.empty() && result.Error != kCatalogueBusy)
        Q_EMIT StatusChanged(tr("Frames could not be stored: %1").arg(QString::fromStdString(result.Error)));
    if (const Catalogue* catalogue = std::exchange(again_, nullptr)) Start(*catalogue);
}
