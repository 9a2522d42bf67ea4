// SPDX-License-Identifier: GPL-3.0-or-later
// How soon the window shows a drive unplugged or plugged in: an ext4 image holding every record of
// a catalogue is unmounted and mounted again while rv's window runs, and the time from the end of
// the command until the list's rows changed is taken, against the bound of one second. Beside it,
// the reading of the mount table with every filesystem's identity, which each change costs.
// bench_drives_window WORK [RECORDS] [RUNS] (offscreen unless QT_QPA_PLATFORM says otherwise)
// Runs as root, in a mount table of its own; prints one line and exits 0 where mounting is refused.
#include <QAbstractItemModel>
#include <QApplication>
#include <QEventLoop>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <sched.h>
#include <sys/mount.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "drives/DriveLinks.h"
#include "store/modSchema.h"
#include "widgets/Prompts.h"
#include "window/frmMain.h"

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); }

bool Ran(const std::vector<std::string>& command) {
    std::string line;
    for (const std::string& word : command) {
        line += '\'';
        for (const char c : word) line += c == '\'' ? std::string("'\\''") : std::string(1, c);
        line += "' ";
    }
    return std::system((line + ">/dev/null 2>&1").c_str()) == 0;
}

// Every record on the drive mounted at place, linked to it as a load from there would.
void MakeCatalogue(const std::string& path, const std::string& place, int records) {
    std::filesystem::remove(path);
    Catalogue catalogue;
    if (std::string error = CreateNewDatabase(catalogue.Store, path); !error.empty()) Fail(error);
    const std::string count = "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<" + std::to_string(records) + ") ";
    if (std::string error = catalogue.Store.Execute(count + "INSERT INTO tblFile(FileID,FileName,Title,Size,Length,Rating) SELECT i, '" +
                                                    place + "/shelf ' || (i % 50) || '/film ' || i || '.mkv', 'Film ' || i, i, 0, 0 FROM n;");
        !error.empty())
        Fail(error);
    if (std::string error = catalogue.Reload(); !error.empty()) Fail(error);
    std::vector<RecordPath> all;
    for (const FileRecord& record : catalogue.Files.Records()) all.push_back({record.FileID, record.FileName, true});
    clsSQLite::Transaction unit(catalogue.Store);
    if (const LinkOutcome linked = LinkRecords(catalogue.Store, catalogue.Drives, all); !linked.Error.empty()) Fail(linked.Error);
    if (std::string error = unit.Commit(); !error.empty()) Fail(error);
}

class Watch {
public:
    explicit Watch(frmMain& window) : rows_(window.findChild<QTableView*>(QStringLiteral("lstFile"))->model()) {}

    bool Greyed() const { return rows_->index(0, 0).data(Qt::ForegroundRole).isValid(); }

    // Runs command, then turns the event loop until the first row is greyed (or not): the
    // milliseconds from the end of the command.
    double Until(const std::vector<std::string>& command, bool greyed) {
        if (!Ran(command)) Fail("failed: " + command.front());
        const Clock::time_point done = Clock::now();
        QEventLoop loop;
        QObject::connect(rows_, &QAbstractItemModel::dataChanged, &loop, [&] {
            if (Greyed() == greyed) loop.quit();
        });
        QTimer::singleShot(10'000, &loop, &QEventLoop::quit);
        if (Greyed() != greyed) loop.exec();
        if (Greyed() != greyed) Fail("the rows did not change within 10 s");
        return MsSince(done);
    }

private:
    QAbstractItemModel* rows_;
};

void Line(const char* what, const std::vector<double>& ms) {
    const double median = Median(ms);
    const double worst = *std::max_element(ms.begin(), ms.end());
    std::printf("%-44s %6.1f ms median of %zu, worst %6.1f ms: %.3f of the bound of 1 s %s\n", what, median, ms.size(), worst,
                worst / 1000, worst < 1000 ? "ok" : "MISSED");
}

}  // namespace

int main(int argc, char** argv) {
    // The image comes and goes in a mount table of this process's own, unseen by anything else.
    if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        std::printf("Online state after a mount or unmount: skipped, no mount table of its own (root is needed)\n");
        return 0;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) Fail("usage: bench_drives_window WORK [RECORDS] [RUNS]");
    const std::string work = argv[1];
    const int records = argc > 2 ? std::max(1, std::atoi(argv[2])) : 100'000;
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 7;
    const std::string image = work + "/films.img", place = work + "/media/FILMS", catalogue = work + "/drives.rvd";
    std::filesystem::create_directories(place);
    if (!Ran({"truncate", "-s", "16M", image}) || !Ran({"mkfs.ext4", "-q", "-F", "-L", "FILMS", image}) ||
        !Ran({"mount", "-o", "loop", image, place})) {
        std::printf("Online state after a mount or unmount: skipped, the image could not be made or mounted\n");
        return 0;
    }
    MakeCatalogue(catalogue, place, records);

    std::vector<double> reading;
    for (int run = 0; run < runs; ++run) {
        const Clock::time_point start = Clock::now();
        MountedVolumes::Read();
        reading.push_back(MsSince(start));
    }

    AppState state;
    Prompts prompts;
    frmMain window(state, prompts);
    window.show();
    window.Start({QString::fromStdString(catalogue)});
    if (!QTest::qWaitFor([&] { return !window.Busy(); }, 600000)) Fail("the window stayed busy for ten minutes");
    Watch watch(window);
    std::vector<double> unplugged;
    std::vector<double> plugged;
    for (int run = 0; run < runs; ++run) {  // in turns, so that a noisy moment hits both alike
        unplugged.push_back(watch.Until({"umount", place}, true));
        plugged.push_back(watch.Until({"mount", "-o", "loop", image, place}, false));
    }
    Ran({"umount", place});
    const double reference = Median(reading);
    char shown[64];
    std::snprintf(shown, sizeof shown, "Rows greyed after an unmount (%d records)", records);
    Line(shown, unplugged);
    Line("Rows back after a mount", plugged);
    std::printf("%-44s %6.1f ms median of %d (on the watcher's thread, in each of the above)\n", "  the mount table read with identities",
                reference, runs);
    const double worst = std::max(*std::max_element(unplugged.begin(), unplugged.end()), *std::max_element(plugged.begin(), plugged.end()));
    return worst < 1000 ? 0 : 1;
}
