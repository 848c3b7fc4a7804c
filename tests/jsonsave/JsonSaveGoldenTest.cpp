// The bytes of small JSON-based documents, token by token, and which form
// each name and format gives.
#include "JsonBytes.h"
#include "JsonSaveHelpers.h"

#include "io/Inflate.h"
#include "json/JsonSaver.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace kelptest;

namespace {

kelp::JsonStamp fixedStamp() {
    kelp::JsonStamp stamp;
    stamp.date = "2026-01-02 03:04:05";
    return stamp;
}

void attribute(JsonBytes &j, const std::string &name, const std::string &info,
               const std::vector<float> &values) {
    j.arr().arr().key("scope").key("public").key("type").key("numeric").key("name").key(name);
    j.key("options").map().key("type").map().key("type").key("string").key("value").key(info);
    j.mapEnd().mapEnd().end();
    j.arr().key("size").i8(3).key("storage").key("fpreal32");
    j.key("defaults").arr().key("size").i8(1).key("storage").key("fpreal64").key("values");
    j.uf64({0.0}).end();
    j.key("values").arr().key("size").i8(3).key("storage").key("fpreal32");
    j.key("pagesize").i16(1024).key("rawpagedata").uf32(values).end();
    j.end().end();
}

// Compares token by token: the first differing byte and what surrounds it.
void expectSameBytes(const std::vector<unsigned char> &got, const Bytes &want) {
    const std::size_t n = std::min(got.size(), want.size());
    std::size_t at = 0;
    while (at < n && got[at] == want[at])
        ++at;
    if (at == n && got.size() == want.size())
        return;
    ADD_FAILURE() << "documents differ at byte " << at << " of " << got.size() << " (expected "
                  << want.size() << "): got 0x" << std::hex << (at < got.size() ? int(got[at]) : -1)
                  << ", expected 0x" << (at < want.size() ? int(want[at]) : -1);
}

} // namespace

TEST(JsonSaveGolden, TriangleWithPositionNormalAndUvIsTheseTokens) {
    Kelp k;
    buildTriangle(k);
    std::vector<unsigned char> got;
    std::string error;
    ASSERT_TRUE(kelp::writeJsonDocument(k, true, fixedStamp(), got, error)) << error;

    JsonBytes j;
    j.magic().arr();
    j.key("fileversion").key("19.5.403");
    j.key("pointcount").i8(3).key("vertexcount").i8(3).key("primitivecount").i8(1);
    j.key("info").map().key("software").key("Kelp").key("date").key("2026-01-02 03:04:05");
    j.mapEnd();
    j.key("topology").arr().key("pointref").arr().key("indices").ui32({0, 1, 2}).end().end();
    j.key("attributes").arr();
    j.key("vertexattributes").arr();
    attribute(j, "uv", "texturecoord", {0, 0, 0, 1, 0, 0, 0, 1, 0});
    j.end();
    j.key("pointattributes").arr();
    attribute(j, "P", "point", {0, 0, 0, 1, 0, 0, 0, 1, 0});
    attribute(j, "N", "normal", {0, 0, 1, 0, 0, 1, 0, 0, 1});
    j.end();
    j.end();
    j.key("primitives").arr().arr().arr().key("type").key("p_r").end();
    j.arr().key("s_v").i8(0).key("n_p").i8(1).key("n_v").ui8({3}).end();
    j.end().end();
    j.end();
    expectSameBytes(got, j.bytes());
}

TEST(JsonSaveGolden, TriangleAsAsciiIsThisText) {
    Kelp k;
    buildTriangle(k);
    std::vector<unsigned char> got;
    std::string error;
    ASSERT_TRUE(kelp::writeJsonDocument(k, false, fixedStamp(), got, error)) << error;
    const std::string text(got.begin(), got.end());
    const std::string attr = "\t\t[[\"scope\",\"public\",\"type\",\"numeric\",\"name\",\"";
    const std::string body = "[\"size\",3,\"storage\",\"fpreal32\",\"defaults\",[\"size\",1,"
                             "\"storage\",\"fpreal64\",\"values\",[0]],\"values\",[\"size\",3,"
                             "\"storage\",\"fpreal32\",\"tuples\",";
    const std::string want =
        "[\n\t\"fileversion\",\n\t\"19.5.403\",\n\t\"pointcount\",\n\t3,\n\t\"vertexcount\",\n"
        "\t3,\n\t\"primitivecount\",\n\t1,\n\t\"info\",\n\t{\n\t\t\"software\":\"Kelp\",\n"
        "\t\t\"date\":\"2026-01-02 03:04:05\"\n\t},\n\t\"topology\",\n\t[\n\t\t\"pointref\",\n"
        "\t\t[\n\t\t\t\"indices\",\n\t\t\t[0,1,2]\n\t\t]\n\t],\n\t\"attributes\",\n\t[\n"
        "\t\t\"vertexattributes\",\n\t\t[\n\t" +
        attr + "uv\",\"options\",{\"type\":{\"type\":\"string\",\"value\":\"texturecoord\"}}]," +
        body + "[[0,0,0],[1,0,0],[0,1,0]]]]]\n\t\t],\n\t\t\"pointattributes\",\n\t\t[\n\t" + attr +
        "P\",\"options\",{\"type\":{\"type\":\"string\",\"value\":\"point\"}}]," + body +
        "[[0,0,0],[1,0,0],[0,1,0]]]]],\n\t" + attr +
        "N\",\"options\",{\"type\":{\"type\":\"string\",\"value\":\"normal\"}}]," + body +
        "[[0,0,1],[0,0,1],[0,0,1]]]]]\n\t\t]\n\t],\n\t\"primitives\",\n\t[\n\t\t[\n"
        "\t\t\t[\"type\",\"Polygon_run\"],\n"
        "\t\t\t[\"startvertex\",0,\"nprimitives\",1,\"nvertices\",[3]]\n\t\t]\n\t]\n]\n";
    EXPECT_EQ(text, want);
}

// The mesh export's "Alpha": a numeric attribute of one fpreal32 component
// with no type info, read back as one float per vertex.
TEST(JsonSaveGolden, OneFloatVertexAttributeIsOneComponent) {
    Kelp k;
    buildTriangle(k);
    for (float a : {0.5f, 0.25f, 1.0f})
        k.setVertexAttrFloatValue("Alpha", a);
    std::vector<unsigned char> got;
    std::string error;
    ASSERT_TRUE(kelp::writeJsonDocument(k, false, fixedStamp(), got, error)) << error;
    const std::string text(got.begin(), got.end());
    EXPECT_NE(text.find("[[\"scope\",\"public\",\"type\",\"numeric\",\"name\",\"Alpha\","
                        "\"options\",{}],[\"size\",1,\"storage\",\"fpreal32\",\"defaults\","
                        "[\"size\",1,\"storage\",\"fpreal64\",\"values\",[0]],\"values\","
                        "[\"size\",1,\"storage\",\"fpreal32\",\"arrays\",[[0.5,0.25,1]]]]]"),
              std::string::npos)
        << text;

    ScratchDir dir;
    for (const char *name : {"a.geo", "a.bgeo", "a.bgeo.sc"}) {
        if (passOverWithoutBlosc(name))
            continue;
        SCOPED_TRACE(name);
        testing::internal::CaptureStderr();
        ASSERT_EQ(k.saveBgeo(dir / name, KelpFormat::Json), 1);
        Kelp back;
        const int loaded = back.loadBgeo(dir / name);
        testing::internal::GetCapturedStderr();
        ASSERT_EQ(loaded, 1);
        const int alpha = back.attrExists("Alpha", "VERTEX");
        ASSERT_GE(alpha, 0);
        const AttributeData &a = back.getVertexAttributes()[static_cast<std::size_t>(alpha)];
        EXPECT_EQ(a.type, 0);
        EXPECT_EQ(a.size, 1);
        EXPECT_EQ(a.float_data, (std::vector<float>{0.5f, 0.25f, 1.0f}));
    }
}

TEST(JsonSaveGolden, EqualCountsAreRunLengthEncodedAndMixedCountsListed) {
    Kelp k;
    k.initialiseNew();
    for (int p = 0; p < 6; ++p)
        k.setPointAttrVectorValue("P", Imath::V3f(float(p), 0, 0));
    // Four triangles, then a quad: r_v [3,4,4,1] is shorter than n_v.
    std::uint32_t poly = 0;
    for (; poly < 4; ++poly)
        for (std::uint32_t v = 0; v < 3; ++v)
            k.setPolyVertexIdValue(poly, v);
    for (std::uint32_t v = 0; v < 4; ++v)
        k.setPolyVertexIdValue(poly, v + 1);
    std::vector<unsigned char> got;
    std::string error;
    ASSERT_TRUE(kelp::writeJsonDocument(k, true, fixedStamp(), got, error)) << error;
    JsonBytes tail;
    tail.raw(0x40).raw(0x11).length(4).raw(3).raw(4).raw(4).raw(1);
    const Bytes &want = tail.bytes();
    EXPECT_NE(std::search(got.begin(), got.end(), want.begin(), want.end()), got.end());

    // Triangle, quad, triangle: three runs are longer than three counts.
    Kelp m;
    m.initialiseNew();
    for (int p = 0; p < 4; ++p)
        m.setPointAttrVectorValue("P", Imath::V3f(float(p), 1, 0));
    const std::vector<std::vector<std::uint32_t>> lists = {{0, 1, 2}, {0, 1, 2, 3}, {1, 2, 3}};
    for (std::uint32_t p = 0; p < lists.size(); ++p)
        for (std::uint32_t id : lists[p])
            m.setPolyVertexIdValue(p, id);
    ASSERT_TRUE(kelp::writeJsonDocument(m, true, fixedStamp(), got, error)) << error;
    JsonBytes counts;
    counts.ui8({3, 4, 3});
    EXPECT_NE(std::search(got.begin(), got.end(), counts.bytes().begin(), counts.bytes().end()),
              got.end());
}

TEST(JsonSaveGolden, EachNameAndFormatGivesItsForm) {
    ScratchDir dir;
    Kelp k;
    buildTriangle(k);
    struct Case {
        const char *name;
        KelpFormat format;
        const char *lead;
        std::size_t leadSize;
    };
    const Case cases[] = {
        {"a.bgeo", KelpFormat::Classic, "BgeoV", 5},
        {"b.bgeo", KelpFormat::Json, "\x7fNSJb", 5},
        {"c.bgeo.gz", KelpFormat::Json, "\x1f\x8b", 2},
        {"d.bgeo.sc", KelpFormat::Classic, "scf1", 4},
        {"e.bgeo.sc", KelpFormat::Json, "scf1", 4},
        {"f.geo", KelpFormat::Json, "[\n", 2},
        {"g.geo", KelpFormat::Classic, "PGEOMETRY", 9},
        {"h.bhclassic", KelpFormat::Json, "BgeoV", 5},
        {"i.hclassic", KelpFormat::Json, "PGEOMETRY", 9},
        {"j.geo.gz", KelpFormat::Json, "\x1f\x8b", 2},
    };
    for (const Case &c : cases) {
        if (passOverWithoutBlosc(c.name))
            continue;
        SCOPED_TRACE(c.name);
        ASSERT_EQ(k.saveBgeo(dir / c.name, c.format), 1);
        const std::vector<unsigned char> bytes = readWhole(dir / c.name);
        ASSERT_GE(bytes.size(), c.leadSize);
        EXPECT_EQ(std::memcmp(bytes.data(), c.lead, c.leadSize), 0);
    }
    // gzip holds the binary document; the plain overload stays classic.
    kelp::ByteBuffer inflated;
    kelp::InflateError problem;
    const std::vector<unsigned char> gz = readWhole(dir / "c.bgeo.gz");
    ASSERT_TRUE(kelp::gunzip(gz.data(), gz.size(), inflated, problem));
    EXPECT_EQ(std::memcmp(inflated.data(), "\x7fNSJb", 5), 0);
    ASSERT_EQ(k.saveBgeo(dir / "k.bgeo"), 1);
    EXPECT_EQ(readWhole(dir / "k.bgeo"), readWhole(dir / "a.bgeo"));
}

TEST(JsonSaveGolden, MessagesNameTheFormWritten) {
    ScratchDir dir;
    Kelp k;
    buildTriangle(k);
    auto message = [&](const std::string &name, KelpFormat format) {
        testing::internal::CaptureStderr();
        k.saveBgeo(dir / name, format);
        return testing::internal::GetCapturedStderr();
    };
    if (KELP_WITH_BLOSC) {
        EXPECT_EQ(message("x.bgeo.sc", KelpFormat::Classic),
                  "JSON code saving file as: sc (binary JSON + Blosc)\n");
    }
    EXPECT_EQ(message("x.bgeo", KelpFormat::Json),
              "JSON code saving file as: bgeo (binary JSON)\n");
    EXPECT_EQ(message("x.bgeo.gz", KelpFormat::Json),
              "JSON code saving file as: gz (binary JSON + gzip)\n");
    EXPECT_EQ(message("x.geo", KelpFormat::Json), "JSON code saving file as: geo (ASCII JSON)\n");
    EXPECT_EQ(message("x.bgeo", KelpFormat::Classic), "BGEO code saving file as: bgeo\n");
    EXPECT_EQ(message("x.bhclassic", KelpFormat::Json), "BGEO code saving file as: bhclassic\n");
    EXPECT_EQ(message("x.hclassic", KelpFormat::Classic), "GEO code saving file as : hclassic\n");
}

TEST(JsonSaveGolden, ContradictoryDetailOrUnwritablePathFailsWithoutAFile) {
    ScratchDir dir;
    Kelp k;
    buildTriangle(k);
    k.setVertexAttrVectorValue("uv", Imath::V3f(5, 5, 0), 1); // four uvs for three vertices
    testing::internal::CaptureStderr();
    EXPECT_EQ(k.saveBgeo(dir / "bad.bgeo.sc"), 0);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("vertex attribute \"uv\" has 4 values for 3 vertices"), std::string::npos)
        << said;
    EXPECT_FALSE(exists(dir / "bad.bgeo.sc"));

    Kelp ok;
    buildTriangle(ok);
    testing::internal::CaptureStderr();
    EXPECT_EQ(ok.saveBgeo(dir / "missing/dir/x.bgeo.sc"), 0);
    testing::internal::GetCapturedStderr();

    // A point number beyond the points.
    Kelp far;
    buildTriangle(far);
    far.setPolyVertexIdValue(1, 7);
    testing::internal::CaptureStderr();
    EXPECT_EQ(far.saveBgeo(dir / "far.bgeo", KelpFormat::Json), 0);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("uses point 7 of 3"), std::string::npos);
    EXPECT_FALSE(exists(dir / "far.bgeo"));
}
