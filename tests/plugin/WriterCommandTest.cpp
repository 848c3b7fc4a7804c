// "KelpWriter" on the stand-in host: one network per selected mesh, names,
// instances, the empty selection, undo/redo.
#include "PluginFixture.h"

#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

class WriterCommand : public KelpScenario {
protected:
    // The writer network fed by `sourcePlug`, with the writer named `writer`
    // and its new transform `transform`; returns the new mesh shape's name.
    std::string expectWriterNetwork(const std::string &sourcePlug, const std::string &writer,
                                    const std::string &transform) {
        EXPECT_EQ(host::typeOf(writer), "KelpWriterNode");
        EXPECT_EQ(host::sourceOf(writer + ".inMesh"), sourcePlug);
        EXPECT_EQ(host::sourceOf(writer + ".frame"), "time1.outTime");
        EXPECT_EQ(host::typeOf(transform), "transform");
        const Names children = host::childrenOf(transform);
        EXPECT_EQ(children.size(), 1u);
        if (children.size() != 1)
            return std::string();
        const std::string shape = children[0];
        EXPECT_EQ(host::typeOf(shape), "mesh");
        EXPECT_EQ(host::sourceOf(shape + ".inMesh"), writer + ".outMesh");
        EXPECT_TRUE(contains(host::setMembers("initialShadingGroup"), shape));
        // The command sets neither the path nor the write switch.
        EXPECT_EQ(host::getString(writer + ".bgeoPath"), "/home/Kelp/bgeos/KelpWritten.#.bgeo");
        EXPECT_FALSE(host::getBool(writer + ".write"));
        return shape;
    }
};

TEST_F(WriterCommand, OneSelectedMesh) {
    ASSERT_TRUE(run("polyCube; select -r pCube1;"));
    ASSERT_TRUE(run("KelpWriter;"));
    EXPECT_EQ(hostScript::lastResult(), Names{"KelpWriterOutputNode"});
    expectWriterNetwork("pCubeShape1.worldMesh[0]", "KelpWriterOutputNode", "KelpWriter");
    EXPECT_EQ(hostScript::selection(), Names{"KelpWriterOutputNode"});
    EXPECT_TRUE(host::warnings().empty());
}

TEST_F(WriterCommand, TwoSelectedMeshesEachGetTheirOwnWriter) {
    ASSERT_TRUE(run("polyCube; polySphere; select -r pCube1 pSphere1;"));
    ASSERT_TRUE(run("KelpWriter -n out;"));
    // The host makes the second name unique; the result names both writers.
    EXPECT_EQ(hostScript::lastResult(), (Names{"outOutputNode", "outOutputNode1"}));
    const std::string cubeCopy =
        expectWriterNetwork("pCubeShape1.worldMesh[0]", "outOutputNode", "out");
    const std::string sphereCopy =
        expectWriterNetwork("pSphereShape1.worldMesh[0]", "outOutputNode1", "out1");
    EXPECT_NE(cubeCopy, sphereCopy);
    EXPECT_EQ(host::nodesOfType("KelpWriterNode").size(), 2u);
    EXPECT_EQ(hostScript::selection(), (Names{"outOutputNode", "outOutputNode1"}));
}

TEST_F(WriterCommand, LongNameFlag) {
    ASSERT_TRUE(run("polyPlane; select -r pPlane1; KelpWriter -name \"floor\";"));
    EXPECT_EQ(hostScript::lastResult(), Names{"floorOutputNode"});
    expectWriterNetwork("pPlaneShape1.worldMesh[0]", "floorOutputNode", "floor");
}

TEST_F(WriterCommand, MeshShapeSelectedDirectly) {
    ASSERT_TRUE(run("polyCube; select -r pCubeShape1; KelpWriter;"));
    expectWriterNetwork("pCubeShape1.worldMesh[0]", "KelpWriterOutputNode", "KelpWriter");
}

TEST_F(WriterCommand, InstancedMeshFeedsFromTheSelectedInstance) {
    ASSERT_TRUE(run("polyCube; createNode transform -n copy; parent -add pCubeShape1 copy;"));
    ASSERT_TRUE(run("select -r copy; KelpWriter -n second;"));
    expectWriterNetwork("pCubeShape1.worldMesh[1]", "secondOutputNode", "second");
    ASSERT_TRUE(run("select -r pCube1; KelpWriter -n first;"));
    expectWriterNetwork("pCubeShape1.worldMesh[0]", "firstOutputNode", "first");
}

TEST_F(WriterCommand, EmptySelectionWarnsAndCreatesNothing) {
    ASSERT_TRUE(run("polyCube; select -cl;"));
    EXPECT_FALSE(run("KelpWriter;"));
    EXPECT_EQ(host::warnings(), Names{"Select one or more meshes"});
    EXPECT_TRUE(host::nodesOfType("KelpWriterNode").empty());
    EXPECT_EQ(host::nodesOfType("transform"), Names{"pCube1"});
}

TEST_F(WriterCommand, SelectionWithoutMeshesWarnsAndCreatesNothing) {
    ASSERT_TRUE(run("createNode transform -n empty; select -r empty time1 initialShadingGroup;"));
    EXPECT_FALSE(run("KelpWriter -n x;"));
    EXPECT_EQ(host::warnings(), Names{"Select one or more meshes"});
    EXPECT_TRUE(host::nodesOfType("KelpWriterNode").empty());
    EXPECT_FALSE(host::exists("x"));
}

TEST_F(WriterCommand, BadArgumentsCreateNothing) {
    ASSERT_TRUE(run("polyCube; select -r pCube1;"));
    EXPECT_FALSE(run("KelpWriter -n;"));
    EXPECT_FALSE(run("KelpWriter -op 1;"));
    EXPECT_TRUE(host::nodesOfType("KelpWriterNode").empty());
    EXPECT_TRUE(host::warnings().empty());
}

TEST_F(WriterCommand, NameClashResultAndScriptsUseHostNames) {
    ASSERT_TRUE(run("createNode transform -n KelpWriterOutputNode;"
                    "createNode transform -n KelpWriter;"
                    "polyCube; select -r pCube1;"));
    ASSERT_TRUE(run("KelpWriter;"));
    EXPECT_EQ(hostScript::lastResult(), Names{"KelpWriterOutputNode1"});
    expectWriterNetwork("pCubeShape1.worldMesh[0]", "KelpWriterOutputNode1", "KelpWriter1");
    EXPECT_EQ(hostScript::selection(), Names{"KelpWriterOutputNode1"});
    EXPECT_EQ(host::typeOf("KelpWriterOutputNode"), "transform");
}

TEST_F(WriterCommand, EmptyNameIsRefusedBeforeAnythingIsMade) {
    ASSERT_TRUE(run("polyCube; select -r pCube1;"));
    EXPECT_FALSE(run("KelpWriter -n \"\";"));
    EXPECT_EQ(host::errors()[0], "KelpWriter: -name must not be empty");
    EXPECT_TRUE(host::nodesOfType("KelpWriterNode").empty());
    EXPECT_EQ(host::nodesOfType("transform"), Names{"pCube1"});
}

TEST_F(WriterCommand, UndoRemovesEverythingAndRedoRestoresIt) {
    ASSERT_TRUE(run("polyCube; polySphere; select -r pCube1 pSphere1;"));
    const Names membersBefore = host::setMembers("initialShadingGroup");
    ASSERT_TRUE(run("KelpWriter;"));
    ASSERT_TRUE(run("undo;"));
    EXPECT_TRUE(host::nodesOfType("KelpWriterNode").empty());
    EXPECT_EQ(host::nodesOfType("transform"), (Names{"pCube1", "pSphere1"}));
    EXPECT_EQ(host::nodesOfType("mesh"), (Names{"pCubeShape1", "pSphereShape1"}));
    EXPECT_TRUE(host::destinationsOf("pCubeShape1.worldMesh[0]").empty());
    EXPECT_TRUE(host::destinationsOf("time1.outTime").empty());
    EXPECT_EQ(host::setMembers("initialShadingGroup"), membersBefore);
    EXPECT_EQ(hostScript::selection(), (Names{"pCube1", "pSphere1"}));

    ASSERT_TRUE(run("redo;"));
    expectWriterNetwork("pCubeShape1.worldMesh[0]", "KelpWriterOutputNode", "KelpWriter");
    expectWriterNetwork("pSphereShape1.worldMesh[0]", "KelpWriterOutputNode1", "KelpWriter1");
    EXPECT_EQ(hostScript::selection(), (Names{"KelpWriterOutputNode", "KelpWriterOutputNode1"}));
}

} // namespace
