// Damaged input: a valid file cut at every byte and with bytes changed, and
// corrupt and truncated gzip streams. Every load ends with a defined result;
// a failure prints exactly one line.
#include "LoadHelpers.h"

#include <gtest/gtest.h>

namespace {

using namespace kelptest;

// A file with a bit of everything: point attributes of several kinds, a
// vertex attribute, a primitive attribute, a run, a keyed polygon and a
// particle primitive, then the attribute-name map as the saver writes it
// (no record of values) and the end of the file.
ClassicBytes richFile(std::size_t *primitivesEnd) {
    ClassicBytes b;
    b.header(4, 4, 3, 1, 1, 1);
    b.attr("Cd", 3, 0, {1, 1, 1}).attr("id", 1, 1, {-1}).indexAttr("name", {"", "a"});
    for (int i = 0; i < 4; ++i)
        b.point(float(i), 1, 2).f32(0.5f).f32(0.25f).f32(0).i32(i).i32(i % 2);
    b.attr("uv", 2, 0);
    b.attr("area", 1, 0, {0});
    b.runHeader(2);
    for (int p = 0; p < 2; ++p) {
        b.u32(3).u8('<');
        for (int v = 0; v < 3; ++v)
            b.u16(std::uint16_t((p + v) % 4)).f32(0.1f * v).f32(0.2f);
        b.f32(1.0f);
    }
    b.u32(1).u32(4).u8('<');
    for (int v = 0; v < 4; ++v)
        b.u16(std::uint16_t(v)).f32(0).f32(1);
    b.f32(2.0f);
    b.u32(0x8000).u32(2).u16(0).f32(0).f32(0).u16(3).f32(0).f32(0).f32(3.0f);
    *primitivesEnd = b.size();
    b.i16(6).raw("varmap").i16(1).i32(4).i32(1).u16(6).raw("v -> V").trailer();
    return b;
}

TEST(Damage, TheRichFileLoads) {
    std::size_t end = 0;
    ClassicBytes b = richFile(&end);
    Kelp k;
    Loaded r = loadInto(k, b);
    ASSERT_EQ(r.result, 1) << r.err;
    EXPECT_EQ(k.getNumPolys(), 3u);
    EXPECT_EQ(k.getNumVerts(), 10u);
    EXPECT_EQ(k.getVertexAttributes()[0].vector_data.size(), 10u);
    EXPECT_EQ(k.getPointAttributes()[3].int_data[3], 1);
}

TEST(Damage, CutAtEveryByte) {
    std::size_t end = 0;
    ClassicBytes b = richFile(&end);
    for (std::size_t n = 0; n <= b.size(); ++n) {
        Bytes cut(b.bytes().begin(), b.bytes().begin() + static_cast<std::ptrdiff_t>(n));
        Kelp k;
        Loaded r = loadInto(k, cut, "cut.bgeo");
        if (n < b.size()) {
            ASSERT_EQ(r.result, 0) << "cut at " << n;
            ASSERT_EQ(lineCount(r.err), 1) << r.err;
            ASSERT_EQ(r.err.rfind("could not load cut.bgeo: ", 0), 0u) << r.err;
            ASSERT_EQ(k.getNumPoints(), 0u);
            ASSERT_TRUE(k.getPointAttributes().empty());
        } else {
            ASSERT_EQ(r.result, 1) << "cut at " << n << ": " << r.err;
            ASSERT_EQ(k.getNumPolys(), 3u);
        }
    }
}

TEST(Damage, EveryByteChanged) {
    std::size_t end = 0;
    ClassicBytes b = richFile(&end);
    int failures = 0;
    for (std::size_t i = 0; i < b.size(); ++i) {
        for (unsigned char value : {0x00, 0xFF, 0x80, 0x7F, 0x01}) {
            Bytes damaged = b.bytes();
            if (damaged[i] == value)
                continue;
            damaged[i] = value;
            Kelp k;
            Loaded r = loadInto(k, damaged);
            ASSERT_TRUE(r.result == 0 || r.result == 1);
            if (r.result == 0) {
                ++failures;
                ASSERT_EQ(lineCount(r.err), 1) << r.err;
                ASSERT_TRUE(k.getPointAttributes().empty());
            } else {
                ASSERT_EQ(r.err, "");
                // whatever loaded is consistent
                for (const PolygonData &p : k.getPolygons()) {
                    ASSERT_EQ(p.numberOfVertices, p.ids.size());
                    for (std::uint32_t id : p.ids)
                        ASSERT_LT(id, k.getNumPoints());
                }
            }
        }
    }
    EXPECT_GT(failures, 100);
}

TEST(Damage, CorruptAndTruncatedGzip) {
    std::size_t end = 0;
    const Bytes packed = gzipBytes(richFile(&end).bytes());
    // truncated anywhere: always a failure with the unzip line
    for (std::size_t n = 2; n < packed.size(); ++n) {
        Bytes cut(packed.begin(), packed.begin() + static_cast<std::ptrdiff_t>(n));
        Kelp k;
        Loaded r = loadInto(k, cut, "t.bgeo.gz");
        ASSERT_EQ(r.result, 0) << n;
        ASSERT_EQ(r.err.rfind("could not unzip file exiting: ", 0), 0u) << r.err;
        ASSERT_NE(r.err.find("(t.bgeo.gz)"), std::string::npos) << r.err;
        ASSERT_EQ(lineCount(r.err), 1) << r.err;
    }
    Bytes cut(packed.begin(), packed.end() - 20);
    Kelp k;
    EXPECT_EQ(loadInto(k, cut, "t.bgeo.gz").err,
              "could not unzip file exiting: the compressed data ends early -5 (t.bgeo.gz)\n");
    // damaged bytes: a defined result, and one line when it fails
    int failures = 0;
    for (std::size_t i = 10; i < packed.size(); ++i) {
        Bytes damaged = packed;
        damaged[i] ^= 0x55;
        Kelp k2;
        Loaded r = loadInto(k2, damaged, "d.bgeo.gz");
        ASSERT_TRUE(r.result == 0 || r.result == 1);
        if (r.result == 0) {
            ++failures;
            ASSERT_EQ(lineCount(r.err), 1) << r.err;
        }
    }
    EXPECT_GT(failures, int(packed.size()) / 2);
    // a bad header
    Bytes header = packed;
    header[2] = 9; // unknown compression method
    Loaded r = loadInto(k, header, "h.bgeo.gz");
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.err.rfind("could not unzip file exiting: ", 0), 0u) << r.err;
}

} // namespace
