// Files of several MiB: the whole-member inflate, the large-buffer paths and
// the release of the compressed bytes before the parse give the same detail
// as the plain file, and every gzip oddity still takes the zlib path.
#include "LoadHelpers.h"

#include <gtest/gtest.h>

#include <Kelp>

#include <cstdio>
#include <fstream>
#include <string>

using namespace kelptest;

namespace {

const std::uint32_t kPoints = 150000; // about 5 MiB of points, 8 MiB of polygons

// A strip of triangles over kPoints points with "Cd" per point and "uv" per vertex.
const Bytes &largeFile() {
    static const Bytes bytes = [] {
        ClassicBytes b;
        const std::uint32_t prims = kPoints - 2;
        b.header(kPoints, prims, 1, 1).attr("Cd", 3, 0);
        for (std::uint32_t i = 0; i < kPoints; ++i)
            b.point(float(i), float(i % 7), -float(i) * 0.5f).f32(0.25f).f32(float(i)).f32(1.0f);
        b.attr("uv", 3, 0);
        for (std::uint32_t p = 0; p < prims; ++p) {
            if (p % 65535 == 0)
                b.runHeader(static_cast<std::uint16_t>(std::min<std::uint32_t>(65535, prims - p)));
            b.u32(3).u8('<');
            for (std::uint32_t k = 0; k < 3; ++k)
                b.u32(p + k).f32(float(p) / prims).f32(float(k)).f32(0.0f);
        }
        return b.trailer().bytes();
    }();
    return bytes;
}

void expectLargeDetail(const Kelp &k) {
    ASSERT_EQ(k.getNumPoints(), kPoints);
    ASSERT_EQ(k.getNumPolys(), kPoints - 2);
    for (std::uint32_t i : {0u, 65535u, 65536u, kPoints - 1}) {
        EXPECT_EQ(k.getPointAttrVectorValue(0, i),
                  Imath::V3f(float(i), float(i % 7), -float(i) * 0.5f));
        EXPECT_EQ(k.getPointAttrVectorValue(1, i), Imath::V3f(0.25f, float(i), 1.0f));
    }
    for (std::uint32_t p : {0u, 65534u, 65535u, kPoints - 3}) {
        ASSERT_EQ(k.getNumPolyVerts(p), 3u);
        EXPECT_EQ(k.getPolyVertexIdValue(p, 2), p + 2);
        EXPECT_EQ(k.getVertexAttrVectorValue(0, 3 * p + 1),
                  Imath::V3f(float(p) / (kPoints - 2), 1.0f, 0.0f));
    }
}

std::string writeTemp(const std::string &name, const Bytes &bytes) {
    const std::string path = testing::TempDir() + name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char *>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path;
}

TEST(LargeLoad, PlainAndCompressedFilesGiveTheSameDetail) {
    const Bytes packed = gzipBytes(largeFile());
    for (const auto &file : {std::make_pair(std::string("large.bgeo"), largeFile()),
                             std::make_pair(std::string("large.bgeo.gz"), packed)}) {
        SCOPED_TRACE(file.first);
        Kelp fromMemory;
        Loaded r = loadInto(fromMemory, file.second, file.first);
        ASSERT_EQ(r.result, 1) << r.err;
        expectLargeDetail(fromMemory);
        const std::string path = writeTemp(file.first, file.second);
        Kelp fromFile;
        testing::internal::CaptureStderr();
        const int result = fromFile.loadBgeo(path);
        const std::string err = testing::internal::GetCapturedStderr();
        std::remove(path.c_str());
        ASSERT_EQ(result, 1) << err;
        expectLargeDetail(fromFile);
    }
}

TEST(LargeLoad, GzipOdditiesStillLoadOrFailAsBefore) {
    const Bytes packed = gzipBytes(largeFile());
    // Bytes after the member are ignored.
    Bytes trailing = packed;
    trailing.insert(trailing.end(), {0x00, 0x01, 0x02, 0x03, 0x04});
    Kelp k1;
    Loaded r = loadInto(k1, trailing, "t.bgeo.gz");
    ASSERT_EQ(r.result, 1) << r.err;
    expectLargeDetail(k1);
    // A trailer whose size does not match the data: zlib's length check fails.
    Bytes lying = packed;
    lying[lying.size() - 4] ^= 0x01;
    Kelp k2;
    r = loadInto(k2, lying, "l.bgeo.gz");
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.err.rfind("could not unzip file exiting: ", 0), 0u) << r.err;
    EXPECT_EQ(k2.getNumPoints(), 0u);
    // A damaged checksum fails the same way.
    Bytes damaged = packed;
    damaged[damaged.size() - 8] ^= 0x80;
    Kelp k3;
    r = loadInto(k3, damaged, "d.bgeo.gz");
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.err.rfind("could not unzip file exiting: ", 0), 0u) << r.err;
}

} // namespace
