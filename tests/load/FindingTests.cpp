// What the structure-aware fuzz target found in the classic loader, each
// rebuilt by hand as the smallest file that shows it. The files themselves
// are kept in fuzz/regressions/classic, where the regression test loads them.
#include "FuzzFindings.h"
#include "LoadHelpers.h"
#include "ModelChecks.h"

#include <gtest/gtest.h>

namespace {

using namespace kelptest;

// Three points with a point dictionary entry "P" (a vector of three) beside
// the positions: readers that look "P" up find one or the other.
ClassicBytes dictionaryEntryNamedP() {
    ClassicBytes b;
    b.header(3, 0, 1);
    b.attr("P", 3, 5);
    for (int i = 0; i < 3; ++i)
        b.point(float(i), 0, 0).f32(9).f32(9).f32(9);
    return b.trailer();
}

TEST(ClassicFindings, DictionaryEntryNamedPBesidePositionFails) {
    Kelp k;
    const Loaded r = loadInto(k, dictionaryEntryNamedP());
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.err, "could not load mem.bgeo: the file has 2 point attributes named \"P\"\n");
    EXPECT_EQ(k.getNumPoints(), 0u);
}

// 65,533 points: 16-bit indices could still name them all, but the saver
// (and other writers) use 32-bit ones from here on. Read as 16-bit, the one
// triangle came out as 0 65530 0.
ClassicBytes wideIndicesAt65533() {
    ClassicBytes b;
    b.header(65533, 1);
    for (int i = 0; i < 65533; ++i)
        b.point(0, 0, 0);
    b.u32(1).polygon({65530, 65531, 65532}, true);
    return b.trailer();
}

TEST(ClassicFindings, WideIndicesAt65533PointsNameTheirPoints) {
    Kelp k;
    const Loaded r = loadInto(k, wideIndicesAt65533());
    ASSERT_EQ(r.result, 1) << r.err;
    ASSERT_EQ(k.getPolygons().size(), 1u);
    const PolygonIds &ids = k.getPolygons()[0].ids;
    EXPECT_EQ(std::vector<std::uint32_t>(ids.begin(), ids.end()),
              (std::vector<std::uint32_t>{65530, 65531, 65532}));
    EXPECT_EQ(kelpfuzz::modelProblem(k), "");
}

// The kept files are these, byte for byte (gzip-wrapped where large).
TEST(ClassicFindings, TheKeptFilesAreTheseFindings) {
    const std::string dir = KELP_FUZZ_REGRESSIONS_CLASSIC;
    EXPECT_EQ(readFileBytes(dir + "/dictionary-entry-named-P-beside-position.bgeo"),
              dictionaryEntryNamedP().bytes());
    Kelp fromKept;
    const Loaded r =
        loadInto(fromKept, readFileBytes(dir + "/wide-indices-at-65533-points.bgeo.gz"));
    ASSERT_EQ(r.result, 1) << r.err;
    Kelp built;
    ASSERT_EQ(loadInto(built, wideIndicesAt65533()).result, 1);
    EXPECT_EQ(fromKept.getPolygons()[0].ids.size(), 3u);
    EXPECT_EQ(fromKept.getPolygons()[0].ids[0], 65530u);
    EXPECT_EQ(fromKept.getNumPoints(), built.getNumPoints());
}

} // namespace
