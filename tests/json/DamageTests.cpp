// Damaged, truncated and hostile input: every failure is one line naming
// the file and what was wrong, and leaves the model as it was.
#include "JsonLoadHelpers.h"

#include <gtest/gtest.h>

#include <functional>

using namespace kelptest;

namespace {

// Loads and expects a clean failure whose line holds `words`.
void expectFailure(const Bytes &bytes, const std::string &words) {
    Kelp k;
    JsonLoaded r = loadJson(k, bytes, "bad.bgeo");
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.err.rfind("could not load bad.bgeo: ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find(words), std::string::npos) << r.err;
    EXPECT_EQ(countLines(r.err), 1) << r.err;
    EXPECT_TRUE(k.getPointAttributes().empty());
    EXPECT_TRUE(k.getPolygons().empty());
}

// A triangle document whose primitives section is `primitives`.
Bytes triangleWith(const std::function<void(JsonBytes &)> &primitives,
                   std::vector<std::int32_t> topology = {0, 1, 2}) {
    JsonBytes j;
    documentHead(j, 3, topology, 1);
    j.key("attributes").arr().key("pointattributes").arr();
    numericAttribute(j, "P", 3, std::vector<float>(9, 0.0f)).end().end();
    j.key("primitives").arr();
    primitives(j);
    return j.end().end().bytes();
}

} // namespace

TEST(JsonDamage, EveryTruncationFailsCleanly) {
    const Bytes whole = twoTriangles().bytes();
    for (std::size_t n = 0; n < whole.size(); ++n) {
        Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n));
        Kelp k;
        JsonLoaded r = loadJson(k, cut, "cut.bgeo");
        ASSERT_EQ(r.result, 0) << n;
        ASSERT_EQ(countLines(r.err), 1) << n << ": " << r.err;
        ASSERT_TRUE(k.getPointAttributes().empty()) << n;
    }
}

TEST(JsonDamage, EveryByteChangeIsSurvived) {
    // Each byte replaced by a few values: whatever the result, no crash, no
    // read outside the data (the sanitizers watch), one line on failure.
    const Bytes whole = twoTriangles().bytes();
    for (std::size_t at = 0; at < whole.size(); ++at)
        for (unsigned char value : {0x00, 0x7F, 0xF4, 0xFF}) {
            Bytes bytes = whole;
            bytes[at] = value;
            Kelp k;
            JsonLoaded r = loadJson(k, bytes, "x.bgeo");
            if (r.result == 0) {
                ASSERT_EQ(countLines(r.err), 1) << at << ": " << r.err;
            } else {
                ASSERT_EQ(k.getPointAttributes()[0].vector_data.size(), 4u) << at;
            }
        }
}

TEST(JsonDamage, CountsAndIndicesOutsideTheGeometry) {
    expectFailure(triangleWith([](JsonBytes &j) { polygonRun(j, 0, 1, 3); }, {0, 1, 3}),
                  "value 3 out of range in 'indices'");
    expectFailure(triangleWith([](JsonBytes &j) { polygonRun(j, 1, 1, 3); }),
                  "polygon run of 1 polygons of 3 vertices from vertex 1 passes the 3 vertices");
    expectFailure(triangleWith([](JsonBytes &j) {
                      // run-length counts whose product overflows
                      j.arr().arr().key("type").key("p_r").end().arr().key("s_v").i8(0);
                      j.key("r_v").arr().i64(3).i64(0x7FFFFFFFFFFFFFFFLL).end().end().end();
                  }),
                  "value 9223372036854775807 out of range in 'nvertices_rle'");
    expectFailure(triangleWith([](JsonBytes &j) {
                      j.arr().arr().key("type").key("p_r").end().arr().key("s_v").i8(0);
                      j.key("r_v").ui32({1, 4000000}).end().end();
                  }),
                  "polygon run of 4000000 polygons of 1 vertices");
    expectFailure(triangleWith([](JsonBytes &j) {
                      j.arr().arr().key("type").key("p_r").end().arr().key("s_v").i8(0);
                      j.key("n_p").i8(2).key("n_v").ui8({3}).end().end();
                  }),
                  "polygon run says 2 polygons but has 1");
    expectFailure(triangleWith([](JsonBytes &j) {
                      j.arr().arr().key("type").str("Poly").end();
                      j.arr().key("vertex").pi32({0, 1, 3}).end().end();
                  }),
                  "value 3 out of range in 'vertex'");
    expectFailure(triangleWith([](JsonBytes &j) {
                      j.arr().arr().key("type").key("p_r").end();
                      j.arr().key("n_p").i8(1).key("r_v").ui8({3, 1}).end().end();
                  }),
                  "polygon run without a start vertex");
}

TEST(JsonDamage, AttributeValuesThatDoNotAddUp) {
    auto withP = [](int points, const std::function<void(JsonBytes &)> &values) {
        JsonBytes j;
        documentHead(j, points, {}, 0);
        j.key("attributes").arr().key("pointattributes").arr().arr().arr().key("type");
        j.key("numeric").key("name").str("P").end().arr().key("values").arr();
        values(j);
        return j.end().end().end().end().end().end().bytes();
    };
    expectFailure(
        withP(3,
              [](JsonBytes &j) {
                  j.key("size").i8(3).key("storage").key("fpreal32").key("pagesize").i16(1024);
                  j.key("rawpagedata").uf32({1, 2, 3, 4, 5, 6, 7, 8});
              }),
        "holds 8 values, 9 expected");
    expectFailure(
        withP(3,
              [](JsonBytes &j) {
                  j.key("size").i8(3).key("storage").key("fpreal32").key("pagesize").i16(1024);
                  j.key("rawpagedata").pf64({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
              }),
        "values too many in 'rawpagedata'");
    expectFailure(withP(3,
                        [](JsonBytes &j) {
                            j.key("size").i8(3).key("storage").key("fpreal32");
                            j.key("pagesize").i32(1 << 30).key("rawpagedata").uf32({1, 2, 3});
                        }),
                  "value 1073741824 out of range in 'pagesize'");
    expectFailure(
        withP(3,
              [](JsonBytes &j) {
                  j.key("size").i8(4).key("storage").key("fpreal32").key("pagesize").i16(1024);
                  j.key("packing").uu8({3, 2}).key("rawpagedata").uf32({});
              }),
        "packing of 'P' does not add up to 4");
    expectFailure(
        withP(3,
              [](JsonBytes &j) {
                  j.key("size").i8(2).key("storage").key("fpreal32").key("pagesize").i16(1024);
                  j.key("rawpagedata").uf32({1, 2, 3, 4, 5, 6});
              }),
        "\"P\" has 2 components");
    expectFailure(withP(3,
                        [](JsonBytes &j) {
                            j.key("rawpagedata").uf32({1, 2, 3, 4, 5, 6, 7, 8, 9});
                        }),
                  "before their tuple size");
    expectFailure(
        withP(2000,
              [](JsonBytes &j) {
                  j.key("size").i8(3).key("storage").key("fpreal32").key("tuples").arr().end();
              }),
        "'P' cannot hold 2000 elements");
    // A string index beyond the table.
    JsonBytes j;
    documentHead(j, 1, {}, 0);
    j.key("attributes").arr().key("pointattributes").arr();
    numericAttribute(j, "P", 3, {0, 0, 0});
    j.arr().arr().key("type").key("string").key("name").str("name").end();
    j.arr().key("strings").ustr({"only"}).key("indices").arr().key("size").i8(1);
    j.key("storage").key("int32").key("pagesize").i16(1024).key("rawpagedata").ui32({1});
    j.end().end().end().end().end().end();
    expectFailure(j.bytes(), "string attribute \"name\" uses string 1 of 1");
}

TEST(JsonDamage, DocumentsMissingWhatTheModelNeeds) {
    JsonBytes noP;
    documentHead(noP, 2, {}, 0).end();
    expectFailure(noP.bytes(), "2 points but no \"P\" attribute");
    JsonBytes early;
    early.magic().arr().key("topology").arr().end().end();
    expectFailure(early.bytes(), "\"topology\" before the point and vertex counts");
    JsonBytes notJson;
    notJson.raw('B').raw('g').raw('e').raw('o');
    expectFailure(notJson.bytes(), "it starts with 42 67 65 6F");
    JsonBytes scalar;
    scalar.magic().i8(1);
    expectFailure(scalar.bytes(), "expected a list of keys and values for 'geometry' at byte 5");
}

TEST(JsonDamage, DamagedBloscContainers) {
    KELP_NEEDS_BLOSC();
    const Bytes plain = twoTriangles().bytes();
    const Bytes good = bloscContainer(plain, 128);
    ASSERT_GT(good.size(), 12u + 16u * 3);
    const std::size_t last = plain.size() % 128; // bytes in the last chunk
    const std::size_t n = good.size();

    Bytes noEnd(good.begin(), good.end() - 1);
    expectFailure(noEnd, "no \"1fcs\" at its end");

    Bytes index = good; // index length beyond the file
    index[n - 12 + 3] = 0x10;
    expectFailure(index, "index of");

    Bytes start = good;                                  // the start of chunk 1 moved by one byte
    const std::size_t indexBegin = n - 12 - good[n - 5]; // index length: its low byte
    start[indexBegin + 7] += 1;
    expectFailure(start, "Blosc chunk 0 at byte 12 says");

    Bytes size = good; // uncompressed size of the last chunk
    size[n - 12 - 1] ^= 0x01;
    expectFailure(size, "holds " + std::to_string(last) + " bytes, the index " +
                            std::to_string(last ^ 1));

    Bytes header = good; // chunk 0's own compressed size
    header[12 + 12] ^= 0x01;
    expectFailure(header, "Blosc chunk 0 at byte 12 says");

    Bytes huge = good; // chunk 0 claims 0x7F000000 uncompressed bytes
    huge[12 + 7] = 0x7F;
    expectFailure(huge, "Blosc chunk 0");

    // Every change in the chunks themselves is survived; the payload is
    // then decoded or refused.
    for (std::size_t at = 12; at < n - 12 - 32; ++at) {
        Bytes bytes = good;
        bytes[at] ^= 0xA5;
        Kelp k;
        JsonLoaded r = loadJson(k, bytes, "x.bgeo.sc");
        if (r.result == 0) {
            ASSERT_EQ(countLines(r.err), 1) << at << ": " << r.err;
        }
    }
    // And every truncation fails.
    for (std::size_t cut = 0; cut < n; cut += 7) {
        Bytes bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut));
        Kelp k;
        ASSERT_EQ(loadJson(k, bytes, "x.bgeo.sc").result, 0) << cut;
    }
}

TEST(JsonDamage, FailureLeavesTheModelAsItWas) {
    Kelp k;
    ASSERT_EQ(loadJson(k, twoTriangles()).result, 1);
    Bytes cut = twoTriangles().bytes();
    cut.resize(cut.size() - 3);
    EXPECT_EQ(loadJson(k, cut).result, 0);
    EXPECT_EQ(k.getNumPolys(), 2u);
    EXPECT_EQ(k.getPointAttributes().size(), 1u);
}
