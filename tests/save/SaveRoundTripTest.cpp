// Saved files load back: every point, polygon and vertex value intact.
#include "SaveTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

using namespace savetest;

namespace {

struct Shape {
    std::uint32_t points;
    std::uint32_t polygons;
};

// Random positions, a normal per point, polygons of 1 to 8 vertices over
// random points, and a "uv" per vertex (three floats, as the mesh export
// stores them).
void fillRandom(Kelp &k, const Shape &shape, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> coordinate(-1000.0f, 1000.0f);
    std::uniform_int_distribution<std::uint32_t> point(0, shape.points - 1);
    std::uniform_int_distribution<int> corners(1, 8);
    k.initialiseNew();
    for (std::uint32_t i = 0; i < shape.points; ++i)
        k.setPointAttrVectorValue("P",
                                  V3f(coordinate(random), coordinate(random), coordinate(random)));
    for (std::uint32_t i = 0; i < shape.points; ++i)
        k.setPointAttrVectorValue("N", V3f(coordinate(random), -0.0f, 1e-30f));
    for (std::uint32_t p = 0; p < shape.polygons; ++p) {
        const int n = corners(random);
        for (int v = 0; v < n; ++v) {
            k.setPolyVertexIdValue(p, point(random));
            k.setVertexAttrVectorValue("uv", V3f(coordinate(random), coordinate(random), 0.25f), 1);
        }
    }
}

void expectSameValues(const std::vector<V3f> &a, const std::vector<V3f> &b, std::size_t n,
                      const char *what) {
    ASSERT_GE(a.size(), n) << what;
    ASSERT_GE(b.size(), n) << what;
    for (std::size_t i = 0; i < n; ++i)
        for (int c = 0; c < 3; ++c)
            // Bit for bit: -0 stays -0.
            ASSERT_EQ(std::memcmp(&a[i][c], &b[i][c], sizeof(float)), 0)
                << what << " " << i << "." << c << ": " << a[i][c] << " vs " << b[i][c];
}

void expectSameDetail(const Kelp &saved, const Kelp &loaded) {
    ASSERT_EQ(loaded.getNumPoints(), saved.getNumPoints());
    ASSERT_EQ(loaded.getNumPrims(), saved.getNumPrims());
    ASSERT_EQ(loaded.getNumPointAttrs(), saved.getNumPointAttrs());
    ASSERT_EQ(loaded.getNumVertexAttrs(), saved.getNumVertexAttrs());
    const std::uint32_t points = saved.getNumPoints();
    expectSameValues(saved.getPointAttributes()[0].vector_data,
                     loaded.getPointAttributes()[0].vector_data, points, "P");
    const int nSaved = saved.attrExists("N", "POINT");
    const int nLoaded = loaded.attrExists("N", "POINT");
    ASSERT_GE(nLoaded, 1);
    expectSameValues(saved.getPointAttributes()[nSaved].vector_data,
                     loaded.getPointAttributes()[nLoaded].vector_data, points, "N");

    const std::vector<PolygonData> &a = saved.getPolygons();
    const std::vector<PolygonData> &b = loaded.getPolygons();
    ASSERT_EQ(b.size(), a.size());
    std::size_t vertices = 0;
    for (std::size_t p = 0; p < a.size(); ++p) {
        ASSERT_EQ(b[p].numberOfVertices, a[p].numberOfVertices) << "polygon " << p;
        ASSERT_TRUE(b[p].ids == a[p].ids) << "polygon " << p;
        vertices += a[p].ids.size();
    }
    const int uvLoaded = loaded.attrExists("uv", "VERTEX");
    ASSERT_GE(uvLoaded, 0);
    expectSameValues(saved.getVertexAttributes()[0].vector_data,
                     loaded.getVertexAttributes()[uvLoaded].vector_data, vertices, "uv");
}

void PrintTo(const Shape &shape, std::ostream *os) {
    *os << shape.points << " points, " << shape.polygons << " polygons";
}

class SaveRoundTrip : public testing::TestWithParam<Shape> {};

TEST_P(SaveRoundTrip, LoadsBackEqual) {
    const Shape shape = GetParam();
    Kelp saved;
    fillRandom(saved, shape, shape.points * 7 + shape.polygons);
    ScratchDir dir;
    for (const char *name : {"rt.bgeo", "rt.bgeo.gz"}) {
        SCOPED_TRACE(name);
        testing::internal::CaptureStderr();
        const int result = saved.saveBgeo(dir / name);
        testing::internal::GetCapturedStderr();
        ASSERT_EQ(result, 1);
        Kelp loaded;
        testing::internal::CaptureStderr();
        const int loadResult = loaded.loadBgeo(dir / name);
        const std::string err = testing::internal::GetCapturedStderr();
        ASSERT_EQ(loadResult, 1) << err;
        expectSameDetail(saved, loaded);
    }
}

INSTANTIATE_TEST_SUITE_P(Shapes, SaveRoundTrip,
                         testing::Values(Shape{3, 1}, Shape{5, 2}, Shape{5, 3}, Shape{1000, 65535},
                                         Shape{1000, 65536}, Shape{70000, 131070},
                                         Shape{1000, 131071}, Shape{65535, 200000},
                                         Shape{65536, 65537}),
                         [](const testing::TestParamInfo<Shape> &info) {
                             return std::to_string(info.param.points) + "Points" +
                                    std::to_string(info.param.polygons) + "Polygons";
                         });

// Big-endian bytes for a hand-made file.
class Bytes {
public:
    Bytes &i16(int v) { return put(static_cast<std::uint32_t>(v), 2); }
    Bytes &i32(std::int64_t v) { return put(static_cast<std::uint32_t>(v), 4); }
    Bytes &f32(float f) {
        std::uint32_t bits;
        std::memcpy(&bits, &f, 4);
        return put(bits, 4);
    }
    Bytes &text(const std::string &s) {
        m_bytes += s;
        return *this;
    }
    Bytes &byte(int c) {
        m_bytes += static_cast<char>(c);
        return *this;
    }
    // Marks the next byte as a polygon's closure byte.
    Bytes &closure() {
        m_closures.push_back(m_bytes.size());
        return byte('<');
    }
    const std::string &str() const { return m_bytes; }
    // The bytes with the closure bytes taken from saved: the saver writes the
    // detail's closure character, which a loaded detail does not set.
    std::string withClosuresOf(const std::string &saved) const {
        std::string bytes = m_bytes;
        for (std::size_t at : m_closures)
            if (at < saved.size())
                bytes[at] = saved[at];
        return bytes;
    }

private:
    Bytes &put(std::uint32_t v, int n) {
        for (int i = n - 1; i >= 0; --i)
            m_bytes += static_cast<char>((v >> (8 * i)) & 0xff);
        return *this;
    }
    std::string m_bytes;
    std::vector<std::size_t> m_closures;
};

// A file in exactly the layout the saver writes, with one float and one
// vector point attribute and one float and one three-float vertex attribute:
// loading and saving it again gives the same bytes.
TEST(SaveRoundTripBytes, LoadedFileSavesToTheSameBytes) {
    Bytes b;
    b.text("BgeoV").i32(5).i32(4).i32(2).i32(0).i32(0).i32(2).i32(2).i32(0).i32(0);
    b.i16(6).text("pscale").i16(1).i32(0).f32(1.0f);
    b.i16(1).text("v").i16(3).i32(5).f32(0).f32(0).f32(0);
    for (int p = 0; p < 4; ++p) {
        b.f32(float(p)).f32(0.5f * p).f32(-1.0f).f32(1.0f);
        b.f32(0.1f * p);
        b.f32(1.0f).f32(2.0f).f32(float(p));
    }
    b.i16(2).text("uv").i16(3).i32(0).f32(0).f32(0).f32(0);
    b.i16(1).text("w").i16(1).i32(0).f32(0.5f);
    b.i32(-1).i16(2).i32(1);
    const int polygons[2][4] = {{0, 1, 2, -1}, {0, 2, 3, 1}};
    for (const auto &poly : polygons) {
        const int n = poly[3] < 0 ? 3 : 4;
        b.i32(n).closure();
        for (int v = 0; v < n; ++v)
            b.i16(poly[v]).f32(0.25f * v).f32(0.75f).f32(0).f32(float(v));
    }
    b.i16(255);

    Kelp loaded;
    testing::internal::CaptureStderr();
    const int loadResult = loaded.loadBgeoFromMemory(
        reinterpret_cast<const unsigned char *>(b.str().data()), b.str().size(), "made.bgeo");
    const std::string err = testing::internal::GetCapturedStderr();
    ASSERT_EQ(loadResult, 1) << err;
    ScratchDir dir;
    testing::internal::CaptureStderr();
    const int result = loaded.saveBgeo(dir / "again.bgeo");
    testing::internal::GetCapturedStderr();
    ASSERT_EQ(result, 1);
    const std::string again = readFile(dir / "again.bgeo");
    EXPECT_EQ(hexOf(again), hexOf(b.withClosuresOf(again)));
}

} // namespace

namespace {

// A detail loaded from a file that has a detail attribute gets the
// attribute-name map after its polygons: binary as the layout gives it,
// text as a "DetailAttrib" section.
TEST(SaveRoundTripBytes, DetailAttributeCountBringsTheNameMap) {
    Bytes b;
    b.text("BgeoV").i32(5).i32(3).i32(1).i32(0).i32(0).i32(1).i32(0).i32(0).i32(1);
    b.i16(1).text("v").i16(3).i32(5).f32(0).f32(0).f32(0);
    for (int p = 0; p < 3; ++p)
        b.f32(float(p == 1)).f32(float(p == 2)).f32(0).f32(1.0f).f32(0).f32(0).f32(1.0f);
    b.i32(-1).i16(1).i32(1).i32(3).closure().i16(0).i16(1).i16(2);
    const std::string map = bytesOf("00 06") + "varmap" + bytesOf("00 01 00 00 00 04 00 00 00 01") +
                            bytesOf("00 06") + "v -> V";
    b.text(map).i16(255);

    Kelp loaded;
    testing::internal::CaptureStderr();
    const int loadResult = loaded.loadBgeoFromMemory(
        reinterpret_cast<const unsigned char *>(b.str().data()), b.str().size(), "map.bgeo");
    const std::string err = testing::internal::GetCapturedStderr();
    ASSERT_EQ(loadResult, 1) << err;
    ASSERT_EQ(loaded.getNumAttrs(), 1u);
    ScratchDir dir;
    testing::internal::CaptureStderr();
    const int binary = loaded.saveBgeo(dir / "map.bgeo");
    const int text = loaded.saveBgeo(dir / "map.geo");
    testing::internal::GetCapturedStderr();
    ASSERT_EQ(binary, 1);
    ASSERT_EQ(text, 1);
    const std::string again = readFile(dir / "map.bgeo");
    EXPECT_EQ(hexOf(again), hexOf(b.withClosuresOf(again)));
    const std::string geo = readFile(dir / "map.geo");
    EXPECT_NE(geo.find(" 3 < 0 1 2\nDetailAttrib\nvarmap 1 index 1 \"v -> V\"\n (0)\n"
                       "beginExtra\nendExtra\n"),
              std::string::npos)
        << geo;
}

} // namespace
