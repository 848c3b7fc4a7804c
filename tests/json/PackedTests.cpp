// Packed geometry embedded in hand-built documents: placement by transform,
// pivot and point, fragments, nesting, the expansion limit, damage.
#include "CountingAllocator.h"
#include "JsonBytes.h"
#include "JsonLoadHelpers.h"
#include "ModelChecks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

using namespace kelptest;

namespace {

const std::vector<double> kIdentity = {1, 0, 0, 0, 1, 0, 0, 0, 1};

// A geometry document without the magic (as embedded): the points, polygons
// of `size` vertices over consecutive vertices of the topology, and when
// given a point attribute "N" and a primitive string attribute "name".
JsonBytes leaf(const std::vector<float> &p, const std::vector<std::int32_t> &topology, int size,
               const std::vector<float> &normals = {}, const std::vector<std::string> &names = {},
               const std::vector<std::int32_t> &nameOf = {}) {
    const int points = static_cast<int>(p.size() / 3);
    const int polygons = static_cast<int>(topology.size()) / size;
    JsonBytes j;
    j.arr().key("pointcount").i32(points).key("vertexcount");
    j.i32(static_cast<std::int32_t>(topology.size())).key("primitivecount").i32(polygons);
    j.key("topology").arr().key("pointref").arr().key("indices").ui32(topology).end().end();
    j.key("attributes").arr().key("pointattributes").arr();
    numericAttribute(j, "P", 3, p);
    if (!normals.empty())
        numericAttribute(j, "N", 3, normals);
    j.end();
    if (!names.empty()) {
        j.key("primitiveattributes").arr().arr().arr().key("scope").str("public").key("type");
        j.str("string").key("name").str("name").end();
        j.arr().key("size").i8(1).key("storage").str("int32").key("strings").ustr(names);
        j.key("indices").arr().key("size").i8(1).key("storage").str("int32");
        j.key("pagesize").i16(1024).key("rawpagedata").ui32(nameOf).end().end().end().end();
    }
    j.end();
    j.key("primitives").arr().arr().arr().key("type").key("p_r").end();
    j.arr().key("s_v").i32(0).key("n_p").i32(polygons).key("r_v").ui32({size, polygons});
    return j.end().end().end().end();
}

// The unit square in z = 0 as one quad; normals +z.
JsonBytes square() {
    return leaf({0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0}, {0, 1, 2, 3}, 4,
                {0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1});
}

struct Piece {
    std::string key = "embed:0";
    std::vector<double> m = kIdentity;
    std::vector<float> pivot = {0, 0, 0};
    std::vector<float> at = {0, 0, 0};
    bool fragment = false;
    std::string name;
};

// A document of packed pieces: one point and one vertex per piece, the
// pieces as single primitives, then the embedded documents. With `withN`
// the file's points carry "N" too. The embedded documents' string tables
// restart at id 0, redefining the ids of the file's own keys, as real
// files do.
JsonBytes packed(const std::vector<Piece> &pieces,
                 const std::vector<std::pair<std::string, JsonBytes>> &embedded, bool magic = true,
                 bool withN = false) {
    const int n = static_cast<int>(pieces.size());
    JsonBytes j;
    if (magic)
        j.magic();
    j.arr().key("pointcount").i32(n).key("vertexcount").i32(n).key("primitivecount").i32(n);
    std::vector<std::int32_t> topology;
    std::vector<float> p, normals;
    for (int k = 0; k < n; ++k) {
        topology.push_back(k);
        p.insert(p.end(), pieces[k].at.begin(), pieces[k].at.end());
        normals.insert(normals.end(), {0, 1, 0});
    }
    j.key("topology").arr().key("pointref").arr().key("indices").ui32(topology).end().end();
    j.key("attributes").arr().key("pointattributes").arr();
    numericAttribute(j, "P", 3, p);
    if (withN)
        numericAttribute(j, "N", 3, normals);
    j.end().end();
    j.key("primitives").arr();
    for (int k = 0; k < n; ++k) {
        const Piece &piece = pieces[k];
        j.arr().arr().key("type").str(piece.fragment ? "PackedFragment" : "PackedGeometry").end();
        j.arr().key("parameters").map().key("embedded").str(piece.key);
        if (piece.fragment)
            j.key("attribute").str("name").key("name").str(piece.name);
        j.mapEnd().key("pivot").uf32(piece.pivot).key("transform").uf64(piece.m);
        j.key("vertex").i32(k).end().end();
    }
    j.end();
    j.key("sharedprimitivedata").arr();
    for (const auto &e : embedded) {
        j.str("PackedGeometry").arr().str("gu:embeddedgeo").str(e.first);
        j.append(e.second).end();
    }
    return j.end().end();
}

const Imath::Vec3<float> &pointOf(const Kelp &k, std::size_t point) {
    return k.getPointAttributes()[0].vector_data[point];
}

void expectNearVec(const Imath::Vec3<float> &v, float x, float y, float z) {
    EXPECT_NEAR(v.x, x, 1e-5f);
    EXPECT_NEAR(v.y, y, 1e-5f);
    EXPECT_NEAR(v.z, z, 1e-5f);
}

TEST(JsonPacked, IdentityPiecesMoveToTheirPoints) {
    Piece a, b;
    a.at = {10, 20, 30};
    b.at = {-1, 0, 0};
    Kelp k;
    JsonLoaded r = loadJson(k, packed({a, b}, {{"embed:0", square()}}));
    ASSERT_EQ(r.result, 1) << r.err;
    ASSERT_EQ(k.getNumPoints(), 2u + 4 + 4);
    ASSERT_EQ(k.getNumPolys(), 2u);
    EXPECT_EQ(k.getNumVerts(), 8u);
    EXPECT_EQ(pointsOf(k, 0), (std::vector<std::uint32_t>{2, 3, 4, 5}));
    EXPECT_EQ(pointsOf(k, 1), (std::vector<std::uint32_t>{6, 7, 8, 9}));
    expectNearVec(pointOf(k, 2), 10, 20, 30);
    expectNearVec(pointOf(k, 4), 11, 21, 30);
    expectNearVec(pointOf(k, 9), -1, 1, 0);
    EXPECT_EQ(k.getSkippedPrimitives().packed, 0u);
    EXPECT_EQ(kelpfuzz::modelProblem(k), "");
}

TEST(JsonPacked, RotationAboutThePivotUsesRowVectors) {
    // Rows of M: (0 1 0), (-1 0 0), (0 0 1): the row vector (1,0,0) goes to
    // (0,1,0), a quarter turn about z. The pivot (1,0,0) lands on the point.
    Piece a;
    a.m = {0, 1, 0, -1, 0, 0, 0, 0, 1};
    a.pivot = {1, 0, 0};
    a.at = {5, 0, 0};
    Kelp k;
    JsonLoaded r = loadJson(k, packed({a}, {{"embed:0", square()}}));
    ASSERT_EQ(r.result, 1) << r.err;
    ASSERT_EQ(k.getNumPoints(), 5u);
    expectNearVec(pointOf(k, 1), 5, -1, 0); // (0,0,0)
    expectNearVec(pointOf(k, 2), 5, 0, 0);  // (1,0,0), the pivot
    expectNearVec(pointOf(k, 3), 4, 0, 0);  // (1,1,0)
    expectNearVec(pointOf(k, 4), 4, -1, 0); // (0,1,0)
}

TEST(JsonPacked, ScaleMovesPointsAndNormalsByTheInverseTranspose) {
    // Normals (1,1,0)/sqrt2 under diag(2,3,4) go to (1/2,1/3,0), renormalised
    // (under M itself they would lean the other way, to (2,3,0)).
    const float h = std::sqrt(0.5f);
    JsonBytes geometry =
        leaf({0, 0, 0, 1, 0, 0, 1, 1, 0}, {0, 1, 2}, 3, {h, h, 0, h, h, 0, h, h, 0});
    Piece a;
    a.m = {2, 0, 0, 0, 3, 0, 0, 0, 4};
    a.at = {0, 0, 1};
    Kelp k;
    JsonLoaded r = loadJson(k, packed({a}, {{"embed:0", geometry}}, true, true));
    ASSERT_EQ(r.result, 1) << r.err;
    ASSERT_EQ(k.getNumPoints(), 4u);
    expectNearVec(pointOf(k, 3), 2, 3, 1);
    ASSERT_EQ(k.getPointAttributes().size(), 2u);
    const AttributeData &n = k.getPointAttributes()[1];
    ASSERT_EQ(n.name, "N");
    ASSERT_EQ(n.vector_data.size(), 4u);
    expectNearVec(n.vector_data[0], 0, 1, 0); // the file's own point
    const float l = std::sqrt(0.25f + 1.0f / 9);
    expectNearVec(n.vector_data[3], 0.5f / l, 1.0f / 3 / l, 0);
}

TEST(JsonPacked, EmbeddedAttributesTheFileLacksAreDroppedAndMissingOnesDefault) {
    // The file has "N", the embedded geometry has none: defaults. The
    // square's "N" is dropped when the file has no "N".
    JsonBytes plain = leaf({0, 0, 0, 1, 0, 0, 1, 1, 0}, {0, 1, 2}, 3);
    Piece a;
    Kelp k;
    ASSERT_EQ(loadJson(k, packed({a}, {{"embed:0", plain}}, true, true)).result, 1);
    ASSERT_EQ(k.getPointAttributes().size(), 2u);
    EXPECT_EQ(k.getPointAttributes()[1].vector_data.size(), 4u);
    expectNearVec(k.getPointAttributes()[1].vector_data[2], 0, 0, 0);
    Kelp s;
    ASSERT_EQ(loadJson(s, packed({a}, {{"embed:0", square()}})).result, 1);
    EXPECT_EQ(s.getPointAttributes().size(), 1u);
    EXPECT_EQ(kelpfuzz::modelProblem(s), "");
}

TEST(JsonPacked, FragmentTakesThePrimitivesNamedByIt) {
    // Two quads named "a" and "b" over eight points; the fragment "b" takes
    // the second quad and only its four points.
    JsonBytes two = leaf({0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0, 5, 0, 0, 6, 0, 0, 6, 1, 0, 5, 1, 0},
                         {0, 1, 2, 3, 4, 5, 6, 7}, 4, {}, {"a", "b"}, {0, 1});
    Piece f;
    f.fragment = true;
    f.name = "b";
    f.at = {0, 0, 10};
    Piece whole;
    Kelp k;
    JsonLoaded r = loadJson(k, packed({f, whole}, {{"embed:0", two}}));
    ASSERT_EQ(r.result, 1) << r.err;
    EXPECT_EQ(k.getNumPoints(), 2u + 4 + 8);
    ASSERT_EQ(k.getNumPolys(), 1u + 2);
    EXPECT_EQ(pointsOf(k, 0), (std::vector<std::uint32_t>{2, 3, 4, 5}));
    expectNearVec(pointOf(k, 2), 5, 0, 10);
    expectNearVec(pointOf(k, 4), 6, 1, 10);
    EXPECT_EQ(pointsOf(k, 2), (std::vector<std::uint32_t>{10, 11, 12, 13}));
    EXPECT_EQ(kelpfuzz::modelProblem(k), "");

    // A name no primitive has: an empty fragment.
    f.name = "c";
    Kelp e;
    ASSERT_EQ(loadJson(e, packed({f}, {{"embed:0", two}})).result, 1);
    EXPECT_EQ(e.getNumPolys(), 0u);
    EXPECT_EQ(e.getNumPoints(), 1u);
    // A fragment of a geometry without the attribute fails the load.
    Kelp m;
    r = loadJson(m, packed({f}, {{"embed:0", square()}}));
    EXPECT_EQ(r.result, 0);
    EXPECT_NE(r.err.find("\"name\""), std::string::npos) << r.err;
    EXPECT_EQ(countLines(r.err), 1) << r.err;
}

// Embedded geometry `levels` deep: each level one piece moved by (1,0,0)
// placing the level below, the square at the bottom.
JsonBytes nested(int levels, bool magic) {
    if (levels == 0)
        return square();
    Piece p;
    p.at = {1, 0, 0};
    return packed({p}, {{"embed:0", nested(levels - 1, false)}}, magic);
}

TEST(JsonPacked, NestedPackingExpandsEveryLevel) {
    Kelp k;
    JsonLoaded r = loadJson(k, nested(2, true));
    ASSERT_EQ(r.result, 1) << r.err;
    // The file's point, the level-1 piece's point, the square.
    ASSERT_EQ(k.getNumPoints(), 1u + 1 + 4);
    ASSERT_EQ(k.getNumPolys(), 1u);
    expectNearVec(pointOf(k, 1), 2, 0, 0);
    expectNearVec(pointOf(k, 2), 2, 0, 0);
    expectNearVec(pointOf(k, 4), 3, 1, 0);
    EXPECT_EQ(pointsOf(k, 0), (std::vector<std::uint32_t>{2, 3, 4, 5}));
}

TEST(JsonPacked, NestingStopsAtEightLevels) {
    Kelp k;
    JsonLoaded r = loadJson(k, nested(8, true));
    ASSERT_EQ(r.result, 1) << r.err;
    EXPECT_EQ(k.getNumPolys(), 1u);
    expectNearVec(pointOf(k, k.getNumPoints() - 4), 8, 0, 0);
    Kelp deep;
    r = loadJson(deep, nested(9, true));
    EXPECT_EQ(r.result, 0);
    EXPECT_NE(r.err.find("nested more than 8 levels"), std::string::npos) << r.err;
    EXPECT_EQ(countLines(r.err), 1) << r.err;
}

// `rows` pieces of one embedded grid of `quads` quads in a run whose rows
// hold only the vertex: a few bytes per piece.
JsonBytes manyPieces(int rows, int quads) {
    std::vector<float> p;
    std::vector<std::int32_t> topology;
    for (int q = 0; q < quads; ++q) {
        for (int c = 0; c < 4; ++c) {
            p.insert(p.end(), {float(q), float(c), 0});
            topology.push_back(4 * q + c);
        }
    }
    JsonBytes j;
    j.magic().arr().key("pointcount").i32(1).key("vertexcount").i32(1);
    j.key("primitivecount").i32(rows);
    j.key("topology").arr().key("pointref").arr().key("indices").ui32({0}).end().end();
    j.key("attributes").arr().key("pointattributes").arr();
    numericAttribute(j, "P", 3, {0, 0, 0}).end().end();
    j.key("primitives").arr().arr().arr().key("type").str("run").key("runtype");
    j.str("PackedGeometry").key("varyingfields").ustr({"vertex"}).key("uniformfields").map();
    j.key("parameters").map().key("embedded").str("embed:0").mapEnd().mapEnd().end().arr();
    for (int k = 0; k < rows; ++k)
        j.arr().i8(0).end();
    j.end().end().end();
    j.key("sharedprimitivedata").arr().str("PackedGeometry").arr().str("gu:embeddedgeo");
    j.str("embed:0").append(leaf(p, topology, 4)).end().end();
    return j.end();
}

TEST(JsonPacked, InstancesBeyondTheLimitAreRefusedBeforeAllocating) {
    // 40 KB of rows placing 10000 copies of 1000 quads would ask for
    // 60 million points, vertices and polygons (hundreds of megabytes).
    const JsonBytes many = manyPieces(10000, 1000);
    ASSERT_LT(many.size(), 150000u);
    Kelp k;
    AllocationWatch watch;
    JsonLoaded r = loadJson(k, many);
    EXPECT_EQ(r.result, 0);
    // The pieces themselves are held (some 200 bytes each); the expansion,
    // some 700 MB, never starts.
    EXPECT_LT(watch.largest(), 8u << 20);
    EXPECT_LT(watch.peak(), 16u << 20);
    EXPECT_NE(r.err.find("packed geometry would add more than"), std::string::npos) << r.err;
    EXPECT_EQ(countLines(r.err), 1) << r.err;

    // Few enough copies load, each piece in the run expanded.
    Kelp few;
    r = loadJson(few, manyPieces(10, 1000));
    ASSERT_EQ(r.result, 1) << r.err;
    EXPECT_EQ(few.getNumPolys(), 10000u);
    EXPECT_EQ(few.getNumPoints(), 1u + 40000);
    EXPECT_EQ(kelpfuzz::modelProblem(few), "");
}

TEST(JsonPacked, ContradictionsFailTheLoadWithOneLine) {
    struct Case {
        const char *what;
        JsonBytes bytes;
        const char *says;
    };
    Piece a;
    Piece missing;
    missing.key = "embed:none";
    // The embedded topology names a point the embedded geometry lacks.
    JsonBytes badTopology = leaf({0, 0, 0, 1, 0, 0, 1, 1, 0}, {0, 1, 3}, 3);
    // Nine values of "P" for four points.
    JsonBytes shortP = leaf({0, 0, 0, 1, 0, 0, 1, 1, 0}, {0, 1, 2, 3}, 4);
    std::vector<Case> cases = {
        {"missing key", packed({missing}, {{"embed:0", square()}}), "embed:none"},
        {"bad topology", packed({a}, {{"embed:0", badTopology}}), "out of range"},
        {"short P", packed({a}, {{"embed:0", shortP}}), ""},
        {"twice", packed({a}, {{"embed:0", square()}, {"embed:0", square()}}), "given twice"},
    };
    for (const Case &c : cases) {
        Kelp k;
        JsonLoaded r = loadJson(k, c.bytes);
        EXPECT_EQ(r.result, 0) << c.what;
        EXPECT_EQ(countLines(r.err), 1) << c.what << ": " << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << c.what << ": " << r.err;
    }
}

TEST(JsonPacked, EveryPrefixFailsCleanlyOrLoadsConsistently) {
    Piece a, f;
    a.m = {0, 1, 0, -1, 0, 0, 0, 0, 2};
    a.at = {1, 2, 3};
    f.fragment = true;
    f.name = "b";
    JsonBytes two = leaf({0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0, 5, 0, 0, 6, 0, 0, 6, 1, 0, 5, 1, 0},
                         {0, 1, 2, 3, 4, 5, 6, 7}, 4, {}, {"a", "b"}, {0, 1});
    const Bytes whole = packed({a, f}, {{"embed:0", two}}).bytes();
    int loaded = 0;
    for (std::size_t n = 0; n < whole.size(); ++n) {
        Kelp k;
        JsonLoaded r = loadJson(k, Bytes(whole.begin(), whole.begin() + n));
        if (r.result == 1) {
            ++loaded;
            EXPECT_EQ(kelpfuzz::modelProblem(k), "") << n;
        } else {
            EXPECT_EQ(countLines(r.err), 1) << n << ": " << r.err;
        }
    }
    EXPECT_EQ(loaded, 0); // the document closes only at its last byte
    Kelp k;
    ASSERT_EQ(loadJson(k, whole).result, 1);
    EXPECT_EQ(k.getNumPolys(), 2u + 1);
}

} // namespace
