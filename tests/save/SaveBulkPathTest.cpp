// The untraced binary save writes whole point and polygon records at once;
// the traced save writes value by value through the encoders. Both must give
// the same bytes, also for records larger than the save's 1 MiB block.
#include "SaveTestSupport.h"

#include <gtest/gtest.h>

#include <Kelp>

#include <fstream>
#include <iterator>
#include <random>
#include <string>

using namespace savetest;

namespace {

std::string fileBytes(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Saves `detail` untraced and traced and returns both files' bytes.
std::pair<std::string, std::string> bothWays(Kelp &detail, const ScratchDir &dir) {
    const int before = global_doDebug;
    testing::internal::CaptureStderr();
    global_doDebug = 0;
    const int fast = detail.saveBgeo(dir / "fast.bgeo");
    global_doDebug = 1;
    const int traced = detail.saveBgeo(dir / "traced.bgeo");
    global_doDebug = before;
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(fast, 1);
    EXPECT_EQ(traced, 1);
    return {fileBytes(dir / "fast.bgeo"), fileBytes(dir / "traced.bgeo")};
}

TEST(SaveBulkPath, SameBytesAsTheTracedSave) {
    // Polygons of 1 to 9 vertices, two vertex attributes ("uv" and a vector
    // "N"); 16-bit indices here, 32-bit ones in the round trips.
    for (std::uint32_t points : {7u, 300u}) {
        SCOPED_TRACE(points);
        std::mt19937 random(points);
        std::uniform_real_distribution<float> value(-10.0f, 10.0f);
        Kelp k;
        k.initialiseNew();
        for (std::uint32_t i = 0; i < points; ++i)
            k.setPointAttrVectorValue("P", V3f(value(random), value(random), value(random)));
        for (std::uint32_t i = 0; i < points; ++i)
            k.setPointAttrVectorValue("v", V3f(value(random), -0.0f, 1.0f));
        std::uniform_int_distribution<std::uint32_t> point(0, points - 1);
        for (std::uint32_t p = 0; p < 200; ++p)
            for (std::uint32_t v = 0; v <= p % 9; ++v) {
                k.setPolyVertexIdValue(p, point(random));
                k.setVertexAttrVectorValue("uv", V3f(value(random), value(random), 0.0f), 1);
                k.setVertexAttrVectorValue("N", V3f(0.0f, value(random), 1.0f), 0);
            }
        ScratchDir dir;
        const auto files = bothWays(k, dir);
        ASSERT_GT(files.first.size(), 43u);
        EXPECT_TRUE(files.first == files.second);
    }
}

TEST(SaveBulkPath, APolygonLargerThanOneBlockIsWrittenWhole) {
    // 70000 vertices of 4 + 12 bytes: more than the 1 MiB block, so the
    // polygon goes value by value; the one after it in bulk again.
    const std::uint32_t n = 70000;
    Kelp k;
    k.initialiseNew();
    for (std::uint32_t i = 0; i < n; ++i)
        k.setPointAttrVectorValue("P", V3f(float(i), 0.5f, -float(i)));
    k.setPolyVertexIdValue(0, 0);
    k.setVertexAttrVectorValue("uv", V3f(0.0f, 0.0f, 0.0f), 1);
    for (std::uint32_t i = 1; i < n; ++i) {
        k.setPolyVertexIdValue(0, n - i);
        k.setVertexAttrVectorValue("uv", V3f(float(i) / n, 1.0f - float(i) / n, 0.0f), 1);
    }
    k.setPolyVertexIdValue(1, 1);
    k.setVertexAttrVectorValue("uv", V3f(0.25f, 0.75f, 0.0f), 1);
    ScratchDir dir;
    testing::internal::CaptureStderr();
    ASSERT_EQ(k.saveBgeo(dir / "fast.bgeo"), 1);
    testing::internal::GetCapturedStderr();
    Kelp loaded;
    testing::internal::CaptureStderr();
    ASSERT_EQ(loaded.loadBgeo(dir / "fast.bgeo"), 1) << testing::internal::GetCapturedStderr();
    testing::internal::GetCapturedStderr();
    ASSERT_EQ(loaded.getNumPolys(), 2u);
    EXPECT_EQ(loaded.getNumPolyVerts(0), n);
    EXPECT_EQ(loaded.getPolyVertexIdValue(0, 1), n - 1);
    EXPECT_EQ(loaded.getPolyVertexIdValue(1, 0), 1u);
    EXPECT_EQ(loaded.getVertexAttrVectorValue(0, 1), V3f(1.0f / n, 1.0f - 1.0f / n, 0.0f));
    EXPECT_EQ(loaded.getVertexAttrVectorValue(0, n), V3f(0.25f, 0.75f, 0.0f));
}

} // namespace
