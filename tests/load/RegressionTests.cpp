// Files kept from fuzzing the classic format: each once made the loader
// misbehave and must now give a clean result. The seed corpus must load.
#include "FuzzFindings.h"
#include "LoadHelpers.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using namespace kelptest;

// Findings whose loader fault is not fixed yet: each has a DISABLED_ test
// in FindingTests.cpp; enable it and take the file off this list together.
const char *const kAwaitingFix[] = {""};

bool awaitingFix(const std::string &path) {
    for (const char *name : kAwaitingFix)
        if (*name && path.size() >= std::strlen(name) &&
            path.compare(path.size() - std::strlen(name), std::string::npos, name) == 0)
            return true;
    return false;
}

TEST(FuzzRegressions, EachFindingGivesACleanResult) {
    for (const std::string &path : filesIn(KELP_FUZZ_REGRESSIONS))
        if (!awaitingFix(path))
            expectCleanResult(readFileBytes(path), path);
}

TEST(FuzzRegressions, TheSeedCorpusLoads) {
    std::vector<std::string> seeds = filesIn(KELP_FUZZ_CORPUS);
    EXPECT_FALSE(seeds.empty());
    for (const std::string &path : seeds) {
        Bytes bytes = readFileBytes(path);
        Kelp k;
        Loaded r = loadInto(k, bytes, path);
        EXPECT_EQ(r.result, 1) << path << ": " << r.err;
        EXPECT_EQ(kelpfuzz::modelProblem(k), "") << path;
    }
}

} // namespace
