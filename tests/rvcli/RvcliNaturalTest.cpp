// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/modCatalogue.h"
#include "rvcli/RvcliFixture.h"
#include "store/modSchema.h"

namespace {

class NaturalList : public Rvcli {
protected:
    void SetUp() override {
        Catalogue catalogue;
        ASSERT_EQ(CreateNewDatabase(catalogue.Store, cat), "");
        for (const char* name : {"/m/clip 10", "/m/Clip 2", "/m/clip 1", "/m/clip 2"})
            ASSERT_EQ(InsertFile(catalogue, {-1, name, name + 3, -1, -1, "", 1, 0, "", 0, {}}).Error, "");
    }
    // The File Name column of a listing in CSV.
    std::string Names(const std::vector<std::string>& options) {
        std::vector<std::string> args{"list", cat, "--format", "csv"};
        args.insert(args.end(), options.begin(), options.end());
        std::string names;
        std::istringstream lines(Ok(args));
        std::getline(lines, names);  // the header
        names.clear();
        for (std::string line; std::getline(lines, line);) {
            const std::size_t start = line.find(',') + 1;
            names += line.substr(start, line.find(',', start) - start) + "|";
        }
        return names;
    }
    ScopedEnv locale{"LC_ALL", "en_US.UTF-8"};
};

TEST_F(NaturalList, NumbersInNamesByTheirValue) {
    EXPECT_EQ(Names({"--sort", "name"}), "/m/clip 1|/m/clip 10|/m/Clip 2|/m/clip 2|");  // as before
    EXPECT_EQ(Names({"--sort", "name", "--natural"}), "/m/clip 1|/m/clip 2|/m/Clip 2|/m/clip 10|");
    EXPECT_EQ(Names({"--sort", "Title", "--natural", "--desc"}), "/m/clip 10|/m/Clip 2|/m/clip 2|/m/clip 1|");
    EXPECT_EQ(Call({"list", cat, "--sort", "Size", "--natural"}).Err, "--natural orders File Name, Title and Keywords only\n");
    EXPECT_EQ(Run({"list", cat, "--natural"}).Status, 2);  // it orders a column named by --sort
}

}  // namespace
