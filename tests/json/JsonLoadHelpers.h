// Loading JSON geometry bytes in tests, with the standard error output kept.
#ifndef KELP_TESTS_JSONLOADHELPERS_H
#define KELP_TESTS_JSONLOADHELPERS_H

#include "CheckedReads.h"
#include "JsonBytes.h"

#include <Kelp>

#include <gtest/gtest.h>

#include <string>

namespace kelptest {

struct JsonLoaded {
    int result = -1;
    std::string err; // what went to standard error
};

// Every binary document a test loads is also read through copied reads
// (CheckedReads.h), which must agree with the whole-buffer read.
inline JsonLoaded loadJson(Kelp &k, const Bytes &bytes, const std::string &name = "mem.bgeo") {
    EXPECT_EQ(checkedReadDifference(bytes.data(), bytes.size(), k), "");
    JsonLoaded r;
    testing::internal::CaptureStderr();
    r.result = k.loadBgeoFromMemory(bytes.data(), bytes.size(), name);
    r.err = testing::internal::GetCapturedStderr();
    return r;
}

inline JsonLoaded loadJson(Kelp &k, const JsonBytes &j, const std::string &name = "mem.bgeo") {
    return loadJson(k, j.bytes(), name);
}

inline int countLines(const std::string &text) {
    int n = 0;
    for (char c : text)
        n += c == '\n';
    return n;
}

inline void expectVec(const Imath::Vec3<float> &v, float x, float y, float z) {
    EXPECT_FLOAT_EQ(v.x, x);
    EXPECT_FLOAT_EQ(v.y, y);
    EXPECT_FLOAT_EQ(v.z, z);
}

inline std::vector<std::uint32_t> pointsOf(const Kelp &k, int polygon) {
    const PolygonIds &ids = k.getPolygons()[static_cast<std::size_t>(polygon)].ids;
    return std::vector<std::uint32_t>(ids.begin(), ids.end());
}

} // namespace kelptest

#endif
