// Frames the reader must survive: point ids beyond the points, attributes
// that do not hold what their names promise, and normals on a closed mesh.
#include "ClassicFile.h"
#include "HostFixture.h"

#include <Kelp>

#include <maya/MStatus.h>

namespace kelptest {
namespace {

using HostileFrames = HostScene;

ClassicFile triangleFile() {
    ClassicFile f;
    f.positions = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    f.polygons = {{0, 1, 2}};
    return f;
}

// Whether the loader refuses the frame or hands the ids on, no mesh is made
// from them and the user is told.
TEST_F(HostileFrames, PointIdBeyondPointsIsRefused) {
    ClassicFile f = triangleFile();
    f.polygons = {{0, 1, 9}};
    const std::string path = file("beyond.bgeo");
    ASSERT_TRUE(f.write(path));
    const std::string reader = createReader(path);
    ASSERT_TRUE(kt::setInt(reader + ".verbosity", 1));
    const int before = kt::computeCount(reader);
    const kt::MeshSnapshot mesh = kt::mesh(reader + ".outMesh");
    EXPECT_GT(kt::computeCount(reader), before);
    EXPECT_TRUE(mesh.points.empty());
    EXPECT_TRUE(mesh.polygonCounts.empty());

    Kelp geo;
    if (geo.loadBgeo(path) == 1) {
        const std::vector<std::string> expected = {
            std::string("Unable to create mesh: ") +
            MStatus(MStatus::kInvalidParameter).errorString().asChar()};
        EXPECT_EQ(kt::errors(), expected);
    } else {
        ASSERT_EQ(kt::errors().size(), 1u);
        const std::string prefix = "unable to read bgeo:  (" + path + "): ";
        EXPECT_EQ(kt::errors()[0].compare(0, prefix.size(), prefix), 0) << kt::errors()[0];
        EXPECT_GT(kt::errors()[0].size(), prefix.size());
        EXPECT_EQ(kt::infos(),
                  (std::vector<std::string>{"Error: unable to read bgeo:  (" + path + ")"}));
    }
}

TEST_F(HostileFrames, OneFloatUvIsIgnored) {
    ClassicFile f = triangleFile();
    f.withUv = true;
    f.uvComponents = 1;
    f.uvs = {{0.5f, 0, 0}, {0.25f, 0, 0}, {0.75f, 0, 0}};
    const std::string path = file("flatuv.bgeo");
    ASSERT_TRUE(f.write(path));
    const kt::MeshSnapshot mesh = kt::mesh(createReader(path) + ".outMesh");
    ASSERT_TRUE(mesh.valid);
    EXPECT_EQ(mesh.polygonConnects, (std::vector<int>{2, 1, 0}));
    for (const kt::UVSet &set : mesh.uvSets) {
        EXPECT_TRUE(set.u.empty()) << set.name;
        for (int id : set.faceUVIds)
            EXPECT_EQ(id, -1);
    }
    EXPECT_TRUE(kt::errors().empty());
    EXPECT_TRUE(kt::perrors().empty());
}

TEST_F(HostileFrames, FloatNormalIsIgnored) {
    ClassicFile f = triangleFile();
    f.pointAttrs.push_back({"N", false, {{1, 0, 0}, {2, 0, 0}, {3, 0, 0}}});
    const std::string path = file("flatn.bgeo");
    ASSERT_TRUE(f.write(path));
    const kt::MeshSnapshot mesh = kt::mesh(createReader(path) + ".outMesh");
    ASSERT_TRUE(mesh.valid);
    EXPECT_EQ(mesh.points.size(), 3u);
    for (bool set : mesh.vertexNormalSet)
        EXPECT_FALSE(set);
    EXPECT_TRUE(kt::errors().empty());
    EXPECT_TRUE(kt::perrors().empty());
}

// A cube of 8 points and 12 triangles (36 face-vertices): the file's point
// normals land on the points they belong to.
TEST_F(HostileFrames, CubeNormalsSetPerPoint) {
    ClassicFile f;
    PointAttr n{"N", true, {}};
    for (int i = 0; i < 8; ++i) {
        const float x = (i & 1) ? 1.0f : -1.0f;
        const float y = (i & 2) ? 1.0f : -1.0f;
        const float z = (i & 4) ? 1.0f : -1.0f;
        f.positions.push_back({x, y, z});
        n.values.push_back({x * 0.5f, y * 0.5f, z * 0.5f});
    }
    f.pointAttrs.push_back(n);
    const std::vector<std::array<std::uint32_t, 4>> quads = {
        {0, 1, 3, 2}, {4, 6, 7, 5}, {0, 4, 5, 1}, {2, 3, 7, 6}, {0, 2, 6, 4}, {1, 5, 7, 3}};
    for (const std::array<std::uint32_t, 4> &q : quads) {
        f.polygons.push_back({q[0], q[1], q[2]});
        f.polygons.push_back({q[0], q[2], q[3]});
    }
    const std::string path = file("cube.bgeo");
    ASSERT_TRUE(f.write(path));
    for (bool invert : {true, false}) {
        const std::string reader = createReader(path);
        ASSERT_TRUE(kt::setBool(reader + ".invertNormals", invert));
        const kt::MeshSnapshot mesh = kt::mesh(reader + ".outMesh");
        ASSERT_TRUE(mesh.valid);
        ASSERT_EQ(mesh.vertexNormals.size(), 8u);
        const double sign = invert ? 1.0 : -1.0;
        for (std::size_t p = 0; p < 8; ++p) {
            EXPECT_TRUE(mesh.vertexNormalSet[p]) << p;
            const MVector expected =
                MVector(f.positions[p][0], f.positions[p][1], f.positions[p][2]).normal() * sign;
            EXPECT_NEAR(mesh.vertexNormals[p].x, expected.x, 1e-6) << p;
            EXPECT_NEAR(mesh.vertexNormals[p].y, expected.y, 1e-6) << p;
            EXPECT_NEAR(mesh.vertexNormals[p].z, expected.z, 1e-6) << p;
        }
    }
}

} // namespace
} // namespace kelptest
