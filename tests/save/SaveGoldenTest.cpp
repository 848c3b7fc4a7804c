// The exact bytes the savers write, plain and compressed.
#include "SaveTestSupport.h"
#include "TriangleText.h"

#include <gtest/gtest.h>

#include <zlib.h>

using namespace savetest;

// Float exponents have three digits in the Windows build (1e-007).
#ifdef _WIN32
#define KELP_EXPONENT(elsewhere, windows) windows
#else
#define KELP_EXPONENT(elsewhere, windows) elsewhere
#endif

namespace {

const char *const kTriangleBgeo =
    "42 67 65 6F 56"
    "00 00 00 05"
    "00 00 00 03  00 00 00 01"
    "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
    "00 00 00 00 00 00 00 00 00 00 00 00 3F 80 00 00"
    "3F 80 00 00 00 00 00 00 00 00 00 00 3F 80 00 00"
    "00 00 00 00 3F 80 00 00 00 00 00 00 3F 80 00 00"
    "FF FF FF FF  00 01  00 00 00 01"
    "00 00 00 03  3C  00 00  00 01  00 02"
    "00 FF";

const char *const kTriangleGeo = kelptest::kTriangleText;

const char *const kTriangleUvGeo = "PGEOMETRY V5\n"
                                   "NPoints 3 NPrims 1\n"
                                   "NPointGroups 0 NPrimGroups 0\n"
                                   "NPointAttrib 1 NVertexAttrib 1 NPrimAttrib 0 NAttrib 0\n"
                                   "PointAttrib\n"
                                   "N 3 vector 0 0 0\n"
                                   "0 0 0 1 (0 0 1)\n"
                                   "1 0 0 1 (0 0 1)\n"
                                   "0 1 0 1 (0 0 1)\n"
                                   "VertexAttrib\n"
                                   "uv 3 vector 0 0 0\n"
                                   "Run 1 Poly\n"
                                   " 3 < 0 (0 0 0) 1 (1 0 0) 2 (0 1 0)\n"
                                   "beginExtra\n"
                                   "endExtra\n";

// Saves k as name in a scratch folder and returns the file's bytes, after
// decompressing when the name asks for gzip (and checking its header).
std::string saved(Kelp &k, const std::string &name) {
    ScratchDir dir;
    testing::internal::CaptureStderr();
    const int result = k.saveBgeo(dir / name);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(result, 1) << name;
    std::string bytes = readFile(dir / name);
    const bool gz = name.size() > 3 && name.compare(name.size() - 3, 3, ".gz") == 0;
    EXPECT_EQ(isGzip(bytes), gz) << name;
    if (!gz)
        return bytes;
    // No name, no comment, modification time 0, unknown system.
    EXPECT_EQ(hexOf(bytes.substr(0, 10)), "1F 8B 08 00 00 00 00 00 00 FF");
    return gunzip(bytes);
}

TEST(SaveGolden, TriangleIsTheWorkedExampleIn112Bytes) {
    Kelp k;
    fillTriangle(k);
    const std::string expected = bytesOf(kTriangleBgeo);
    ASSERT_EQ(expected.size(), 112u);
    EXPECT_EQ(hexOf(saved(k, "tri.bgeo")), hexOf(expected));
    EXPECT_EQ(hexOf(saved(k, "tri.bgeo.gz")), hexOf(expected));
}

TEST(SaveGolden, EmptyDetailIs43Bytes) {
    Kelp k;
    k.initialiseNew();
    const std::string expected =
        std::string("BgeoV") + bytesOf("00 00 00 05") + std::string(32, '\0') + bytesOf("00 FF");
    ASSERT_EQ(expected.size(), 43u);
    EXPECT_EQ(hexOf(saved(k, "empty.bgeo")), hexOf(expected));
    EXPECT_EQ(hexOf(saved(k, "empty.bgeo.gz")), hexOf(expected));
}

TEST(SaveGolden, TextTriangleIsThirteenLines) {
    Kelp k;
    fillTriangleWithNormals(k);
    EXPECT_EQ(saved(k, "tri.geo"), kTriangleGeo);
    EXPECT_EQ(saved(k, "tri.geo.gz"), kTriangleGeo);
}

TEST(SaveGolden, TextTriangleWithUvListsThreeFloatsAsVector) {
    Kelp k;
    fillTriangleWithUv(k);
    EXPECT_EQ(saved(k, "tri.geo"), kTriangleUvGeo);
    EXPECT_EQ(saved(k, "tri.geo.gz"), kTriangleUvGeo);
}

TEST(SaveGolden, TextWithoutAttributesHasNoPointAttribLine) {
    Kelp k;
    fillTriangle(k);
    const std::string text = saved(k, "tri.geo");
    EXPECT_EQ(text.find("PointAttrib\n"), std::string::npos);
    EXPECT_NE(text.find("\n0 0 0 1\n1 0 0 1\n0 1 0 1\nRun 1 Poly\n"), std::string::npos);
}

TEST(SaveGolden, TextWithoutPolygonsHasNoRunLine) {
    Kelp k;
    k.initialiseNew();
    k.setPointAttrVectorValue("P", V3f(0.5f, -0.0f, 1234567.0f));
    EXPECT_EQ(saved(k, "p.geo"),
              "PGEOMETRY V5\nNPoints 1 NPrims 0\nNPointGroups 0 NPrimGroups 0\n"
              "NPointAttrib 0 NVertexAttrib 0 NPrimAttrib 0 NAttrib 0\n"
              "0.5 -0 " KELP_EXPONENT("1.23457e+06", "1.23457e+006") " 1\nbeginExtra\nendExtra\n");
}

TEST(SaveGolden, TwoPointVectorsShareOneParenthesisWithATab) {
    Kelp k;
    k.initialiseNew();
    k.setPointAttrVectorValue("P", V3f(0, 0, 0));
    k.setPointAttrVectorValue("N", V3f(0, 0, 1));
    k.setPointAttrVectorValue("v", V3f(0.1f, 1e-7f, 123456789.0f));
    const std::string text = saved(k, "p.geo");
    EXPECT_NE(text.find("PointAttrib\nN 3 vector 0 0 0\nv 3 vector 0 0 0\n"
                        "0 0 0 1 (0 0 1\t0.1 " KELP_EXPONENT("1e-07 1.23457e+08",
                                                             "1e-007 1.23457e+008") ")\n"),
              std::string::npos)
        << text;
}

TEST(SaveGolden, UvIsWrittenWithTypeZeroAndVectorValues) {
    Kelp k;
    fillTriangle(k);
    // Stored as a vector (type 5): the file still says type 0.
    for (int i = 0; i < 3; ++i)
        k.setVertexAttrVectorValue("uv", V3f(float(i), 0.5f, 0), 0);
    ASSERT_EQ(k.getVertexAttrType(0), 5);
    const std::string bytes = saved(k, "tri.bgeo");
    const std::string dictionary =
        bytesOf("00 02") + "uv" + bytesOf("00 03  00 00 00 00") + std::string(12, '\0');
    EXPECT_EQ(hexOf(bytes.substr(41 + 48, dictionary.size())), hexOf(dictionary));
    // Each vertex: a 16-bit index, then three floats.
    const std::size_t poly = 41 + 48 + dictionary.size() + 10;
    EXPECT_EQ(hexOf(bytes.substr(poly, 5 + 3 * 14)), "00 00 00 03 3C "
                                                     "00 00 00 00 00 00 3F 00 00 00 00 00 00 00 "
                                                     "00 01 3F 80 00 00 3F 00 00 00 00 00 00 00 "
                                                     "00 02 40 00 00 00 3F 00 00 00 00 00 00 00");
    EXPECT_EQ(bytes.size(), poly + 5 + 3 * 14 + 2);
}

// The mesh export's "Alpha": one float per vertex, type 0, both forms, and
// read back as one float.
TEST(SaveGolden, OneFloatVertexAttributeIsOneComponent) {
    Kelp k;
    fillTriangle(k);
    for (float a : {0.5f, 0.25f, 1.0f})
        k.setVertexAttrFloatValue("Alpha", a);
    const std::string bytes = saved(k, "tri.bgeo");
    const std::string dictionary =
        bytesOf("00 05") + "Alpha" + bytesOf("00 01  00 00 00 00  00 00 00 00");
    EXPECT_EQ(hexOf(bytes.substr(41 + 48, dictionary.size())), hexOf(dictionary));
    // Each vertex: a 16-bit index, then one float.
    const std::size_t poly = 41 + 48 + dictionary.size() + 10;
    EXPECT_EQ(hexOf(bytes.substr(poly, 5 + 3 * 6)), "00 00 00 03 3C "
                                                    "00 00 3F 00 00 00 "
                                                    "00 01 3E 80 00 00 "
                                                    "00 02 3F 80 00 00");
    EXPECT_EQ(bytes.size(), poly + 5 + 3 * 6 + 2);

    const std::string text = saved(k, "tri.geo");
    EXPECT_NE(text.find("NPointAttrib 0 NVertexAttrib 1 NPrimAttrib 0 NAttrib 0\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("VertexAttrib\nAlpha 1 float 0\nRun 1 Poly\n"
                        " 3 < 0 (0.5) 1 (0.25) 2 (1)\n"),
              std::string::npos)
        << text;

    for (const char *name : {"tri.bgeo", "tri.geo"}) {
        ScratchDir dir;
        testing::internal::CaptureStderr();
        ASSERT_EQ(k.saveBgeo(dir / name), 1);
        Kelp back;
        const int loaded = back.loadBgeo(dir / name);
        testing::internal::GetCapturedStderr();
        ASSERT_EQ(loaded, 1) << name;
        const int alpha = back.attrExists("Alpha", "VERTEX");
        ASSERT_GE(alpha, 0) << name;
        const AttributeData &a = back.getVertexAttributes()[static_cast<std::size_t>(alpha)];
        EXPECT_EQ(a.type, 0) << name;
        EXPECT_EQ(a.size, 1) << name;
        EXPECT_EQ(a.float_data, (std::vector<float>{0.5f, 0.25f, 1.0f})) << name;
    }
}

TEST(SaveGolden, LongAttributeNamesAreWrittenWhole) {
    Kelp k;
    fillTriangle(k);
    const std::string name(2000, 'n');
    for (int i = 0; i < 3; ++i)
        k.setPointAttrVectorValue(name, V3f(0, 0, 1));
    const std::string bytes = saved(k, "long.bgeo");
    EXPECT_EQ(hexOf(bytes.substr(41, 2)), "07 D0");
    EXPECT_EQ(bytes.substr(43, 2000), name);
    EXPECT_EQ(hexOf(bytes.substr(2043, 2 + 4 + 12)),
              "00 03 00 00 00 05 00 00 00 00 00 00 00 00 00 00 00 00");
}

TEST(SaveGolden, PolygonsComeInRunsOfAtMost65535) {
    Kelp k;
    fillTriangle(k);
    k.setPolyVertexIdValue(0, 0); // polygon 0 gets a fourth vertex
    for (std::uint32_t p = 1; p < 65537; ++p)
        k.setPolyVertexIdValue(p, p % 3);
    const std::string bytes = saved(k, "runs.bgeo");
    const std::size_t first = 41 + 48;
    EXPECT_EQ(hexOf(bytes.substr(first, 10)), "FF FF FF FF FF FF 00 00 00 01");
    // Polygon 0 has 4 vertices, the others 1: 5 + 2 per vertex each.
    const std::size_t second = first + 10 + (5 + 8) + 65534 * 7;
    EXPECT_EQ(hexOf(bytes.substr(second, 10)), "FF FF FF FF 00 02 00 00 00 01");
    EXPECT_EQ(hexOf(bytes.substr(second + 10)), "00 00 00 01 3C 00 00 00 00 00 01 3C 00 01 00 FF");

    const std::string text = saved(k, "runs.geo");
    EXPECT_NE(text.find("\nRun 65535 Poly\n 4 < 0 1 2 0\n 1 < 1\n"), std::string::npos);
    EXPECT_NE(text.find("\n 1 < 2\nRun 2 Poly\n 1 < 0\n 1 < 1\nbeginExtra\n"), std::string::npos);
}

// Point index width by point count: 16 bits up to 65535 points, 32 above.
class SaveIndexWidth : public testing::TestWithParam<std::uint32_t> {};

TEST_P(SaveIndexWidth, FollowsThePointCount) {
    const std::uint32_t points = GetParam();
    Kelp k;
    k.initialiseNew();
    for (std::uint32_t i = 0; i < points; ++i)
        k.setPointAttrVectorValue("P", V3f(float(i), 0, 0));
    k.setPolyVertexIdValue(0, 0);
    k.setPolyVertexIdValue(0, 40000);
    k.setPolyVertexIdValue(0, points - 1);
    const std::string bytes = saved(k, "wide.bgeo");
    const std::size_t width = points > 65535 ? 4 : 2;
    const std::size_t poly = 41 + 16 * std::size_t(points) + 10 + 5;
    ASSERT_EQ(bytes.size(), poly + 3 * width + 2);
    std::string expected;
    for (std::uint32_t id : {0u, 40000u, points - 1})
        for (std::size_t b = width; b-- > 0;)
            expected += static_cast<char>((id >> (8 * b)) & 0xff);
    EXPECT_EQ(hexOf(bytes.substr(poly, 3 * width)), hexOf(expected));
}

INSTANTIATE_TEST_SUITE_P(Points, SaveIndexWidth, testing::Values(65532u, 65533u, 65535u, 65536u),
                         [](const testing::TestParamInfo<std::uint32_t> &info) {
                             return "P" + std::to_string(info.param);
                         });

} // namespace

namespace {

// The compressed file is byte for byte what zlib's own gzip framing makes of
// the plain file in one call: level 6, deflate, a 15-bit window, memory level
// 8, the default strategy, no name, no comment, time 0 and the "unknown"
// system byte, so the header is 1F 8B 08 00 00000000 00 FF.
std::string zlibGzip(const std::string &plain) {
    z_stream zs = {};
    EXPECT_EQ(deflateInit2(&zs, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY),
              Z_OK);
    gz_header header = {};
    header.os = 255;
    EXPECT_EQ(deflateSetHeader(&zs, &header), Z_OK);
    std::string out(deflateBound(&zs, static_cast<uLong>(plain.size())) + 32, '\0');
    zs.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(plain.data()));
    zs.avail_in = static_cast<uInt>(plain.size());
    zs.next_out = reinterpret_cast<Bytef *>(&out[0]);
    zs.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&zs, Z_FINISH), Z_STREAM_END);
    out.resize(zs.total_out);
    deflateEnd(&zs);
    return out;
}

TEST(SaveGolden, GzipMatchesZlibGzipFraming) {
    Kelp k;
    k.initialiseNew();
    for (std::uint32_t i = 0; i < 200000; ++i)
        k.setPointAttrVectorValue("P", V3f(float(i % 977), float(i) * 0.25f, -1.0f));
    for (std::uint32_t p = 0; p + 2 < 200000; p += 3)
        for (std::uint32_t v = 0; v < 3; ++v)
            k.setPolyVertexIdValue(p / 3, p + v);
    ScratchDir dir;
    for (const char *name : {"big.bgeo", "big.geo"}) {
        const std::string plainPath = dir / name;
        const std::string gzPath = plainPath + ".gz";
        testing::internal::CaptureStderr();
        ASSERT_EQ(k.saveBgeo(plainPath), 1);
        ASSERT_EQ(k.saveBgeo(gzPath), 1);
        testing::internal::GetCapturedStderr();
        const std::string plain = readFile(plainPath);
        ASSERT_GT(plain.size(), 3u << 20); // several blocks
        const std::string gz = readFile(gzPath);
        EXPECT_TRUE(gz == zlibGzip(plain)) << name;
    }
}

} // namespace
