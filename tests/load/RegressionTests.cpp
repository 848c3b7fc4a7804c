// Files kept from fuzzing: each once made the loader misbehave and must now
// load to a clean result. The seed corpus must load as well.
#include "LoadHelpers.h"

#include <gtest/gtest.h>

#include <dirent.h>

#include <algorithm>

namespace {

using namespace kelptest;

std::vector<std::string> filesIn(const std::string &dir) {
    std::vector<std::string> files;
    if (DIR *d = opendir(dir.c_str())) {
        while (dirent *e = readdir(d))
            if (e->d_name[0] != '.')
                files.push_back(dir + "/" + e->d_name);
        closedir(d);
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST(FuzzRegressions, EachFindingFailsCleanly) {
    for (const std::string &path : filesIn(KELP_FUZZ_REGRESSIONS)) {
        Bytes bytes = readFileBytes(path);
        Kelp k;
        Loaded r = loadInto(k, bytes, "finding.bgeo");
        EXPECT_EQ(r.result, 0) << path;
        EXPECT_EQ(lineCount(r.err), 1) << path << ": " << r.err;
    }
}

TEST(FuzzRegressions, TheSeedCorpusLoads) {
    std::vector<std::string> seeds = filesIn(KELP_FUZZ_CORPUS);
    EXPECT_FALSE(seeds.empty());
    for (const std::string &path : seeds) {
        Bytes bytes = readFileBytes(path);
        Kelp k;
        Loaded r = loadInto(k, bytes, path);
        EXPECT_EQ(r.result, 1) << path << ": " << r.err;
    }
}

} // namespace
