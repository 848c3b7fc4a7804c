// The document rules: each count once and before the sections it sizes,
// topology entries within the points, primitives within the topology read,
// and values sized only by elements the file backs. The hostile files are
// rebuilt here as they were reported; each must fail with its one line.
#include "JsonLoadHelpers.h"
#include "JsonRuleFiles.h"

#include <gtest/gtest.h>

using namespace kelptest;

namespace {

const std::string kPrefix = "could not load rules.bgeo: Houdini's newer geometry format: ";

// Loads and expects exactly result 0 and the one failure line, with the
// model left empty.
void expectLine(const Bytes &bytes, const std::string &reason, std::size_t at) {
    Kelp k;
    JsonLoaded r = loadJson(k, bytes, "rules.bgeo");
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.err, kPrefix + reason + " at byte " + std::to_string(at) + "\n");
    EXPECT_TRUE(k.getPointAttributes().empty());
    EXPECT_TRUE(k.getPolygons().empty());
}

const char *kTriangleRunFailure =
    "polygon run of 1 polygons of 3 vertices from vertex 0 passes the 0 vertices of the topology";

} // namespace

// "vertexcount" restated as 1,000,000 after a 3-entry topology, then one
// polygon of 1,000,000 vertices (this crashed the host).
TEST(JsonRules, RestatedVertexCountThenALongPolygon) {
    const Built b = restatedVertexCount(false);
    expectLine(b.bytes, "\"vertexcount\" given a second time", b.at);
}

// The same with run-length counts (this loaded point ids read from beyond
// the topology).
TEST(JsonRules, RestatedVertexCountThenARunLengthRun) {
    const Built b = restatedVertexCount(true);
    expectLine(b.bytes, "\"vertexcount\" given a second time", b.at);
}

// About 140 bytes: a run of 200,000,000 one-vertex polygons and no topology
// (24 s and 4 GB before failing).
TEST(JsonRules, RunOfPolygonsWithoutTopology) {
    const Built b = polygonsWithoutTopology();
    EXPECT_LT(b.bytes.size(), 160u);
    expectLine(b.bytes,
               "polygon run of 200000000 polygons of 1 vertices from vertex 0 passes the 0 "
               "vertices of the topology",
               b.at);
}

// About 153 KB of constant pages standing for 200,000,000 vertex colours
// that no polygon uses (2.3 GB and 6 s).
TEST(JsonRules, ConstantPagesOfVerticesWithoutTopology) {
    const Built b = constantVertexColours();
    EXPECT_GT(b.bytes.size(), 140000u);
    EXPECT_LT(b.bytes.size(), 160000u);
    expectLine(b.bytes, "vertex attributes before the topology", b.at);
}

TEST(JsonRules, EachCountAtMostOnce) {
    for (const std::string count : {"pointcount", "vertexcount", "primitivecount"}) {
        JsonBytes j;
        j.magic().arr().key("pointcount").i32(3).key("vertexcount").i32(3);
        j.key("primitivecount").i32(1).key(count);
        const std::size_t at = j.size();
        j.i32(3).end();
        expectLine(j.bytes(), "\"" + count + "\" given a second time", at);
    }
}

TEST(JsonRules, CountsAfterTheSectionsTheySize) {
    JsonBytes late;
    late.magic().arr().key("pointcount").i32(3).key("vertexcount").i32(3);
    late.key("topology").arr().key("pointref").arr().key("indices").ui32({0, 1, 2}).end().end();
    late.key("primitivecount");
    std::size_t at = late.size();
    late.i32(1).end();
    expectLine(late.bytes(),
               "\"primitivecount\" after \"topology\"; the counts must come before the sections "
               "they size",
               at);

    JsonBytes afterAttributes;
    afterAttributes.magic().arr().key("pointcount").i32(0).key("vertexcount").i32(0);
    afterAttributes.key("attributes").arr().end().key("primitivecount");
    at = afterAttributes.size();
    afterAttributes.i32(0).end();
    expectLine(afterAttributes.bytes(),
               "\"primitivecount\" after \"attributes\"; the counts must come before the "
               "sections they size",
               at);

    JsonBytes afterPrimitives;
    afterPrimitives.magic().arr().key("pointcount").i32(0).key("vertexcount").i32(0);
    afterPrimitives.key("primitives").arr().end().key("primitivecount");
    at = afterPrimitives.size();
    afterPrimitives.i32(0).end();
    expectLine(afterPrimitives.bytes(),
               "\"primitivecount\" after \"primitives\"; the counts must come before the "
               "sections they size",
               at);

    // The counts in any order among themselves and the unsized keys, before
    // every section, still load.
    JsonBytes early;
    early.magic().arr().key("primitivecount").i32(0).key("vertexcount").i32(0);
    early.key("info").map().mapEnd().key("pointcount").i32(0).end();
    Kelp k;
    JsonLoaded r = loadJson(k, early);
    EXPECT_EQ(r.result, 1) << r.err;
}

TEST(JsonRules, TopologyEntriesBeyondThePoints) {
    TriangleFile f = triangleFile({0, 1, 3}, [](JsonBytes &j) { runLength(j, 0, 3, 1); });
    expectLine(f.built.bytes, "value 3 out of range in 'indices'", f.topologyAt);
    f = triangleFile({0, -1, 2}, [](JsonBytes &j) { runLength(j, 0, 3, 1); });
    expectLine(f.built.bytes, "value -1 out of range in 'indices'", f.topologyAt);

    // A second topology is refused rather than read over the first.
    JsonBytes twice;
    documentHead(twice, 3, {0, 1, 2}, 1);
    twice.key("topology");
    const std::size_t at = twice.size();
    twice.arr().key("pointref").arr().key("indices").ui32({0, 1, 2}).end().end().end();
    expectLine(twice.bytes(), "a second \"topology\"", at);
}

TEST(JsonRules, PrimitivesBeyondTheTopologyRead) {
    // Primitives before the topology: none of their vertices is backed yet,
    // whatever "vertexcount" says.
    JsonBytes early;
    early.magic().arr().key("pointcount").i32(3).key("vertexcount").i32(3);
    early.key("primitivecount").i32(1).key("primitives").arr();
    std::size_t at = 0;
    runLength(early, 0, 3, 1, &at).end().end();
    expectLine(early.bytes(), kTriangleRunFailure, at);

    // A polygon listing vertices the topology does not have (yet).
    JsonBytes single;
    single.magic().arr().key("pointcount").i32(3).key("vertexcount").i32(3);
    single.key("primitives").arr().arr().arr().key("type").str("Poly").end();
    single.arr().key("vertex");
    at = single.size();
    single.pi32({0, 1, 2}).end().end().end().end();
    expectLine(single.bytes(), "value 0 out of range in 'vertex'", at + 1);

    // Two runs over the same three vertices: together they would own six.
    std::size_t second = 0;
    TriangleFile f = triangleFile({0, 1, 2}, [&](JsonBytes &j) {
        runLength(j, 0, 3, 1);
        runLength(j, 0, 3, 1, &second);
    });
    expectLine(f.built.bytes, "polygon runs own more than the 3 vertices of the topology", second);

    // Counts per polygon that pass the topology's end.
    std::size_t first = 0;
    f = triangleFile({0, 1, 2}, [&](JsonBytes &j) {
        j.arr().arr().key("type").key("p_r").end();
        first = afterOpen(j);
        j.arr().key("s_v").i8(1).key("n_v").ui8({2, 1}).end().end();
    });
    expectLine(f.built.bytes,
               "polygon run of 3 vertices from vertex 1 passes the 3 vertices of the topology",
               first);

    // Within the topology, the same triangle loads.
    Kelp k;
    JsonLoaded r = loadJson(
        k, triangleFile({2, 0, 1}, [](JsonBytes &j) { runLength(j, 0, 3, 1); }).built.bytes);
    ASSERT_EQ(r.result, 1) << r.err;
    EXPECT_EQ(pointsOf(k, 0), (std::vector<std::uint32_t>{2, 0, 1}));
}
