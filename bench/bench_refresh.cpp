// SPDX-License-Identifier: GPL-3.0-or-later
// Refresh's plan of a tree, with the catalogue open as the window holds it, beside find printing
// each file's size, time and inode; or, with --bytes, what the plan read.
#include <cstdio>
#include <string>

#include "BenchSupport.h"
#include "model/Catalogue.h"
#include "refresh/RefreshPlan.h"

namespace {

struct QuietHost : ToolHost {
    void SetStatus(const std::string&) override {}
    bool Progress(std::int64_t, std::int64_t, const std::string&) override { return true; }
    void ShowLog(const std::string&) override {}
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) Fail("usage: bench_refresh CATALOGUE TREE [--bytes]");
    const std::string tree = argv[2];
    Catalogue catalogue;
    if (std::string error = catalogue.Store.OpenDB(argv[1]); !error.empty()) Fail(error);
    if (std::string error = catalogue.Reload(); !error.empty()) Fail(error);
    QuietHost host;
    RefreshPlan plan;
    const auto makePlan = [&] {
        plan = MakeRefreshPlan(catalogue, {{tree}, "", "*.avi", {}}, host);
        if (!plan.Error.empty()) Fail(plan.Error);
    };
    if (argc > 3) {
        makePlan();
        std::printf("%lld\n", static_cast<long long>(plan.BytesRead));
        return 0;
    }
    const std::vector<std::string> find = {"/usr/bin/find", tree, "-type", "f", "-printf", "%s %T@ %i\n"};
    CommandSeconds(find);  // the tree's inodes in the cache for both
    const double planned = BestSeconds(3, makePlan);
    double found = 1e9;
    for (int run = 0; run < 3; ++run) found = std::min(found, CommandSeconds(find));
    const double ratio = planned / found;
    std::printf("plan of %d unchanged files: %.3f s, find: %.3f s, ratio %.2f (bound 1.3) %s\n",
                plan.Count(RefreshKind::Unchanged), planned, found, ratio, ratio <= 1.3 ? "ok" : "MISSED");
    return 0;
}
