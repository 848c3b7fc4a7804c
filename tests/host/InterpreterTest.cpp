// The script interpreter: built-in commands, results, errors, undo and redo.
#include "ScriptHost.h"
#include "StandIn.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

namespace {

namespace ks = kelphost::script;
namespace kt = kelphost::testing;
using Strings = std::vector<std::string>;

class Interpreter : public ::testing::Test {
protected:
    void SetUp() override {
        kt::resetHost();
        kt::captureMessages();
    }
    Strings outputs() { return kt::messagesOf(kelphost::messages::Kind::Output); }
    bool contains(const Strings &list, const std::string &s) {
        return std::find(list.begin(), list.end(), s) != list.end();
    }
};

TEST_F(Interpreter, PolyCubeMakesTransformShapeAndHistoryAndPrintsItsResult) {
    ASSERT_TRUE(ks::run("polyCube;", true));
    EXPECT_EQ(outputs(), Strings{"// Result: pCube1 polyCube1 //"});
    EXPECT_EQ(kt::typeOf("pCube1"), "transform");
    EXPECT_EQ(kt::typeOf("pCubeShape1"), "mesh");
    EXPECT_EQ(kt::typeOf("polyCube1"), "polyCube");
    EXPECT_EQ(kt::parentsOf("pCubeShape1"), Strings{"pCube1"});
    EXPECT_EQ(kt::sourceOf("pCubeShape1.inMesh"), "polyCube1.output");
    EXPECT_TRUE(contains(kt::setMembers("initialShadingGroup"), "pCubeShape1"));
    EXPECT_EQ(ks::selection(), Strings{"pCube1"});
    // A second cube does not clash.
    ASSERT_TRUE(ks::run("polyCube -n box -w 2 -h 3 -d 4;"));
    EXPECT_EQ(ks::lastResult(), (Strings{"box", "polyCube2"}));
    EXPECT_EQ(kt::typeOf("boxShape"), "mesh");
    ASSERT_TRUE(ks::run("polyCube;"));
    EXPECT_EQ(ks::lastResult(), (Strings{"pCube2", "polyCube3"}));
    EXPECT_EQ(kt::parentsOf("pCubeShape2"), Strings{"pCube2"});
}

TEST_F(Interpreter, PrimitiveGeometryAndUVs) {
    ASSERT_TRUE(ks::run("polyCube; polyPlane -sx 2 -sy 3; polySphere -sx 8 -sy 4;"));
    ASSERT_TRUE(ks::run("polyEvaluate -v pCube1;"));
    EXPECT_EQ(ks::lastResult(), Strings{"8"});
    ASSERT_TRUE(ks::run("polyEvaluate -f -v -e pCubeShape1;"));
    EXPECT_EQ(ks::lastResult(), (Strings{"6", "8", "12"}));
    ASSERT_TRUE(ks::run("polyEvaluate -v -f pPlane1;"));
    EXPECT_EQ(ks::lastResult(), (Strings{"12", "6"}));
    ASSERT_TRUE(ks::run("polyEvaluate -v -f pSphere1;"));
    EXPECT_EQ(ks::lastResult(), (Strings{"26", "32"})); // 8*(4-1)+2 vertices, 8*4 faces
    kt::MeshSnapshot sphere = kt::mesh("pSphereShape1");
    ASSERT_TRUE(sphere.valid);
    ASSERT_FALSE(sphere.uvSets.empty());
    EXPECT_EQ(sphere.uvSets[0].name, "map1");
    EXPECT_EQ(sphere.uvSets[0].faceUVIds.size(), sphere.polygonConnects.size());
    EXPECT_EQ(std::count(sphere.uvSets[0].faceUVIds.begin(), sphere.uvSets[0].faceUVIds.end(), -1),
              0);
    for (const MPoint &p : sphere.points)
        EXPECT_NEAR(MVector(p).length(), 1.0, 1e-5);
    kt::MeshSnapshot cube = kt::mesh("pCubeShape1");
    ASSERT_TRUE(cube.valid);
    for (const MPoint &p : cube.points) {
        EXPECT_NEAR(std::fabs(p.x), 0.5, 1e-6);
        EXPECT_NEAR(std::fabs(p.y), 0.5, 1e-6);
    }
    EXPECT_EQ(cube.uvSets[0].name, "map1");
}

TEST_F(Interpreter, PrimitiveWithoutHistoryKeepsItsGeometry) {
    ASSERT_TRUE(ks::run("polyPlane -ch 0 -w 4 -h 2 -sx 1 -sy 1;"));
    EXPECT_EQ(ks::lastResult(), Strings{"pPlane1"});
    EXPECT_FALSE(kt::exists("polyPlane1"));
    ASSERT_TRUE(ks::run("polyEvaluate -v -f pPlane1;"));
    EXPECT_EQ(ks::lastResult(), (Strings{"4", "1"}));
}

TEST_F(Interpreter, SetAndGetAttrNumbersBooleansStrings) {
    ASSERT_TRUE(ks::run("polyCube;"));
    ASSERT_TRUE(ks::run("setAttr pCube1.translateX 2.5; getAttr pCube1.tx;", true));
    EXPECT_EQ(outputs().back(), "// Result: 2.5 //");
    ASSERT_TRUE(ks::run("setAttr pCube1.t 1 2 3; getAttr pCube1.translate;"));
    EXPECT_EQ(ks::lastResult(), (Strings{"1", "2", "3"}));
    ASSERT_TRUE(ks::run("setAttr pCube1.visibility false; getAttr pCube1.v;"));
    EXPECT_EQ(ks::lastResult(), Strings{"0"});
    ASSERT_TRUE(ks::run("setAttr pCube1.visibility on; getAttr pCube1.v;"));
    EXPECT_EQ(ks::lastResult(), Strings{"1"});
    ASSERT_TRUE(ks::run("getAttr -type pCube1.tx;"));
    EXPECT_EQ(ks::lastResult().size(), 1u);
    // Wrong value counts and unknown attributes fail.
    EXPECT_FALSE(ks::run("setAttr pCube1.t 1 2;"));
    EXPECT_FALSE(ks::run("setAttr pCube1.tx abc;"));
    EXPECT_FALSE(ks::run("getAttr pCube1.noSuchAttr;"));
    EXPECT_FALSE(ks::run("setAttr pCube1.tx -type \"string\" \"x\";"));
}

TEST_F(Interpreter, ConnectAttrAndForce) {
    ASSERT_TRUE(ks::run("polyCube; polyCube;"));
    ASSERT_TRUE(ks::run("connectAttr pCube1.tx pCube2.ty;", true));
    EXPECT_EQ(outputs().back(), "// Result: Connected pCube1.translateX to pCube2.translateY. //");
    ASSERT_TRUE(ks::run("setAttr pCube1.tx 4; getAttr pCube2.ty;"));
    EXPECT_EQ(ks::lastResult(), Strings{"4"});
    // A connected destination refuses a second source without -f and values.
    kt::clearMessages();
    EXPECT_FALSE(ks::run("connectAttr pCube1.tz pCube2.ty;"));
    ASSERT_EQ(kt::errors().size(), 1u);
    EXPECT_NE(kt::errors()[0].find("connectAttr pCube1.tz pCube2.ty"), std::string::npos);
    EXPECT_FALSE(ks::run("setAttr pCube2.ty 1;"));
    ASSERT_TRUE(ks::run("connectAttr -f pCube1.tz pCube2.ty;"));
    EXPECT_EQ(kt::sourceOf("pCube2.translateY"), "pCube1.translateZ");
    ASSERT_TRUE(ks::run("undo;"));
    EXPECT_EQ(kt::sourceOf("pCube2.translateY"), "pCube1.translateX");
    ASSERT_TRUE(ks::run("redo;"));
    EXPECT_EQ(kt::sourceOf("pCube2.translateY"), "pCube1.translateZ");
    ASSERT_TRUE(ks::run("disconnectAttr pCube1.tz pCube2.ty;"));
    EXPECT_EQ(kt::sourceOf("pCube2.translateY"), "");
    EXPECT_FALSE(ks::run("disconnectAttr pCube1.tz pCube2.ty;"));
    EXPECT_FALSE(ks::run("connectAttr pCube1.nothing pCube2.ty;"));
}

TEST_F(Interpreter, SetsForceElementMovesBetweenShadingGroups) {
    ASSERT_TRUE(ks::run("polyCube; createNode shadingEngine -n redSG;"));
    ASSERT_TRUE(ks::run("sets -e -fe redSG pCubeShape1;"));
    EXPECT_TRUE(contains(kt::setMembers("redSG"), "pCubeShape1"));
    EXPECT_FALSE(contains(kt::setMembers("initialShadingGroup"), "pCubeShape1"));
    ASSERT_TRUE(ks::run("undo;"));
    EXPECT_FALSE(contains(kt::setMembers("redSG"), "pCubeShape1"));
    EXPECT_TRUE(contains(kt::setMembers("initialShadingGroup"), "pCubeShape1"));
    EXPECT_FALSE(ks::run("sets -e -fe noSuchSet pCubeShape1;"));
}

TEST_F(Interpreter, SelectLsListRelativesObjExistsNodeType) {
    ASSERT_TRUE(ks::run("polyCube; polySphere; select -r pCube1 pSphere1;"));
    ASSERT_TRUE(ks::run("ls -sl;"));
    EXPECT_EQ(ks::lastResult(), (Strings{"pCube1", "pSphere1"}));
    ASSERT_TRUE(ks::run("select -d pCube1; ls -sl;"));
    EXPECT_EQ(ks::lastResult(), Strings{"pSphere1"});
    ASSERT_TRUE(ks::run("select -cl; ls -sl;"));
    EXPECT_TRUE(ks::lastResult().empty());
    ASSERT_TRUE(ks::run("ls -type mesh;"));
    EXPECT_EQ(ks::lastResult(), (Strings{"pCubeShape1", "pSphereShape1"}));
    ASSERT_TRUE(ks::run("ls \"p*1\";"));
    EXPECT_EQ(ks::lastResult(), (Strings{"pCube1", "pCubeShape1", "polyCube1", "pSphere1",
                                         "pSphereShape1", "polySphere1"}));
    ASSERT_TRUE(ks::run("ls \"pC*\" time1 noSuchNode;"));
    EXPECT_EQ(ks::lastResult(), (Strings{"pCube1", "pCubeShape1", "time1"}));
    ASSERT_TRUE(ks::run("listRelatives -s pCube1;"));
    EXPECT_EQ(ks::lastResult(), Strings{"pCubeShape1"});
    ASSERT_TRUE(ks::run("listRelatives -p pCubeShape1;"));
    EXPECT_EQ(ks::lastResult(), Strings{"pCube1"});
    ASSERT_TRUE(ks::run("listRelatives -c -f pSphere1;"));
    EXPECT_EQ(ks::lastResult(), Strings{"|pSphere1|pSphereShape1"});
    ASSERT_TRUE(ks::run("objExists pCube1;"));
    EXPECT_EQ(ks::lastResult(), Strings{"1"});
    ASSERT_TRUE(ks::run("objExists pCube9;"));
    EXPECT_EQ(ks::lastResult(), Strings{"0"});
    ASSERT_TRUE(ks::run("objExists pCube1.tx;"));
    EXPECT_EQ(ks::lastResult(), Strings{"1"});
    ASSERT_TRUE(ks::run("nodeType time1;"));
    EXPECT_EQ(ks::lastResult(), Strings{"time"});
    EXPECT_FALSE(ks::run("select -r nothingHere;"));
    EXPECT_FALSE(ks::run("nodeType nothingHere;"));
}

TEST_F(Interpreter, CreateNodeWithNameAndParentAndClashes) {
    ASSERT_TRUE(ks::run("createNode transform -n KelpReader;"));
    ASSERT_TRUE(ks::run("createNode transform -n KelpReader;"));
    EXPECT_EQ(ks::lastResult(), Strings{"KelpReader1"});
    ASSERT_TRUE(ks::run("createNode mesh -n KelpReaderShape -p KelpReader;"));
    EXPECT_EQ(kt::parentsOf("KelpReaderShape"), Strings{"KelpReader"});
    ASSERT_TRUE(ks::run("createNode mesh;"));
    const std::string shape = ks::lastResult().at(0);
    EXPECT_EQ(kt::typeOf(shape), "mesh");
    ASSERT_EQ(kt::parentsOf(shape).size(), 1u);
    EXPECT_EQ(kt::typeOf(kt::parentsOf(shape)[0]), "transform");
    EXPECT_FALSE(ks::run("createNode noSuchType;"));
    EXPECT_FALSE(ks::run("createNode mesh -p time1;"));
}

TEST_F(Interpreter, DeleteAndUndoRestoresNodesAndConnections) {
    ASSERT_TRUE(ks::run("polyCube; delete pCube1;"));
    EXPECT_FALSE(kt::exists("pCube1"));
    EXPECT_FALSE(kt::exists("pCubeShape1"));
    ASSERT_TRUE(ks::run("undo;"));
    EXPECT_TRUE(kt::exists("pCube1"));
    EXPECT_EQ(kt::parentsOf("pCubeShape1"), Strings{"pCube1"});
    EXPECT_EQ(kt::sourceOf("pCubeShape1.inMesh"), "polyCube1.output");
    ASSERT_TRUE(ks::run("redo;"));
    EXPECT_FALSE(kt::exists("pCubeShape1"));
    ASSERT_TRUE(ks::run("undo; undo;"));
    EXPECT_FALSE(kt::exists("pCube1"));
    EXPECT_FALSE(kt::exists("polyCube1"));
    ASSERT_TRUE(ks::run("redo;"));
    EXPECT_TRUE(kt::exists("polyCube1"));
    EXPECT_FALSE(ks::run("delete nothingHere;"));
}

TEST_F(Interpreter, UndoAndRedoWalkTheQueue) {
    ASSERT_TRUE(ks::run("polyCube; setAttr pCube1.tx 1; setAttr pCube1.tx 2;"));
    EXPECT_EQ(ks::undoCount(), 3u);
    ASSERT_TRUE(ks::run("undo;", true));
    EXPECT_EQ(outputs().back(), "// Undo: setAttr pCube1.tx 2 //");
    EXPECT_DOUBLE_EQ(kt::getDouble("pCube1.tx"), 1.0);
    ASSERT_TRUE(ks::run("undo;"));
    EXPECT_DOUBLE_EQ(kt::getDouble("pCube1.tx"), 0.0);
    ASSERT_TRUE(ks::run("redo;", true));
    EXPECT_EQ(outputs().back(), "// Redo: setAttr pCube1.tx 1 //");
    EXPECT_DOUBLE_EQ(kt::getDouble("pCube1.tx"), 1.0);
    EXPECT_EQ(ks::redoCount(), 1u);
    // A new command drops what could be redone.
    ASSERT_TRUE(ks::run("setAttr pCube1.ty 5;"));
    EXPECT_EQ(ks::redoCount(), 0u);
    ASSERT_TRUE(ks::run("undo; undo; undo;"));
    EXPECT_FALSE(kt::exists("pCube1"));
    kt::clearMessages();
    ASSERT_TRUE(ks::run("undo;")); // nothing left: a warning, not a failure
    EXPECT_EQ(kt::warnings().size(), 1u);
}

TEST_F(Interpreter, FailingStatementIsReportedWithItsTextAndStopsTheScript) {
    EXPECT_FALSE(ks::run("polyCube;\nnoSuchCommand 1 2;\npolySphere;"));
    EXPECT_TRUE(kt::exists("pCube1"));
    EXPECT_FALSE(kt::exists("pSphere1"));
    ASSERT_EQ(kt::errors().size(), 1u);
    const std::string e = kt::errors()[0];
    EXPECT_NE(e.find("line 2"), std::string::npos) << e;
    EXPECT_NE(e.find("noSuchCommand 1 2"), std::string::npos) << e;
    kt::clearMessages();
    EXPECT_FALSE(ks::run("polyCube -bogus 1;"));
    ASSERT_EQ(kt::errors().size(), 1u);
    EXPECT_NE(kt::errors()[0].find("-bogus"), std::string::npos);
    kt::clearMessages();
    EXPECT_FALSE(ks::run("print \"unterminated;"));
    EXPECT_EQ(kt::errors().size(), 1u);
}

TEST_F(Interpreter, PrintAndCurrentTime) {
    ASSERT_TRUE(ks::run("print \"hello world\\n\";"));
    EXPECT_EQ(outputs(), Strings{"hello world"});
    ASSERT_TRUE(ks::run("currentTime 12;", true));
    EXPECT_EQ(outputs().back(), "// Result: 12 //");
    ASSERT_TRUE(ks::run("currentTime -q;"));
    EXPECT_EQ(ks::lastResult(), Strings{"12"});
    EXPECT_DOUBLE_EQ(kt::getDouble("time1.outTime"), 12.0);
    EXPECT_FALSE(ks::run("currentTime soon;"));
}

TEST_F(Interpreter, GeneratedScriptLinesRun) {
    // The text the plug-in's commands queue on their script modifiers.
    ASSERT_TRUE(ks::run("polyCube; createNode shadingEngine -n otherSG; sets -e -fe otherSG "
                        "pCubeShape1;"));
    ASSERT_TRUE(ks::run("sets -e -fe initialShadingGroup pCubeShape1;connectAttr -f "
                        "time1.outTime pCube1.tx;select -r polyCube1"));
    EXPECT_TRUE(contains(kt::setMembers("initialShadingGroup"), "pCubeShape1"));
    EXPECT_EQ(kt::sourceOf("pCube1.tx"), "time1.outTime");
    EXPECT_EQ(ks::selection(), Strings{"polyCube1"});
}

} // namespace

namespace {

// The host's cube layout: 14 UVs in a cross, shared by the faces that meet at
// a point without a seam between them.
TEST_F(Interpreter, CubeHasTheHostsFourteenUVs) {
    ASSERT_TRUE(ks::run("polyCube; polyEvaluate -uvcoord pCubeShape1;"));
    EXPECT_EQ(ks::lastResult(), Strings{"14"});
    const kt::MeshSnapshot cube = kt::mesh("pCubeShape1");
    ASSERT_TRUE(cube.valid);
    ASSERT_EQ(cube.uvSets.size(), 1u);
    const kt::UVSet &uvs = cube.uvSets[0];
    ASSERT_EQ(uvs.faceUVIds.size(), 24u);
    std::set<std::pair<float, float>> where;
    for (std::size_t i = 0; i < uvs.u.size(); ++i)
        where.insert({uvs.u[i], uvs.v[i]});
    EXPECT_EQ(where.size(), 14u); // no two UVs at one place
    for (const auto &uv : where) {
        EXPECT_TRUE(uv.first == 0.125f || uv.first == 0.375f || uv.first == 0.625f ||
                    uv.first == 0.875f)
            << uv.first;
        EXPECT_GE(uv.second, 0.0f);
        EXPECT_LE(uv.second, 1.0f);
    }
    // A UV id always belongs to one point.
    std::map<int, int> pointOf;
    for (std::size_t fv = 0; fv < 24; ++fv) {
        const auto found = pointOf.emplace(uvs.faceUVIds[fv], cube.polygonConnects[fv]);
        EXPECT_EQ(found.first->second, cube.polygonConnects[fv]) << "face-vertex " << fv;
    }
    EXPECT_EQ(pointOf.size(), 14u);
}

TEST_F(Interpreter, SetQueriesListTheMeshsSets) {
    ASSERT_TRUE(ks::run("polyCube;"));
    ASSERT_TRUE(ks::run("polyUVSet -query -allUVSets pCubeShape1;", true));
    EXPECT_EQ(outputs().back(), "// Result: map1 //");
    ASSERT_TRUE(ks::run("polyColorSet -query -allColorSets pCubeShape1;"));
    EXPECT_TRUE(ks::lastResult().empty());
    EXPECT_FALSE(ks::run("polyUVSet -allUVSets pCubeShape1;"));
}

TEST_F(Interpreter, ColorPerVertexMakesAColorSetAndColoursEveryVertex) {
    ASSERT_TRUE(ks::run("polyCube; polyColorPerVertex -rgb 1 0.5 0 -colorDisplayOption pCube1;"));
    ASSERT_TRUE(ks::run("polyColorSet -query -allColorSets pCubeShape1;"));
    EXPECT_EQ(ks::lastResult(), Strings{"colorSet1"});
    const kt::MeshSnapshot cube = kt::mesh("pCubeShape1");
    ASSERT_EQ(cube.colorSets.size(), 1u);
    EXPECT_EQ(cube.currentColorSet, "colorSet1");
    const kt::ColorSet &set = cube.colorSets[0];
    ASSERT_EQ(set.faceColorIds.size(), 24u);
    for (int id : set.faceColorIds) {
        ASSERT_GE(id, 0);
        EXPECT_EQ(set.colors[static_cast<std::size_t>(id)],
                  (std::array<float, 4>{1.0f, 0.5f, 0.0f, 1.0f}));
    }
    // A second call keeps the set and changes the colour.
    ASSERT_TRUE(ks::run("polyColorPerVertex -rgb 0 0 1 pCube1;"));
    const kt::MeshSnapshot again = kt::mesh("pCubeShape1");
    ASSERT_EQ(again.colorSets.size(), 1u);
    EXPECT_EQ(again.colorSets[0].colors[0], (std::array<float, 4>{0.0f, 0.0f, 1.0f, 1.0f}));
}

TEST_F(Interpreter, SoftEdgeAngleZeroMakesEveryEdgeHard) {
    ASSERT_TRUE(ks::run("polyCube;"));
    const kt::MeshSnapshot smooth = kt::mesh("pCubeShape1");
    // Soft edges: a corner's face-vertices all show the corner's averaged normal.
    EXPECT_NEAR(std::fabs(smooth.faceVertexNormals[0].x), 1.0 / std::sqrt(3.0), 1e-6);
    ASSERT_TRUE(ks::run("polySoftEdge -angle 0 pCube1;"));
    const kt::MeshSnapshot hard = kt::mesh("pCubeShape1");
    EXPECT_EQ(hard.hardEdges.size(), 12u);
    for (std::size_t fv = 0; fv < hard.faceVertexNormals.size(); ++fv) {
        const MVector &n = hard.faceVertexNormals[fv];
        // Along one axis only: the face's own normal.
        EXPECT_NEAR(std::fabs(n.x) + std::fabs(n.y) + std::fabs(n.z), 1.0, 1e-9) << fv;
        EXPECT_NEAR(n.length(), 1.0, 1e-9);
    }
    ASSERT_TRUE(ks::run("polySoftEdge -angle 180 pCube1;"));
    EXPECT_TRUE(kt::mesh("pCubeShape1").hardEdges.empty());
}

TEST_F(Interpreter, ParticleCountIsAnAttribute) {
    ASSERT_TRUE(ks::run("createNode particle;"));
    ASSERT_TRUE(ks::run("getAttr particleShape1.count;", true));
    EXPECT_EQ(outputs().back(), "// Result: 0 //");
}

} // namespace
