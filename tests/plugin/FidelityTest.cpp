// Round trips through the two commands that keep what the scene holds: the
// host's cube UV layout, hard edges, colours; and the particle reader's
// channel names and missing frames, as a user would script them.
#include "PluginFixture.h"

#include <cmath>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

class Fidelity : public KelpScenario {
protected:
    // Writes the selected mesh `shape`'s frame 1 to `file` and reads it back
    // as the mesh "backShape".
    ::testing::AssertionResult roundTrip(const std::string &object, const std::string &file,
                                         const std::string &writerSetup = "") {
        const std::string path = scratchDir() + "/" + file;
        ::testing::AssertionResult ok = run("select -r " + object +
                                            "; KelpWriter -n out; setAttr -type \"string\" "
                                            "outOutputNode.bgeoPath \"" +
                                            path + "\"; setAttr outOutputNode.write 1; " +
                                            writerSetup + "currentTime 1; dgeval outOutputNode;");
        if (!ok)
            return ok;
        return run("KelpReader -n back; setAttr -type \"string\" backInputNode.bgeoPath \"" + path +
                   "\"; currentTime 1;");
    }
};

bool axisAligned(const MVector &n) {
    return std::fabs(std::fabs(n.x) + std::fabs(n.y) + std::fabs(n.z) - 1.0) < 1e-5;
}

TEST_F(Fidelity, CubeKeepsItsFourteenUvsThroughAFile) {
    ASSERT_TRUE(run("polyCube -ch 0;"));
    ASSERT_TRUE(roundTrip("pCube1", "cube.bgeo"));
    ASSERT_TRUE(run("polyEvaluate -uvcoord backShape;"));
    EXPECT_EQ(hostScript::lastResult(), Strings{"14"});
    ASSERT_TRUE(run("polyEvaluate -v -f backShape;"));
    EXPECT_EQ(hostScript::lastResult(), (Strings{"8", "6"}));
}

TEST_F(Fidelity, HardEdgedCubeKeepsItsFaceNormals) {
    ASSERT_TRUE(run("polyCube -ch 0; polySoftEdge -angle 0 pCube1;"));
    ASSERT_TRUE(roundTrip("pCube1", "hard.bgeo"));
    const host::MeshSnapshot back = host::mesh("backShape");
    ASSERT_TRUE(back.valid);
    ASSERT_EQ(back.faceVertexNormals.size(), 24u);
    for (std::size_t fv = 0; fv < 24; ++fv)
        EXPECT_TRUE(axisAligned(back.faceVertexNormals[fv])) << fv;
    // Each face's normals point out of the cube, as the written cube's did.
    const host::MeshSnapshot cube = host::mesh("pCubeShape1");
    ASSERT_EQ(cube.faceVertexNormals.size(), 24u);
    for (std::size_t fv = 0; fv < 24; ++fv) {
        const MPoint &p = back.points[static_cast<std::size_t>(back.polygonConnects[fv])];
        EXPECT_GT(MVector(p) * back.faceVertexNormals[fv], 0.0) << fv;
    }
}

TEST_F(Fidelity, SmoothCubeKeepsItsAveragedNormals) {
    ASSERT_TRUE(run("polyCube -ch 0;"));
    ASSERT_TRUE(roundTrip("pCube1", "smooth.bgeo"));
    const host::MeshSnapshot back = host::mesh("backShape");
    ASSERT_EQ(back.faceVertexNormals.size(), 24u);
    for (const MVector &n : back.faceVertexNormals)
        for (double c : {n.x, n.y, n.z})
            EXPECT_NEAR(std::fabs(c), 1.0 / std::sqrt(3.0), 1e-5);
}

TEST_F(Fidelity, ColoursGoOutOnlyWhenAsked) {
    ASSERT_TRUE(run("polyCube -ch 0; polyColorPerVertex -rgb 1 0.5 0 -a 0.25 "
                    "-colorDisplayOption pCube1;"));
    ASSERT_TRUE(roundTrip("pCube1", "plain.bgeo"));
    ASSERT_TRUE(run("polyColorSet -query -allColorSets backShape;"));
    EXPECT_TRUE(hostScript::lastResult().empty());

    ASSERT_TRUE(run("delete back backInputNode outOutputNode;"));
    ASSERT_TRUE(roundTrip("pCube1", "colours.bgeo", "setAttr outOutputNode.exportColors 1; "));
    ASSERT_TRUE(run("polyColorSet -query -allColorSets backShape;"));
    EXPECT_EQ(hostScript::lastResult(), Strings{"Cd"});
    const host::MeshSnapshot back = host::mesh("backShape");
    ASSERT_EQ(back.colorSets.size(), 1u);
    for (int id : back.colorSets[0].faceColorIds) {
        ASSERT_GE(id, 0);
        EXPECT_EQ(back.colorSets[0].colors[static_cast<std::size_t>(id)],
                  (std::array<float, 4>{1.0f, 0.5f, 0.0f, 0.25f}));
    }
}

TEST_F(Fidelity, ParticleReaderWithMayaChannelsAndAMissingFrame) {
    const std::string dir = scratchDir();
    ASSERT_TRUE(run("polyCube -ch 0; select -r pCube1; KelpWriter -n out; setAttr -type "
                    "\"string\" outOutputNode.bgeoPath \"" +
                    dir +
                    "/p.$F4.bgeo\"; setAttr outOutputNode.write 1; currentTime 1; "
                    "dgeval outOutputNode;"));
    ASSERT_TRUE(run("KelpReader -n pts -op 1 -mc; setAttr -type \"string\" "
                    "ptsInputNode.bgeoPath \"" +
                    dir + "/p.$F4.bgeo\"; getAttr ptsInputNode.mayaChannels;"));
    EXPECT_EQ(hostScript::lastResult(), Strings{"1"});
    ASSERT_TRUE(run("currentTime 1; getAttr ptsParticleShape.count;"));
    EXPECT_EQ(hostScript::lastResult(), Strings{"8"});
    ASSERT_TRUE(run("currentTime 2; getAttr ptsParticleShape.count;"));
    EXPECT_EQ(hostScript::lastResult(), Strings{"0"});
    // The held frame is the last one the shape was evaluated at.
    ASSERT_TRUE(run("setAttr ptsInputNode.missingFrame 1; currentTime 1; "
                    "getAttr ptsParticleShape.count; currentTime 2; "
                    "getAttr ptsParticleShape.count;"));
    EXPECT_EQ(hostScript::lastResult(), Strings{"8"});
    ASSERT_TRUE(run("KelpReader -n plain -op 1; getAttr plainInputNode.mayaChannels;"));
    EXPECT_EQ(hostScript::lastResult(), Strings{"0"});
}

TEST_F(Fidelity, PackedPiecesStandWhereTheFileSaysTheyAre) {
    if (!KELP_WITH_BLOSC)
        GTEST_SKIP() << "built without Blosc: the real file is a .bgeo.sc";
    const std::string path =
        std::string(KELP_FIXTURES_JSON) + "/labs_physics_painter_packed_h185.bgeo.sc";
    if (!std::ifstream(path))
        GTEST_SKIP() << "fixture absent: " << path;
    ASSERT_TRUE(run("KelpReader -n pk; setAttr -type \"string\" pkInputNode.bgeoPath \"" + path +
                    "\"; currentTime 1;"));
    ASSERT_TRUE(run("polyEvaluate -v -f -fv pkShape;"));
    EXPECT_EQ(hostScript::lastResult(), (Strings{"7627", "12960", "40776"}));
    // The file's own bounds: x -10 10, y -1.06322 1.13393, z -10 10.
    ASSERT_TRUE(run("exactWorldBoundingBox pkShape;"));
    const Strings box = hostScript::lastResult();
    ASSERT_EQ(box.size(), 6u);
    const double expected[6] = {-10, -1.06322, -10, 10, 1.13393, 10};
    for (int c = 0; c < 6; ++c)
        EXPECT_NEAR(std::stod(box[c]), expected[c], 1e-4 * (c % 3 == 1 ? 2.2 : 20)) << c;
}

} // namespace
