// Saves write the document block by block as it is made, through gzip or
// the Blosc container when there is one. A mesh of several megabytes, whose
// big arrays cross many blocks, saves to the same bytes as the document made
// whole in memory, in every JSON form; and a write that fails part way
// fails the save with the file's reason.
#include "JsonSaveHelpers.h"

#include "io/BloscContainer.h"
#include "io/BloscPack.h"
#include "json/JsonSaver.h"
#include "json/JsonWriter.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#ifndef _WIN32
#include <unistd.h>
#endif

namespace kelptest {
namespace {

// About 100k points on a grid with "P", "N" and vertex "uv", two triangles
// per cell, and one quad so that the counts are not all alike: the binary
// stream is about 10 MB, neither the arrays nor the stream a whole number of
// blocks.
void buildGrid(Kelp &k) {
    const std::uint32_t side = 320;
    k.initialiseNew();
    for (std::uint32_t y = 0; y < side; ++y)
        for (std::uint32_t x = 0; x < side; ++x)
            k.setPointAttrVectorValue("P", Imath::V3f(float(x), 0.001f * float(x * y), float(y)));
    for (std::uint32_t p = 0; p < side * side; ++p)
        k.setPointAttrVectorValue("N", Imath::V3f(0.0f, 1.0f, float(p % 17) / 17.0f));
    std::uint32_t poly = 0, vertex = 0;
    auto add = [&](std::initializer_list<std::uint32_t> ids) {
        for (std::uint32_t id : ids) {
            k.setPolyVertexIdValue(poly, id);
            k.setVertexAttrVectorValue("uv", Imath::V3f(float(vertex % 101), float(id), 0), 1);
            ++vertex;
        }
        ++poly;
    };
    for (std::uint32_t y = 0; y + 1 < side; ++y)
        for (std::uint32_t x = 0; x + 1 < side; ++x) {
            const std::uint32_t a = y * side + x;
            if (x == 3 && y == 5) {
                add({a, a + 1, a + side + 1, a + side});
                continue;
            }
            add({a, a + 1, a + side});
            add({a + 1, a + side + 1, a + side});
        }
}

struct Saved {
    int result = 0;
    std::string err;
};

Saved save(Kelp &k, const std::string &path) {
    testing::internal::CaptureStderr();
    Saved s;
    s.result = k.saveBgeo(path, KelpFormat::Json);
    s.err = testing::internal::GetCapturedStderr();
    return s;
}

[[maybe_unused]] std::string lastLine(std::string text) {
    if (!text.empty() && text.back() == '\n')
        text.pop_back();
    const std::size_t at = text.rfind('\n');
    return at == std::string::npos ? text : text.substr(at + 1);
}

// The document made in memory, with the save's own date put in its place
// (the date is the time of the save; everything else must be equal).
std::vector<unsigned char> expected(const Kelp &k, bool binary,
                                    const std::vector<unsigned char> &saved) {
    kelp::JsonStamp stamp;
    stamp.date = "2000-01-01 00:00:00";
    std::vector<unsigned char> doc;
    std::string error;
    EXPECT_TRUE(kelp::writeJsonDocument(k, binary, stamp, doc, error)) << error;
    const auto at = std::search(doc.begin(), doc.end(), stamp.date.begin(), stamp.date.end());
    EXPECT_NE(at, doc.end());
    const std::size_t offset = static_cast<std::size_t>(at - doc.begin());
    if (at != doc.end() && saved.size() >= offset + stamp.date.size())
        std::copy(saved.begin() + offset, saved.begin() + offset + stamp.date.size(), at);
    return doc;
}

std::vector<unsigned char> gunzip(const std::vector<unsigned char> &gz) {
    std::vector<unsigned char> out(64 << 20);
    z_stream zs{};
    EXPECT_EQ(inflateInit2(&zs, 16 + 15), Z_OK);
    zs.next_in = const_cast<unsigned char *>(gz.data());
    zs.avail_in = static_cast<uInt>(gz.size());
    zs.next_out = out.data();
    zs.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(inflate(&zs, Z_FINISH), Z_STREAM_END);
    out.resize(zs.total_out);
    inflateEnd(&zs);
    return out;
}

TEST(JsonStreamedSave, EveryFormIsTheDocumentMadeWhole) {
    Kelp k;
    buildGrid(k);
    ScratchDir dir;

    {
        SCOPED_TRACE(".bgeo");
        ASSERT_EQ(save(k, dir / "grid.bgeo").result, 1);
        const std::vector<unsigned char> got = readWhole(dir / "grid.bgeo");
        ASSERT_GT(got.size(), 4u * kelp::TokenWriter::kDrainBlock);
        EXPECT_TRUE(got == expected(k, true, got)) << got.size() << " bytes";
    }
    {
        SCOPED_TRACE(".geo");
        ASSERT_EQ(save(k, dir / "grid.geo").result, 1);
        const std::vector<unsigned char> got = readWhole(dir / "grid.geo");
        ASSERT_GT(got.size(), 4u * kelp::TokenWriter::kDrainBlock);
        EXPECT_TRUE(got == expected(k, false, got)) << got.size() << " bytes";
    }
    {
        SCOPED_TRACE(".bgeo.gz");
        ASSERT_EQ(save(k, dir / "grid.bgeo.gz").result, 1);
        const std::vector<unsigned char> got = gunzip(readWhole(dir / "grid.bgeo.gz"));
        EXPECT_TRUE(got == expected(k, true, got)) << got.size() << " bytes";
    }
    {
        SCOPED_TRACE(".bgeo.sc");
        if (!KELP_WITH_BLOSC)
            return;
        ASSERT_EQ(save(k, dir / "grid.bgeo.sc").result, 1);
        const std::vector<unsigned char> file = readWhole(dir / "grid.bgeo.sc");
        kelp::ByteBuffer unpacked;
        std::string error;
        ASSERT_TRUE(kelp::unpackBloscContainer(file.data(), file.size(), unpacked, error)) << error;
        const std::vector<unsigned char> got(unpacked.data(), unpacked.data() + unpacked.size());
        const std::vector<unsigned char> doc = expected(k, true, got);
        EXPECT_TRUE(got == doc) << got.size() << " bytes";
        // The container is the one made of the whole document at once, on
        // one thread: the same chunks and index.
        std::vector<unsigned char> whole;
        ASSERT_TRUE(kelp::packBloscContainer(doc.data(), doc.size(), whole, error, 1)) << error;
        EXPECT_TRUE(file == whole) << file.size() << " and " << whole.size() << " bytes";
    }
}

// A device behind a link: what Linux has.
#ifndef _WIN32
TEST(JsonStreamedSave, WriteFailingPartWayFailsTheSave) {
    if (::access("/dev/full", W_OK) != 0)
        GTEST_SKIP() << "no writable /dev/full";
    Kelp k;
    buildGrid(k);
    ScratchDir dir;
    for (const char *name : {"full.bgeo", "full.geo", "full.bgeo.gz", "full.bgeo.sc"}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(::symlink("/dev/full", (dir / name).c_str()), 0);
        const Saved s = save(k, dir / name);
        EXPECT_EQ(s.result, 0);
        EXPECT_NE(lastLine(s.err).find("No space left on device"), std::string::npos) << s.err;
    }
}
#endif

} // namespace
} // namespace kelptest
