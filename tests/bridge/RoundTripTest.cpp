// A mesh written by the writer node and read back by the reader node comes
// back as it was, in both winding modes; the written files follow the modes.
#include "HostFixture.h"

#include <Kelp>

#include <maya/MColorArray.h>
#include <maya/MFnMesh.h>
#include <maya/MIntArray.h>

#include <cmath>

namespace kelptest {
namespace {

void expectNear(const MVector &a, const MVector &b, const std::string &what) {
    EXPECT_NEAR(a.x, b.x, 1e-6) << what;
    EXPECT_NEAR(a.y, b.y, 1e-6) << what;
    EXPECT_NEAR(a.z, b.z, 1e-6) << what;
}

class RoundTrip : public HostScene, public ::testing::WithParamInterface<bool> {};

TEST_P(RoundTrip, MeshComesBackEqual) {
    const bool invert = GetParam();
    const MeshDesc desc = asymmetricMesh();
    const std::pair<std::string, std::string> mesh = createMesh(desc);
    const kt::MeshSnapshot original = kt::mesh(mesh.second);
    ASSERT_TRUE(original.valid);

    const std::string path = file("trip.bgeo");
    const std::string writer = createWriter(mesh.second, path);
    ASSERT_TRUE(kt::setBool(writer + ".invertNormals", invert));
    pullWriter(writer);
    ASSERT_TRUE(fileExists(path));

    const std::string reader = createReader(path);
    ASSERT_TRUE(kt::setBool(reader + ".invertNormals", invert));
    const kt::MeshSnapshot back = kt::mesh(reader + ".outMesh");
    ASSERT_TRUE(back.valid);
    EXPECT_TRUE(kt::errors().empty());
    EXPECT_TRUE(kt::perrors().empty());

    ASSERT_EQ(back.points.size(), original.points.size());
    for (std::size_t i = 0; i < back.points.size(); ++i)
        EXPECT_TRUE(back.points[i] == original.points[i]) << "point " << i;
    EXPECT_EQ(back.polygonCounts, original.polygonCounts);
    EXPECT_EQ(back.polygonConnects, original.polygonConnects);
    const std::vector<std::array<float, 2>> uvBack = faceVertexUvs(back, back.currentUVSet);
    EXPECT_EQ(uvBack, faceVertexUvs(original, "map1"));
    EXPECT_EQ(uvBack, desc.uvSets[0].second);
    ASSERT_EQ(back.vertexNormals.size(), original.vertexNormals.size());
    for (std::size_t i = 0; i < back.vertexNormals.size(); ++i)
        expectNear(back.vertexNormals[i], original.vertexNormals[i], "normal " + std::to_string(i));
    for (std::size_t i = 0; i < back.vertexNormalSet.size(); ++i)
        EXPECT_TRUE(back.vertexNormalSet[i]) << "file normal not set on point " << i;
}

// The file itself: with invertNormals each polygon is stored reversed and "N"
// is the host normal; without it the winding is kept and "N" negated.
TEST_P(RoundTrip, FileFollowsWindingMode) {
    const bool invert = GetParam();
    const MeshDesc desc = asymmetricMesh();
    const std::pair<std::string, std::string> mesh = createMesh(desc);
    const kt::MeshSnapshot original = kt::mesh(mesh.second);
    const std::string path = file("mode.bgeo");
    const std::string writer = createWriter(mesh.second, path);
    ASSERT_TRUE(kt::setBool(writer + ".invertNormals", invert));
    pullWriter(writer);

    Kelp geo;
    ASSERT_EQ(geo.loadBgeo(path), 1);
    ASSERT_EQ(geo.getNumPolys(), desc.polygons.size());
    std::size_t k = 0;
    const int uv = geo.attrExists("uv", "VERTEX");
    ASSERT_GE(uv, 0);
    for (std::size_t f = 0; f < desc.polygons.size(); ++f) {
        const std::vector<int> &poly = desc.polygons[f];
        const std::size_t n = poly.size();
        ASSERT_EQ(geo.getNumPolyVerts(static_cast<int>(f)), n);
        for (std::size_t v = 0; v < n; ++v) {
            const std::size_t local = invert ? n - 1 - v : v;
            EXPECT_EQ(geo.getPolyVertexIdValue(static_cast<int>(f), static_cast<int>(v)),
                      static_cast<unsigned>(poly[local]));
            const Imath::V3f value = geo.getVertexAttrVectorValue(uv, static_cast<int>(k + v));
            const std::array<float, 2> &expected = desc.uvSets[0].second[k + local];
            EXPECT_EQ(value.x, expected[0]);
            EXPECT_EQ(value.y, expected[1]);
            EXPECT_EQ(value.z, 0.0f);
        }
        k += n;
    }
    const int normal = geo.attrExists("N", "POINT");
    ASSERT_GE(normal, 0);
    const double sign = invert ? 1.0 : -1.0;
    for (std::size_t p = 0; p < original.vertexNormals.size(); ++p) {
        const Imath::V3f n = geo.getPointAttrVectorValue(normal, static_cast<int>(p));
        expectNear(MVector(n.x, n.y, n.z), original.vertexNormals[p] * sign,
                   "N " + std::to_string(p));
    }
}

INSTANTIATE_TEST_SUITE_P(Winding, RoundTrip, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool> &info) {
                             return std::string(info.param ? "InvertNormals" : "KeepWinding");
                         });

using Export = HostScene;

TEST_F(Export, PointsOnlyWritesPositionsAlone) {
    const std::pair<std::string, std::string> mesh = createMesh(asymmetricMesh());
    const std::string path = file("points.bgeo");
    const std::string writer = createWriter(mesh.second, path);
    ASSERT_TRUE(kt::setBool(writer + ".pointsOnly", true));
    pullWriter(writer);

    Kelp geo;
    ASSERT_EQ(geo.loadBgeo(path), 1);
    EXPECT_EQ(geo.getNumPolys(), 0u);
    EXPECT_EQ(geo.attrExists("N", "POINT"), -1);
    EXPECT_EQ(geo.attrExists("uv", "VERTEX"), -1);
    EXPECT_EQ(geo.getPointAttributes().size(), 1u);

    const kt::MeshSnapshot back = kt::mesh(createReader(path) + ".outMesh");
    ASSERT_TRUE(back.valid);
    const kt::MeshSnapshot original = kt::mesh(mesh.second);
    ASSERT_EQ(back.points.size(), original.points.size());
    for (std::size_t i = 0; i < back.points.size(); ++i)
        EXPECT_TRUE(back.points[i] == original.points[i]) << "point " << i;
    EXPECT_TRUE(back.polygonCounts.empty());
}

TEST_F(Export, AllUvSetsWithTwoSets) {
    MeshDesc desc = asymmetricMesh();
    std::vector<std::array<float, 2>> second;
    for (const std::array<float, 2> &uv : desc.uvSets[0].second)
        second.push_back({uv[1] * 0.5f, uv[0] + 2.0f});
    desc.uvSets.push_back({"second", second});
    const std::pair<std::string, std::string> mesh = createMesh(desc);
    const std::string path = file("alluv.bgeo");
    const std::string writer = createWriter(mesh.second, path);
    ASSERT_TRUE(kt::setBool(writer + ".exportAllUvMaps", true));
    ASSERT_TRUE(kt::setBool(writer + ".invertNormals", false));
    pullWriter(writer);

    Kelp geo;
    ASSERT_EQ(geo.loadBgeo(path), 1);
    const int first = geo.attrExists("uv", "VERTEX");
    const int other = geo.attrExists("second", "VERTEX");
    ASSERT_GE(first, 0);
    ASSERT_GE(other, 0);
    EXPECT_EQ(geo.getVertexAttributes().size(), 2u);
    for (std::size_t k = 0; k < second.size(); ++k) {
        const Imath::V3f a = geo.getVertexAttrVectorValue(first, static_cast<int>(k));
        const Imath::V3f b = geo.getVertexAttrVectorValue(other, static_cast<int>(k));
        EXPECT_EQ(a, Imath::V3f(desc.uvSets[0].second[k][0], desc.uvSets[0].second[k][1], 0));
        EXPECT_EQ(b, Imath::V3f(second[k][0], second[k][1], 0));
    }
}

TEST_F(Export, MovedTransformIsWrittenInWorldSpace) {
    const std::pair<std::string, std::string> mesh = createMesh(asymmetricMesh());
    ASSERT_TRUE(kt::setDouble(mesh.first + ".translateX", 10.0));
    ASSERT_TRUE(kt::setDouble(mesh.first + ".translateY", -2.5));
    ASSERT_TRUE(kt::setDouble(mesh.first + ".translateZ", 0.75));
    const kt::MeshSnapshot original = kt::mesh(mesh.second);
    const std::string path = file("world.bgeo");
    pullWriter(createWriter(mesh.second, path));

    const kt::MeshSnapshot back = kt::mesh(createReader(path) + ".outMesh");
    ASSERT_TRUE(back.valid);
    ASSERT_EQ(back.points.size(), original.worldPoints.size());
    for (std::size_t i = 0; i < back.points.size(); ++i) {
        EXPECT_TRUE(back.points[i] == original.worldPoints[i]) << "point " << i;
        EXPECT_DOUBLE_EQ(back.points[i].x, original.points[i].x + 10.0);
    }
}

// A colour set whose alphas are not all 1 goes out as vertex "Cd" and
// "Alpha" (one float per vertex) and comes back with every face-vertex's
// colour and alpha.
TEST_F(Export, ColourSetWithHalfAlphaComesBack) {
    const MeshDesc desc = asymmetricMesh();
    const std::pair<std::string, std::string> mesh = createMesh(desc);
    MObject shape = kt::node(mesh.second);
    MFnMesh fn(shape);
    const MString set = fn.createColorSetWithName("colorSet1");
    ASSERT_TRUE(fn.setCurrentColorSetName(set));
    MColorArray colors;
    MIntArray ids;
    std::vector<std::array<float, 4>> want; // per face-vertex
    for (std::size_t fv = 0; fv < 12; ++fv) {
        const float x = static_cast<float>(fv) / 16.0f;
        want.push_back({x, 1.0f - x, 0.25f, fv == 7 ? 1.0f : 0.5f});
        colors.append(MColor(want.back()[0], want.back()[1], want.back()[2], want.back()[3]));
        ids.append(static_cast<int>(fv));
    }
    ASSERT_TRUE(fn.setColors(colors, &set));
    ASSERT_TRUE(fn.assignColors(ids, &set));

    const std::string path = file("alpha.bgeo");
    const std::string writer = createWriter(mesh.second, path);
    ASSERT_TRUE(kt::setBool(writer + ".exportColors", true));
    pullWriter(writer);

    Kelp geo;
    ASSERT_EQ(geo.loadBgeo(path), 1);
    const int alpha = geo.attrExists("Alpha", "VERTEX");
    ASSERT_GE(alpha, 0);
    const AttributeData &a = geo.getVertexAttributes()[static_cast<std::size_t>(alpha)];
    EXPECT_EQ(a.type, 0);
    EXPECT_EQ(a.size, 1);
    ASSERT_EQ(a.float_data.size(), 12u);

    const kt::MeshSnapshot back = kt::mesh(createReader(path) + ".outMesh");
    ASSERT_TRUE(back.valid);
    ASSERT_EQ(back.colorSets.size(), 1u);
    EXPECT_EQ(back.colorSets[0].name, "Cd");
    ASSERT_EQ(back.colorSets[0].faceColorIds.size(), want.size());
    for (std::size_t fv = 0; fv < want.size(); ++fv) {
        const int id = back.colorSets[0].faceColorIds[fv];
        ASSERT_GE(id, 0) << fv;
        EXPECT_EQ(back.colorSets[0].colors[static_cast<std::size_t>(id)], want[fv]) << fv;
    }
}

// A face-vertex without a UV in the set being written gets (0, 0).
TEST_F(Export, UnmappedFaceVertexWritesZeroUv) {
    MeshDesc desc = asymmetricMesh();
    desc.uvSets.clear();
    const std::pair<std::string, std::string> mesh = createMesh(desc);
    const std::string path = file("nouv.bgeo");
    pullWriter(createWriter(mesh.second, path));

    Kelp geo;
    ASSERT_EQ(geo.loadBgeo(path), 1);
    const int uv = geo.attrExists("uv", "VERTEX");
    ASSERT_GE(uv, 0);
    ASSERT_EQ(geo.getVertexAttributes()[uv].vector_data.size(), 12u);
    for (const Imath::V3f &value : geo.getVertexAttributes()[uv].vector_data)
        EXPECT_EQ(value, Imath::V3f(0, 0, 0));
}

} // namespace
} // namespace kelptest
