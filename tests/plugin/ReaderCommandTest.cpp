// "KelpReader" on the stand-in host: the networks it builds, names, undo/redo.
#include "PluginFixture.h"

#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

class ReaderCommand : public KelpScenario {
protected:
    // The mesh network of a reader command, under the names the host gave.
    void expectMeshNetwork(const std::string &transform, const std::string &reader,
                           const std::string &shape) {
        EXPECT_EQ(host::typeOf(transform), "transform");
        EXPECT_EQ(host::typeOf(reader), "KelpReaderNode");
        EXPECT_EQ(host::typeOf(shape), "mesh");
        EXPECT_EQ(host::childrenOf(transform), Names{shape});
        EXPECT_TRUE(host::parentsOf(reader).empty());
        EXPECT_EQ(host::sourceOf(shape + ".inMesh"), reader + ".outMesh");
        EXPECT_EQ(host::sourceOf(reader + ".frame"), "time1.outTime");
        EXPECT_TRUE(host::destinationsOf(reader + ".outParticles").empty());
        EXPECT_TRUE(contains(host::setMembers("initialShadingGroup"), shape));
        EXPECT_EQ(hostScript::selection(), Names{reader});
    }

    void expectParticleNetwork(const std::string &transform, const std::string &reader,
                               const std::string &shape) {
        EXPECT_EQ(host::typeOf(transform), "transform");
        EXPECT_EQ(host::typeOf(reader), "KelpReaderNode");
        EXPECT_EQ(host::typeOf(shape), "particle");
        EXPECT_EQ(host::childrenOf(transform), Names{shape});
        EXPECT_EQ(host::sourceOf(shape + ".currentTime"), "time1.outTime");
        EXPECT_EQ(host::sourceOf(reader + ".frame"), "time1.outTime");
        EXPECT_EQ(host::sourceOf(shape + ".newParticles[0]"), reader + ".outParticles");
        EXPECT_TRUE(host::destinationsOf(reader + ".outMesh").empty());
        EXPECT_TRUE(contains(host::setMembers("initialShadingGroup"), shape));
        EXPECT_EQ(hostScript::selection(), Names{reader});
    }

    void expectNoReaderNetwork() {
        EXPECT_TRUE(host::nodesOfType("KelpReaderNode").empty());
        EXPECT_TRUE(host::nodesOfType("mesh").empty());
        EXPECT_TRUE(host::nodesOfType("particle").empty());
        EXPECT_TRUE(host::nodesOfType("transform").empty());
        EXPECT_TRUE(host::setMembers("initialShadingGroup").empty());
    }
};

TEST_F(ReaderCommand, DefaultBuildsMeshNetwork) {
    ASSERT_TRUE(run("KelpReader;"));
    EXPECT_EQ(hostScript::lastResult(),
              (Names{"KelpReaderInputNode", "KelpReaderShape", "KelpReader"}));
    expectMeshNetwork("KelpReader", "KelpReaderInputNode", "KelpReaderShape");
    EXPECT_EQ(host::nodesOfType("KelpReaderNode").size(), 1u);
    // The command sets no attribute of the reader.
    EXPECT_EQ(host::getString("KelpReaderInputNode.bgeoPath"), "/home/Kelp/bgeos/KelpRead.#.bgeo");
    EXPECT_TRUE(host::warnings().empty());
    EXPECT_TRUE(host::errors().empty());
}

TEST_F(ReaderCommand, NamedParticleNetwork) {
    ASSERT_TRUE(run("KelpReader -n fluid -op 1;"));
    EXPECT_EQ(hostScript::lastResult(), (Names{"fluidInputNode", "fluidParticleShape", "fluid"}));
    expectParticleNetwork("fluid", "fluidInputNode", "fluidParticleShape");
    EXPECT_TRUE(host::nodesOfType("mesh").empty());
}

TEST_F(ReaderCommand, LongFlagsGiveParticles) {
    ASSERT_TRUE(run("KelpReader -name \"spray\" -outputParticle 1;"));
    EXPECT_EQ(hostScript::lastResult(), (Names{"sprayInputNode", "sprayParticleShape", "spray"}));
    expectParticleNetwork("spray", "sprayInputNode", "sprayParticleShape");
}

TEST_F(ReaderCommand, SwitchZeroIsMeshNetwork) {
    ASSERT_TRUE(run("KelpReader -op 0 -n geo;"));
    EXPECT_EQ(hostScript::lastResult(), (Names{"geoInputNode", "geoShape", "geo"}));
    expectMeshNetwork("geo", "geoInputNode", "geoShape");
    EXPECT_TRUE(host::nodesOfType("particle").empty());
}

TEST_F(ReaderCommand, BadArgumentsCreateNothing) {
    EXPECT_FALSE(run("KelpReader -op many;"));
    EXPECT_FALSE(run("KelpReader -bogus 1;"));
    EXPECT_FALSE(run("KelpReader -n;"));
    EXPECT_FALSE(run("KelpReader -q;"));
    expectNoReaderNetwork();
}

TEST_F(ReaderCommand, NameClashResultAndScriptsUseHostNames) {
    ASSERT_TRUE(run("createNode transform -n KelpReader;"
                    "createNode transform -n KelpReaderInputNode;"
                    "createNode transform -n KelpReaderShape;"
                    "select -cl;"));
    ASSERT_TRUE(run("KelpReader;"));
    // The result names the nodes that were made, under the host's names.
    EXPECT_EQ(hostScript::lastResult(),
              (Names{"KelpReaderInputNode1", "KelpReaderShape1", "KelpReader1"}));
    expectMeshNetwork("KelpReader1", "KelpReaderInputNode1", "KelpReaderShape1");
    // The nodes that held the names are untouched.
    EXPECT_EQ(host::typeOf("KelpReaderInputNode"), "transform");
    EXPECT_TRUE(host::childrenOf("KelpReader").empty());
    EXPECT_FALSE(contains(host::setMembers("initialShadingGroup"), "KelpReaderShape"));
}

TEST_F(ReaderCommand, ParticleNameClash) {
    ASSERT_TRUE(run("createNode transform -n fluidInputNode; KelpReader -n fluid -op 1;"));
    EXPECT_EQ(hostScript::lastResult(), (Names{"fluidInputNode1", "fluidParticleShape", "fluid"}));
    expectParticleNetwork("fluid", "fluidInputNode1", "fluidParticleShape");
}

TEST_F(ReaderCommand, SecondReaderOfOneNameReturnsTheNumberedNodes) {
    ASSERT_TRUE(run("KelpReader -n dup;"));
    ASSERT_TRUE(run("KelpReader -n dup;"));
    EXPECT_EQ(hostScript::lastResult(), (Names{"dupInputNode1", "dupShape1", "dup1"}));
    expectMeshNetwork("dup1", "dupInputNode1", "dupShape1");
    for (const std::string &name : hostScript::lastResult())
        EXPECT_TRUE(host::exists(name)) << name;
}

TEST_F(ReaderCommand, NameTheHostCleansUpIsReturnedCleaned) {
    ASSERT_TRUE(run("KelpReader -n \"my geo\";"));
    EXPECT_EQ(hostScript::lastResult(), (Names{"my_geoInputNode", "my_geoShape", "my_geo"}));
    expectMeshNetwork("my_geo", "my_geoInputNode", "my_geoShape");
}

TEST_F(ReaderCommand, EmptyNameIsRefusedBeforeAnythingIsMade) {
    EXPECT_FALSE(run("KelpReader -n \"\";"));
    ASSERT_FALSE(host::errors().empty());
    EXPECT_EQ(host::errors()[0], "KelpReader: -name must not be empty");
    expectNoReaderNetwork();
}

TEST_F(ReaderCommand, SwitchOtherThanZeroOrOneIsRefusedBeforeAnythingIsMade) {
    EXPECT_FALSE(run("KelpReader -op 2;"));
    EXPECT_FALSE(run("KelpReader -n spray -outputParticle -1;"));
    EXPECT_EQ(host::errors()[0],
              "KelpReader: -outputParticle takes 0 (mesh) or 1 (particles), not 2");
    EXPECT_EQ(host::errors()[2],
              "KelpReader: -outputParticle takes 0 (mesh) or 1 (particles), not -1");
    expectNoReaderNetwork();
}

TEST_F(ReaderCommand, UndoRemovesMeshNetworkAndRedoRestoresIt) {
    ASSERT_TRUE(run("createNode transform -n before; select -r before;"));
    ASSERT_TRUE(run("KelpReader;"));
    ASSERT_TRUE(run("undo;"));
    EXPECT_FALSE(host::exists("KelpReaderInputNode"));
    EXPECT_FALSE(host::exists("KelpReader"));
    EXPECT_FALSE(host::exists("KelpReaderShape"));
    EXPECT_TRUE(host::nodesOfType("KelpReaderNode").empty());
    EXPECT_TRUE(host::nodesOfType("mesh").empty());
    EXPECT_TRUE(host::destinationsOf("time1.outTime").empty());
    EXPECT_TRUE(host::setMembers("initialShadingGroup").empty());
    EXPECT_EQ(hostScript::selection(), Names{"before"});

    ASSERT_TRUE(run("redo;"));
    expectMeshNetwork("KelpReader", "KelpReaderInputNode", "KelpReaderShape");
    EXPECT_EQ(host::nodesOfType("KelpReaderNode").size(), 1u);

    // And once more, from the redone state.
    ASSERT_TRUE(run("undo; redo;"));
    expectMeshNetwork("KelpReader", "KelpReaderInputNode", "KelpReaderShape");
}

TEST_F(ReaderCommand, UndoRemovesParticleNetworkAndRedoRestoresIt) {
    ASSERT_TRUE(run("KelpReader -n fluid -op 1;"));
    ASSERT_TRUE(run("undo;"));
    expectNoReaderNetwork();
    EXPECT_TRUE(host::destinationsOf("time1.outTime").empty());
    EXPECT_TRUE(hostScript::selection().empty());
    ASSERT_TRUE(run("redo;"));
    expectParticleNetwork("fluid", "fluidInputNode", "fluidParticleShape");
}

TEST_F(ReaderCommand, TwoReadersUndoneOneAtATime) {
    ASSERT_TRUE(run("KelpReader -n a; KelpReader -n b -op 1;"));
    ASSERT_TRUE(run("undo;"));
    EXPECT_FALSE(host::exists("bInputNode"));
    expectMeshNetwork("a", "aInputNode", "aShape");
    ASSERT_TRUE(run("undo;"));
    expectNoReaderNetwork();
}

} // namespace
