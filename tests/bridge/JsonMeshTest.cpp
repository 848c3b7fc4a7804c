// The reader node on JSON geometry in the forms Houdini writes today: vertex
// "N" arrives as face-vertex normals and point "uv" as per-face-vertex UVs
// through each vertex's point, each face-vertex keeping its own values in
// both winding modes.
#include "HostFixture.h"

#include "JsonBytes.h"

#include <maya/MFnMesh.h>
#include <maya/MObject.h>
#include <maya/MVector.h>

#include <cmath>
#include <fstream>

namespace kelptest {
namespace {

// A quad (0 1 2 3) and a triangle (1 4 2) sharing an edge: 5 points, 7
// vertices, so per-point and per-vertex values cannot be told apart by count.
const std::vector<std::array<float, 3>> kPoints = {{0.0f, 0.0f, 0.0f},
                                                   {2.0f, 0.0f, 0.25f},
                                                   {2.5f, 1.5f, 0.0f},
                                                   {-0.5f, 1.0f, 0.125f},
                                                   {3.5f, 0.5f, -0.5f}};
const std::vector<std::vector<int>> kPolygons = {{0, 1, 2, 3}, {1, 4, 2}};

// Unit normals, a different direction on every file vertex, none of them a
// face normal of the mesh.
std::array<float, 3> fileNormal(int vertex) {
    const double a = 0.4 * vertex + 0.1;
    return {static_cast<float>(0.6 * std::cos(a)), static_cast<float>(0.6 * std::sin(a)), 0.8f};
}
std::array<float, 2> pointUv(int point) {
    return {0.125f + 0.0625f * static_cast<float>(point),
            1.0f - 0.1875f * static_cast<float>(point)};
}

float vertexU(int vertex) {
    return 0.5f + 0.01f * static_cast<float>(vertex);
}

struct JsonMesh {
    bool vertexNormals = true;
    bool pointUvs = true;
    bool pointNormals = false; // (0, 0, 1) on every point
    bool vertexUvs = false;    // (0.5 + 0.01 k, 0.25) on vertex k
};

Bytes jsonMesh(const JsonMesh &m) {
    std::vector<std::int32_t> topology;
    for (const std::vector<int> &poly : kPolygons)
        topology.insert(topology.end(), poly.begin(), poly.end());
    const int vertices = static_cast<int>(topology.size());
    JsonBytes j;
    documentHead(j, static_cast<int>(kPoints.size()), topology, static_cast<int>(kPolygons.size()));
    j.key("attributes").arr();
    j.key("vertexattributes").arr();
    if (m.vertexNormals) {
        std::vector<float> n;
        for (int k = 0; k < vertices; ++k) {
            const std::array<float, 3> v = fileNormal(k);
            n.insert(n.end(), v.begin(), v.end());
        }
        numericAttribute(j, "N", 3, n);
    }
    if (m.vertexUvs) {
        std::vector<float> uv;
        for (int k = 0; k < vertices; ++k)
            uv.insert(uv.end(), {vertexU(k), 0.25f, 0.0f});
        numericAttribute(j, "uv", 3, uv);
    }
    j.end();
    j.key("pointattributes").arr();
    std::vector<float> p;
    for (const std::array<float, 3> &q : kPoints)
        p.insert(p.end(), q.begin(), q.end());
    numericAttribute(j, "P", 3, p);
    if (m.pointUvs) {
        std::vector<float> uv;
        for (std::size_t i = 0; i < kPoints.size(); ++i) {
            const std::array<float, 2> v = pointUv(static_cast<int>(i));
            uv.insert(uv.end(), v.begin(), v.end());
        }
        numericAttribute(j, "uv", 2, uv);
    }
    if (m.pointNormals) {
        std::vector<float> n;
        for (std::size_t i = 0; i < kPoints.size(); ++i)
            n.insert(n.end(), {0.0f, 0.0f, 1.0f});
        numericAttribute(j, "N", 3, n);
    }
    j.end();
    j.end();
    j.key("primitives").arr();
    polygonRun(j, 0, 1, 4);
    polygonRun(j, 4, 1, 3);
    j.end();
    j.end();
    return j.bytes();
}

bool writeBytes(const std::string &path, const Bytes &bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char *>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

// The host mesh in the reader's outMesh, through the host's own function set.
MObject outMeshData(const std::string &reader) {
    MObject data;
    EXPECT_TRUE(kt::plug(reader + ".outMesh").getValue(data));
    return data;
}

class JsonMeshRead : public HostScene, public ::testing::WithParamInterface<bool> {
protected:
    std::string readerOn(const JsonMesh &m) {
        const std::string path = file("json_mesh.bgeo");
        EXPECT_TRUE(writeBytes(path, jsonMesh(m)));
        const std::string reader = createReader(path);
        EXPECT_TRUE(kt::setBool(reader + ".invertNormals", GetParam()));
        return reader;
    }
};

TEST_P(JsonMeshRead, VertexNormalsAndPointUvsReachTheirFaceVertices) {
    const bool invert = GetParam();
    const std::string reader = readerOn(JsonMesh());
    const kt::MeshSnapshot mesh = kt::mesh(reader + ".outMesh");
    ASSERT_TRUE(mesh.valid);
    EXPECT_TRUE(kt::errors().empty());
    EXPECT_TRUE(kt::perrors().empty());

    // Winding follows the mode; the file's (face, file vertex) of each host
    // face-vertex is what the values must follow.
    std::vector<int> connects;
    std::vector<int> fileVertex;
    int start = 0;
    for (const std::vector<int> &poly : kPolygons) {
        const int n = static_cast<int>(poly.size());
        for (int v = 0; v < n; ++v) {
            const int j = invert ? n - 1 - v : v;
            connects.push_back(poly[static_cast<std::size_t>(j)]);
            fileVertex.push_back(start + j);
        }
        start += n;
    }
    ASSERT_EQ(mesh.polygonConnects, connects);
    ASSERT_EQ(mesh.points.size(), kPoints.size());

    // UVs: each face-vertex has the UV of its point.
    const std::vector<std::array<float, 2>> uvs = faceVertexUvs(mesh, mesh.currentUVSet);
    ASSERT_EQ(uvs.size(), connects.size());
    for (std::size_t k = 0; k < connects.size(); ++k)
        EXPECT_EQ(uvs[k], pointUv(connects[k])) << "face-vertex " << k;

    // Normals: per face-vertex, the file vertex's own, kept with invertNormals
    // and negated without it; no per-point normal is set.
    const double sign = invert ? 1.0 : -1.0;
    MFnMesh fn(outMeshData(reader));
    std::size_t k = 0;
    for (std::size_t f = 0; f < kPolygons.size(); ++f) {
        for (std::size_t v = 0; v < kPolygons[f].size(); ++v, ++k) {
            MVector n;
            ASSERT_TRUE(fn.getFaceVertexNormal(static_cast<int>(f), connects[k], n));
            const std::array<float, 3> expected = fileNormal(fileVertex[k]);
            EXPECT_NEAR(n.x, sign * expected[0], 1e-6) << "face-vertex " << k;
            EXPECT_NEAR(n.y, sign * expected[1], 1e-6) << "face-vertex " << k;
            EXPECT_NEAR(n.z, sign * expected[2], 1e-6) << "face-vertex " << k;
        }
    }
    for (std::size_t p = 0; p < mesh.vertexNormalSet.size(); ++p)
        EXPECT_FALSE(mesh.vertexNormalSet[p]) << "point " << p;
}

// Point "N" stays the mesh's normals and vertex "uv" its UVs when a file
// carries both forms.
TEST_P(JsonMeshRead, PointNormalsAndVertexUvsComeFirst) {
    JsonMesh m;
    m.pointNormals = true;
    m.vertexUvs = true;
    const std::string reader = readerOn(m);
    const kt::MeshSnapshot mesh = kt::mesh(reader + ".outMesh");
    ASSERT_TRUE(mesh.valid);
    EXPECT_TRUE(kt::perrors().empty());
    const double z = GetParam() ? 1.0 : -1.0;
    ASSERT_EQ(mesh.vertexNormals.size(), kPoints.size());
    for (std::size_t p = 0; p < kPoints.size(); ++p) {
        EXPECT_TRUE(mesh.vertexNormalSet[p]) << "point " << p;
        EXPECT_EQ(mesh.vertexNormals[p], MVector(0.0, 0.0, z)) << "point " << p;
    }
    const std::vector<std::array<float, 2>> uvs = faceVertexUvs(mesh, mesh.currentUVSet);
    ASSERT_EQ(uvs.size(), 7u);
    // The quad's first host face-vertex is file vertex 0 or, reversed, 3.
    EXPECT_EQ(uvs[0][0], vertexU(GetParam() ? 3 : 0));
    EXPECT_EQ(uvs[0][1], 0.25f);
}

// Without normals or UVs in the file the mesh still comes, with none set.
TEST_P(JsonMeshRead, NeitherFormGivesBareMesh) {
    JsonMesh m;
    m.vertexNormals = false;
    m.pointUvs = false;
    const kt::MeshSnapshot mesh = kt::mesh(readerOn(m) + ".outMesh");
    ASSERT_TRUE(mesh.valid);
    EXPECT_EQ(mesh.polygonCounts, (std::vector<int>{4, 3}));
    EXPECT_TRUE(kt::perrors().empty());
    for (const kt::UVSet &set : mesh.uvSets)
        for (int id : set.faceUVIds)
            EXPECT_EQ(id, -1);
}

// The detail listing shows one normal and one UV line per face-vertex.
TEST_P(JsonMeshRead, DetailListingHasEveryFaceVertex) {
    const std::string reader = readerOn(JsonMesh());
    ASSERT_TRUE(kt::setInt(reader + ".verbosity", 2));
    ASSERT_TRUE(kt::mesh(reader + ".outMesh").valid);
    const std::vector<std::string> infos = kt::infos();
    ASSERT_EQ(infos.size(), 1u);
    auto count = [&](const std::string &what) {
        int n = 0;
        for (std::size_t at = infos[0].find(what); at != std::string::npos;
             at = infos[0].find(what, at + 1))
            ++n;
        return n;
    };
    EXPECT_EQ(count("  Normal id: "), 7);
    EXPECT_EQ(count("  UV id: "), 7);
}

INSTANTIATE_TEST_SUITE_P(Winding, JsonMeshRead, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool> &info) {
                             return std::string(info.param ? "InvertNormals" : "KeepWinding");
                         });

// A sphere (primitive 0, read past), then the quad and the triangle
// (primitives 1 and 2), with primitive "Cd" and "Alpha": the colour set
// "Cd" shows on every face-vertex of a face its primitive's colour, not its
// neighbour's, in both winding modes.
Bytes primitiveColourMesh() {
    std::vector<std::int32_t> topology{0};
    for (const std::vector<int> &poly : kPolygons)
        topology.insert(topology.end(), poly.begin(), poly.end());
    JsonBytes j;
    documentHead(j, static_cast<int>(kPoints.size()), topology, 3);
    j.key("attributes").arr().key("pointattributes").arr();
    std::vector<float> p;
    for (const std::array<float, 3> &q : kPoints)
        p.insert(p.end(), q.begin(), q.end());
    numericAttribute(j, "P", 3, p).end();
    j.key("primitiveattributes").arr();
    numericAttribute(j, "Cd", 3, {0.5f, 0.5f, 0.5f, 1.0f, 0.25f, 0.0f, 0.0f, 0.75f, 1.0f});
    numericAttribute(j, "Alpha", 1, {0.125f, 0.5f, 1.0f});
    j.end().end();
    j.key("primitives").arr();
    j.arr().arr().key("type").str("Sphere").end();
    j.arr().key("vertex").i8(0).key("transform").uf32({1, 0, 0, 0, 1, 0, 0, 0, 1}).end().end();
    polygonRun(j, 1, 1, 4);
    polygonRun(j, 5, 1, 3);
    j.end();
    j.end();
    return j.bytes();
}

using PrimitiveColourRead = HostScene;

TEST_F(PrimitiveColourRead, EachFaceShowsItsPrimitivesColour) {
    const std::string path = file("prim_cd.bgeo");
    ASSERT_TRUE(writeBytes(path, primitiveColourMesh()));
    const std::array<float, 4> faceColour[] = {{1.0f, 0.25f, 0.0f, 0.5f},
                                               {0.0f, 0.75f, 1.0f, 1.0f}};
    for (bool invert : {true, false}) {
        SCOPED_TRACE(invert ? "invertNormals" : "keep winding");
        const std::string reader = createReader(path);
        ASSERT_TRUE(kt::setBool(reader + ".invertNormals", invert));
        const kt::MeshSnapshot mesh = kt::mesh(reader + ".outMesh");
        ASSERT_TRUE(mesh.valid);
        EXPECT_TRUE(kt::perrors().empty());
        ASSERT_EQ(mesh.polygonCounts, (std::vector<int>{4, 3}));
        ASSERT_EQ(mesh.colorSets.size(), 1u);
        const kt::ColorSet &cd = mesh.colorSets[0];
        EXPECT_EQ(cd.name, "Cd");
        EXPECT_EQ(mesh.currentColorSet, "Cd");
        ASSERT_EQ(cd.faceColorIds.size(), 7u);
        for (std::size_t fv = 0; fv < 7; ++fv) {
            const int id = cd.faceColorIds[fv];
            ASSERT_GE(id, 0) << fv;
            EXPECT_EQ(cd.colors[static_cast<std::size_t>(id)], faceColour[fv < 4 ? 0 : 1]) << fv;
        }
    }
}

} // namespace
} // namespace kelptest
