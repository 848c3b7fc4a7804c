// Files kept from fuzzing the classic format: each once made the loader
// misbehave and must now give a clean result. The seed corpus must load.
#include "FuzzFindings.h"
#include "LoadHelpers.h"

#include <gtest/gtest.h>

namespace {

using namespace kelptest;

TEST(FuzzRegressions, EachFindingGivesACleanResult) {
    const std::vector<std::string> findings = filesIn(KELP_FUZZ_REGRESSIONS_CLASSIC);
    EXPECT_GE(findings.size(), 2u);
    for (const std::string &path : findings)
        expectCleanResult(readFileBytes(path), path);
}

TEST(FuzzRegressions, TheSeedCorpusLoads) {
    std::vector<std::string> seeds = filesIn(KELP_FUZZ_CORPUS_CLASSIC);
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
