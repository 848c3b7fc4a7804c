// The real Houdini-written files of the JSON-based format (skipped when the
// folder is absent): counts, attribute names and kinds, sample values,
// polygons, the pairs that hold the same geometry in two containers, and the
// text (.geo) files next to their binary twins.
#include "JsonLoadHelpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

using namespace kelptest;

namespace {

std::string fixture(const std::string &name) {
    return std::string(KELP_FIXTURES_JSON) + "/" + name;
}

bool haveFixtures() {
    struct stat info;
    return stat(KELP_FIXTURES_JSON, &info) == 0;
}

#define REQUIRE_JSON_FIXTURES()                                                                    \
    do {                                                                                           \
        if (!haveFixtures())                                                                       \
            GTEST_SKIP() << "no fixtures at " << KELP_FIXTURES_JSON;                               \
    } while (0)

// Loads through the public entry point, by path.
struct FileLoad {
    explicit FileLoad(const std::string &path) {
        testing::internal::CaptureStderr();
        result = k.loadBgeo(path);
        err = testing::internal::GetCapturedStderr();
    }
    Kelp k;
    int result = -1;
    std::string err;
};

// "name:type:size" of each attribute, in order.
std::vector<std::string> kinds(const std::vector<AttributeData> &attributes) {
    std::vector<std::string> out;
    for (const AttributeData &a : attributes)
        out.push_back(a.name + ":" + std::to_string(a.type) + ":" + std::to_string(a.size));
    return out;
}

// Values as printed with six digits.
void expectNear(const Imath::Vec3<float> &v, float x, float y, float z) {
    EXPECT_NEAR(v.x, x, 1e-5f * (1 + std::fabs(x)));
    EXPECT_NEAR(v.y, y, 1e-5f * (1 + std::fabs(y)));
    EXPECT_NEAR(v.z, z, 1e-5f * (1 + std::fabs(z)));
}

typedef std::vector<std::string> Names;
typedef std::vector<std::uint32_t> Ids;

void expectSameModel(const Kelp &a, const Kelp &b) {
    EXPECT_EQ(a.getNumPoints(), b.getNumPoints());
    EXPECT_EQ(a.getNumVerts(), b.getNumVerts());
    EXPECT_EQ(a.getNumPointAttrs(), b.getNumPointAttrs());
    EXPECT_EQ(a.getNumVertexAttrs(), b.getNumVertexAttrs());
    EXPECT_EQ(a.getNumPrimAttrs(), b.getNumPrimAttrs());
    EXPECT_EQ(a.getNumAttrs(), b.getNumAttrs());
    EXPECT_EQ(a.getNumPointGroups(), b.getNumPointGroups());
    EXPECT_EQ(a.getNumPrims(), b.getNumPrims());
    EXPECT_EQ(a.getNumPrimGroups(), b.getNumPrimGroups());
    ASSERT_EQ(a.getPolygons().size(), b.getPolygons().size());
    for (std::size_t p = 0; p < a.getPolygons().size(); ++p)
        ASSERT_EQ(a.getPolygons()[p].ids, b.getPolygons()[p].ids) << p;
    for (int cls = 0; cls < 2; ++cls) {
        const std::vector<AttributeData> &x =
            cls ? a.getVertexAttributes() : a.getPointAttributes();
        const std::vector<AttributeData> &y =
            cls ? b.getVertexAttributes() : b.getPointAttributes();
        ASSERT_EQ(kinds(x), kinds(y));
        for (std::size_t i = 0; i < x.size(); ++i) {
            EXPECT_EQ(x[i].float_data, y[i].float_data) << x[i].name;
            EXPECT_EQ(x[i].int_data, y[i].int_data) << x[i].name;
            EXPECT_EQ(x[i].vector_data, y[i].vector_data) << x[i].name;
        }
    }
}

} // namespace

TEST(JsonFixtures, QuadMeshWithVertexNormalsAndUVs) {
    KELP_NEEDS_BLOSC();
    REQUIRE_JSON_FIXTURES();
    FileLoad f(fixture("labs_trim_texture_h185.bgeo.sc"));
    ASSERT_EQ(f.result, 1) << f.err;
    EXPECT_EQ(f.err, "");
    const Kelp &k = f.k;
    EXPECT_EQ(k.getNumPoints(), 64u);
    EXPECT_EQ(k.getNumPrims(), 48u);
    EXPECT_EQ(k.getNumPolys(), 48u);
    EXPECT_EQ(k.getNumVerts(), 192u);
    EXPECT_EQ(k.getNumPrimAttrs(), 1u);
    EXPECT_EQ(k.getNumPrimGroups(), 1u);
    EXPECT_EQ(kinds(k.getPointAttributes()), Names{"P:5:4"});
    EXPECT_EQ(kinds(k.getVertexAttributes()), (Names{"N:5:3", "uv:5:3"}));
    EXPECT_EQ(pointsOf(k, 0), (Ids{1, 5, 4, 0}));
    for (const PolygonData &p : k.getPolygons())
        EXPECT_EQ(p.numberOfVertices, 4u);
    expectNear(k.getPolyVertexPosValue(0, 0), -5.3762f, -0.040486f, -5.02251f);
    expectNear(k.getVertexAttrVectorValue(0, 0), 0.0f, 0.0f, -1.0f);
    expectNear(k.getVertexAttrVectorValue(1, 0), -8.45282f, 0.388236f, 0.0f);
    EXPECT_EQ(k.getVertexAttributes()[1].vector_data.size(), 192u);
}

TEST(JsonFixtures, MixedPolygonSizesFromRunLengthCounts) {
    KELP_NEEDS_BLOSC();
    REQUIRE_JSON_FIXTURES();
    FileLoad f(fixture("labs_cylinder_generator_h185.bgeo.sc"));
    ASSERT_EQ(f.result, 1) << f.err;
    const Kelp &k = f.k;
    ASSERT_EQ(k.getNumPolys(), 58u); // r_v [4,56,8,2]
    EXPECT_EQ(k.getNumPolyVerts(55), 4u);
    EXPECT_EQ(k.getNumPolyVerts(56), 8u);
    EXPECT_EQ(k.getNumPolyVerts(57), 8u);
    EXPECT_EQ(k.getNumVerts(), 240u);
    EXPECT_EQ(pointsOf(k, 0), (Ids{0, 8, 9, 1}));
    EXPECT_EQ(kinds(k.getPointAttributes()),
              (Names{"P:5:4", "curveu:0:1", "pscale:0:1", "sourceP:5:3", "tangentu:5:3",
                     "tangentv:5:3", "up:5:3"}));
    EXPECT_EQ(kinds(k.getVertexAttributes()), (Names{"Cd:5:3", "N:5:3", "tempuv:5:3", "uv:5:3"}));
    EXPECT_EQ(k.getNumPrimAttrs(), 3u);
}

TEST(JsonFixtures, FourChunksWithConstantPages) {
    KELP_NEEDS_BLOSC();
    REQUIRE_JSON_FIXTURES();
    FileLoad f(fixture("labs_uv_visualize_4chunks_h185.bgeo.sc"));
    ASSERT_EQ(f.result, 1) << f.err;
    const Kelp &k = f.k;
    EXPECT_EQ(k.getNumPoints(), 33210u);
    EXPECT_EQ(k.getNumPolys(), 31826u);
    EXPECT_EQ(k.getNumVerts(), 127304u);
    EXPECT_EQ(pointsOf(k, 0), (Ids{12874, 12875, 2, 3}));
    expectNear(k.getPolyVertexPosValue(0, 0), -0.451024f, -0.933041f, 0.0f);
    EXPECT_EQ(kinds(k.getPointAttributes()), (Names{"P:5:4", "up:5:3"}));
    // The file's primitive "Cd" comes last, spread over the vertices.
    EXPECT_EQ(kinds(k.getVertexAttributes()), (Names{"N:5:3", "uv:5:3", "Cd:5:3"}));
    expectNear(k.getVertexAttrVectorValue(1, 0), 8.64605f, 1.69978f, 0.0f);
    // uv: pages 51 to 124 are constant; every vertex of a constant page
    // holds the page's one value.
    const std::vector<Imath::Vec3<float>> &uv = k.getVertexAttributes()[1].vector_data;
    ASSERT_EQ(uv.size(), 127304u);
    for (std::size_t v = 100 * 1024; v < 101 * 1024; ++v)
        ASSERT_EQ(uv[v], uv[100 * 1024]) << v;
    std::size_t maxPoint = 0;
    for (const PolygonData &p : k.getPolygons())
        for (std::uint32_t id : p.ids)
            maxPoint = std::max<std::size_t>(maxPoint, id);
    EXPECT_EQ(maxPoint, 33209u);
}

// The file's primitive "Cd": its first 12854 quads are the UV-visualised
// grid (they carry the material), each UV island ("class", 33 of them) in
// a colour of its own; the 18972 quads after them have no material and are
// red. Every vertex of a quad shows its quad's colour.
TEST(JsonFixtures, PrimitiveColoursReachEveryVertexOfTheirQuad) {
    KELP_NEEDS_BLOSC();
    REQUIRE_JSON_FIXTURES();
    FileLoad f(fixture("labs_uv_visualize_4chunks_h185.bgeo.sc"));
    ASSERT_EQ(f.result, 1) << f.err;
    const Kelp &k = f.k;
    EXPECT_EQ(k.getNumPrimAttrs(), 3u); // "Cd", "class", "shop_materialpath"
    EXPECT_EQ(k.attrExists("Cd", "POINT"), -1);
    EXPECT_EQ(k.attrExists("Alpha", "VERTEX"), -1);
    const int index = k.attrExists("Cd", "VERTEX");
    ASSERT_GE(index, 0);
    const std::vector<Imath::Vec3<float>> &cd = k.getVertexAttributes()[index].vector_data;
    ASSERT_EQ(cd.size(), 127304u);
    std::vector<Imath::Vec3<float>> face; // each quad's colour
    std::size_t v = 0;
    for (const PolygonData &p : k.getPolygons()) {
        for (std::size_t corner = 0; corner < p.ids.size(); ++corner)
            ASSERT_EQ(cd[v + corner], cd[v]) << "vertex " << v + corner;
        face.push_back(cd[v]);
        v += p.ids.size();
    }
    ASSERT_EQ(face.size(), 31826u);
    EXPECT_EQ(face[0], Imath::V3f(0.510895014f, 0.71152246f, 0.7101686f));
    EXPECT_EQ(face[1], Imath::V3f(0.641600609f, 0.616265655f, 0.39874351f));
    EXPECT_EQ(face[3], face[1]);
    EXPECT_EQ(face[1000], Imath::V3f(0.77547431f, 0.134583354f, 0.327214599f));
    const Imath::V3f red(1, 0, 0);
    std::vector<Imath::Vec3<float>> islands;
    for (std::size_t p = 0; p < 12854; ++p) {
        ASSERT_NE(face[p], red) << "quad " << p;
        if (std::find(islands.begin(), islands.end(), face[p]) == islands.end())
            islands.push_back(face[p]);
    }
    EXPECT_EQ(islands.size(), 33u);
    for (std::size_t p = 12854; p < face.size(); ++p)
        ASSERT_EQ(face[p], red) << "quad " << p;
}

TEST(JsonFixtures, OneBigPolygonWithPointNormals) {
    KELP_NEEDS_BLOSC();
    REQUIRE_JSON_FIXTURES();
    FileLoad f(fixture("labs_extract_silhouette_ngon_h185.bgeo.sc"));
    ASSERT_EQ(f.result, 1) << f.err;
    ASSERT_EQ(f.k.getNumPolys(), 1u);
    EXPECT_EQ(f.k.getNumPolyVerts(0), 451u);
    EXPECT_EQ(f.k.getPolyVertexIdValue(0, 0), 65u);
    EXPECT_EQ(f.k.getPolyVertexIdValue(0, 450), 351u);
    EXPECT_EQ(f.k.attrExists("N", "POINT"), 1);
    EXPECT_EQ(kinds(f.k.getVertexAttributes()), Names{"uv:5:3"});
}

TEST(JsonFixtures, OpenCurvesAndSkeletonsHaveNoPolygons) {
    KELP_NEEDS_BLOSC();
    REQUIRE_JSON_FIXTURES();
    FileLoad curves(fixture("labs_edge_group_to_curve_h185.bgeo.sc"));
    ASSERT_EQ(curves.result, 1) << curves.err;
    EXPECT_EQ(curves.k.getNumPoints(), 396u);
    EXPECT_EQ(curves.k.getNumPrims(), 48u);
    EXPECT_EQ(curves.k.getNumPolys(), 0u);
    EXPECT_EQ(curves.k.getNumPrimGroups(), 4u);

    FileLoad neuron(fixture("labs_neuron_tpose_curves_h185.bgeo"));
    ASSERT_EQ(neuron.result, 1) << neuron.err;
    const Kelp &k = neuron.k;
    EXPECT_EQ(k.getNumPoints(), 72u);
    EXPECT_EQ(k.getNumPolys(), 0u);
    EXPECT_EQ(k.getNumAttrs(), 1u);
    EXPECT_EQ(kinds(k.getPointAttributes()), (Names{"P:5:4", "Cd:5:3", "name:4:1", "path:4:1",
                                                    "scaleinheritance:1:1", "transform:5:9"}));
    const std::vector<std::int32_t> &name = k.getPointAttributes()[2].int_data;
    ASSERT_EQ(name.size(), 72u);
    EXPECT_EQ(*std::min_element(name.begin(), name.end()), 0);
    EXPECT_EQ(*std::max_element(name.begin(), name.end()), 71);
    expectNear(k.getPolyVertexPosValue(0, 0), 0.0f, 0.965f, 0.0f);
}

TEST(JsonFixtures, PackedPiecesAreExpandedInPlace) {
    KELP_NEEDS_BLOSC();
    REQUIRE_JSON_FIXTURES();
    FileLoad f(fixture("labs_physics_painter_packed_h185.bgeo.sc"));
    ASSERT_EQ(f.result, 1) << f.err;
    // 81 quads of the file, then 23 pieces of five embedded geometries:
    // 1 x (100 points, 81 quads), 1 x empty, 7 x (266 points, 288 polygons,
    // 1104 vertices), 6 x (913, 1789, 5368), 8 x (8, 6, 24).
    EXPECT_EQ(f.k.getNumPoints(), 123u + 100 + 7 * 266 + 6 * 913 + 8 * 8);
    EXPECT_EQ(f.k.getNumPolys(), 81u + 81 + 7 * 288 + 6 * 1789 + 8 * 6);
    EXPECT_EQ(f.k.getNumVerts(), 324u + 324 + 7 * 1104 + 6 * 5368 + 8 * 24);
    EXPECT_EQ(f.k.getNumPrims(), 104u);
    EXPECT_EQ(pointsOf(f.k, 0), (Ids{0, 1, 11, 10}));
    // The first piece's grid follows the file's own points.
    EXPECT_EQ(pointsOf(f.k, 81), (Ids{123, 124, 134, 133}));
    ASSERT_EQ(f.k.getPointAttributes()[0].vector_data.size(), f.k.getNumPoints());
    ASSERT_EQ(f.k.getVertexAttributes()[0].vector_data.size(), f.k.getNumVerts());
    EXPECT_EQ(f.k.getSkippedPrimitives().packed, 0u);
    EXPECT_EQ(f.k.getSkippedPrimitives().curves, 0u);
    EXPECT_EQ(f.k.getSkippedPrimitives().other, 0u);

    // The file's own bounds (info) are those of the expanded pieces: a
    // transposed reading of the matrices misses them by far more.
    float low[3] = {1e30f, 1e30f, 1e30f}, high[3] = {-1e30f, -1e30f, -1e30f};
    for (const PolygonData &polygon : f.k.getPolygons())
        for (std::uint32_t id : polygon.ids) {
            const Imath::Vec3<float> &p = f.k.getPointAttributes()[0].vector_data[id];
            for (int c = 0; c < 3; ++c) {
                low[c] = std::min(low[c], p[c]);
                high[c] = std::max(high[c], p[c]);
            }
        }
    const float bounds[6] = {-10, 10, -1.06322f, 1.13393f, -10, 10}; // xmin xmax ymin ...
    for (int c = 0; c < 3; ++c) {
        const float size = bounds[2 * c + 1] - bounds[2 * c];
        EXPECT_NEAR(low[c], bounds[2 * c], 1e-4f * size) << c;
        EXPECT_NEAR(high[c], bounds[2 * c + 1], 1e-4f * size) << c;
    }
}

TEST(JsonFixtures, ParticleSystemWrittenWithPlainTokens) {
    REQUIRE_JSON_FIXTURES();
    FileLoad f(fixture("laika_points_partsys_h16.bgeo"));
    ASSERT_EQ(f.result, 1) << f.err;
    EXPECT_EQ(f.k.getNumPoints(), 10u);
    EXPECT_EQ(f.k.getNumPolys(), 0u);
    EXPECT_EQ(kinds(f.k.getPointAttributes()), (Names{"P:5:4", "N:5:3"}));
    expectNear(f.k.getPolyVertexPosValue(0, 0), -1.07096f, 0.245003f, 0.0458688f);
    EXPECT_EQ(f.k.getPointAttributes()[1].vector_data.size(), 10u);
}

TEST(JsonFixtures, PolygonRunAfterASphereTakesItsVertexValuesFromVertexOne) {
    REQUIRE_JSON_FIXTURES();
    FileLoad f(fixture("laika_sphere_grid_h165.bgeo"));
    ASSERT_EQ(f.result, 1) << f.err;
    ASSERT_EQ(f.k.getNumPolys(), 1u);
    EXPECT_EQ(pointsOf(f.k, 0), (Ids{1, 2, 4, 3}));
    EXPECT_EQ(f.k.getNumPrims(), 2u);
    const std::vector<Imath::Vec3<float>> &uv = f.k.getVertexAttributes()[0].vector_data;
    ASSERT_EQ(uv.size(), 4u); // the sphere's vertex is not a polygon vertex
    expectNear(uv[0], 0.0f, 0.1875f, 0.5f);
    expectNear(uv[3], 0.0f, 0.8125f, 0.5f);
}

TEST(JsonFixtures, GzipBox) {
    REQUIRE_JSON_FIXTURES();
    FileLoad f(fixture("splish_box_h195.bgeo.gz"));
    ASSERT_EQ(f.result, 1) << f.err;
    EXPECT_EQ(f.k.getNumPoints(), 8u);
    EXPECT_EQ(f.k.getNumPolys(), 6u);
    EXPECT_EQ(pointsOf(f.k, 0), (Ids{0, 1, 3, 2}));
    expectNear(f.k.getPolyVertexPosValue(0, 0), 0.5f, -0.5f, 0.5f);
}

TEST(JsonFixtures, CruiserPlainAndBloscLoadIdentical) {
    KELP_NEEDS_BLOSC();
    REQUIRE_JSON_FIXTURES();
    FileLoad plain(fixture("splish_cruiser_h195.bgeo"));
    FileLoad packed(fixture("splish_cruiser_h195.bgeo.sc"));
    ASSERT_EQ(plain.result, 1) << plain.err;
    ASSERT_EQ(packed.result, 1) << packed.err;
    const Kelp &k = plain.k;
    EXPECT_EQ(k.getNumPoints(), 1364u);
    EXPECT_EQ(k.getNumPolys(), 2875u);
    EXPECT_EQ(k.getNumVerts(), 8625u);
    EXPECT_EQ(k.getNumPrimGroups(), 15u);
    EXPECT_EQ(kinds(k.getPointAttributes()), (Names{"P:5:4", "uv:5:3"}));
    EXPECT_EQ(kinds(k.getVertexAttributes()), Names{"N:5:3"});
    EXPECT_EQ(pointsOf(k, 0), (Ids{0, 2, 1}));
    expectNear(k.getPolyVertexPosValue(0, 0), -0.023067f, -0.064242f, 1.69147f);
    expectNear(k.getPointAttrVectorValue(1, 0), 0.315226f, 0.059159f, 0.0f);
    expectNear(k.getVertexAttrVectorValue(0, 0), 0.0f, -0.000108f, 1.0f);
    expectSameModel(plain.k, packed.k);
}

TEST(JsonFixtures, HoudiniTwelveRunOfPolys) {
    REQUIRE_JSON_FIXTURES();
    // Kept with the classic files: a Houdini 12.1 file with "run"/"Poly"
    // primitives and "P" of size 4 packed [3,1].
    FileLoad f(std::string(KELP_FIXTURES_JSON) +
               "/../classic/cortex_torusWithVertexNormals_json.bgeo");
    ASSERT_EQ(f.result, 1) << f.err;
    EXPECT_EQ(f.k.getNumPoints(), 100u);
    EXPECT_EQ(f.k.getNumPolys(), 100u);
    EXPECT_EQ(pointsOf(f.k, 0), (Ids{0, 1, 11, 10}));
    expectNear(f.k.getPolyVertexPosValue(0, 0), 1.5f, -4.37114e-08f, 9.77524e-07f);
    EXPECT_EQ(kinds(f.k.getVertexAttributes()), Names{"N:5:3"});
    EXPECT_EQ(f.k.getVertexAttributes()[0].vector_data.size(), 400u);
}

// The text (.geo) twin of a binary file, loaded from its bytes: loadBgeo
// takes only names holding "bgeo".
struct TextLoad {
    explicit TextLoad(const std::string &name) {
        std::ifstream in(fixture(name), std::ios::binary);
        const Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        size = bytes.size();
        testing::internal::CaptureStderr();
        result = k.loadBgeoFromMemory(bytes.data(), bytes.size(), name);
        err = testing::internal::GetCapturedStderr();
    }
    Kelp k;
    int result = -1;
    std::string err;
    std::size_t size = 0;
};

TEST(JsonFixtures, ParticleSystemAsTextIsItsBinaryTwin) {
    REQUIRE_JSON_FIXTURES();
    TextLoad text("laika_points_partsys_h16.geo");
    FileLoad binary(fixture("laika_points_partsys_h16.bgeo"));
    ASSERT_EQ(text.result, 1) << text.err;
    ASSERT_EQ(binary.result, 1) << binary.err;
    EXPECT_EQ(text.err, "");
    EXPECT_EQ(text.k.getNumPoints(), 10u);
    EXPECT_EQ(kinds(text.k.getPointAttributes()), (Names{"P:5:4", "N:5:3"}));
    expectNear(text.k.getPolyVertexPosValue(0, 0), -1.07096f, 0.245003f, 0.0458688f);
    expectSameModel(text.k, binary.k);
}

TEST(JsonFixtures, SphereAndGridAsTextIsItsBinaryTwin) {
    REQUIRE_JSON_FIXTURES();
    TextLoad text("laika_sphere_grid_h165.geo");
    FileLoad binary(fixture("laika_sphere_grid_h165.bgeo"));
    ASSERT_EQ(text.result, 1) << text.err;
    ASSERT_EQ(binary.result, 1) << binary.err;
    EXPECT_EQ(text.k.getNumPrims(), 2u);
    ASSERT_EQ(text.k.getNumPolys(), 1u);
    EXPECT_EQ(pointsOf(text.k, 0), (Ids{1, 2, 4, 3}));
    const std::vector<Imath::Vec3<float>> &uv = text.k.getVertexAttributes()[0].vector_data;
    ASSERT_EQ(uv.size(), 4u);
    expectNear(uv[0], 0.0f, 0.1875f, 0.5f);
    expectNear(uv[3], 0.0f, 0.8125f, 0.5f);
    expectSameModel(text.k, binary.k);
}

TEST(JsonFixtures, PointCloudAsText) {
    REQUIRE_JSON_FIXTURES();
    TextLoad f("splish_points_h195.geo");
    ASSERT_EQ(f.result, 1) << f.err;
    EXPECT_EQ(f.k.getNumPoints(), 488u);
    EXPECT_EQ(f.k.getNumVerts(), 0u);
    EXPECT_EQ(f.k.getNumPrims(), 0u);
    EXPECT_EQ(f.k.getNumPolys(), 0u);
    EXPECT_EQ(kinds(f.k.getPointAttributes()), Names{"P:5:4"});
    const std::vector<Imath::Vec3<float>> &p = f.k.getPointAttributes()[0].vector_data;
    ASSERT_EQ(p.size(), 488u);
    EXPECT_EQ(p[0], Imath::Vec3<float>(0.5f, -0.5f, 0.5f));
    EXPECT_EQ(p[1], Imath::Vec3<float>(0.388888896f, -0.5f, 0.5f));
}

TEST(JsonFixtures, EveryTruncationOfARealTextFileFailsCleanly) {
    REQUIRE_JSON_FIXTURES();
    std::ifstream in(fixture("laika_sphere_grid_h165.geo"), std::ios::binary);
    Bytes whole((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // The document ends at its last ']'; only blanks follow it.
    std::size_t last = whole.size();
    while (last > 0 && whole[last - 1] != ']')
        --last;
    ASSERT_GT(last, 0u);
    for (std::size_t n = 0; n < last; ++n) {
        Kelp k;
        testing::internal::CaptureStderr();
        const int result = k.loadBgeoFromMemory(whole.data(), n, "cut.geo");
        const std::string err = testing::internal::GetCapturedStderr();
        ASSERT_EQ(result, 0) << n;
        ASSERT_EQ(countLines(err), 1) << n << ": " << err;
        ASSERT_EQ(err.rfind("could not load cut.geo: ", 0), 0u) << n << ": " << err;
        ASSERT_TRUE(k.getPointAttributes().empty()) << n;
    }
}
