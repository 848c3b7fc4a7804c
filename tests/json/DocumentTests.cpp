// Hand-built documents through the loader: attribute kinds, the three
// value layouts with constant pages and packing, every primitive form, and
// the containers.
#include "JsonLoadHelpers.h"

#include <gtest/gtest.h>

using namespace kelptest;

namespace {

// A document with `points` points on the x axis, no primitives, and the
// point attribute written by `attribute` after "P".
template <class F> JsonBytes pointDocument(int points, F attribute) {
    JsonBytes j;
    documentHead(j, points, {}, 0);
    j.key("attributes").arr().key("pointattributes").arr();
    std::vector<float> p;
    for (int i = 0; i < points; ++i)
        p.insert(p.end(), {float(i), 0.0f, 0.0f});
    numericAttribute(j, "P", 3, p);
    attribute(j);
    j.end().end();
    return j.end();
}

// The opening of an attribute up to its values block's "size".
JsonBytes &attributeHead(JsonBytes &j, const std::string &name, const std::string &type, int size) {
    j.arr().arr().key("scope").str("public").key("type").key(type).key("name").str(name).end();
    return j.arr().key("size").i8(static_cast<std::int8_t>(size));
}

} // namespace

TEST(JsonDocument, TwoTrianglesWithVertexNormals) {
    Kelp k;
    JsonLoaded r = loadJson(k, twoTriangles());
    ASSERT_EQ(r.result, 1) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(k.getNumPoints(), 4u);
    EXPECT_EQ(k.getNumPrims(), 2u);
    EXPECT_EQ(k.getNumPolys(), 2u);
    EXPECT_EQ(k.getNumVerts(), 6u);
    EXPECT_EQ(k.getNumPointAttrs(), 0u);
    EXPECT_EQ(k.getNumVertexAttrs(), 1u);
    EXPECT_EQ(pointsOf(k, 0), (std::vector<std::uint32_t>{0, 1, 2}));
    EXPECT_EQ(pointsOf(k, 1), (std::vector<std::uint32_t>{2, 1, 3}));
    ASSERT_EQ(k.getPointAttrName(0), "P");
    EXPECT_EQ(k.getPointAttributes()[0].size, 4);
    EXPECT_EQ(k.getPointAttrType(0), 5);
    expectVec(k.getPolyVertexPosValue(0, 3), 3.0f, 30.0f, 300.0f);
    EXPECT_EQ(k.attrExists("N", "VERTEX"), 0);
    EXPECT_EQ(k.getVertexAttrType(0), 5);
    expectVec(k.getVertexAttrVectorValue(0, 4), 4.0f, -4.0f, 0.5f);
}

TEST(JsonDocument, AttributeKindsAsTheClassicLoaderKeepsThem) {
    Kelp k;
    JsonBytes j = pointDocument(2, [](JsonBytes &j) {
        numericAttribute(j, "pscale", 1, {0.5f, 1.5f});
        numericAttribute(j, "pair", 2, {1, 2, 3, 4});               // vector with z 0
        numericAttribute(j, "Cd", 3, {1, 2, 3, 4, 5, 6});           // vector
        numericAttribute(j, "orient", 4, {1, 2, 3, 4, 5, 6, 7, 8}); // vector of the first three
        attributeHead(j, "id", "numeric", 1).key("storage").key("int32").key("values").arr();
        j.key("size").i8(1).key("storage").key("int32").key("pagesize").i16(1024);
        j.key("rawpagedata").ui32({7, -8}).end().end().end();
        attributeHead(j, "name", "string", 1).key("storage").key("int32");
        j.key("strings").ustr({"left", "right"}).key("indices").arr().key("size").i8(1);
        j.key("storage").key("int32").key("pagesize").i16(1024).key("rawpagedata").ui32({1, -1});
        j.end().end().end();
        attributeHead(j, "weights", "arraydata", 1).key("values").arr().end().end().end();
    });
    JsonLoaded r = loadJson(k, j);
    ASSERT_EQ(r.result, 1) << r.err;
    const std::vector<AttributeData> &a = k.getPointAttributes();
    ASSERT_EQ(a.size(), 7u); // "weights" (an array per point) is read past
    EXPECT_EQ(k.getNumPointAttrs(), 6u);
    EXPECT_EQ(a[1].name, "pscale");
    EXPECT_EQ(a[1].type, 0);
    EXPECT_EQ(a[1].float_data, (std::vector<float>{0.5f, 1.5f}));
    EXPECT_EQ(a[2].type, 5);
    EXPECT_EQ(a[2].size, 2);
    expectVec(a[2].vector_data[1], 3, 4, 0);
    EXPECT_EQ(a[3].type, 5);
    expectVec(a[3].vector_data[1], 4, 5, 6);
    EXPECT_EQ(a[4].type, 5);
    EXPECT_EQ(a[4].size, 4);
    expectVec(a[4].vector_data[1], 5, 6, 7);
    EXPECT_EQ(a[5].type, 1);
    EXPECT_EQ(a[5].int_data, (std::vector<std::int32_t>{7, -8}));
    EXPECT_EQ(a[6].name, "name");
    EXPECT_EQ(a[6].type, 4);
    EXPECT_EQ(a[6].int_data, (std::vector<std::int32_t>{1, -1}));
}

TEST(JsonDocument, VertexPairsBecomeVectorsWithZeroZ) {
    JsonBytes j;
    documentHead(j, 3, {0, 1, 2}, 1);
    j.key("attributes").arr().key("vertexattributes").arr();
    numericAttribute(j, "uv", 2, {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f}).end();
    j.key("pointattributes").arr();
    numericAttribute(j, "P", 3, {0, 0, 0, 1, 0, 0, 0, 1, 0}).end().end();
    j.key("primitives").arr();
    polygonRun(j, 0, 1, 3).end().end();
    Kelp k;
    JsonLoaded r = loadJson(k, j);
    ASSERT_EQ(r.result, 1) << r.err;
    ASSERT_EQ(k.getNumVertexAttrs(), 1u);
    EXPECT_EQ(k.getVertexAttrType(0), 5);
    expectVec(k.getVertexAttrVectorValue(0, 2), 0.5f, 0.6f, 0.0f);
}

TEST(JsonDocument, PagesConstantPagesAndPacking) {
    // Five points in pages of two: pages {0,1} {2,3} {4}. "P" is written
    // as Houdini 12 to 16 do, size 4 packed [3,1]; page 1 of the xyz part
    // is constant, the w part entirely constant.
    JsonBytes j;
    documentHead(j, 5, {}, 0);
    j.key("attributes").arr().key("pointattributes").arr();
    attributeHead(j, "P", "numeric", 4).key("storage").key("fpreal32").key("values").arr();
    j.key("size").i8(4).key("storage").key("fpreal32").key("pagesize").i8(2);
    j.key("packing").uu8({3, 1}).key("constantpageflags").arr();
    j.ubool({false, true, false}).ubool({true, true, true}).end();
    j.key("rawpagedata")
        .uf32({0, 1, 2, 3, 4, 5, /*w*/ 1, /*const*/ 7, 8, 9, /*w*/ 1, 10, 11, 12, /*w*/ 1});
    j.end().end().end().end().end().end();
    Kelp k;
    JsonLoaded r = loadJson(k, j);
    ASSERT_EQ(r.result, 1) << r.err;
    const std::vector<Imath::Vec3<float>> &p = k.getPointAttributes()[0].vector_data;
    ASSERT_EQ(p.size(), 5u);
    expectVec(p[0], 0, 1, 2);
    expectVec(p[1], 3, 4, 5);
    expectVec(p[2], 7, 8, 9);
    expectVec(p[3], 7, 8, 9);
    expectVec(p[4], 10, 11, 12);
}

TEST(JsonDocument, PlainTokensTuplesAndArraysGiveTheSameValues) {
    // The same three point values written as a uniform array, as plain real64
    // tokens (Houdini 13 to 16.5 files), as "tuples" and as "arrays".
    auto document = [](int form) {
        return pointDocument(3, [form](JsonBytes &j) {
            attributeHead(j, "v", "numeric", 3).key("storage").key("fpreal32").key("values");
            j.arr().key("size").i8(3).key("storage").key("fpreal32");
            const std::vector<double> values{1, 2, 3, 4, 5, 6, 7, 8, 9};
            if (form == 0) {
                j.key("pagesize").i16(1024).key("rawpagedata");
                j.uf32(std::vector<float>(values.begin(), values.end()));
            } else if (form == 1) {
                j.key("pagesize").i16(1024).key("rawpagedata").pf64(values);
            } else if (form == 2) {
                j.key("tuples").arr().pf64({1, 2, 3}).uf32({4, 5, 6}).arr().i8(7).i8(8).i8(9);
                j.end().end();
            } else {
                j.key("arrays").arr().uf64({1, 4, 7}).pf64({2, 5, 8}).uf32({3, 6, 9}).end();
            }
            j.end().end().end();
        });
    };
    for (int form = 0; form < 4; ++form) {
        Kelp k;
        JsonLoaded r = loadJson(k, document(form));
        ASSERT_EQ(r.result, 1) << form << ": " << r.err;
        const AttributeData &v = k.getPointAttributes()[1];
        ASSERT_EQ(v.vector_data.size(), 3u) << form;
        expectVec(v.vector_data[0], 1, 2, 3);
        expectVec(v.vector_data[2], 7, 8, 9);
    }
}

TEST(JsonDocument, ValuesAreConvertedByStorage) {
    // Integer storage carried by real tokens and real storage carried by
    // integer tokens (plain arrays may use any number token).
    JsonBytes j = pointDocument(2, [](JsonBytes &j) {
        attributeHead(j, "id", "numeric", 1).key("storage").key("int32").key("values").arr();
        j.key("size").i8(1).key("storage").key("int64").key("pagesize").i16(1024);
        j.key("rawpagedata").arr().f64(3.0).f64(1e12).end().end().end().end();
        attributeHead(j, "w", "numeric", 1).key("storage").key("fpreal64").key("values").arr();
        j.key("size").i8(1).key("storage").key("fpreal64").key("pagesize").i16(1024);
        j.key("rawpagedata").ui16({-2, 300}).end().end().end();
    });
    Kelp k;
    JsonLoaded r = loadJson(k, j);
    ASSERT_EQ(r.result, 1) << r.err;
    EXPECT_EQ(k.getPointAttributes()[1].int_data, (std::vector<std::int32_t>{3, 2147483647}));
    EXPECT_EQ(k.getPointAttributes()[2].float_data, (std::vector<float>{-2.0f, 300.0f}));
}

TEST(JsonDocument, EveryPolygonFormInFileOrderWithVertexValuesFollowing) {
    // Vertices 0..13: a sphere on vertex 0 (read past), a long-named run
    // with per-polygon counts on 1..7 (a triangle and a quad), an open curve
    // run on 8..9 (read past), a run of "Poly" rows listing 12 11 10 (closed)
    // and 13 (open, read past), and a single closed "Poly" listing 11 10 12.
    JsonBytes j;
    std::vector<std::int32_t> topology;
    for (int v = 0; v < 14; ++v)
        topology.push_back(v % 5);
    documentHead(j, 5, topology, 7);
    j.key("attributes").arr().key("vertexattributes").arr();
    std::vector<float> uv;
    for (int v = 0; v < 14; ++v)
        uv.insert(uv.end(), {float(v), 0, 0});
    numericAttribute(j, "uv", 3, uv).end();
    j.key("pointattributes").arr();
    numericAttribute(j, "P", 3, std::vector<float>(15, 1.0f)).end().end();
    j.key("primitives").arr();
    j.arr().arr().key("type").str("Sphere").end();
    j.arr().key("vertex").i8(0).key("transform").uf32({1, 0, 0, 0, 1, 0, 0, 0, 1}).end().end();
    j.arr().arr().key("type").str("Polygon_run").end();
    j.arr().key("startvertex").i8(1).key("nprimitives").i8(2).key("nvertices").pi32({3, 4});
    j.end().end();
    j.arr().arr().key("type").str("c_r").end();
    j.arr().key("s_v").i8(8).key("n_p").i8(1).key("n_v").ui8({2}).end().end();
    j.arr().arr().key("type").str("run").key("runtype").str("Poly");
    j.key("varyingfields").ustr({"vertex", "closed"}).key("uniformfields").map().mapEnd().end();
    j.arr().arr().ui32({12, 11, 10}).boolean(true).end();
    j.arr().pi32({13}).boolean(false).end().end().end();
    j.arr().arr().key("type").str("Poly").end();
    j.arr().key("vertex").pi32({11, 10, 12}).key("closed").boolean(true).end().end();
    j.end().end();
    Kelp k;
    JsonLoaded r = loadJson(k, j);
    ASSERT_EQ(r.result, 1) << r.err;
    ASSERT_EQ(k.getNumPolys(), 4u);
    EXPECT_EQ(k.getNumPrims(), 7u);
    // The sphere, the open curve run and the open row: read past, by kind.
    EXPECT_EQ(k.getSkippedPrimitives().packed, 0u);
    EXPECT_EQ(k.getSkippedPrimitives().curves, 2u);
    EXPECT_EQ(k.getSkippedPrimitives().other, 1u);
    EXPECT_EQ(pointsOf(k, 0), (std::vector<std::uint32_t>{1, 2, 3}));
    EXPECT_EQ(pointsOf(k, 1), (std::vector<std::uint32_t>{4, 0, 1, 2}));
    EXPECT_EQ(pointsOf(k, 2), (std::vector<std::uint32_t>{2, 1, 0}));
    EXPECT_EQ(pointsOf(k, 3), (std::vector<std::uint32_t>{1, 0, 2}));
    EXPECT_EQ(k.getNumVerts(), 13u);
    // Vertex values follow the polygons' vertices: 1..7, 12 11 10, 11 10 12.
    const std::vector<float> expected{1, 2, 3, 4, 5, 6, 7, 12, 11, 10, 11, 10, 12};
    const AttributeData &a = k.getVertexAttributes()[0];
    ASSERT_EQ(a.vector_data.size(), expected.size());
    for (std::size_t v = 0; v < expected.size(); ++v)
        EXPECT_EQ(a.vector_data[v].x, expected[v]) << v;
}

TEST(JsonDocument, RunLengthCountsAndPackedDiskRunsReadPast) {
    // r_v [4,2, 3,1]: two quads and a triangle, then a run of packed disk
    // primitives (never followed) and a particle system whose points are
    // loaded anyway. The embedded document no piece uses redefines id 0.
    JsonBytes j;
    documentHead(j, 4, {0, 1, 2, 3, 3, 2, 1, 0, 0, 1, 2, 3, 0}, 4);
    j.key("attributes").arr().key("pointattributes").arr();
    numericAttribute(j, "P", 3, std::vector<float>(12, 2.0f)).end().end();
    j.key("primitives").arr();
    j.arr().arr().key("type").key("p_r").end();
    j.arr().key("s_v").i8(0).key("n_p").i8(3).key("r_v").ui8({4, 2, 3, 1}).end().end();
    j.arr().arr().key("type").str("run").key("runtype").str("PackedDisk");
    j.key("varyingfields").ustr({"parameters", "vertex"}).end();
    j.arr().arr().map().key("embedded").str("embed:0").mapEnd().i8(11).end().end().end();
    j.arr().arr().key("type").str("Part").end();
    j.arr().key("vertex").pi32({12}).key("renderproperties").map().mapEnd().end().end();
    j.end();
    j.key("sharedprimitivedata").arr().str("PackedGeometry").arr().str("gu:embeddedgeo");
    j.str("embed:0").def(0, "pointcount").arr().ref(0).i8(0).str("vertexcount").i8(0).end();
    j.end().end();
    j.end();
    Kelp k;
    JsonLoaded r = loadJson(k, j);
    ASSERT_EQ(r.result, 1) << r.err;
    ASSERT_EQ(k.getNumPolys(), 3u);
    EXPECT_EQ(pointsOf(k, 1), (std::vector<std::uint32_t>{3, 2, 1, 0}));
    EXPECT_EQ(pointsOf(k, 2), (std::vector<std::uint32_t>{0, 1, 2}));
    EXPECT_EQ(k.getNumPoints(), 4u);
    // A packed disk primitive is its own kind, even when its parameters
    // name embedded geometry the file holds.
    EXPECT_EQ(k.getSkippedPrimitives().packedDisk, 1u);
    EXPECT_EQ(k.getSkippedPrimitives().packed, 0u);
    EXPECT_EQ(k.getSkippedPrimitives().curves, 0u);
    EXPECT_EQ(k.getSkippedPrimitives().other, 1u); // the particle system
}

TEST(JsonDocument, BigEndianDocument) {
    JsonBytes j;
    j.bigEndian();
    documentHead(j, 3, {0, 1, 2}, 1);
    j.key("attributes").arr().key("pointattributes").arr();
    numericAttribute(j, "P", 3, {1, 2, 3, 4, 5, 6, 7, 8, 9}).end().end();
    j.key("primitives").arr();
    polygonRun(j, 0, 1, 3).end().end();
    Kelp k;
    JsonLoaded r = loadJson(k, j);
    ASSERT_EQ(r.result, 1) << r.err;
    expectVec(k.getPolyVertexPosValue(0, 2), 7, 8, 9);
    EXPECT_EQ(pointsOf(k, 0), (std::vector<std::uint32_t>{0, 1, 2}));
}

TEST(JsonContainers, GzipAndBloscHoldTheSameDocument) {
    KELP_NEEDS_BLOSC();
    const Bytes plain = twoTriangles().bytes();
    Kelp a, b, c, d;
    ASSERT_EQ(loadJson(a, plain).result, 1);
    JsonLoaded r = loadJson(b, gzipBytes(plain), "x.bgeo.gz");
    ASSERT_EQ(r.result, 1) << r.err;
    r = loadJson(c, bloscContainer(plain), "x.bgeo.sc");
    ASSERT_EQ(r.result, 1) << r.err;
    r = loadJson(d, bloscContainer(plain, 64), "x.bgeo.sc"); // several chunks
    ASSERT_EQ(r.result, 1) << r.err;
    for (const Kelp *k : {&b, &c, &d}) {
        EXPECT_EQ(k->getPointAttributes()[0].vector_data, a.getPointAttributes()[0].vector_data);
        EXPECT_EQ(k->getVertexAttributes()[0].vector_data, a.getVertexAttributes()[0].vector_data);
        EXPECT_EQ(k->getPolygons().size(), 2u);
        EXPECT_EQ(pointsOf(*k, 1), pointsOf(a, 1));
    }
}

TEST(JsonContainers, LoadBgeoRoutesEveryContainerHere) {
    KELP_NEEDS_BLOSC();
    const Bytes plain = twoTriangles().bytes();
    JsonBytes big;
    big.bigEndian();
    documentHead(big, 3, {0, 1, 2}, 1);
    big.key("attributes").arr().key("pointattributes").arr();
    numericAttribute(big, "P", 3, {1, 2, 3, 4, 5, 6, 7, 8, 9}).end().end();
    big.key("primitives").arr();
    polygonRun(big, 0, 1, 3).end().end();
    for (const Bytes &bytes : {plain, gzipBytes(plain), bloscContainer(plain, 100), big.bytes()}) {
        Kelp k;
        testing::internal::CaptureStderr();
        const int result = k.loadBgeoFromMemory(bytes.data(), bytes.size(), "x.bgeo");
        const std::string err = testing::internal::GetCapturedStderr();
        ASSERT_EQ(result, 1) << err;
        EXPECT_EQ(k.getNumPolys(), bytes == big.bytes() ? 1u : 2u);
    }
}

TEST(JsonDocument, TraceNamesWhatIsKeptAndWhatIsReadPast) {
    global_doDebug = 1;
    Kelp k;
    JsonLoaded r = loadJson(k, twoTriangles());
    global_doDebug = 0;
    ASSERT_EQ(r.result, 1) << r.err;
    EXPECT_NE(r.err.find("pointcount 4\n"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("vertex attribute N size 3 type 5\n"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("primitive p_r: 2 polygons kept\n"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("JSON geometry 19.5.403: 4 points, 2 polygons kept; read past 0 packed, 0 "
                         "curves, 0 other primitives\n"),
              std::string::npos)
        << r.err;
}
