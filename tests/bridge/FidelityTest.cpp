// What the file holds reaches the mesh and the particles: colours, every UV
// set, UVs shared where faces meet, frames with primitives a mesh cannot
// hold, channels under the host's names, and missing particle frames.
#include "ClassicFile.h"
#include "HostFixture.h"

#include <Kelp>

#include "bridge/ReadPast.h"

#include <algorithm>
#include <set>

namespace kelptest {
namespace {

using Fidelity = HostScene;

// Two triangles sharing the edge 1-2, with a vertex "uv" equal on both sides
// of that edge: four UVs, not six.
ClassicFile twoTriangles() {
    ClassicFile f;
    f.positions = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}};
    f.polygons = {{0, 1, 2}, {2, 1, 3}};
    f.withUv = true;
    f.uvs = {{0.0f, 0.0f, 0}, {1.0f, 0.0f, 0}, {0.0f, 1.0f, 0},
             {0.0f, 1.0f, 0}, {1.0f, 0.0f, 0}, {1.0f, 1.0f, 0}};
    return f;
}

std::array<float, 2> uvOf(const kt::UVSet &set, std::size_t faceVertex) {
    const int id = set.faceUVIds[faceVertex];
    EXPECT_GE(id, 0);
    return {set.u[static_cast<std::size_t>(id)], set.v[static_cast<std::size_t>(id)]};
}

TEST_F(Fidelity, EqualUvsAtASharedPointShareOneUv) {
    const std::string path = file("shared.bgeo");
    ASSERT_TRUE(twoTriangles().write(path));
    const kt::MeshSnapshot mesh = kt::mesh(createReader(path) + ".outMesh");
    ASSERT_TRUE(mesh.valid);
    ASSERT_EQ(mesh.uvSets.size(), 1u);
    const kt::UVSet &map1 = mesh.uvSets[0];
    EXPECT_EQ(map1.u.size(), 4u);
    // Reversed winding: the first triangle is 2 1 0, the second 3 1 2.
    EXPECT_EQ(mesh.polygonConnects, (std::vector<int>{2, 1, 0, 3, 1, 2}));
    EXPECT_EQ(map1.faceUVIds[0], map1.faceUVIds[5]); // point 2 on both
    EXPECT_EQ(map1.faceUVIds[1], map1.faceUVIds[4]); // point 1 on both
    EXPECT_EQ(uvOf(map1, 3), (std::array<float, 2>{1.0f, 1.0f}));
    EXPECT_EQ(uvOf(map1, 2), (std::array<float, 2>{0.0f, 0.0f}));
}

TEST_F(Fidelity, DifferentUvsAtASharedPointKeepTheirSeam) {
    ClassicFile f = twoTriangles();
    f.uvs[3] = {0.5f, 1.0f, 0}; // point 2 in the second triangle
    const std::string path = file("seam.bgeo");
    ASSERT_TRUE(f.write(path));
    const kt::MeshSnapshot mesh = kt::mesh(createReader(path) + ".outMesh");
    ASSERT_EQ(mesh.uvSets.size(), 1u);
    const kt::UVSet &map1 = mesh.uvSets[0];
    EXPECT_EQ(map1.u.size(), 5u);
    EXPECT_NE(map1.faceUVIds[0], map1.faceUVIds[5]);
    EXPECT_EQ(uvOf(map1, 5), (std::array<float, 2>{0.5f, 1.0f}));
    EXPECT_EQ(uvOf(map1, 0), (std::array<float, 2>{0.0f, 1.0f}));
}

// "uv2" (here a point attribute) becomes a second UV set of that name, after
// "map1", each face-vertex showing its point's value.
TEST_F(Fidelity, Uv2BecomesASecondUvSet) {
    ClassicFile f = twoTriangles();
    f.pointAttrs.push_back(
        {"uv2", true, {{0.1f, 0.2f, 0}, {0.3f, 0.4f, 0}, {0.5f, 0.6f, 0}, {0.7f, 0.8f, 0}}});
    f.pointAttrs.push_back(
        {"uv3", true, {{0.9f, 0.9f, 0}, {0.8f, 0.8f, 0}, {0.7f, 0.7f, 0}, {0.6f, 0.6f, 0}}});
    const std::string path = file("uv2.bgeo");
    ASSERT_TRUE(f.write(path));
    const kt::MeshSnapshot mesh = kt::mesh(createReader(path) + ".outMesh");
    ASSERT_TRUE(mesh.valid);
    ASSERT_EQ(mesh.uvSets.size(), 3u);
    EXPECT_EQ(mesh.uvSets[0].name, "map1");
    EXPECT_EQ(mesh.uvSets[1].name, "uv2");
    EXPECT_EQ(mesh.uvSets[2].name, "uv3");
    EXPECT_EQ(mesh.currentUVSet, "map1");
    for (std::size_t fv = 0; fv < mesh.polygonConnects.size(); ++fv) {
        const std::array<float, 3> &want =
            f.pointAttrs[0].values[static_cast<std::size_t>(mesh.polygonConnects[fv])];
        EXPECT_EQ(uvOf(mesh.uvSets[1], fv), (std::array<float, 2>{want[0], want[1]})) << fv;
    }
    EXPECT_TRUE(kt::perrors().empty());
}

// Point "Cd" with "Alpha": a colour set "Cd", current, one colour per point.
TEST_F(Fidelity, PointCdAndAlphaBecomeTheCurrentColourSet) {
    ClassicFile f = twoTriangles();
    f.pointAttrs.push_back({"Cd", true, {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0.5f, 0.25f, 0.125f}}});
    f.pointAttrs.push_back({"Alpha", false, {{0.5f, 0, 0}, {1, 0, 0}, {1, 0, 0}, {0.25f, 0, 0}}});
    const std::string path = file("cd.bgeo");
    ASSERT_TRUE(f.write(path));
    const kt::MeshSnapshot mesh = kt::mesh(createReader(path) + ".outMesh");
    ASSERT_TRUE(mesh.valid);
    ASSERT_EQ(mesh.colorSets.size(), 1u);
    EXPECT_EQ(mesh.colorSets[0].name, "Cd");
    EXPECT_EQ(mesh.currentColorSet, "Cd");
    EXPECT_EQ(mesh.colorSets[0].colors.size(), 4u);
    for (std::size_t fv = 0; fv < mesh.polygonConnects.size(); ++fv) {
        const std::size_t p = static_cast<std::size_t>(mesh.polygonConnects[fv]);
        const int id = mesh.colorSets[0].faceColorIds[fv];
        ASSERT_GE(id, 0);
        const std::array<float, 4> &c = mesh.colorSets[0].colors[static_cast<std::size_t>(id)];
        EXPECT_EQ(
            c, (std::array<float, 4>{f.pointAttrs[0].values[p][0], f.pointAttrs[0].values[p][1],
                                     f.pointAttrs[0].values[p][2], f.pointAttrs[1].values[p][0]}))
            << fv;
    }
}

// A Houdini file with vertex "Cd": every face-vertex shows the colour of the
// file vertex it came from, after the winding is reversed.
TEST_F(Fidelity, RealFileVertexCdFollowsTheReversedWinding) {
#ifndef KELP_FIXTURES_JSON
    GTEST_SKIP() << "no fixture folder configured";
#else
    const std::string path =
        std::string(KELP_FIXTURES_JSON) + "/labs_cylinder_generator_h185.bgeo.sc";
    if (!fileExists(path))
        GTEST_SKIP() << "fixture absent: " << path;
    Kelp geo;
    ASSERT_EQ(geo.loadBgeo(path), 1);
    const std::int32_t cd = geo.attrExists("Cd", "VERTEX");
    ASSERT_GE(cd, 0);
    const AttributeData &colors = geo.getVertexAttributes()[cd];
    std::vector<std::array<float, 3>> expected; // host face-vertex order
    std::size_t k = 0;
    for (const PolygonData &poly : geo.getPolygons()) {
        const std::size_t n = poly.ids.size();
        if (n >= 3)
            for (std::size_t v = 0; v < n; ++v) {
                const Imath::V3f &c = colors.vector_data[k + n - 1 - v];
                expected.push_back({c.x, c.y, c.z});
            }
        k += n;
    }
    const kt::MeshSnapshot mesh = kt::mesh(createReader(path) + ".outMesh");
    ASSERT_TRUE(mesh.valid);
    ASSERT_EQ(mesh.colorSets.size(), 1u);
    EXPECT_EQ(mesh.currentColorSet, "Cd");
    const kt::ColorSet &set = mesh.colorSets[0];
    ASSERT_EQ(set.faceColorIds.size(), expected.size());
    std::set<std::array<float, 3>> distinct;
    for (std::size_t fv = 0; fv < expected.size(); ++fv) {
        const std::array<float, 4> &c = set.colors[static_cast<std::size_t>(set.faceColorIds[fv])];
        ASSERT_EQ((std::array<float, 3>{c[0], c[1], c[2]}), expected[fv]) << fv;
        EXPECT_EQ(c[3], 1.0f);
        distinct.insert(expected[fv]);
    }
    EXPECT_GT(distinct.size(), 1u); // the check would see a mix-up
#endif
}

// A 2-vertex polygon between two triangles: the mesh is built from the
// triangles, their UVs still the right file vertices', and one line says
// what was left out.
TEST_F(Fidelity, ShortPolygonIsLeftOutAndReported) {
    ClassicFile f;
    f.positions = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}};
    f.polygons = {{0, 1, 2}, {1, 3}, {2, 1, 3}};
    f.withUv = true;
    f.uvs = {{0.0f, 0.0f, 0}, {1.0f, 0.0f, 0}, {0.0f, 1.0f, 0}, {0.9f, 0.9f, 0},
             {0.8f, 0.8f, 0}, {0.0f, 1.0f, 0}, {1.0f, 0.0f, 0}, {1.0f, 1.0f, 0}};
    const std::string path = file("short.bgeo");
    ASSERT_TRUE(f.write(path));
    const std::string reader = createReader(path);
    ASSERT_TRUE(kt::setInt(reader + ".verbosity", 1));
    const kt::MeshSnapshot mesh = kt::mesh(reader + ".outMesh");
    ASSERT_TRUE(mesh.valid);
    EXPECT_EQ(mesh.polygonCounts, (std::vector<int>{3, 3}));
    EXPECT_EQ(mesh.polygonConnects, (std::vector<int>{2, 1, 0, 3, 1, 2}));
    ASSERT_EQ(mesh.uvSets.size(), 1u);
    EXPECT_EQ(mesh.uvSets[0].u.size(), 4u); // the short polygon's UVs are not used
    EXPECT_EQ(uvOf(mesh.uvSets[0], 3), (std::array<float, 2>{1.0f, 1.0f}));
    EXPECT_TRUE(kt::errors().empty());
    EXPECT_EQ(kt::infos(),
              (std::vector<std::string>{"read bgeo:  (" + path + ")",
                                        "read past 1 polygon of fewer than 3 vertices"}));

    // Quiet at verbosity 0.
    ASSERT_TRUE(kt::setInt(reader + ".verbosity", 0));
    kt::clearMessages();
    EXPECT_EQ(kt::mesh(reader + ".outMesh").polygonCounts.size(), 2u);
    EXPECT_TRUE(kt::infos().empty());
}

// A 2-vertex polygon and an open polyline between two triangles: two faces,
// their UVs the right file vertices', and one line for both.
TEST_F(Fidelity, OpenPolylineAndShortPolygonAreLeftOutAndReported) {
    ClassicFile f;
    f.positions = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}};
    f.polygons = {{0, 1, 2}, {1, 3}, {0, 3, 2}, {2, 1, 3}};
    f.openPolygons = {2};
    f.withUv = true;
    f.uvs = {{0.0f, 0.0f, 0}, {1.0f, 0.0f, 0}, {0.0f, 1.0f, 0}, {0.9f, 0.9f, 0},
             {0.8f, 0.8f, 0}, {0.7f, 0.7f, 0}, {0.6f, 0.6f, 0}, {0.5f, 0.5f, 0},
             {0.0f, 1.0f, 0}, {1.0f, 0.0f, 0}, {1.0f, 1.0f, 0}};
    const std::string path = file("open.bgeo");
    ASSERT_TRUE(f.write(path));
    const std::string reader = createReader(path);
    ASSERT_TRUE(kt::setInt(reader + ".verbosity", 1));
    const kt::MeshSnapshot mesh = kt::mesh(reader + ".outMesh");
    ASSERT_TRUE(mesh.valid);
    EXPECT_EQ(mesh.polygonCounts, (std::vector<int>{3, 3}));
    EXPECT_EQ(mesh.polygonConnects, (std::vector<int>{2, 1, 0, 3, 1, 2}));
    ASSERT_EQ(mesh.uvSets.size(), 1u);
    EXPECT_EQ(uvOf(mesh.uvSets[0], 3), (std::array<float, 2>{1.0f, 1.0f}));
    EXPECT_TRUE(kt::errors().empty());
    EXPECT_EQ(kt::infos(), (std::vector<std::string>{
                               "read bgeo:  (" + path + ")",
                               "read past 1 open curve, 1 polygon of fewer than 3 vertices"}));
}

// The packed fixture: its 81 polygons become faces, and its 23 packed
// primitives are named.
TEST_F(Fidelity, PackedPiecesBecomeFaces) {
    const std::string path =
        std::string(KELP_FIXTURES_JSON) + "/labs_physics_painter_packed_h185.bgeo.sc";
    if (!fileExists(path))
        GTEST_SKIP() << "fixture absent: " << path;
    const std::string reader = createReader(path);
    ASSERT_TRUE(kt::setInt(reader + ".verbosity", 1));
    const kt::MeshSnapshot mesh = kt::mesh(reader + ".outMesh");
    ASSERT_TRUE(mesh.valid);
    // 81 polygons of the file, 12879 of its 23 packed pieces; nothing read past.
    EXPECT_EQ(mesh.polygonCounts.size(), 12960u);
    EXPECT_EQ(kt::infos(), (std::vector<std::string>{"read bgeo:  (" + path + ")"}));
}

TEST_F(Fidelity, ReadPastLineNamesEveryKindInOrder) {
    ReadPastCounts counts;
    EXPECT_EQ(std::string(readPastLine(counts).asChar()), "");
    counts.packed = 23;
    counts.openCurves = 71;
    EXPECT_EQ(std::string(readPastLine(counts).asChar()),
              "read past 23 packed primitives, 71 open curves");
    counts.packed = 1;
    counts.shortPolygons = 2;
    counts.other = 1;
    EXPECT_EQ(std::string(readPastLine(counts).asChar()),
              "read past 1 packed primitive, 71 open curves, 2 polygons of fewer than 3 "
              "vertices, 1 other primitive");
}

ClassicFile houdiniParticles() {
    ClassicFile f;
    f.positions = {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}};
    f.pointAttrs.push_back({"v", true, {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}});
    f.pointAttrs.push_back({"Cd", true, {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}});
    f.pointAttrs.push_back({"pscale", false, {{0.1f, 0, 0}, {0.2f, 0, 0}, {0.3f, 0, 0}}});
    f.pointAttrs.push_back({"Alpha", false, {{1, 0, 0}, {0.5f, 0, 0}, {0, 0, 0}}});
    f.pointAttrs.push_back({"life", false, {{4, 0, 0}, {5, 0, 0}, {6, 0, 0}}});
    f.pointAttrs.push_back({"force", true, {{0, -9.8f, 0}, {0, -9.8f, 0}, {0, -9.8f, 0}}});
    f.pointAttrs.push_back({"temperature", false, {{20, 0, 0}, {21, 0, 0}, {22, 0, 0}}});
    return f;
}

std::set<std::string> namesOf(const kt::ChannelSnapshot &c) {
    std::set<std::string> names;
    for (const auto &e : c.vectors)
        names.insert(e.first);
    for (const auto &e : c.doubles)
        names.insert(e.first);
    return names;
}

TEST_F(Fidelity, MayaChannelsRenamesParticleChannels) {
    const std::string path = file("pop.bgeo");
    ASSERT_TRUE(houdiniParticles().write(path));
    const std::string reader = createReader(path);
    EXPECT_FALSE(kt::getBool(reader + ".mayaChannels"));
    EXPECT_EQ(namesOf(kt::particles(reader + ".outParticles")),
              (std::set<std::string>{"position", "v", "Cd", "pscale", "Alpha", "life", "force",
                                     "temperature"}));

    ASSERT_TRUE(kt::setBool(reader + ".mayaChannels", true));
    const kt::ChannelSnapshot c = kt::particles(reader + ".outParticles");
    EXPECT_EQ(namesOf(c),
              (std::set<std::string>{"position", "velocity", "rgbPP", "radiusPP", "opacityPP",
                                     "lifespanPP", "acceleration", "temperature"}));
    ASSERT_EQ(c.vectors.count("rgbPP"), 1u);
    EXPECT_EQ(c.vectors.at("rgbPP")[1], MVector(0, 1, 0));
    ASSERT_EQ(c.doubles.count("opacityPP"), 1u);
    EXPECT_EQ(c.doubles.at("opacityPP"), (std::vector<double>{1.0, 0.5, 0.0}));
    EXPECT_EQ(c.doubles.at("radiusPP")[2], static_cast<double>(0.3f));
    EXPECT_EQ(c.doubles.at("lifespanPP"), (std::vector<double>{4, 5, 6}));
}

// A Houdini particle file's integer "id" becomes the double channel
// "particleId" with mayaChannels on, and no channel with it off.
TEST_F(Fidelity, IntegerIdBecomesParticleId) {
#ifndef KELP_FIXTURES_CLASSIC
    GTEST_SKIP() << "no fixture folder configured";
#else
    const std::string path =
        std::string(KELP_FIXTURES_CLASSIC) + "/cortex_v1_particleTest.0004.bgeo";
    if (!fileExists(path))
        GTEST_SKIP() << "fixture absent: " << path;
    Kelp geo;
    ASSERT_EQ(geo.loadBgeo(path), 1);
    const std::int32_t id = geo.attrExists("id", "POINT");
    if (id < 0 || geo.getPointAttributes()[id].type != 1)
        GTEST_SKIP() << "no integer id in " << path;
    const std::vector<std::int32_t> &ids = geo.getPointAttributes()[id].int_data;
    const std::string reader = createReader(path);
    EXPECT_EQ(namesOf(kt::particles(reader + ".outParticles")).count("particleId"), 0u);
    ASSERT_TRUE(kt::setBool(reader + ".mayaChannels", true));
    const kt::ChannelSnapshot c = kt::particles(reader + ".outParticles");
    ASSERT_EQ(c.doubles.count("particleId"), 1u);
    const std::vector<double> &got = c.doubles.at("particleId");
    ASSERT_EQ(got.size(), geo.getNumPoints());
    for (std::size_t p = 0; p < got.size(); ++p)
        EXPECT_EQ(got[p], static_cast<double>(ids[p])) << p;
    EXPECT_EQ(c.vectors.count("position"), 1u);
#endif
}

// A missing frame empties the particles (and cleans the output); with
// "holdLast" the last frame read stays, and the user is told which.
TEST_F(Fidelity, MissingParticleFrameIsEmptyUnlessHeld) {
    ASSERT_TRUE(houdiniParticles().write(file("pop.0001.bgeo")));
    const std::string reader = createReader(file("pop.$F4.bgeo"));
    ASSERT_TRUE(kt::setDouble(reader + ".frame", 1.0));
    EXPECT_EQ(kt::particles(reader + ".outParticles").vectors.at("position").size(), 3u);

    ::testing::internal::CaptureStdout();
    ASSERT_TRUE(kt::setDouble(reader + ".frame", 2.0));
    const kt::ChannelSnapshot empty = kt::particles(reader + ".outParticles");
    ::testing::internal::GetCapturedStdout();
    EXPECT_TRUE(empty.valid);
    EXPECT_TRUE(namesOf(empty).empty());
    EXPECT_FALSE(kt::isDirty(reader + ".outParticles"));

    ASSERT_TRUE(kt::setInt(reader + ".missingFrame", 1));
    ASSERT_TRUE(kt::setInt(reader + ".verbosity", 1));
    ASSERT_TRUE(kt::setDouble(reader + ".frame", 1.0));
    kt::particles(reader + ".outParticles");
    kt::clearMessages();
    ::testing::internal::CaptureStdout();
    ASSERT_TRUE(kt::setDouble(reader + ".frame", 2.0));
    const kt::ChannelSnapshot held = kt::particles(reader + ".outParticles");
    ::testing::internal::GetCapturedStdout();
    ASSERT_EQ(held.vectors.count("position"), 1u);
    EXPECT_EQ(held.vectors.at("position").size(), 3u);
    EXPECT_EQ(kt::infos(), (std::vector<std::string>{"holding frame 1 for frame 2 (" +
                                                     file("pop.0002.bgeo") + ")"}));
}

TEST_F(Fidelity, MissingMeshFrameHeldWithHoldLast) {
    ASSERT_TRUE(twoTriangles().write(file("tri.0001.bgeo")));
    const std::string reader = createReader(file("tri.$F4.bgeo"));
    ASSERT_TRUE(kt::setInt(reader + ".missingFrame", 1));
    ASSERT_TRUE(kt::setDouble(reader + ".frame", 1.0));
    EXPECT_EQ(kt::mesh(reader + ".outMesh").polygonCounts.size(), 2u);
    ASSERT_TRUE(kt::setDouble(reader + ".frame", 2.0));
    const kt::MeshSnapshot held = kt::mesh(reader + ".outMesh");
    EXPECT_EQ(held.polygonCounts.size(), 2u);
    EXPECT_EQ(held.uvSets[0].u.size(), 4u);
    // Another sequence's missing frame does not show this one's.
    ASSERT_TRUE(kt::setString(reader + ".bgeoPath", file("other.$F4.bgeo")));
    EXPECT_TRUE(kt::mesh(reader + ".outMesh").polygonCounts.empty());
    ASSERT_TRUE(kt::setString(reader + ".bgeoPath", file("tri.$F4.bgeo")));
    EXPECT_EQ(kt::mesh(reader + ".outMesh").polygonCounts.size(), 2u);
    // Back to "empty": the missing frame shows nothing.
    ASSERT_TRUE(kt::setInt(reader + ".missingFrame", 0));
    EXPECT_TRUE(kt::mesh(reader + ".outMesh").polygonCounts.empty());
}

// Houdini's vertex normals on a hard-edged model come back out per vertex,
// in the file's own order and sign, rather than averaged per point.
TEST_F(Fidelity, RealFileVertexNormalsSurviveARoundTrip) {
#ifndef KELP_FIXTURES_JSON
    GTEST_SKIP() << "no fixture folder configured";
#else
    const std::string path = std::string(KELP_FIXTURES_JSON) + "/labs_trim_texture_h185.bgeo.sc";
    if (!fileExists(path))
        GTEST_SKIP() << "fixture absent: " << path;
    Kelp original;
    ASSERT_EQ(original.loadBgeo(path), 1);
    const std::int32_t n = original.attrExists("N", "VERTEX");
    ASSERT_GE(n, 0);
    for (const PolygonData &poly : original.getPolygons())
        ASSERT_GE(poly.ids.size(), 3u) << "the check below needs every polygon kept";

    const std::string reader = createReader(path);
    const std::string writer = createNode("KelpWriterNode", "writer");
    connect(reader + ".outMesh", writer + ".inMesh");
    const std::string out = file("trim.bgeo");
    ASSERT_TRUE(kt::setString(writer + ".bgeoPath", out));
    ASSERT_TRUE(kt::setBool(writer + ".write", true));
    ASSERT_TRUE(kt::setInt(writer + ".verbosity", 0));
    pullWriter(writer);

    Kelp written;
    ASSERT_EQ(written.loadBgeo(out), 1);
    EXPECT_LT(written.attrExists("N", "POINT"), 0);
    const std::int32_t wn = written.attrExists("N", "VERTEX");
    ASSERT_GE(wn, 0);
    const std::vector<Imath::V3f> &before = original.getVertexAttributes()[n].vector_data;
    const std::vector<Imath::V3f> &after = written.getVertexAttributes()[wn].vector_data;
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t k = 0; k < before.size(); ++k) {
        const Imath::V3f expected = before[k].normalized();
        ASSERT_NEAR(after[k].x, expected.x, 1e-5) << k;
        ASSERT_NEAR(after[k].y, expected.y, 1e-5) << k;
        ASSERT_NEAR(after[k].z, expected.z, 1e-5) << k;
    }
#endif
}

} // namespace
} // namespace kelptest
