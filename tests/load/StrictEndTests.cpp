// The end of a classic file: after the primitives come the detail attributes,
// the groups and the extra section (00, data, FF), and there the file must
// end. For 65533 to 65535 points the point index width is the one whose
// reading ends the file exactly.
#include "LoadHelpers.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace kelptest;

// points points along x, then polygons over the given ids, written with
// 16-bit or 32-bit indices, then the empty extra section.
ClassicBytes polygonsFile(std::uint32_t points,
                          const std::vector<std::vector<std::uint32_t>> &polys, bool wide) {
    ClassicBytes b;
    b.header(points, static_cast<std::uint32_t>(polys.size()));
    for (std::uint32_t i = 0; i < points; ++i)
        b.point(float(i), 0, 0);
    for (const std::vector<std::uint32_t> &ids : polys)
        b.u32(1).polygon(ids, wide);
    return b;
}

TEST(StrictEnd, TheEmptyExtraSectionEndsTheFile) {
    Kelp k;
    Loaded r = loadInto(k, triangleFile());
    EXPECT_EQ(r.result, 1) << r.err;
    EXPECT_EQ(r.err, "");
}

TEST(StrictEnd, TrailingBytesFail) {
    ClassicBytes b = triangleFile();
    b.raw("junk");
    Kelp k;
    Loaded r = loadInto(k, b);
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.err,
              "could not load mem.bgeo: the extra section at byte 104 is not closed by FF at "
              "the end of the file (last byte 0x6B at byte 109)\n");
    EXPECT_EQ(k.getNumPoints(), 0u);
    EXPECT_EQ(k.getNumPolys(), 0u);
}

TEST(StrictEnd, BytesAfterTheClosingFFFail) {
    ClassicBytes b = triangleFile();
    b.u8(0x01);
    Kelp k;
    Loaded r = loadInto(k, b);
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.err,
              "could not load mem.bgeo: the extra section at byte 104 is not closed by FF at "
              "the end of the file (last byte 0x01 at byte 106)\n");
}

TEST(StrictEnd, AFileThatStopsAfterItsPrimitivesFails) {
    ClassicBytes b = polygonsFile(3, {{0, 1, 2}}, false);
    Kelp k;
    Loaded r = loadInto(k, b);
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.err, "could not load mem.bgeo: the file ends at byte 104 without its extra section "
                     "(00 ... FF) after the groups\n");
    EXPECT_EQ(k.getNumPolys(), 0u);
}

TEST(StrictEnd, AnExtraSectionWithoutItsClosingByteFails) {
    ClassicBytes b = polygonsFile(3, {{0, 1, 2}}, false);
    b.u8(0x00);
    Kelp k;
    Loaded r = loadInto(k, b);
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.err,
              "could not load mem.bgeo: the extra section at byte 104 is not closed by FF at "
              "the end of the file (last byte 0x00 at byte 104)\n");
}

TEST(StrictEnd, AnExtraSectionMustStartWithZero) {
    ClassicBytes b = polygonsFile(3, {{0, 1, 2}}, false);
    b.u8(0x01).u8(0xFF);
    Kelp k;
    Loaded r = loadInto(k, b);
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.err, "could not load mem.bgeo: the extra section at byte 104 starts with 0x01, not "
                     "00\n");
}

TEST(StrictEnd, DetailValuesCutShortFail) {
    // a detail integer attribute whose value is missing: its dictionary is
    // followed straight by a lone 00
    ClassicBytes b;
    b.header(0, 0, 0, 0, 0, 1);
    b.attr("frame", 1, 1, {0}).u8(0x00);
    Kelp k;
    Loaded r = loadInto(k, b);
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.err, "could not load mem.bgeo: the file ends early in the detail attribute "
                     "values: 4 bytes needed at byte 58, 1 left\n");
}

TEST(StrictEnd, AParticlePrimitiveNamingAPointBeyondThePointCountFails) {
    ClassicBytes b;
    b.header(3, 1);
    for (int i = 0; i < 3; ++i)
        b.point(float(i), 0, 0);
    b.u32(0x8000).u32(3).u16(0).u16(3).u16(1).trailer();
    Kelp k;
    Loaded r = loadInto(k, b);
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.err, "could not load mem.bgeo: particle primitive 0 names point 3 at byte 99, but "
                     "the file has 3 points\n");
    EXPECT_EQ(k.getNumPoints(), 0u);
}

TEST(StrictEnd, AParticlePrimitiveNamingItsLastPointLoads) {
    ClassicBytes b;
    b.header(3, 1);
    for (int i = 0; i < 3; ++i)
        b.point(float(i), 0, 0);
    b.u32(0x8000).u32(3).u16(0).u16(2).u16(1).trailer();
    Kelp k;
    Loaded r = loadInto(k, b);
    EXPECT_EQ(r.result, 1) << r.err;
    EXPECT_EQ(k.getNumPoints(), 3u);
    EXPECT_EQ(k.getNumPolys(), 0u);
}

// 65533 to 65535 points: one and two polygons, in both widths, load with the
// ids the file names.
TEST(IndexWidthAtTheBoundary, OneAndTwoPolygonsInBothWidths) {
    for (std::uint32_t points : {65533u, 65534u, 65535u}) {
        for (bool wide : {false, true}) {
            for (std::size_t polygons : {std::size_t(1), std::size_t(2)}) {
                SCOPED_TRACE(std::to_string(points) + " points, " +
                             (wide ? "32-bit, " : "16-bit, ") + std::to_string(polygons) +
                             " polygons");
                std::vector<std::vector<std::uint32_t>> polys = {{65530, 65531, 65532}};
                if (polygons == 2)
                    polys.push_back({points - 1, 0, 1, 2});
                ClassicBytes b = polygonsFile(points, polys, wide);
                b.trailer();
                Kelp k;
                Loaded r = loadInto(k, b);
                ASSERT_EQ(r.result, 1) << r.err;
                EXPECT_EQ(r.err, "");
                ASSERT_EQ(k.getNumPolys(), polygons);
                for (std::size_t p = 0; p < polygons; ++p) {
                    ASSERT_EQ(k.getNumPolyVerts(p), polys[p].size());
                    for (std::size_t v = 0; v < polys[p].size(); ++v)
                        EXPECT_EQ(k.getPolyVertexIdValue(p, v), polys[p][v]);
                }
            }
        }
    }
}

TEST(IndexWidthAtTheBoundary, AFileThatEndsExactlyBothWaysFails) {
    // One polygon of one vertex. Read with 16-bit indices it names point 0 and
    // its extra section holds 01 00; read with 32-bit indices it names point
    // 1 and its extra section is empty.
    ClassicBytes b = polygonsFile(65534, {}, false);
    Bytes bytes = b.bytes();
    ClassicBytes tail;
    tail.u32(1).u32(1).u8('<').u16(0).u16(1).u8(0x00).u8(0xFF);
    bytes[16] = 1; // primitive count 1
    bytes.insert(bytes.end(), tail.bytes().begin(), tail.bytes().end());
    Kelp k;
    Loaded r = loadInto(k, bytes);
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.err, "could not load mem.bgeo: with 65534 points the primitives read to the end of "
                     "the file with 16-bit and with 32-bit point indices alike, so which points "
                     "they name is unknown\n");
    EXPECT_EQ(k.getNumPolys(), 0u);
}

TEST(IndexWidthAtTheBoundary, AFileThatEndsExactlyNeitherWayFails) {
    ClassicBytes b = polygonsFile(65535, {{65530, 65531, 65532}}, true);
    b.trailer().raw("x");
    Kelp k;
    Loaded r = loadInto(k, b);
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.err, "could not load mem.bgeo: with 65535 points the primitives read to the end of "
                     "the file neither with 16-bit nor with 32-bit point indices (16-bit: the "
                     "extra section at byte 1048616 starts with 0xFF, not 00; 32-bit: the extra "
                     "section at byte 1048622 is not closed by FF at the end of the file (last "
                     "byte 0x78 at byte 1048624))\n");
    EXPECT_EQ(k.getNumPolys(), 0u);
}

} // namespace
