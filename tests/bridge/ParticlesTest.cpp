// The reader node's particle output: one channel per float or vector point
// attribute, "P" as "position" and "V" as "velocity".
#include "ClassicFile.h"
#include "HostFixture.h"

#include <Kelp>

#include <set>

namespace kelptest {
namespace {

using Particles = HostScene;

ClassicFile generatedParticles() {
    ClassicFile f;
    f.positions = {{0.5f, 1.0f, -2.0f}, {3.0f, 0.25f, 4.0f}, {-1.0f, -1.5f, 0.125f}};
    f.pointAttrs.push_back({"V", true, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}});
    f.pointAttrs.push_back({"v", true, {{-1, 0, 0}, {0, -1, 0}, {0, 0, -1}}});
    f.pointAttrs.push_back({"life", false, {{0.5f, 0, 0}, {1.5f, 0, 0}, {2.5f, 0, 0}}});
    return f;
}

TEST_F(Particles, GeneratedChannels) {
    const std::string path = file("parts.$F4.bgeo");
    const ClassicFile f = generatedParticles();
    ASSERT_TRUE(f.write(file("parts.0012.bgeo")));
    const std::string reader = createReader(path);
    ASSERT_TRUE(kt::setDouble(reader + ".frame", 12.0));

    const kt::ChannelSnapshot channels = kt::particles(reader + ".outParticles");
    ASSERT_TRUE(channels.valid);
    std::set<std::string> vectorNames;
    for (const auto &entry : channels.vectors)
        vectorNames.insert(entry.first);
    EXPECT_EQ(vectorNames, (std::set<std::string>{"position", "velocity", "v"}));
    ASSERT_EQ(channels.doubles.size(), 1u);
    ASSERT_EQ(channels.doubles.count("life"), 1u);
    EXPECT_TRUE(channels.ints.empty());

    const std::vector<MVector> &position = channels.vectors.at("position");
    const std::vector<MVector> &velocity = channels.vectors.at("velocity");
    const std::vector<MVector> &v = channels.vectors.at("v");
    ASSERT_EQ(position.size(), 3u);
    ASSERT_EQ(velocity.size(), 3u);
    ASSERT_EQ(v.size(), 3u);
    for (std::size_t p = 0; p < 3; ++p) {
        EXPECT_EQ(position[p], MVector(f.positions[p][0], f.positions[p][1], f.positions[p][2]));
        const std::array<float, 3> &V = f.pointAttrs[0].values[p];
        EXPECT_EQ(velocity[p], MVector(V[0], V[1], V[2]));
        const std::array<float, 3> &lower = f.pointAttrs[1].values[p];
        EXPECT_EQ(v[p], MVector(lower[0], lower[1], lower[2]));
    }
    EXPECT_EQ(channels.doubles.at("life"), (std::vector<double>{0.5, 1.5, 2.5}));
}

TEST_F(Particles, MissingFileStoresNothing) {
    const std::string path = file("gone.bgeo");
    const std::string reader = createReader(path);
    ::testing::internal::CaptureStdout();
    const kt::ChannelSnapshot channels = kt::particles(reader + ".outParticles");
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "bgeo particle not loaded: " + path + "\n");
    EXPECT_TRUE(channels.vectors.empty());
    EXPECT_TRUE(channels.doubles.empty());
    // The host's error display names the file and the loader's reason.
    ASSERT_EQ(kt::errors().size(), 1u);
    const std::string prefix = "unable to read bgeo:  (" + path + "): could not open file: ";
    EXPECT_EQ(kt::errors()[0], prefix + path);
}

// A particle file written by Houdini: vector and float attributes become
// channels holding the file's values; integer attributes give none.
TEST_F(Particles, RealParticleFile) {
#ifndef KELP_FIXTURES_CLASSIC
    GTEST_SKIP() << "no fixture folder configured";
#else
    const std::string path =
        std::string(KELP_FIXTURES_CLASSIC) + "/cortex_v1_particleTest.0004.bgeo";
    if (!fileExists(path))
        GTEST_SKIP() << "fixture absent: " << path;
    Kelp geo;
    ASSERT_EQ(geo.loadBgeo(path), 1);
    const unsigned count = geo.getNumPoints();
    ASSERT_GT(count, 0u);

    const std::string reader = createReader(path);
    const kt::ChannelSnapshot channels = kt::particles(reader + ".outParticles");
    ASSERT_TRUE(channels.valid);

    std::size_t expectedVectors = 0;
    std::size_t expectedDoubles = 0;
    for (const AttributeData &attr : geo.getPointAttributes()) {
        if (attr.type == 5) {
            ++expectedVectors;
            const std::string name = attr.name == "P" ? "position" : attr.name;
            ASSERT_EQ(channels.vectors.count(name), 1u) << name;
            const std::vector<MVector> &values = channels.vectors.at(name);
            ASSERT_EQ(values.size(), count) << name;
            for (unsigned p = 0; p < count; ++p) {
                const Imath::V3f &e = attr.vector_data[p];
                EXPECT_EQ(values[p], MVector(e.x, e.y, e.z)) << name << " " << p;
            }
        } else if (attr.type == 0) {
            ++expectedDoubles;
            ASSERT_EQ(channels.doubles.count(attr.name), 1u) << attr.name;
            const std::vector<double> &values = channels.doubles.at(attr.name);
            ASSERT_EQ(values.size(), count);
            for (unsigned p = 0; p < count; ++p)
                EXPECT_EQ(values[p], static_cast<double>(attr.float_data[p]));
        }
    }
    EXPECT_EQ(channels.vectors.size(), expectedVectors);
    EXPECT_EQ(channels.doubles.size(), expectedDoubles);
    EXPECT_EQ(channels.vectors.count("position"), 1u);
    EXPECT_EQ(channels.doubles.count("life"), 1u);
    EXPECT_EQ(channels.vectors.count("v"), 1u);
    EXPECT_TRUE(channels.ints.empty());
#endif
}

} // namespace
} // namespace kelptest
