#include <Kelp>

#include <gtest/gtest.h>

namespace {

typedef Imath::Vec3<float> V3;

TEST(AttrExists, ReturnsTheLastMatchAndComparesExactly) {
    Kelp k;
    k.initialiseNew();
    k.setPointAttrVectorValue("P", V3(0, 0, 0));
    k.setPointAttrVectorValue("N", V3(0, 1, 0));
    k.setPointAttrVectorValue("v", V3(1, 0, 0));
    EXPECT_EQ(k.attrExists("N", "POINT"), 1);
    EXPECT_EQ(k.attrExists("P", "POINT"), 0);
    EXPECT_EQ(k.attrExists("N", "point"), -1);
    EXPECT_EQ(k.attrExists("n", "POINT"), -1);
    EXPECT_EQ(k.attrExists("N", "VERTEX"), -1);
    EXPECT_EQ(k.attrExists("N", "PRIMITIVE"), -1);
    EXPECT_EQ(k.attrExists("", "POINT"), -1);
}

TEST(AttrExists, TwoRecordsOfOneNameGiveTheHigherIndex) {
    // Only a file can hold two attributes of one name: build one.
    Kelp k;
    k.setVertexAttrVectorValue("uv", V3(0, 0, 0), 1);
    k.setVertexAttrVectorValue("N", V3(0, 0, 0), 0);
    EXPECT_EQ(k.attrExists("uv", "VERTEX"), 0);
    EXPECT_EQ(k.attrExists("N", "VERTEX"), 1);
    EXPECT_EQ(k.attrExists("uv", "POINT"), -1);
}

TEST(InitialiseNew, ZeroesTheCounts) {
    Kelp k;
    k.setPointAttrVectorValue("P", V3(1, 2, 3));
    k.setPolyVertexIdValue(0, 0);
    k.initialiseNew();
    EXPECT_EQ(k.getNumPoints(), 0u);
    EXPECT_EQ(k.getNumPrims(), 0u);
    EXPECT_EQ(k.getNumPointGroups(), 0u);
    EXPECT_EQ(k.getNumPrimGroups(), 0u);
    EXPECT_EQ(k.getNumPointAttrs(), 0u);
    EXPECT_EQ(k.getNumVertexAttrs(), 0u);
    EXPECT_EQ(k.getNumPrimAttrs(), 0u);
    EXPECT_EQ(k.getNumAttrs(), 0u);
    // The sequences are left as they are.
    EXPECT_EQ(k.getNumPolys(), 1u);
    EXPECT_EQ(k.getPointAttributes().size(), 1u);
    EXPECT_EQ(k.init(), 1);
}

TEST(CreatePointVectorAttr, PositionComesFirstAndIsNotCounted) {
    Kelp k;
    k.initialiseNew();
    EXPECT_EQ(k.createPointVectorAttr("P"), 1);
    ASSERT_EQ(k.getPointAttributes().size(), 1u);
    EXPECT_EQ(k.getPointAttrName(0), "P");
    EXPECT_EQ(k.getPointAttributes()[0].size, 4);
    EXPECT_EQ(k.getPointAttrType(0), 5);
    EXPECT_EQ(k.getNumPointAttrs(), 0u);
    k.createPointVectorAttr("P");
    EXPECT_EQ(k.getPointAttributes().size(), 1u);

    k.createPointVectorAttr("N");
    k.createPointVectorAttr("N");
    ASSERT_EQ(k.getPointAttributes().size(), 2u);
    const AttributeData &n = k.getPointAttributes()[1];
    EXPECT_EQ(n.name, "N");
    EXPECT_EQ(n.size, 3);
    EXPECT_EQ(n.type, 5);
    EXPECT_EQ(n.vector_default, V3(0, 0, 0));
    EXPECT_EQ(k.getNumPointAttrs(), 1u);
}

TEST(SetPointAttrVectorValue, PointCountFollowsTheLastAttributeSet) {
    Kelp k;
    k.initialiseNew();
    k.setPointAttrVectorValue("P", V3(0, 0, 0));
    k.setPointAttrVectorValue("P", V3(1, 0, 0));
    k.setPointAttrVectorValue("P", V3(0, 1, 0));
    EXPECT_EQ(k.getNumPoints(), 3u);
    EXPECT_EQ(k.getPolyVertexPosValue(99, 1), V3(1, 0, 0));
    k.setPointAttrVectorValue("N", V3(0, 0, 1));
    EXPECT_EQ(k.getNumPoints(), 1u);
    EXPECT_EQ(k.getNumPointAttrs(), 1u);
    ASSERT_EQ(k.getPointAttributes().size(), 2u);
    EXPECT_EQ(k.getPointAttrName(1), "N");
    EXPECT_EQ(k.getPointAttrVectorValue(1, 0), V3(0, 0, 1));
    EXPECT_EQ(k.getPointAttributes()[0].vector_data.size(), 3u);
    // Back to "P": its values keep growing in record 0.
    k.setPointAttrVectorValue("P", V3(5, 5, 5));
    EXPECT_EQ(k.getNumPoints(), 4u);
    EXPECT_EQ(k.getPointAttrVectorValue(0, 3), V3(5, 5, 5));
}

TEST(SetVertexAttrVectorValue, TypeFollowsTheFloatFlag) {
    Kelp k;
    k.initialiseNew();
    k.setVertexAttrVectorValue("uv", V3(0.25f, 0.75f, 0), 1);
    k.setVertexAttrVectorValue("uv", V3(0.5f, 0.5f, 0), 0);
    k.setVertexAttrVectorValue("N", V3(0, 0, 1), 0);
    EXPECT_EQ(k.getNumVertexAttrs(), 2u);
    const AttributeData &uv = k.getVertexAttributes()[0];
    EXPECT_EQ(uv.type, 0);
    EXPECT_EQ(uv.size, 3);
    ASSERT_EQ(uv.vector_data.size(), 2u);
    EXPECT_TRUE(uv.float_data.empty());
    EXPECT_EQ(k.getVertexAttrVectorValue(0, 1), V3(0.5f, 0.5f, 0));
    EXPECT_EQ(k.getVertexAttrType(1), 5);
    EXPECT_EQ(k.getVertexAttrName(1), "N");
}

TEST(SetVertexAttrFloatValue, MakesOneFloatPerVertex) {
    Kelp k;
    k.initialiseNew();
    k.setVertexAttrVectorValue("Cd", V3(1, 0.5f, 0), 1);
    k.setVertexAttrFloatValue("Alpha", 0.5f);
    k.setVertexAttrFloatValue("Alpha", 0.25f);
    EXPECT_EQ(k.getNumVertexAttrs(), 2u);
    EXPECT_EQ(k.attrExists("Alpha", "VERTEX"), 1);
    const AttributeData &alpha = k.getVertexAttributes()[1];
    EXPECT_EQ(alpha.type, 0);
    EXPECT_EQ(alpha.size, 1);
    EXPECT_TRUE(alpha.vector_data.empty());
    ASSERT_EQ(alpha.float_data.size(), 2u);
    EXPECT_EQ(k.getVertexAttrFloatValue(1, 0), 0.5f);
    EXPECT_EQ(k.getVertexAttrFloatValue(1, 1), 0.25f);
}

TEST(SetPolyVertexIdValue, AddsOnePolygonPerNewIndex) {
    Kelp k;
    k.initialiseNew();
    k.setPolyVertexIdValue(0, 4);
    k.setPolyVertexIdValue(0, 5);
    k.setPolyVertexIdValue(0, 6);
    k.setPolyVertexIdValue(1, 6);
    EXPECT_EQ(k.getNumPrims(), 2u);
    ASSERT_EQ(k.getNumPolys(), 2u);
    EXPECT_EQ(k.getNumPolyVerts(0), 3u);
    EXPECT_EQ(k.getNumPolyVerts(1), 1u);
    EXPECT_EQ(k.getPolyVertexIdValue(0, 2), 6u);
    EXPECT_EQ(k.getPolyVertexIdValue(1, 0), 6u);
    for (const PolygonData &p : k.getPolygons())
        EXPECT_EQ(p.numberOfVertices, p.ids.size());
}

TEST(SetPolyVertexIdValue, AnIndexThatSkipsAheadStaysInsideTheSequence) {
    Kelp k;
    k.initialiseNew();
    k.setPolyVertexIdValue(5, 1); // adds one polygon; the id lands on it
    ASSERT_EQ(k.getNumPolys(), 1u);
    EXPECT_EQ(k.getNumPolyVerts(0), 1u);
}

TEST(Model, CopiesAreIndependent) {
    Kelp a;
    a.initialiseNew();
    a.setPointAttrVectorValue("P", V3(1, 2, 3));
    for (std::uint32_t i = 0; i < 7; ++i)
        a.setPolyVertexIdValue(0, i);
    Kelp b(a);
    b.setPolyVertexIdValue(0, 99);
    EXPECT_EQ(a.getNumPolyVerts(0), 7u);
    EXPECT_EQ(b.getNumPolyVerts(0), 8u);
    Kelp c;
    c = std::move(b);
    EXPECT_EQ(c.getPolyVertexIdValue(0, 7), 99u);
}

} // namespace
