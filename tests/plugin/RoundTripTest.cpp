// The two commands together: a moving cube written to one file per frame by a
// "KelpWriter" network and read back by "KelpReader" networks.
#include "PluginFixture.h"

#include <filesystem>
#include <string>
#include <vector>

namespace {

class RoundTrip : public KelpScenario {};

TEST_F(RoundTrip, WrittenFramesReadBackAsMeshAndParticles) {
    const std::string dir = scratchDir();
    const std::string pattern = dir + "/box.$F4.bgeo.gz";
    ASSERT_TRUE(run("polyCube -n box; select -r box; KelpWriter -n boxOut;"));
    ASSERT_TRUE(run("setAttr -type \"string\" boxOutOutputNode.bgeoPath \"" + pattern +
                    "\";"
                    "setAttr boxOutOutputNode.write 1;"));
    for (int frame = 1; frame <= 3; ++frame)
        ASSERT_TRUE(run("currentTime " + std::to_string(frame) + "; setAttr box.translateY " +
                        std::to_string(frame * 10) + "; dgeval boxOutOutputNode;"));
    for (const char *name : {"box.0001.bgeo.gz", "box.0002.bgeo.gz", "box.0003.bgeo.gz"})
        EXPECT_TRUE(std::filesystem::exists(dir + "/" + name)) << name;
    EXPECT_FALSE(std::filesystem::exists(dir + "/box.0004.bgeo.gz"));

    ASSERT_TRUE(run("KelpReader -n back; setAttr -type \"string\" backInputNode.bgeoPath \"" +
                    pattern + "\"; currentTime 2;"));
    const host::MeshSnapshot mesh = host::mesh("backShape");
    ASSERT_TRUE(mesh.valid);
    EXPECT_EQ(mesh.points.size(), 8u);
    EXPECT_EQ(mesh.polygonCounts.size(), 6u);
    // Frame 2 holds the cube in world space, raised by 20.
    for (const MPoint &p : mesh.points)
        EXPECT_NEAR(p.y, 20.0, 0.5 + 1e-6);

    ASSERT_TRUE(run("KelpReader -n points -op 1; setAttr -type \"string\" "
                    "pointsInputNode.bgeoPath \"" +
                    pattern + "\"; currentTime 3;"));
    const host::ChannelSnapshot channels = host::particles("pointsParticleShape");
    ASSERT_TRUE(channels.valid);
    // "P" becomes "position"; every other float or vector point attribute
    // (the normals the writer wrote) keeps its name.
    std::vector<std::string> vectorChannels;
    for (const auto &channel : channels.vectors)
        vectorChannels.push_back(channel.first);
    EXPECT_EQ(vectorChannels, (std::vector<std::string>{"N", "position"}));
    EXPECT_TRUE(channels.doubles.empty());
    ASSERT_EQ(channels.vectors.count("position"), 1u);
    EXPECT_EQ(channels.vectors.at("position").size(), 8u);
    for (const MVector &p : channels.vectors.at("position"))
        EXPECT_NEAR(p.y, 30.0, 0.5 + 1e-6);
    EXPECT_EQ(host::particleCount("pointsParticleShape"), 8);
}

} // namespace
