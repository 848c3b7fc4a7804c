// Primitive "Cd" and "Alpha" reach the model as vertex attributes: each kept
// polygon's vertices take the value of the primitive it is, counted over
// every primitive of the file, kept or read past.
#include "JsonLoadHelpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace kelptest;

namespace {

const int kPrimitives = 8;

// Primitive p's colour and alpha in the documents below.
Imath::V3f colourOf(int p) {
    return Imath::V3f(0.125f * float(p), 1.0f - 0.0625f * float(p), 0.5f);
}
float alphaOf(int p) {
    return 0.25f + 0.03125f * float(p);
}

std::vector<float> colours(int n) {
    std::vector<float> values;
    for (int p = 0; p < n; ++p)
        values.insert(values.end(), {colourOf(p).x, colourOf(p).y, colourOf(p).z});
    return values;
}

std::vector<float> alphas(int n) {
    std::vector<float> values;
    for (int p = 0; p < n; ++p)
        values.push_back(alphaOf(p));
    return values;
}

struct Options {
    bool vertexCd = false;
    bool pointCd = false;
    int primitiveCount = kPrimitives; // as the file states it
    int cdValues = kPrimitives;       // primitive "Cd" values written
};

// Eight primitives over vertices 0..16:
//   0  a sphere on vertex 0 (read past)
//   1  a triangle on 1..3        (primitives 1 to 3: one polygon run,
//   2  a polygon of no vertices   counts [3, 0, 4])
//   3  a quad on 4..7
//   4  an open curve on 8..9 (read past)
//   5  a "Poly" row listing 12 11 10 (kept)
//   6  a "Poly" row listing 13, open (read past)
//   7  a single "Poly" listing 16 15 14 (kept)
// with primitive "Cd" and "Alpha" (colourOf, alphaOf), and on request a
// vertex "Cd" (vertex v: (v, -v, 0)) or a point "Cd" (point i: (i, i, i)).
JsonBytes eightPrimitives(const Options &o) {
    JsonBytes j;
    std::vector<std::int32_t> topology;
    for (int v = 0; v < 17; ++v)
        topology.push_back(v % 5);
    documentHead(j, 5, topology, o.primitiveCount);
    j.key("attributes").arr();
    if (o.vertexCd) {
        std::vector<float> cd;
        for (int v = 0; v < 17; ++v)
            cd.insert(cd.end(), {float(v), float(-v), 0.0f});
        j.key("vertexattributes").arr();
        numericAttribute(j, "Cd", 3, cd).end();
    }
    j.key("pointattributes").arr();
    numericAttribute(j, "P", 3, std::vector<float>(15, 1.0f));
    if (o.pointCd) {
        std::vector<float> cd;
        for (int i = 0; i < 5; ++i)
            cd.insert(cd.end(), {float(i), float(i), float(i)});
        numericAttribute(j, "Cd", 3, cd);
    }
    j.end();
    j.key("primitiveattributes").arr();
    numericAttribute(j, "Cd", 3, colours(o.cdValues));
    numericAttribute(j, "Alpha", 1, alphas(o.primitiveCount));
    j.end().end();

    j.key("primitives").arr();
    j.arr().arr().key("type").str("Sphere").end();
    j.arr().key("vertex").i8(0).key("transform").uf32({1, 0, 0, 0, 1, 0, 0, 0, 1}).end().end();
    j.arr().arr().key("type").key("p_r").end();
    j.arr().key("s_v").i8(1).key("n_p").i8(3).key("n_v").ui8({3, 0, 4}).end().end();
    j.arr().arr().key("type").key("c_r").end();
    j.arr().key("s_v").i8(8).key("n_p").i8(1).key("n_v").ui8({2}).end().end();
    j.arr().arr().key("type").str("run").key("runtype").str("Poly");
    j.key("varyingfields").ustr({"vertex", "closed"}).key("uniformfields").map().mapEnd().end();
    j.arr().arr().ui32({12, 11, 10}).boolean(true).end();
    j.arr().pi32({13}).boolean(false).end().end().end();
    j.arr().arr().key("type").str("Poly").end();
    j.arr().key("vertex").pi32({16, 15, 14}).key("closed").boolean(true).end().end();
    j.end();
    return j.end();
}

// The primitive of each kept polygon above, and its vertex count.
const int kKeptPrimitive[] = {1, 3, 5, 7};
const int kKeptVertices[] = {3, 4, 3, 3};

const AttributeData *vertexAttribute(const Kelp &k, const std::string &name) {
    const int index = k.attrExists(name, "VERTEX");
    return index < 0 ? nullptr : &k.getVertexAttributes()[static_cast<std::size_t>(index)];
}

} // namespace

TEST(PrimitiveColour, EachKeptPolygonTakesItsOwnPrimitivesValue) {
    Kelp k;
    const JsonLoaded r = loadJson(k, eightPrimitives(Options()));
    ASSERT_EQ(r.result, 1) << r.err;
    ASSERT_EQ(k.getNumPolys(), 4u);
    EXPECT_EQ(k.getNumPrims(), 8u);
    EXPECT_EQ(k.getNumPrimAttrs(), 2u);
    EXPECT_EQ(k.getNumVertexAttrs(), 2u);
    const AttributeData *cd = vertexAttribute(k, "Cd");
    const AttributeData *alpha = vertexAttribute(k, "Alpha");
    ASSERT_NE(cd, nullptr);
    ASSERT_NE(alpha, nullptr);
    EXPECT_EQ(cd->type, 5);
    EXPECT_EQ(cd->size, 3);
    EXPECT_EQ(alpha->type, 0);
    EXPECT_EQ(alpha->size, 1);
    ASSERT_EQ(cd->vector_data.size(), 13u);
    ASSERT_EQ(alpha->float_data.size(), 13u);
    std::size_t v = 0;
    for (int polygon = 0; polygon < 4; ++polygon)
        for (int corner = 0; corner < kKeptVertices[polygon]; ++corner, ++v) {
            EXPECT_EQ(cd->vector_data[v], colourOf(kKeptPrimitive[polygon])) << v;
            EXPECT_EQ(alpha->float_data[v], alphaOf(kKeptPrimitive[polygon])) << v;
        }
    // Nothing is claimed for the point table.
    EXPECT_EQ(k.attrExists("Cd", "POINT"), -1);
}

TEST(PrimitiveColour, AVertexCdWinsAndThePrimitiveAlphaStillComes) {
    Options o;
    o.vertexCd = true;
    Kelp k;
    const JsonLoaded r = loadJson(k, eightPrimitives(o));
    ASSERT_EQ(r.result, 1) << r.err;
    EXPECT_EQ(k.getNumVertexAttrs(), 2u);
    const AttributeData *cd = vertexAttribute(k, "Cd");
    ASSERT_NE(cd, nullptr);
    // The file's vertex values, in the kept polygons' vertex order.
    const std::vector<int> fileVertex{1, 2, 3, 4, 5, 6, 7, 12, 11, 10, 16, 15, 14};
    ASSERT_EQ(cd->vector_data.size(), fileVertex.size());
    for (std::size_t v = 0; v < fileVertex.size(); ++v)
        EXPECT_EQ(cd->vector_data[v], Imath::V3f(float(fileVertex[v]), -float(fileVertex[v]), 0))
            << v;
    const AttributeData *alpha = vertexAttribute(k, "Alpha");
    ASSERT_NE(alpha, nullptr);
    ASSERT_EQ(alpha->float_data.size(), 13u);
    EXPECT_EQ(alpha->float_data[3], alphaOf(3));
    EXPECT_EQ(alpha->float_data[12], alphaOf(7));
}

TEST(PrimitiveColour, APointCdWinsOverThePrimitiveOne) {
    Options o;
    o.pointCd = true;
    Kelp k;
    const JsonLoaded r = loadJson(k, eightPrimitives(o));
    ASSERT_EQ(r.result, 1) << r.err;
    EXPECT_EQ(vertexAttribute(k, "Cd"), nullptr);
    const int point = k.attrExists("Cd", "POINT");
    ASSERT_GE(point, 0);
    EXPECT_EQ(k.getPointAttrVectorValue(point, 4), Imath::V3f(4, 4, 4));
    ASSERT_NE(vertexAttribute(k, "Alpha"), nullptr); // no other "Alpha"
}

// A file whose primitive count falls short of its primitives: the values
// cover the first primitives; the last kept polygon (primitive 7) is beyond
// them and takes the default.
TEST(PrimitiveColour, APrimitiveBeyondTheValuesTakesTheDefault) {
    Options o;
    o.primitiveCount = 7;
    o.cdValues = 7;
    Kelp k;
    const JsonLoaded r = loadJson(k, eightPrimitives(o));
    ASSERT_EQ(r.result, 1) << r.err;
    const AttributeData *cd = vertexAttribute(k, "Cd");
    ASSERT_NE(cd, nullptr);
    ASSERT_EQ(cd->vector_data.size(), 13u);
    EXPECT_EQ(cd->vector_data[9], colourOf(5));
    EXPECT_EQ(cd->vector_data[10], Imath::V3f(0, 0, 0));
    EXPECT_EQ(cd->vector_data[12], Imath::V3f(0, 0, 0));
}

// The values block must hold one value per primitive, as for points.
TEST(PrimitiveColour, TooFewPrimitiveValuesFailTheLoad) {
    Options o;
    o.cdValues = 7;
    Kelp k;
    const JsonLoaded r = loadJson(k, eightPrimitives(o));
    EXPECT_EQ(r.result, 0);
    EXPECT_NE(r.err.find("'rawpagedata' of 'Cd' holds 21 values, 24 expected"), std::string::npos)
        << r.err;
}

// Other kinds and names stay counted only: an RGBA "Cd", an integer
// "Alpha", a primitive "N".
TEST(PrimitiveColour, OtherPrimitiveAttributesAreOnlyCounted) {
    JsonBytes j;
    documentHead(j, 3, {0, 1, 2}, 1);
    j.key("attributes").arr().key("pointattributes").arr();
    numericAttribute(j, "P", 3, {0, 0, 0, 1, 0, 0, 0, 1, 0}).end();
    j.key("primitiveattributes").arr();
    numericAttribute(j, "Cd", 4, {1, 0, 0, 1});
    j.arr().arr().key("scope").str("public").key("type").key("numeric").key("name").str("Alpha");
    j.end().arr().key("size").i8(1).key("storage").key("int32").key("values").arr();
    j.key("size").i8(1).key("storage").key("int32").key("pagesize").i16(1024);
    j.key("rawpagedata").ui32({1}).end().end().end();
    numericAttribute(j, "N", 3, {0, 0, 1});
    j.end().end();
    j.key("primitives").arr();
    polygonRun(j, 0, 1, 3).end();
    j.end();
    Kelp k;
    const JsonLoaded r = loadJson(k, j);
    ASSERT_EQ(r.result, 1) << r.err;
    EXPECT_EQ(k.getNumPrimAttrs(), 3u);
    EXPECT_EQ(k.getNumVertexAttrs(), 0u);
    EXPECT_TRUE(k.getVertexAttributes().empty());
}
