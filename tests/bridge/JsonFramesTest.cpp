// An animated mesh written by the writer node in the JSON-based format as
// .bgeo.sc, one file per frame, and read back frame by frame by the reader
// node: every frame's file is a Blosc container of binary JSON and gives back
// that frame's points, not another frame's, with the mesh's polygons.
#include "HostFixture.h"

#include <blosc.h>
#include <maya/MFnMesh.h>
#include <maya/MObject.h>
#include <maya/MPoint.h>
#include <maya/MPointArray.h>

#include <fstream>
#include <iterator>

namespace kelptest {
namespace {

// Point i of the mesh at a frame: the base point moved by a different
// amount on every frame and every point (eighths, exact in floats).
MPoint pointAt(const std::array<double, 3> &base, int i, int frame) {
    return MPoint(base[0] + 0.5 * frame + 0.125 * i, base[1] - 0.25 * frame * (i % 3),
                  base[2] + 2.0 * frame);
}

std::vector<unsigned char> fileBytes(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in),
                                      std::istreambuf_iterator<char>());
}

class JsonFrames : public HostScene {};

TEST_F(JsonFrames, EachFrameComesBackFromItsOwnBloscFile) {
    const MeshDesc desc = asymmetricMesh();
    const std::pair<std::string, std::string> mesh = createMesh(desc);
    const kt::MeshSnapshot original = kt::mesh(mesh.second);
    ASSERT_TRUE(original.valid);

    const std::string pattern = file("anim.$F4.bgeo.sc");
    const std::string writer = createWriter(mesh.second, pattern);
    ASSERT_TRUE(kt::setInt(writer + ".format", 1));
    connect("time1.outTime", writer + ".frame");

    MFnMesh shape(kt::node(mesh.second));
    for (int frame = 1; frame <= 3; ++frame) {
        ASSERT_TRUE(kt::setTime(frame));
        MPointArray moved;
        for (std::size_t i = 0; i < desc.points.size(); ++i)
            moved.append(pointAt(desc.points[i], static_cast<int>(i), frame));
        ASSERT_TRUE(shape.setPoints(moved));
        pullWriter(writer);
    }
    EXPECT_TRUE(kt::errors().empty());

    for (int frame = 1; frame <= 3; ++frame) {
        const std::string path = file("anim.000" + std::to_string(frame) + ".bgeo.sc");
        ASSERT_TRUE(fileExists(path)) << path;
        const std::vector<unsigned char> bytes = fileBytes(path);
        ASSERT_GE(bytes.size(), 28u) << path;
        EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "scf1") << path;
        EXPECT_EQ(std::string(bytes.end() - 4, bytes.end()), "1fcs") << path;
        // The first chunk, after the magic and 8 reserved bytes, is a Blosc
        // chunk whose bytes start with the binary JSON magic: 7F, then
        // 0x624A534E little-endian.
        std::size_t raw = 0, packed = 0, block = 0;
        blosc_cbuffer_sizes(bytes.data() + 12, &raw, &packed, &block);
        ASSERT_GE(raw, 5u) << path;
        ASSERT_LE(packed, bytes.size() - 12) << path;
        std::vector<unsigned char> first(raw);
        ASSERT_EQ(blosc_decompress_ctx(bytes.data() + 12, first.data(), first.size(), 1),
                  static_cast<int>(raw))
            << path;
        EXPECT_EQ(std::string(first.begin(), first.begin() + 5), "\x7FNSJb") << path;
    }

    const std::string reader = createReader(pattern);
    connect("time1.outTime", reader + ".frame");
    // Backwards, so that a reader stuck on the last file written, or on the
    // first one it read, shows.
    for (int frame = 3; frame >= 1; --frame) {
        ASSERT_TRUE(kt::setTime(frame));
        const kt::MeshSnapshot back = kt::mesh(reader + ".outMesh");
        ASSERT_TRUE(back.valid) << "frame " << frame;
        ASSERT_EQ(back.points.size(), desc.points.size()) << "frame " << frame;
        for (std::size_t i = 0; i < back.points.size(); ++i) {
            const MPoint want = pointAt(desc.points[i], static_cast<int>(i), frame);
            EXPECT_TRUE(back.points[i] == want)
                << "frame " << frame << " point " << i << ": " << back.points[i].x << " "
                << back.points[i].y << " " << back.points[i].z;
        }
        EXPECT_EQ(back.polygonCounts, original.polygonCounts) << "frame " << frame;
        EXPECT_EQ(back.polygonConnects, original.polygonConnects) << "frame " << frame;
    }
    EXPECT_TRUE(kt::errors().empty());
    EXPECT_TRUE(kt::perrors().empty());
}

} // namespace
} // namespace kelptest
