// The primitive section in each form that files use: single keyed
// primitives, runs, several runs, particles, and what follows the primitives.
#include "LoadHelpers.h"

#include <gtest/gtest.h>

namespace {

using namespace kelptest;
typedef Imath::Vec3<float> V3;

ClassicBytes pointsOnly(std::uint32_t points, std::uint32_t prims) {
    ClassicBytes b;
    b.header(points, prims);
    for (std::uint32_t i = 0; i < points; ++i)
        b.point(float(i), 0.5f, -float(i));
    return b;
}

void expectTriangles(const Kelp &k, std::uint32_t count, std::uint32_t points,
                     std::uint32_t prims = 0) {
    ASSERT_EQ(k.getNumPolys(), count);
    EXPECT_EQ(k.getNumPrims(), prims ? prims : count);
    EXPECT_EQ(k.getNumVerts(), 3 * count);
    for (std::uint32_t p = 0; p < count; ++p) {
        ASSERT_EQ(k.getNumPolyVerts(int(p)), 3u);
        for (int v = 0; v < 3; ++v)
            ASSERT_EQ(k.getPolyVertexIdValue(int(p), v), (p + std::uint32_t(v)) % points);
    }
}

TEST(Layout, OneTriangleWithASingleKey) {
    Kelp k;
    Loaded r = loadInto(k, triangleFile());
    ASSERT_EQ(r.result, 1) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(k.getNumPoints(), 3u);
    ASSERT_EQ(k.getPointAttributes().size(), 1u);
    EXPECT_EQ(k.getPointAttrName(0), "P");
    EXPECT_EQ(k.getPointAttributes()[0].size, 4);
    EXPECT_EQ(k.getPointAttrType(0), 5);
    EXPECT_EQ(k.getPolyVertexPosValue(0, 2), V3(2, 4, 6));
    ASSERT_EQ(k.getNumPolys(), 1u);
    EXPECT_EQ(k.getNumPolyVerts(0), 3u);
    EXPECT_EQ(k.getPolyVertexIdValue(0, 2), 2u);
    EXPECT_EQ(k.getNumVerts(), 3u);
}

TEST(Layout, OneAndTwoPolygonsUnderARunHeaderAsTheSaverWritesThem) {
    for (std::uint16_t n : {1, 2}) {
        ClassicBytes b = pointsOnly(3, n);
        b.runHeader(n);
        for (std::uint32_t p = 0; p < n; ++p)
            b.polygon({p % 3, (p + 1) % 3, (p + 2) % 3});
        b.trailer();
        Kelp k;
        Loaded r = loadInto(k, b);
        ASSERT_EQ(r.result, 1) << r.err;
        expectTriangles(k, n, 3);
    }
}

TEST(Layout, TwoPolygonsWithSingleKeys) {
    ClassicBytes b = pointsOnly(3, 2);
    b.u32(1).polygon({0, 1, 2}).u32(1).polygon({1, 2, 0}).trailer();
    Kelp k;
    Loaded r = loadInto(k, b);
    ASSERT_EQ(r.result, 1) << r.err;
    expectTriangles(k, 2, 3);
}

TEST(Layout, ARunOfPolygonsOfMixedSizes) {
    ClassicBytes b = pointsOnly(6, 3);
    b.runHeader(3).polygon({0, 1, 2, 3, 4, 5}).polygon({5, 4, 3}).polygon({}).trailer();
    Kelp k;
    Loaded r = loadInto(k, b);
    ASSERT_EQ(r.result, 1) << r.err;
    ASSERT_EQ(k.getNumPolys(), 3u);
    EXPECT_EQ(k.getNumPolyVerts(0), 6u);
    EXPECT_EQ(k.getPolyVertexIdValue(0, 5), 5u);
    EXPECT_EQ(k.getNumPolyVerts(1), 3u);
    EXPECT_EQ(k.getNumPolyVerts(2), 0u);
    EXPECT_EQ(k.getNumVerts(), 9u);
}

// 65537 triangles: a full run, then either a single keyed polygon (as
// Houdini and the binary saver write the rest) or a second run.
TEST(Layout, MoreThan65535PolygonsInSeveralRunsOrWithKeys) {
    const std::uint32_t total = 65537;
    for (bool secondRun : {false, true}) {
        ClassicBytes b = pointsOnly(3, total);
        b.runHeader(65535);
        for (std::uint32_t p = 0; p < 65535; ++p)
            b.polygon({p % 3, (p + 1) % 3, (p + 2) % 3});
        if (secondRun)
            b.runHeader(2);
        for (std::uint32_t p = 65535; p < total; ++p) {
            if (!secondRun)
                b.u32(1);
            b.polygon({p % 3, (p + 1) % 3, (p + 2) % 3});
        }
        b.trailer();
        Kelp k;
        Loaded r = loadInto(k, b);
        ASSERT_EQ(r.result, 1) << r.err;
        expectTriangles(k, total, 3);
    }
}

TEST(Layout, ParticlePrimitiveIsReadPast) {
    ClassicBytes b = pointsOnly(4, 1);
    b.u32(0x8000).u32(4).u16(0).u16(1).u16(2).u16(3).trailer();
    Kelp k;
    Loaded r = loadInto(k, b);
    ASSERT_EQ(r.result, 1) << r.err;
    EXPECT_EQ(k.getNumPoints(), 4u);
    EXPECT_EQ(k.getPointAttributes()[0].vector_data.size(), 4u);
    EXPECT_EQ(k.getNumPolys(), 0u);
    EXPECT_EQ(k.getNumPrims(), 1u);
    EXPECT_EQ(k.getSkippedPrimitives().other, 1u);
}

TEST(Layout, PolygonsAndParticlesTogether) {
    ClassicBytes b = pointsOnly(3, 4);
    b.runHeader(3).polygon({0, 1, 2}).polygon({1, 2, 0}).polygon({2, 0, 1});
    b.u32(0x8000).u32(3).u16(0).u16(1).u16(2).trailer();
    Kelp k;
    Loaded r = loadInto(k, b);
    ASSERT_EQ(r.result, 1) << r.err;
    expectTriangles(k, 3, 3, 4);
}

TEST(Layout, PrimitiveAttributeValuesAreReadPast) {
    ClassicBytes b;
    b.header(3, 3, 0, 0, 2);
    for (int i = 0; i < 3; ++i)
        b.point(float(i), 0, 0);
    b.attr("area", 1, 0, {0.0f}).indexAttr("name", {"piece0", ""});
    b.runHeader(2).polygon({0, 1, 2}).f32(1.5f).i32(0).polygon({1, 2, 0}).f32(2.5f).i32(1);
    b.u32(1).polygon({2, 0, 1}).f32(3.5f).i32(1).trailer();
    Kelp k;
    Loaded r = loadInto(k, b);
    ASSERT_EQ(r.result, 1) << r.err;
    EXPECT_EQ(k.getNumPrimAttrs(), 2u);
    expectTriangles(k, 3, 3);
    EXPECT_TRUE(k.getVertexAttributes().empty());
}

TEST(Layout, VertexValuesFollowTheVerticesOverAllPolygons) {
    ClassicBytes b;
    b.header(3, 2, 0, 2);
    for (int i = 0; i < 3; ++i)
        b.point(float(i), 0, 0);
    b.attr("uv", 3, 0).attr("w", 1, 0, {0.5f});
    b.runHeader(2);
    float next = 0;
    for (int p = 0; p < 2; ++p) {
        b.u32(3).u8('<');
        for (int v = 0; v < 3; ++v, next += 1)
            b.u16(std::uint16_t(v)).f32(next).f32(next + 0.5f).f32(0).f32(-next);
    }
    b.trailer();
    Kelp k;
    Loaded r = loadInto(k, b);
    ASSERT_EQ(r.result, 1) << r.err;
    ASSERT_EQ(k.getNumVertexAttrs(), 2u);
    EXPECT_EQ(k.getVertexAttrName(0), "uv");
    EXPECT_EQ(k.getVertexAttrType(0), 5); // three floats are kept as a vector
    EXPECT_EQ(k.getVertexAttrType(1), 0);
    EXPECT_EQ(k.getVertexAttributes()[1].float_default, 0.5f);
    ASSERT_EQ(k.getVertexAttributes()[0].vector_data.size(), 6u);
    for (int v = 0; v < 6; ++v) {
        EXPECT_EQ(k.getVertexAttrVectorValue(0, v), V3(float(v), v + 0.5f, 0));
        EXPECT_EQ(k.getVertexAttrFloatValue(1, v), -float(v));
    }
}

// An open polyline (closure ':') between a triangle and a two-vertex
// polygon: it is read past, with its vertex values, and counted; the short
// polygon stays in the detail for the host side to judge.
TEST(Layout, OpenPolylinesAreReadPastAndCounted) {
    ClassicBytes b;
    b.header(4, 4, 0, 1);
    for (int i = 0; i < 4; ++i)
        b.point(float(i), 0, 0);
    b.attr("w", 1, 0);
    b.runHeader(4);
    const std::vector<std::vector<std::uint16_t>> polys = {{0, 1, 2}, {1, 2, 3}, {3, 0}, {2, 1, 0}};
    const char closures[] = {'<', ':', '<', '<'};
    float next = 0;
    for (std::size_t p = 0; p < polys.size(); ++p) {
        b.u32(std::uint32_t(polys[p].size())).u8(std::uint8_t(closures[p]));
        for (std::uint16_t id : polys[p])
            b.u16(id).f32(next++);
    }
    b.trailer();
    Kelp k;
    Loaded r = loadInto(k, b);
    ASSERT_EQ(r.result, 1) << r.err;
    ASSERT_EQ(k.getNumPolys(), 3u);
    EXPECT_EQ(k.getNumPrims(), 4u);
    EXPECT_EQ(k.getNumPolyVerts(1), 2u);
    EXPECT_EQ(k.getPolyVertexIdValue(2, 0), 2u);
    EXPECT_EQ(k.getSkippedPrimitives().curves, 1u);
    EXPECT_EQ(k.getSkippedPrimitives().other, 0u);
    // Vertex values: the polyline's 3, 4, 5 are gone.
    const std::vector<float> expected = {0, 1, 2, 6, 7, 8, 9, 10};
    ASSERT_EQ(k.getVertexAttributes()[0].float_data.size(), expected.size());
    for (std::size_t v = 0; v < expected.size(); ++v)
        EXPECT_EQ(k.getVertexAttrFloatValue(0, int(v)), expected[v]) << v;
}

TEST(Layout, DetailAttributesGroupsAndTheExtraSectionAreReadToTheEnd) {
    ClassicBytes c;
    c.header(3, 1, 0, 0, 0, 2, 2, 1);
    for (int i = 0; i < 3; ++i)
        c.point(float(i), float(2 * i), float(3 * i));
    c.u32(1).polygon({0, 1, 2});
    // two detail attributes and their record of values
    c.indexAttr("varmap", {"v -> V"}).attr("frame", 1, 1, {0});
    c.i32(0).i32(12);
    // two point groups and one primitive group: name, element count, bits
    c.i16(2).raw("g1").u32(3).u8(0x05);
    c.i16(0).u32(3).u8(0x00);
    c.i16(4).raw("prim").u32(1).u8(0x01);
    // the extra section with data in it
    c.u8(0x00).raw("settings").u8(0xFF);
    Kelp k;
    Loaded r = loadInto(k, c);
    ASSERT_EQ(r.result, 1) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(k.getNumAttrs(), 2u);
    EXPECT_EQ(k.getNumPointGroups(), 2u);
    EXPECT_EQ(k.getNumPrimGroups(), 1u);
    expectTriangles(k, 1, 3);
}

TEST(Layout, AGroupOfTheWrongSizeFails) {
    ClassicBytes c;
    c.header(3, 1, 0, 0, 0, 0, 1, 0);
    for (int i = 0; i < 3; ++i)
        c.point(float(i), 0, 0);
    c.u32(1).polygon({0, 1, 2});
    c.i16(2).raw("g1").u32(4).u8(0x05).trailer();
    Kelp k;
    Loaded r = loadInto(k, c);
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.err, "could not load mem.bgeo: point group 0 at byte 104 has 4 members' bits, but "
                     "the file has 3 points\n");
}

TEST(Layout, UnsupportedPrimitiveTypesFailNamingTheType) {
    for (std::uint32_t type : {0x2u, 0x10u, 0x1000u, 0x40000000u}) {
        ClassicBytes b = pointsOnly(3, 1);
        b.u32(type).u32(3).u8('<').u16(0).u16(1).u16(2).trailer();
        Kelp k;
        Loaded r = loadInto(k, b, "curve.bgeo");
        EXPECT_EQ(r.result, 0);
        char hex[16];
        std::snprintf(hex, sizeof(hex), "0x%X", type);
        EXPECT_NE(r.err.find("curve.bgeo"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(std::string("type ") + hex), std::string::npos) << r.err;
        EXPECT_EQ(lineCount(r.err), 1) << r.err;
        EXPECT_EQ(k.getNumPoints(), 0u); // nothing kept from a failed load
        EXPECT_TRUE(k.getPointAttributes().empty());
    }
    // also inside a run
    ClassicBytes b = pointsOnly(3, 3);
    b.runHeader(3, 0x4).u32(3).u8('<');
    Kelp k;
    Loaded r = loadInto(k, b);
    EXPECT_EQ(r.result, 0);
    EXPECT_NE(r.err.find("type 0x4"), std::string::npos) << r.err;
}

TEST(Layout, APolygonNamingAPointBeyondThePointCountFails) {
    ClassicBytes b = pointsOnly(3, 1);
    b.u32(1).polygon({0, 1, 3}).trailer();
    Kelp k;
    Loaded r = loadInto(k, b, "bad.bgeo");
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.err, "could not load bad.bgeo: polygon 0 names point 3 at byte 102, but the "
                     "file has 3 points\n");
}

TEST(Layout, ARunLongerThanThePrimitiveCountFails) {
    ClassicBytes b = pointsOnly(3, 2);
    b.runHeader(3).polygon({0, 1, 2}).polygon({0, 1, 2}).polygon({0, 1, 2}).trailer();
    Kelp k;
    Loaded r = loadInto(k, b);
    EXPECT_EQ(r.result, 0);
    EXPECT_NE(r.err.find("run of 3 primitives"), std::string::npos) << r.err;
}

TEST(Layout, FilesInOtherFormatsAreRefusedWithTheirReason) {
    struct Case {
        Bytes bytes;
        const char *words;
    } cases[] = {
        {Bytes{'[', 'f', 'i', 'l', 'e'}, "Houdini's newer geometry format"},
        {Bytes{'P', 'G', 'E', 'O', 'M', 'E', 'T', 'R', 'Y', ' ', 'V', '5'}, "ASCII geometry"},
        {Bytes{}, "empty"},
        {Bytes{'B', 'g', 'e', 'o', 'X', 0, 0, 0, 5}, "starts with 42 67 65 6F 58"},
        {Bytes(64, 0), "starts with 00 00 00 00"},
    };
    for (const Case &c : cases) {
        Kelp k;
        Loaded r = loadInto(k, c.bytes, "x.bgeo");
        EXPECT_EQ(r.result, 0);
        EXPECT_NE(r.err.find(c.words), std::string::npos) << r.err;
        EXPECT_EQ(r.err.rfind("could not load x.bgeo: ", 0), 0u) << r.err;
        EXPECT_EQ(lineCount(r.err), 1) << r.err;
    }
}

TEST(Layout, GzipIsRecognisedByItsBytes) {
    Bytes packed = gzipBytes(triangleFile().bytes());
    Kelp k;
    Loaded r = loadInto(k, packed, "plain-name.bgeo");
    ASSERT_EQ(r.result, 1) << r.err;
    expectTriangles(k, 1, 3);
    // two members one after the other are joined
    ClassicBytes whole = triangleFile();
    Bytes first(whole.bytes().begin(), whole.bytes().begin() + 30);
    Bytes second(whole.bytes().begin() + 30, whole.bytes().end());
    Bytes joined = gzipBytes(first);
    Bytes tail = gzipBytes(second);
    joined.insert(joined.end(), tail.begin(), tail.end());
    Kelp k2;
    r = loadInto(k2, joined);
    ASSERT_EQ(r.result, 1) << r.err;
    expectTriangles(k2, 1, 3);
}

} // namespace
