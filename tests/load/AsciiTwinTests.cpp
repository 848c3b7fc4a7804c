// The text form gives the detail the binary form gives: the real twin files,
// details Kelp saves as .geo, .geo.gz, .hclassic and .bgeo, and hand-built
// twins holding what the saver cannot write.
#include "ClassicTwin.h"
#include "LoadHelpers.h"
#include "ModelCompare.h"
#include "TriangleText.h"

#include <gtest/gtest.h>

#include <Kelp>

#include <cstdio>
#include <string>
#include <sys/stat.h>

namespace {

using namespace kelptest;
typedef Imath::Vec3<float> V3;

Bytes bytesOf(const std::string &text) {
    return Bytes(text.begin(), text.end());
}

// Loads both and expects one detail from them.
void expectSameModel(const Bytes &binary, const Bytes &text, Kelp &fromText) {
    Kelp fromBinary;
    Loaded b = loadInto(fromBinary, binary, "twin.bgeo");
    ASSERT_EQ(b.result, 1) << b.err;
    Loaded t = loadInto(fromText, text, "twin.geo");
    ASSERT_EQ(t.result, 1) << t.err;
    EXPECT_EQ(t.err, "");
    EXPECT_EQ(modelDifference(fromBinary, fromText), "");
}

ClassicTwin richTwin() {
    ClassicTwin t;
    t.points = 6;
    t.pointAttrs = {{"N", 3, 5, {}},     {"life", 2, 0, {}},
                    {"id", 1, 1, {}},    {"name", 1, 4, {"", "a b", "q\"uote"}},
                    {"Cd", 3, 0, {}},    {"pscale", 1, 0, {}},
                    {"orient", 4, 5, {}}};
    t.vertexAttrs = {{"uv", 3, 0, {}}, {"w", 1, 0, {}}, {"st", 2, 0, {}}, {"k", 1, 1, {}}};
    t.primAttrs = {{"generator", 1, 4, {"papi"}}, {"mat", 2, 1, {}}};
    t.detailAttrs = {{"varmap", 1, 4, {"N -> N", "life -> LIFE"}}, {"frame", 1, 1, {}}};
    t.prims = {{true, false, {0, 1, 2}}, {true, true, {2, 3, 4, 5}},
               {true, false, {5, 4, 3}}, {false, false, {0, 1, 2, 3, 4, 5}},
               {true, false, {1, 2, 3}}, {false, false, {5}}};
    t.pointGroups = {{"top", {true, false, true, true, false, false}}};
    t.primGroups = {{"left", {true, true, false, false, true, false}},
                    {"none", {false, false, false, false, false, false}}};
    t.extraText = "some render settings Kelp does not read\n";
    t.extraBytes = std::string("\x01\x02 settings", 11);
    return t;
}

TEST(AsciiTwin, EveryKindOfAttributePrimitiveAndSectionLoadsAsTheBinaryTwin) {
    const ClassicTwin twin = richTwin();
    Kelp k;
    expectSameModel(twin.binary(), bytesOf(twin.text()), k);
    // And what it holds, so that two loaders that agree on a wrong reading fail.
    ASSERT_EQ(k.getPointAttributes().size(), 8u);
    EXPECT_EQ(k.getPointAttributes()[0].vector_data[1],
              V3(ClassicTwin::coordinate(1, 0), ClassicTwin::coordinate(1, 1),
                 ClassicTwin::coordinate(1, 2)));
    const AttributeData &life = k.getPointAttributes()[2];
    EXPECT_EQ(life.type, 0);
    EXPECT_EQ(life.size, 2);
    ASSERT_EQ(life.float_data.size(), 6u);
    const AttributeData &id = k.getPointAttributes()[3];
    EXPECT_EQ(id.type, 1);
    EXPECT_EQ(id.int_default, ClassicTwin::intValue(1000));
    ASSERT_EQ(id.int_data.size(), 6u);
    const AttributeData &name = k.getPointAttributes()[4];
    EXPECT_EQ(name.type, 4);
    EXPECT_EQ(name.int_data.size(), 6u);
    EXPECT_EQ(k.getPointAttributes()[5].type, 5); // Cd: three floats kept as a vector
    EXPECT_EQ(k.getPointAttributes()[7].vector_data.size(), 6u);
    ASSERT_EQ(k.getVertexAttributes().size(), 4u);
    EXPECT_EQ(k.getVertexAttributes()[2].type, 5); // a vertex float pair is a vector
    // The open polygon (2 3 4 5) and the two particle systems are read past.
    EXPECT_EQ(k.getVertexAttributes()[0].vector_data.size(), 9u);
    EXPECT_EQ(k.getNumPolys(), 3u);
    EXPECT_EQ(
        std::vector<std::uint32_t>(k.getPolygons()[1].ids.begin(), k.getPolygons()[1].ids.end()),
        (std::vector<std::uint32_t>{5, 4, 3}));
    EXPECT_EQ(k.getNumVerts(), 9u);
    EXPECT_EQ(k.getSkippedPrimitives().curves, 1u);
    EXPECT_EQ(k.getSkippedPrimitives().other, 2u);
    EXPECT_EQ(k.getNumPrims(), 6u);
    EXPECT_EQ(k.getNumPointGroups(), 1u);
    EXPECT_EQ(k.getNumPrimGroups(), 2u);
}

TEST(AsciiTwin, PrimitivesWithTheirOwnWordsLoadAsKeyedPrimitives) {
    ClassicTwin twin = richTwin();
    twin.runs = false;
    Kelp k;
    expectSameModel(twin.binary(), bytesOf(twin.text()), k);
    EXPECT_EQ(k.getNumPolys(), 3u);
}

TEST(AsciiTwin, PointsOnlyAndEmptyFilesLoadAsTheBinaryTwin) {
    ClassicTwin points;
    points.points = 4;
    points.pointAttrs = {{"v", 3, 5, {}}};
    Kelp k;
    expectSameModel(points.binary(), bytesOf(points.text()), k);
    EXPECT_EQ(k.getPointAttributes()[1].vector_data.size(), 4u);

    ClassicTwin empty;
    Kelp e;
    expectSameModel(empty.binary(), bytesOf(empty.text()), e);
    EXPECT_EQ(e.getNumPoints(), 0u);
    EXPECT_EQ(e.getPointAttributes().size(), 1u);
}

TEST(AsciiTwin, AParticleFileWithManyPointsUsesWideIndicesInBinaryAndTheSameTextIndices) {
    ClassicTwin twin;
    twin.points = 70000;
    twin.pointAttrs = {{"id", 1, 1, {}}};
    TwinPrim all{false, false, {}};
    for (std::uint32_t i = 0; i < twin.points; ++i)
        all.ids.push_back(i);
    twin.prims = {all, {true, false, {69999, 0, 65536}}};
    Kelp k;
    expectSameModel(twin.binary(), bytesOf(twin.text()), k);
    EXPECT_EQ(k.getPolyVertexIdValue(0, 2), 65536u);
}

TEST(AsciiTwin, CarriageReturnsBlankLinesAndTrailingBlanksAreBlanks) {
    const ClassicTwin twin = richTwin();
    std::string text;
    for (char c : twin.text())
        text += c == '\n' ? std::string("\r\n\n") : std::string(1, c);
    text += "  \t\r\n\n";
    Kelp k;
    expectSameModel(twin.binary(), bytesOf(text), k);
}

TEST(AsciiTwin, GzipAroundTheTextIsUnwrapped) {
    const ClassicTwin twin = richTwin();
    Kelp k;
    expectSameModel(twin.binary(), gzipBytes(bytesOf(twin.text())), k);
}

// Brackets need no blanks around them, so the size checks must allow a
// point in "0 0 0 1(5)" and a vertex in "0(1)".
TEST(AsciiTwin, TextWithoutBlanksAroundBracketsLoadsWhenItIsAlmostAllPoints) {
    std::string text = "PGEOMETRY V5 NPoints 300 NPrims 1 NPointGroups 0 NPrimGroups 0 "
                       "NPointAttrib 1 NVertexAttrib 1 NPrimAttrib 0 NAttrib 0 "
                       "PointAttrib a 1 int 0 ";
    for (int p = 0; p < 300; ++p)
        text += "0 0 0 1(5)";
    text += " VertexAttrib b 1 int 0 Part 600 ";
    for (int v = 0; v < 600; ++v)
        text += "0(1)";
    text += " beginExtra endExtra";
    Kelp k;
    Loaded r = loadInto(k, bytesOf(text), "tight.geo");
    ASSERT_EQ(r.result, 1) << r.err;
    EXPECT_EQ(k.getPointAttributes()[1].int_data, std::vector<std::int32_t>(300, 5));
    EXPECT_EQ(k.getVertexAttributes()[0].int_data.size(), 0u); // particle vertices are not kept
}

// ---- the real twin files --------------------------------------------------

std::string fixture(const std::string &name) {
    return std::string(KELP_FIXTURES_CLASSIC) + "/" + name;
}

bool fixturesPresent() {
    struct stat st;
    return stat(KELP_FIXTURES_CLASSIC, &st) == 0 && S_ISDIR(st.st_mode);
}

TEST(AsciiTwin, TheRealTextParticleFileLoadsAsItsBinaryTwin) {
    if (!fixturesPresent())
        GTEST_SKIP() << KELP_FIXTURES_CLASSIC << " is absent";
    const Bytes text = readFileBytes(fixture("partio_test.geo"));
    const Bytes binary = readFileBytes(fixture("partio_test.bgeo"));
    ASSERT_FALSE(text.empty());
    Kelp k;
    expectSameModel(binary, text, k);
    EXPECT_EQ(k.getNumPoints(), 5u);
    EXPECT_EQ(k.getNumPrimAttrs(), 1u);
    EXPECT_EQ(k.getNumPolys(), 0u);
    ASSERT_EQ(k.getPointAttributes().size(), 3u);
    EXPECT_EQ(k.getPointAttributes()[1].name, "life");
    EXPECT_EQ(k.getPointAttributes()[1].float_data,
              (std::vector<float>{-1.2f, -0.2f, 0.8f, 1.8f, 2.8f}));
    EXPECT_EQ(k.getPointAttributes()[2].int_data, (std::vector<std::int32_t>{0, 1, 2, 3, 4}));
    EXPECT_EQ(k.getPointAttributes()[0].vector_data[4], V3(0.4f, 0.5f, 0.6f));
}

// ---- what Kelp's saver writes ---------------------------------------------

std::string tempPath(const std::string &name) {
    return testing::TempDir() + "kelp_ascii_" + name;
}

// A mesh as the export builds it: positions, point normals, per-vertex uv
// (three floats, type 0) and a per-vertex vector.
Kelp builtMesh() {
    Kelp k;
    k.initialiseNew();
    const V3 positions[] = {V3(0, 0, 0),    V3(1, 0, 0),      V3(1, 1, 0),
                            V3(0, 1, 0.5f), V3(-0.25f, 2, 3), V3(1e-5f, -1234.5f, 0.1f)};
    for (const V3 &p : positions) {
        k.setPointAttrVectorValue("P", p);
    }
    for (int i = 0; i < 6; ++i)
        k.setPointAttrVectorValue("N", V3(0, 0, i % 2 ? 1.0f : -1.0f));
    const std::uint32_t polys[][4] = {{0, 1, 2, 3}, {2, 3, 4, 4}, {4, 5, 0, 0}};
    const int sizes[] = {4, 3, 3};
    int vertex = 0;
    for (std::uint32_t p = 0; p < 3; ++p)
        for (int v = 0; v < sizes[p]; ++v, ++vertex) {
            k.setPolyVertexIdValue(p, polys[p][v]);
            k.setVertexAttrVectorValue("uv", V3(0.125f * vertex, 1 - 0.25f * vertex, 0), 1);
            k.setVertexAttrVectorValue("tangent", V3(1, 0.5f, -2.0f * vertex), 0);
        }
    return k;
}

Bytes saved(Kelp &k, const std::string &name) {
    const std::string path = tempPath(name);
    testing::internal::CaptureStderr();
    const int result = k.saveBgeo(path);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(result, 1) << err;
    Bytes bytes = readFileBytes(path);
    std::remove(path.c_str());
    return bytes;
}

TEST(AsciiTwin, KelpSavedTextLoadsAsKelpSavedBinary) {
    Kelp mesh = builtMesh();
    const Bytes binary = saved(mesh, "mesh.bgeo");
    const Bytes text = saved(mesh, "mesh.geo");
    const Bytes packed = saved(mesh, "mesh.geo.gz");
    const Bytes classic = saved(mesh, "mesh.hclassic");
    ASSERT_EQ(std::string(text.begin(), text.begin() + 12), "PGEOMETRY V5");
    ASSERT_EQ(packed.size() > 2 && packed[0] == 0x1F && packed[1] == 0x8B, true);
    ASSERT_EQ(classic, text);
    Kelp fromText;
    expectSameModel(binary, text, fromText);
    Kelp fromPacked;
    expectSameModel(binary, packed, fromPacked);

    // The values that went in come back (all of them have short decimal forms).
    ASSERT_EQ(fromText.getPointAttributes().size(), 2u);
    EXPECT_EQ(fromText.getPointAttributes()[0].vector_data,
              mesh.getPointAttributes()[0].vector_data);
    EXPECT_EQ(fromText.getPointAttributes()[1].vector_data,
              mesh.getPointAttributes()[1].vector_data);
    ASSERT_EQ(fromText.getVertexAttributes().size(), 2u);
    EXPECT_EQ(fromText.getVertexAttributes()[0].name, "uv");
    EXPECT_EQ(fromText.getVertexAttributes()[0].vector_data,
              mesh.getVertexAttributes()[0].vector_data);
    EXPECT_EQ(fromText.getVertexAttributes()[1].vector_data,
              mesh.getVertexAttributes()[1].vector_data);
    EXPECT_EQ(fromText.getPolygons().size(), 3u);
    for (std::size_t p = 0; p < 3; ++p)
        EXPECT_EQ(fromText.getPolygons()[p].ids, mesh.getPolygons()[p].ids);
}

TEST(AsciiTwin, TheSavedWorkedExampleLoads) {
    const std::string text = kTriangleText;
    Kelp k;
    Loaded r = loadInto(k, bytesOf(text), "tri.geo");
    ASSERT_EQ(r.result, 1) << r.err;
    EXPECT_EQ(k.getNumPoints(), 3u);
    EXPECT_EQ(k.getPointAttributes()[1].name, "N");
    EXPECT_EQ(k.getPointAttributes()[1].type, 5);
    EXPECT_EQ(k.getPointAttributes()[1].vector_data, std::vector<V3>(3, V3(0, 0, 1)));
    EXPECT_EQ(k.getPointAttributes()[0].vector_data[2], V3(0, 1, 0));
    ASSERT_EQ(k.getNumPolys(), 1u);
    EXPECT_EQ(k.getPolyVertexIdValue(0, 2), 2u);
    EXPECT_EQ(k.getNumVerts(), 3u);
}

// The saver's text attribute-name map (a DetailAttrib entry and its record)
// reads as the binary file with that detail attribute.
TEST(AsciiTwin, TheSaversAttributeNameMapReadsAsADetailAttribute) {
    ClassicTwin twin;
    twin.points = 1;
    twin.pointAttrs = {{"N", 3, 5, {}}};
    twin.detailAttrs = {{"varmap", 1, 4, {"N -> N"}}};
    std::string text = twin.text();
    const std::string map = "DetailAttrib\nvarmap 1 index 1 \"N -> N\"\n (0)\n";
    const std::string::size_type at = text.find("DetailAttrib");
    ASSERT_NE(at, std::string::npos);
    text.replace(at, text.find("beginExtra") - at, map);
    Kelp k;
    expectSameModel(twin.binary(), bytesOf(text), k);
}

TEST(AsciiTwin, TracingDoesNotChangeTheLoad) {
    const ClassicTwin twin = richTwin();
    Kelp quiet;
    ASSERT_EQ(loadInto(quiet, bytesOf(twin.text()), "t.geo").result, 1);
    global_doDebug = 1;
    Kelp traced;
    Loaded r = loadInto(traced, bytesOf(twin.text()), "t.geo");
    global_doDebug = 0;
    ASSERT_EQ(r.result, 1) << r.err;
    EXPECT_NE(r.err.find("NPoints"), std::string::npos);
    EXPECT_EQ(modelDifference(quiet, traced), "");
}

} // namespace
