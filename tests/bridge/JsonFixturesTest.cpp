// Every real JSON geometry file shows in the reader node: the mesh with the
// file's points, polygons (reversed, as invertNormals is on by default),
// normals and UVs, and the particle output with every point.
#include "HostFixture.h"

#include <Kelp>

#include <maya/MFnMesh.h>
#include <maya/MObject.h>
#include <maya/MVector.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>

namespace kelptest {
namespace {

const int kVectorType = 5;

bool isJsonGeometryName(const std::string &name) {
    auto endsWith = [&](const std::string &tail) {
        return name.size() > tail.size() &&
               name.compare(name.size() - tail.size(), tail.size(), tail) == 0;
    };
    return endsWith(".bgeo") || endsWith(".bgeo.sc") || endsWith(".bgeo.gz");
}

// What the notes on the files say they hold: points (-1: not stated),
// polygons, and the size of every polygon (0: mixed).
struct Stated {
    int points;
    int polygons;
    int polygonSize;
};
const std::map<std::string, Stated> kStated = {
    {"splish_box_h195.bgeo.gz", {8, 6, 4}},
    {"splish_cruiser_h195.bgeo", {-1, 2875, 3}},
    {"splish_cruiser_h195.bgeo.sc", {-1, 2875, 3}},
    {"labs_uv_visualize_4chunks_h185.bgeo.sc", {33210, 31826, 4}},
    {"labs_extract_silhouette_ngon_h185.bgeo.sc", {-1, 1, 451}},
};

const AttributeData *usable(const Kelp &geo, const char *name, const char *table,
                            std::size_t count) {
    const int index = geo.attrExists(name, table);
    if (index < 0 || count == 0)
        return nullptr;
    const AttributeData &a = std::string(table) == "POINT" ? geo.getPointAttributes()[index]
                                                           : geo.getVertexAttributes()[index];
    return a.type == kVectorType && a.vector_data.size() >= count ? &a : nullptr;
}

// The host keeps normals of unit length; a zero normal is not compared.
bool unitNear(const MVector &got, const Imath::V3f &file, const std::string &what) {
    MVector want(file.x, file.y, file.z);
    if (want.length() < 1e-6)
        return true;
    want.normalize();
    const bool near = std::fabs(got.x - want.x) < 1e-5 && std::fabs(got.y - want.y) < 1e-5 &&
                      std::fabs(got.z - want.z) < 1e-5;
    EXPECT_TRUE(near) << what << ": host (" << got.x << ", " << got.y << ", " << got.z
                      << "), file (" << want.x << ", " << want.y << ", " << want.z << ")";
    return near;
}

bool repeatsAPoint(const PolygonIds &ids) {
    std::vector<std::uint32_t> sorted(ids.begin(), ids.end());
    std::sort(sorted.begin(), sorted.end());
    return std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end();
}

class JsonFixtures : public HostScene {
protected:
    int m_faceVertexNormalFiles = 0;
    int m_pointUvFiles = 0;

    void checkFile(const std::string &path, const std::string &name, int index);
};

void JsonFixtures::checkFile(const std::string &path, const std::string &name, int index) {
    SCOPED_TRACE(name);
    Kelp geo;
    ::testing::internal::CaptureStderr();
    const int loaded = geo.loadBgeo(path);
    const std::string err = ::testing::internal::GetCapturedStderr();
    ASSERT_EQ(loaded, 1) << err;
    const std::vector<AttributeData> &pointAttrs = geo.getPointAttributes();
    ASSERT_FALSE(pointAttrs.empty());
    ASSERT_EQ(pointAttrs[0].type, kVectorType);
    const std::size_t points =
        std::min<std::size_t>(geo.getNumPoints(), pointAttrs[0].vector_data.size());
    const std::vector<PolygonData> &polys = geo.getPolygons();
    ASSERT_GT(points, 0u);

    const auto stated = kStated.find(name);
    if (stated != kStated.end()) {
        if (stated->second.points >= 0) {
            EXPECT_EQ(points, static_cast<std::size_t>(stated->second.points));
        }
        EXPECT_EQ(polys.size(), static_cast<std::size_t>(stated->second.polygons));
        for (const PolygonData &poly : polys) {
            if (stated->second.polygonSize > 0) {
                ASSERT_EQ(poly.ids.size(), static_cast<std::size_t>(stated->second.polygonSize));
            }
        }
    }

    const std::string reader = createNode("KelpReaderNode", "jsonReader" + std::to_string(index));
    ASSERT_TRUE(kt::setString(reader + ".bgeoPath", path));
    ASSERT_TRUE(kt::setInt(reader + ".verbosity", 0));

    // Particles: every point of the file, at its position (packed pieces
    // are one particle each, at their point, and are not expanded).
    Kelp particles;
    particles.setLoadFor(KelpLoadFor::Particles);
    ::testing::internal::CaptureStderr();
    ASSERT_EQ(particles.loadBgeo(path), 1) << ::testing::internal::GetCapturedStderr();
    ::testing::internal::GetCapturedStderr();
    const kt::ChannelSnapshot channels = kt::particles(reader + ".outParticles");
    ASSERT_TRUE(channels.valid);
    ASSERT_EQ(channels.vectors.count("position"), 1u);
    const std::vector<MVector> &position = channels.vectors.at("position");
    ASSERT_EQ(position.size(), particles.getNumPoints());
    // The file's own points come first in the mesh's model too.
    ASSERT_LE(position.size(), points);
    for (std::size_t p = 0; p < position.size(); ++p) {
        const Imath::V3f &q = pointAttrs[0].vector_data[p];
        ASSERT_EQ(position[p], MVector(q.x, q.y, q.z)) << "particle " << p;
    }

    // The mesh: points, polygons reversed.
    const kt::MeshSnapshot mesh = kt::mesh(reader + ".outMesh");
    ASSERT_TRUE(mesh.valid);
    EXPECT_TRUE(kt::errors().empty());
    EXPECT_TRUE(kt::perrors().empty());
    ASSERT_EQ(mesh.points.size(), points);
    for (std::size_t p = 0; p < points; ++p) {
        const Imath::V3f &q = pointAttrs[0].vector_data[p];
        ASSERT_TRUE(mesh.points[p] == MPoint(q.x, q.y, q.z)) << "point " << p;
    }
    ASSERT_EQ(mesh.polygonCounts.size(), polys.size());
    std::vector<int> connects;
    std::vector<std::size_t> fileVertex;
    std::size_t start = 0;
    for (std::size_t f = 0; f < polys.size(); ++f) {
        const PolygonIds &ids = polys[f].ids;
        ASSERT_EQ(mesh.polygonCounts[f], static_cast<int>(ids.size())) << "polygon " << f;
        for (std::size_t v = 0; v < ids.size(); ++v) {
            connects.push_back(static_cast<int>(ids[ids.size() - 1 - v]));
            fileVertex.push_back(start + ids.size() - 1 - v);
        }
        start += ids.size();
    }
    ASSERT_EQ(mesh.polygonConnects, connects);
    if (polys.empty())
        return;

    // UVs: vertex "uv" per file vertex, else point "uv" through the point.
    const AttributeData *vertexUv = usable(geo, "uv", "VERTEX", connects.size());
    const AttributeData *pointUv = usable(geo, "uv", "POINT", points);
    if (vertexUv || pointUv) {
        m_pointUvFiles += vertexUv ? 0 : 1;
        const std::vector<std::array<float, 2>> uvs = faceVertexUvs(mesh, mesh.currentUVSet);
        ASSERT_EQ(uvs.size(), connects.size());
        for (std::size_t k = 0; k < connects.size(); ++k) {
            const Imath::V3f &uv =
                vertexUv ? vertexUv->vector_data[fileVertex[k]] : pointUv->vector_data[connects[k]];
            ASSERT_EQ(uvs[k][0], uv.x) << "face-vertex " << k;
            ASSERT_EQ(uvs[k][1], uv.y) << "face-vertex " << k;
        }
    }

    // Normals: point "N" per point, else vertex "N" per face-vertex.
    const AttributeData *pointN = usable(geo, "N", "POINT", points);
    const AttributeData *vertexN = usable(geo, "N", "VERTEX", connects.size());
    if (pointN) {
        for (std::size_t p = 0; p < points; ++p) {
            ASSERT_TRUE(mesh.vertexNormalSet[p]) << "point " << p;
            if (!unitNear(mesh.vertexNormals[p], pointN->vector_data[p],
                          "point " + std::to_string(p)))
                return;
        }
    } else if (vertexN) {
        ++m_faceVertexNormalFiles;
        MObject data;
        ASSERT_TRUE(kt::plug(reader + ".outMesh").getValue(data));
        MFnMesh fn(data);
        std::size_t k = 0;
        for (std::size_t f = 0; f < polys.size(); ++f) {
            const bool ambiguous = repeatsAPoint(polys[f].ids);
            for (std::size_t v = 0; v < polys[f].ids.size(); ++v, ++k) {
                if (ambiguous)
                    continue; // the host names a face-vertex by (face, point)
                MVector n;
                ASSERT_TRUE(fn.getFaceVertexNormal(static_cast<int>(f), connects[k], n));
                if (!unitNear(n, vertexN->vector_data[fileVertex[k]],
                              "face-vertex " + std::to_string(k)))
                    return;
            }
        }
    }
}

TEST_F(JsonFixtures, EveryFileShowsInTheReader) {
#ifndef KELP_FIXTURES_JSON
    GTEST_SKIP() << "no fixture folder configured";
#else
    const std::filesystem::path dir(KELP_FIXTURES_JSON);
    std::error_code ec;
    if (!std::filesystem::is_directory(dir, ec))
        GTEST_SKIP() << "fixture folder absent: " << dir;
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(dir, ec))
        if (entry.is_regular_file() && isJsonGeometryName(entry.path().filename().string()))
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    ASSERT_FALSE(names.empty());
    bool cruiser = false;
    for (std::size_t i = 0; i < names.size(); ++i) {
        checkFile((dir / names[i]).string(), names[i], static_cast<int>(i));
        cruiser = cruiser || names[i] == "splish_cruiser_h195.bgeo";
    }
    // The cruiser carries vertex "N" with point "uv": both forms were seen.
    if (cruiser) {
        EXPECT_GE(m_faceVertexNormalFiles, 1);
        EXPECT_GE(m_pointUvFiles, 1);
    }
#endif
}

} // namespace
} // namespace kelptest
