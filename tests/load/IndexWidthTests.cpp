// Point index width: 16-bit up to 65535 points, 32-bit above; 65533 to 65535
// points also load when written with 32-bit indices.
#include "LoadHelpers.h"

#include <gtest/gtest.h>

namespace {

using namespace kelptest;

Bytes indexFile(std::uint32_t points, bool wide, std::uint32_t far) {
    ClassicBytes b;
    b.header(points, 2, 0, 1);
    for (std::uint32_t i = 0; i < points; ++i)
        b.point(float(i), 0, 0);
    b.attr("w", 1, 0);
    b.runHeader(2);
    for (std::uint32_t p = 0; p < 2; ++p) {
        b.u32(3).u8('<');
        for (std::uint32_t id : {far, p, points - 1}) {
            wide ? b.u32(id) : b.u16(std::uint16_t(id));
            b.f32(float(id));
        }
    }
    b.trailer();
    return b.bytes();
}

struct WidthCase {
    std::uint32_t points;
    bool wide;
    int result;
};

TEST(IndexWidth, FollowsThePointCount) {
    const WidthCase cases[] = {
        {3, false, 1},     {65532, false, 1}, {65533, false, 1}, {65535, false, 1},
        {65533, true, 1},  {65535, true, 1},  {65536, true, 1},  {70000, true, 1},
        {65536, false, 0}, {3, true, 0},      {65532, true, 0},
    };
    for (const WidthCase &c : cases) {
        SCOPED_TRACE(std::to_string(c.points) + (c.wide ? " points, 32-bit" : " points, 16-bit"));
        const std::uint32_t far = c.points > 40000 ? 40000 : 2;
        Bytes bytes = indexFile(c.points, c.wide, far);
        Kelp k;
        Loaded r = loadInto(k, bytes);
        ASSERT_EQ(r.result, c.result) << r.err;
        if (!c.result) {
            EXPECT_EQ(lineCount(r.err), 1) << r.err;
            EXPECT_EQ(k.getNumPolys(), 0u);
            continue;
        }
        EXPECT_EQ(r.err, "");
        ASSERT_EQ(k.getNumPolys(), 2u);
        EXPECT_EQ(k.getPolyVertexIdValue(0, 0), far);
        EXPECT_EQ(k.getPolyVertexIdValue(1, 1), 1u);
        EXPECT_EQ(k.getPolyVertexIdValue(1, 2), c.points - 1);
        // vertex values were read from the right place, and only once
        ASSERT_EQ(k.getVertexAttributes()[0].float_data.size(), 6u);
        EXPECT_EQ(k.getVertexAttrFloatValue(0, 5), float(c.points - 1));
        EXPECT_EQ(k.getVertexAttrFloatValue(0, 3), float(far));
    }
}

} // namespace
