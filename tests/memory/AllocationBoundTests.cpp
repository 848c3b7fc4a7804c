// What a load allocates: beyond the model it leaves, its working memory is a
// small multiple of the bytes it reads, whatever counts the file claims.
#include "CountingAllocator.h"
#include "JsonRuleFiles.h"
#include "LoadHelpers.h"

#include <Kelp>

#include <gtest/gtest.h>

namespace kelptest {
namespace {

// The stated bound (see the loading pipeline): working bytes at most this
// many times the bytes read, plus a little for bookkeeping.
const std::size_t kWorkingFactor = 4;
const std::size_t kBookkeeping = 64 * 1024;

struct Measured {
    int result = -1;
    std::size_t peak = 0; // most bytes live at once during the load
    std::size_t kept = 0; // bytes the model holds after it
    std::string err;
};

Measured measureLoad(const Bytes &bytes, const std::string &name = "mem.bgeo") {
    Measured m;
    Kelp k;
    testing::internal::CaptureStderr();
    {
        AllocationWatch watch;
        m.result = k.loadBgeoFromMemory(bytes.data(), bytes.size(), name);
        m.peak = watch.peak();
        m.kept = watch.live();
    }
    m.err = testing::internal::GetCapturedStderr();
    return m;
}

void expectWithinBound(const Measured &m, std::size_t fileBytes) {
    EXPECT_LE(m.peak - m.kept, kWorkingFactor * fileBytes + kBookkeeping)
        << "peak " << m.peak << " kept " << m.kept << " for " << fileBytes << " bytes";
}

TEST(AllocationBound, ConstantPagesOfVerticesNobodyUsesCostNothing) {
    const Built b = constantVertexColours();
    const Measured m = measureLoad(b.bytes);
    EXPECT_EQ(m.result, 0);
    expectWithinBound(m, b.bytes.size());
}

TEST(AllocationBound, RunLengthPolygonsWithoutTopologyCostNothing) {
    const Built b = polygonsWithoutTopology();
    const Measured m = measureLoad(b.bytes);
    EXPECT_EQ(m.result, 0);
    EXPECT_LE(m.peak, kBookkeeping);
    expectWithinBound(m, b.bytes.size());
}

TEST(AllocationBound, RestatedVertexCountCostsNothing) {
    for (bool runLength : {false, true}) {
        const Built b = restatedVertexCount(runLength);
        const Measured m = measureLoad(b.bytes);
        EXPECT_EQ(m.result, 0);
        EXPECT_LE(m.peak, kBookkeeping);
    }
}

// A million points whose positions are one constant page each: a valid file
// of a few kilobytes whose model is 12 MB. The model is what it needs.
TEST(AllocationBound, ConstantPagesThatArePointsGiveOnlyTheModel) {
    JsonBytes j;
    const int points = 1000000;
    j.magic().arr().key("fileversion").str("19.5.403").key("pointcount").i32(points);
    j.key("vertexcount").i32(0).key("primitivecount").i32(0);
    j.key("attributes").arr().key("pointattributes").arr();
    constantPaged(j, "P", points);
    const Bytes bytes = j.end().end().end().bytes();
    const Measured m = measureLoad(bytes);
    ASSERT_EQ(m.result, 1) << m.err;
    EXPECT_GE(m.kept, std::size_t(12) * points);
    EXPECT_LE(m.kept, std::size_t(13) * points + kBookkeeping);
    expectWithinBound(m, bytes.size());
}

TEST(AllocationBound, ClassicCountsBeyondTheBytesCostNothing) {
    ClassicBytes b;
    b.header(0x7FFFFFFF, 0x7FFFFFFF, 0, 0, 0, 0, 0x7FFFFFFF, 0x7FFFFFFF);
    b.point(0, 0, 0).point(1, 0, 0);
    const Measured m = measureLoad(b.bytes());
    EXPECT_EQ(m.result, 0);
    EXPECT_LE(m.peak, kBookkeeping);
}

// Empty polygons are the smallest primitives a classic file can hold (five
// bytes each); their model is what they need.
TEST(AllocationBound, ClassicEmptyPolygonsGiveOnlyTheModel) {
    const int polygons = 300000;
    ClassicBytes b;
    b.header(3, polygons);
    for (int i = 0; i < 3; ++i)
        b.point(float(i), 0, 0);
    for (int left = polygons; left > 0;) {
        const int run = left > 65535 ? 65535 : left;
        b.runHeader(static_cast<std::uint16_t>(run));
        for (int k = 0; k < run; ++k)
            b.u32(0).u8('<');
        left -= run;
    }
    b.trailer();
    const Measured m = measureLoad(b.bytes());
    ASSERT_EQ(m.result, 1) << m.err;
    expectWithinBound(m, b.size());
}

} // namespace
} // namespace kelptest
