// Packed pieces beyond their placement: the colours their faces show, the
// particles they make when loaded for particles, and the packed kinds that
// are never followed.
#include "JsonLoadHelpers.h"
#include "ModelChecks.h"
#include "PackedDocs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kelptest;

namespace {

const Imath::V3f kRed(1, 0, 0), kGreen(0, 1, 0), kYellow(1, 1, 0), kBlack(0, 0, 0);

const AttributeData *attribute(const Kelp &k, const std::string &name, const char *owner) {
    const int i = k.attrExists(name, owner);
    if (i < 0)
        return nullptr;
    return std::string(owner) == "VERTEX" ? &k.getVertexAttributes()[static_cast<std::size_t>(i)]
                                          : &k.getPointAttributes()[static_cast<std::size_t>(i)];
}

// The vertex colours as the mesh shows them, one per vertex in model order.
std::vector<Imath::V3f> vertexColours(const Kelp &k) {
    const AttributeData *cd = attribute(k, "Cd", "VERTEX");
    return cd ? cd->vector_data : std::vector<Imath::V3f>();
}

std::vector<Imath::V3f> repeated(std::initializer_list<std::pair<Imath::V3f, int>> runs) {
    std::vector<Imath::V3f> out;
    for (const auto &run : runs)
        out.insert(out.end(), static_cast<std::size_t>(run.second), run.first);
    return out;
}

const ColourOn kEveryPlace[] = {ColourOn::Primitive, ColourOn::Point, ColourOn::Vertex};

const char *placeName(ColourOn on) {
    return on == ColourOn::Primitive ? "primitive" : on == ColourOn::Point ? "point" : "vertex";
}

TEST(PackedColours, ThePackedPrimitivesColourOverridesTheEmbeddedOne) {
    PackedColours o;
    o.pieces = {kRed, kGreen};
    o.alpha = {0.25f, 0.75f};
    for (ColourOn on : kEveryPlace) {
        SCOPED_TRACE(placeName(on));
        o.square = on;
        Kelp k;
        const JsonLoaded r = loadJson(k, packedColours(o));
        ASSERT_EQ(r.result, 1) << r.err;
        ASSERT_EQ(k.getNumPolys(), 3u);
        EXPECT_EQ(vertexColours(k), repeated({{kYellow, 3}, {kRed, 4}, {kGreen, 4}}));
        const AttributeData *alpha = attribute(k, "Alpha", "VERTEX");
        ASSERT_NE(alpha, nullptr);
        EXPECT_EQ(alpha->float_data, (std::vector<float>{1, 1, 1, 0.25f, 0.25f, 0.25f, 0.25f, 0.75f,
                                                         0.75f, 0.75f, 0.75f}));
        // The square's own point colour is not carried alongside.
        EXPECT_EQ(attribute(k, "Cd", "POINT"), nullptr);
        EXPECT_EQ(kelpfuzz::modelProblem(k), "");
    }
}

TEST(PackedColours, PiecesOfAFileWithOnlyPackedPrimitivesTakeTheirColour) {
    PackedColours o;
    o.triangle = false;
    o.pieces = {kGreen, kRed};
    Kelp k;
    const JsonLoaded r = loadJson(k, packedColours(o));
    ASSERT_EQ(r.result, 1) << r.err;
    EXPECT_EQ(vertexColours(k), repeated({{kGreen, 4}, {kRed, 4}}));
    EXPECT_EQ(k.getNumVertexAttrs(), 1u);
    EXPECT_EQ(kelpfuzz::modelProblem(k), "");
}

TEST(PackedColours, WithoutAPackedColourPiecesKeepTheirOwn) {
    PackedColours o;
    o.pieces = {kRed, kGreen}; // positions only: no primitive "Cd" is written
    o.primitiveCd = false;
    for (ColourOn on : kEveryPlace) {
        SCOPED_TRACE(placeName(on));
        o.square = on;
        Kelp k;
        const JsonLoaded r = loadJson(k, packedColours(o));
        ASSERT_EQ(r.result, 1) << r.err;
        std::vector<Imath::V3f> expected(3, kBlack); // the triangle: the default
        for (int piece = 0; piece < 2; ++piece)
            for (int corner = 0; corner < 4; ++corner)
                expected.push_back(squareColour(on, corner));
        EXPECT_EQ(vertexColours(k), expected);
        EXPECT_EQ(kelpfuzz::modelProblem(k), "");
    }
    // Nothing coloured anywhere: no colour appears.
    o.square = ColourOn::Nowhere;
    Kelp k;
    ASSERT_EQ(loadJson(k, packedColours(o)).result, 1);
    EXPECT_EQ(attribute(k, "Cd", "VERTEX"), nullptr);
    EXPECT_EQ(k.getNumVertexAttrs(), 0u);
}

TEST(PackedColours, AFilePointColourWinsOverThePackedPrimitives) {
    // The file's own faces show the point colour, not the primitive one;
    // the pieces' points keep the square's point colours likewise.
    PackedColours o;
    o.pieces = {kRed, kGreen};
    o.pointCd = true;
    o.square = ColourOn::Point;
    Kelp k;
    const JsonLoaded r = loadJson(k, packedColours(o));
    ASSERT_EQ(r.result, 1) << r.err;
    EXPECT_EQ(attribute(k, "Cd", "VERTEX"), nullptr);
    const AttributeData *cd = attribute(k, "Cd", "POINT");
    ASSERT_NE(cd, nullptr);
    ASSERT_EQ(cd->vector_data.size(), 5u + 8);
    EXPECT_EQ(cd->vector_data[0], Imath::V3f(0.5f, 0.5f, 0.5f));
    for (int corner = 0; corner < 4; ++corner) {
        EXPECT_EQ(cd->vector_data[5 + corner], squareColour(ColourOn::Point, corner));
        EXPECT_EQ(cd->vector_data[9 + corner], squareColour(ColourOn::Point, corner));
    }
}

JsonLoaded loadParticles(Kelp &k, const JsonBytes &j) {
    k.setLoadFor(KelpLoadFor::Particles);
    return loadJson(k, j);
}

TEST(PackedParticles, EachPieceIsOneParticleCarryingItsPrimitivesColour) {
    PackedColours o;
    o.pieces = {kRed, kGreen};
    o.alpha = {0.25f, 0.75f};
    Kelp k;
    const JsonLoaded r = loadParticles(k, packedColours(o));
    ASSERT_EQ(r.result, 1) << r.err;
    // The triangle's three points and one per piece: the square is not
    // expanded.
    ASSERT_EQ(k.getNumPoints(), 5u);
    EXPECT_EQ(k.getNumPolys(), 1u);
    expectVec(k.getPointAttributes()[0].vector_data[4], 10, 0, 0);
    const AttributeData *cd = attribute(k, "Cd", "POINT");
    const AttributeData *alpha = attribute(k, "Alpha", "POINT");
    ASSERT_NE(cd, nullptr);
    ASSERT_NE(alpha, nullptr);
    EXPECT_EQ(cd->vector_data, (std::vector<Imath::V3f>{kBlack, kBlack, kBlack, kRed, kGreen}));
    EXPECT_EQ(alpha->float_data, (std::vector<float>{0, 0, 0, 0.25f, 0.75f}));
    EXPECT_EQ(k.getNumPointAttrs() + 1, k.getPointAttributes().size());
    EXPECT_EQ(kelpfuzz::modelProblem(k), "");
}

TEST(PackedParticles, PiecesOnOnePointStillMakeOneParticleEach) {
    PackedColours o;
    o.pieces = {kRed, kGreen, kYellow};
    o.onePoint = true;
    Kelp k;
    const JsonLoaded r = loadParticles(k, packedColours(o));
    ASSERT_EQ(r.result, 1) << r.err;
    ASSERT_EQ(k.getNumPoints(), 3u + 3);
    for (std::size_t p = 3; p < 6; ++p)
        expectVec(k.getPointAttributes()[0].vector_data[p], 0, 0, 0);
    const AttributeData *cd = attribute(k, "Cd", "POINT");
    ASSERT_NE(cd, nullptr);
    EXPECT_EQ(cd->vector_data,
              (std::vector<Imath::V3f>{kBlack, kBlack, kBlack, kRed, kGreen, kYellow}));
    EXPECT_EQ(kelpfuzz::modelProblem(k), "");

    // The mesh of the same file: three squares on the one point.
    Kelp mesh;
    ASSERT_EQ(loadJson(mesh, packedColours(o)).result, 1);
    EXPECT_EQ(mesh.getNumPoints(), 4u + 12);
    EXPECT_EQ(mesh.getNumPolys(), 4u);
}

TEST(PackedParticles, APointColourOfTheFileIsKept) {
    PackedColours o;
    o.pieces = {kRed, kGreen};
    o.pointCd = true;
    Kelp k;
    ASSERT_EQ(loadParticles(k, packedColours(o)).result, 1);
    const AttributeData *cd = attribute(k, "Cd", "POINT");
    ASSERT_NE(cd, nullptr);
    EXPECT_EQ(cd->vector_data, std::vector<Imath::V3f>(5, Imath::V3f(0.5f, 0.5f, 0.5f)));
    int named = 0;
    for (const AttributeData &a : k.getPointAttributes())
        named += a.name == "Cd";
    EXPECT_EQ(named, 1);
}

TEST(PackedParticles, APieceOffTheTopologyFailsWithOneLine) {
    PackedColours o;
    o.pieces = {kRed, kGreen};
    o.lastVertex = 5; // of vertices 0..4
    const JsonBytes bytes = packedColours(o);
    for (bool particles : {true, false}) {
        Kelp k;
        if (particles)
            k.setLoadFor(KelpLoadFor::Particles);
        const JsonLoaded r = loadJson(k, bytes);
        EXPECT_EQ(r.result, 0) << particles;
        EXPECT_EQ(countLines(r.err), 1) << r.err;
        EXPECT_NE(r.err.find("uses vertex 5 beyond the topology"), std::string::npos) << r.err;
    }
}

TEST(PackedKinds, DiskReferencesSoupsAndOtherPackedKindsAreCountedApart) {
    Kelp k;
    const JsonLoaded r =
        loadJson(k, trianglePlus({"PackedDisk", "PolySoup", "AlembicRef", "PackedDisk",
                                  "PackedDiskSequence", "PolySoup", "PolySoup", "Sphere"}));
    ASSERT_EQ(r.result, 1) << r.err;
    EXPECT_EQ(k.getNumPolys(), 1u);
    const SkippedPrimitives &s = k.getSkippedPrimitives();
    EXPECT_EQ(s.packedDisk, 2u);
    EXPECT_EQ(s.packed, 2u); // the Alembic reference and the disk sequence
    EXPECT_EQ(s.soups, 3u);
    EXPECT_EQ(s.other, 1u);
    EXPECT_EQ(s.curves, 0u);
    EXPECT_EQ(s.total(), 8u);
    EXPECT_EQ(kelpfuzz::modelProblem(k), "");
}

} // namespace
