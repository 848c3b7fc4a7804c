// Files kept from fuzzing the JSON-based format: each once made the loader
// misbehave and must now give a clean result. The seed corpus must load.
#include "FuzzFindings.h"
#include "JsonLoadHelpers.h"

#include <gtest/gtest.h>

namespace {

using namespace kelptest;

TEST(JsonFuzzRegressions, EachFindingGivesACleanResult) {
    for (const std::string &path : filesIn(KELP_FUZZ_REGRESSIONS_JSON))
        expectCleanResult(readFileBytes(path), path);
}

TEST(JsonFuzzRegressions, TheSeedCorpusLoads) {
    std::vector<std::string> seeds = filesIn(KELP_FUZZ_CORPUS_JSON);
    EXPECT_FALSE(seeds.empty());
    for (const std::string &path : seeds) {
        if (passOverWithoutBlosc(path))
            continue;
        Kelp k;
        JsonLoaded r = loadJson(k, readFileBytes(path), path);
        EXPECT_EQ(r.result, 1) << path << ": " << r.err;
        EXPECT_EQ(kelpfuzz::modelProblem(k), "") << path;
    }
}

} // namespace
