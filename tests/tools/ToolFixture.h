// SPDX-License-Identifier: GPL-3.0-or-later
// A fresh catalogue, a folder of files and a config folder per test, and a host that records
// what a tool tells it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "common/TempFolder.h"
#include "model/Catalogue.h"
#include "store/modSchema.h"
#include "tools/ToolHost.h"

class RecordingHost : public ToolHost {
public:
    void SetStatus(const std::string& text) override { statuses.push_back(text); }
    bool Progress(std::int64_t, std::int64_t, const std::string& current) override {
        if (current != lastItem) ++items, lastItem = current;
        return stopAfter < 0 || items <= stopAfter;
    }
    void ShowLog(const std::string& path) override { shownLogs.push_back(path); }

    std::vector<std::string> statuses;
    std::vector<std::string> shownLogs;
    int stopAfter = -1;  // items to let through before asking to stop; -1 never
    int items = 0;
    std::string lastItem;
};

class ToolTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(CreateNewDatabase(catalogue.Store, folder.Path("test.rvd")), "");
        std::filesystem::create_directories(media);
    }
    std::string Make(const std::string& relative, const std::string& contents = "x") {
        std::filesystem::create_directories(std::filesystem::path(media + relative).parent_path());
        return folder.Write("media/" + relative, contents);
    }
    void Reload() { ASSERT_EQ(catalogue.Reload(), ""); }
    std::string Log(const std::string& name) { return folder.Read("config/reelvault/" + name); }
    std::vector<std::string> Paths() {
        Reload();
        std::vector<std::string> paths;
        for (const FileRecord& record : catalogue.Files.Records()) paths.push_back(record.FileName);
        return paths;
    }

    TempFolder folder;
    ScopedEnv config{"XDG_CONFIG_HOME", folder.Path("config")};
    std::string media = folder.Path("media/");
    Catalogue catalogue;
    RecordingHost host;
};
