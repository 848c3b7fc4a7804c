// Packed pieces through the reader node: their faces in the packed
// primitive's colour on the mesh, one particle each on the particle output,
// and the packed kinds never followed named in the read-past line.
#include "HostFixture.h"
#include "JsonBytes.h"
#include "PackedDocs.h"

#include "bridge/ReadPast.h"

#include <fstream>
#include <string>
#include <vector>

namespace kelptest {
namespace {

using PackedPieces = HostScene;

bool writeBytes(const std::string &path, const Bytes &bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char *>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

// A triangle of the file's own (yellow) and two pieces of the embedded
// blue square, red and green with alphas 0.25 and 0.75.
std::string writeTwoPieces(const std::string &path) {
    PackedColours o;
    o.pieces = {Imath::V3f(1, 0, 0), Imath::V3f(0, 1, 0)};
    o.alpha = {0.25f, 0.75f};
    EXPECT_TRUE(writeBytes(path, packedColours(o).bytes()));
    return path;
}

TEST_F(PackedPieces, EachPieceShowsItsPackedPrimitivesColour) {
    const std::string reader = createReader(writeTwoPieces(file("pieces.bgeo")));
    const kt::MeshSnapshot mesh = kt::mesh(reader + ".outMesh");
    ASSERT_TRUE(mesh.valid);
    ASSERT_EQ(mesh.polygonCounts, (std::vector<int>{3, 4, 4}));
    ASSERT_EQ(mesh.points.size(), 5u + 8);
    ASSERT_EQ(mesh.colorSets.size(), 1u);
    const kt::ColorSet &cd = mesh.colorSets[0];
    ASSERT_EQ(cd.faceColorIds.size(), 11u);
    const std::array<float, 4> faceColour[] = {{1, 1, 0, 1}, {1, 0, 0, 0.25f}, {0, 1, 0, 0.75f}};
    for (std::size_t fv = 0; fv < 11; ++fv) {
        const int id = cd.faceColorIds[fv];
        ASSERT_GE(id, 0) << fv;
        EXPECT_EQ(cd.colors[static_cast<std::size_t>(id)], faceColour[fv < 3   ? 0
                                                                      : fv < 7 ? 1
                                                                               : 2])
            << fv;
    }
}

TEST_F(PackedPieces, EachPieceIsOneParticleWithItsColourChannels) {
    const std::string reader = createReader(writeTwoPieces(file("pieces.bgeo")));
    const kt::ChannelSnapshot channels = kt::particles(reader + ".outParticles");
    ASSERT_TRUE(channels.valid);
    // Three points of the triangle and one per piece; the square is not
    // expanded for particles.
    ASSERT_EQ(channels.vectors.count("position"), 1u);
    const std::vector<MVector> &position = channels.vectors.at("position");
    ASSERT_EQ(position.size(), 5u);
    EXPECT_EQ(position[3], MVector(0, 0, 0));
    EXPECT_EQ(position[4], MVector(10, 0, 0));
    ASSERT_EQ(channels.vectors.count("Cd"), 1u);
    EXPECT_EQ(channels.vectors.at("Cd"),
              (std::vector<MVector>{MVector(0, 0, 0), MVector(0, 0, 0), MVector(0, 0, 0),
                                    MVector(1, 0, 0), MVector(0, 1, 0)}));
    ASSERT_EQ(channels.doubles.count("Alpha"), 1u);
    EXPECT_EQ(channels.doubles.at("Alpha"), (std::vector<double>{0, 0, 0, 0.25, 0.75}));

    // With the host's channel names.
    ASSERT_TRUE(kt::setBool(reader + ".mayaChannels", true));
    const kt::ChannelSnapshot named = kt::particles(reader + ".outParticles");
    ASSERT_EQ(named.vectors.count("rgbPP"), 1u);
    EXPECT_EQ(named.vectors.at("rgbPP")[4], MVector(0, 1, 0));
    ASSERT_EQ(named.doubles.count("opacityPP"), 1u);
    EXPECT_EQ(named.doubles.at("opacityPP")[3], 0.25);
}

TEST_F(PackedPieces, TheReaderNamesPackedDiskPrimitivesAndSoupsItReadPast) {
    const std::string path = file("references.bgeo");
    ASSERT_TRUE(writeBytes(
        path,
        trianglePlus({"PackedDisk", "PolySoup", "PackedDisk", "PolySoup", "AlembicRef"}).bytes()));
    const std::string reader = createReader(path);
    ASSERT_TRUE(kt::setInt(reader + ".verbosity", 1));
    const kt::MeshSnapshot mesh = kt::mesh(reader + ".outMesh");
    ASSERT_TRUE(mesh.valid);
    EXPECT_EQ(mesh.polygonCounts, (std::vector<int>{3}));
    EXPECT_EQ(kt::infos(),
              (std::vector<std::string>{"read bgeo:  (" + path + ")",
                                        "read past 1 packed primitive, 2 packed disk primitives, "
                                        "2 polygon soups"}));
}

TEST_F(PackedPieces, ReadPastLineNamesPackedDiskPrimitivesAndSoups) {
    ReadPastCounts counts;
    counts.packedDisk = 12;
    EXPECT_EQ(std::string(readPastLine(counts).asChar()), "read past 12 packed disk primitives");
    counts.packed = 1;
    counts.packedDisk = 1;
    counts.soups = 2;
    counts.openCurves = 3;
    EXPECT_EQ(std::string(readPastLine(counts).asChar()),
              "read past 1 packed primitive, 1 packed disk primitive, 3 open curves, "
              "2 polygon soups");
    counts = ReadPastCounts();
    counts.soups = 1;
    EXPECT_EQ(std::string(readPastLine(counts).asChar()), "read past 1 polygon soup");
    EXPECT_TRUE(counts.any());
}

} // namespace
} // namespace kelptest
