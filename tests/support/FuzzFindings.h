// Loading the fuzzers' kept findings in tests: each file must load or fail
// with one line, and what loads must pass the fuzz targets' model checks.
#ifndef KELP_TESTS_FUZZFINDINGS_H
#define KELP_TESTS_FUZZFINDINGS_H

#include "ClassicBytes.h"
#include "ModelChecks.h"

#include <Kelp>

#include <gtest/gtest.h>

#include <dirent.h>

#include <algorithm>
#include <string>
#include <vector>

namespace kelptest {

inline std::vector<std::string> filesIn(const std::string &dir) {
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

// Loads bytes as the host would; a failure must say why in one line, a
// success must give a detail that does not contradict itself.
inline void expectCleanResult(const Bytes &bytes, const std::string &what) {
    Kelp k;
    testing::internal::CaptureStderr();
    const int result = k.loadBgeoFromMemory(bytes.data(), bytes.size(), "finding.bgeo");
    const std::string err = testing::internal::GetCapturedStderr();
    ASSERT_TRUE(result == 0 || result == 1) << what;
    if (result == 0) {
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << what << ": " << err;
    } else {
        EXPECT_EQ(kelpfuzz::modelProblem(k), "") << what;
        EXPECT_EQ(err, "") << what;
    }
}

} // namespace kelptest

#endif
