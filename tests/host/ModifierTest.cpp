// MDGModifier and MDagModifier: queued edits, doIt, undoIt, redo, scripts.
#include "ScriptHost.h"
#include "StandIn.h"

#include <maya/MDGModifier.h>
#include <maya/MDagModifier.h>
#include <maya/MFnDagNode.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MPlug.h>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

namespace ks = kelphost::script;
namespace kt = kelphost::testing;
using Strings = std::vector<std::string>;

class Modifiers : public ::testing::Test {
protected:
    void SetUp() override {
        kt::resetHost();
        kt::captureMessages();
    }
    static std::string nameOf(const MObject &node) {
        MFnDependencyNode fn(node);
        return fn.name().asChar();
    }
    static bool inSet(const std::string &set, const std::string &member) {
        Strings m = kt::setMembers(set);
        return std::find(m.begin(), m.end(), member) != m.end();
    }
};

TEST_F(Modifiers, DGModifierRefusesDagTypesAndUnknownTypes) {
    MDGModifier mod;
    MStatus st;
    mod.createNode(MString("transform"), &st);
    EXPECT_EQ(st.statusCode(), MStatus::kInvalidParameter);
    mod.createNode(MString("mesh"), &st);
    EXPECT_EQ(st.statusCode(), MStatus::kInvalidParameter);
    mod.createNode(MString("noSuchType"), &st);
    EXPECT_FALSE(st);
    mod.createNode(MTypeId(0x7abcd), &st);
    EXPECT_FALSE(st);
    EXPECT_EQ(mod.renameNode(MObject(), "x").statusCode(), MStatus::kInvalidParameter);
}

TEST_F(Modifiers, NodesEnterTheSceneAtDoItAndLeaveAtUndoIt) {
    MDGModifier mod;
    MStatus st;
    MObject set = mod.createNode(MString("objectSet"), &st);
    ASSERT_TRUE(st);
    ASSERT_FALSE(set.isNull());
    EXPECT_TRUE(kt::nodesOfType("objectSet").empty()); // made, not yet in the scene
    mod.renameNode(set, "mySet");
    ASSERT_TRUE(mod.doIt());
    EXPECT_EQ(kt::typeOf("mySet"), "objectSet");
    EXPECT_EQ(nameOf(set), "mySet");
    ASSERT_TRUE(mod.undoIt());
    EXPECT_FALSE(kt::exists("mySet"));
    ASSERT_TRUE(mod.doIt()); // redo
    EXPECT_TRUE(kt::exists("mySet"));
    ASSERT_TRUE(mod.undoIt());
    EXPECT_FALSE(kt::exists("mySet"));
}

TEST_F(Modifiers, DagModifierMakesATransformForAShapeAndReturnsIt) {
    MDagModifier mod;
    MStatus st;
    MObject xform = mod.createNode("mesh", MObject::kNullObj, &st);
    ASSERT_TRUE(st);
    EXPECT_TRUE(xform.hasFn(MFn::kTransform));
    ASSERT_TRUE(mod.doIt());
    MFnDagNode fn(xform);
    ASSERT_EQ(fn.childCount(), 1u);
    MObject shape = fn.child(0);
    EXPECT_TRUE(shape.hasFn(MFn::kMesh));
    EXPECT_EQ(nameOf(xform), "polySurface1");
    EXPECT_EQ(nameOf(shape), "polySurfaceShape1");
    // A shape under a given parent is returned itself.
    MDagModifier mod2;
    MObject p = mod2.createNode("transform", MObject::kNullObj, &st);
    MObject s = mod2.createNode("mesh", p, &st);
    ASSERT_TRUE(st);
    EXPECT_TRUE(s.hasFn(MFn::kMesh));
    // DG types are fine with no parent (the reader's node is made this way)...
    MObject dg = mod2.createNode("objectSet", MObject::kNullObj, &st);
    EXPECT_TRUE(st);
    // ...but not under a parent.
    mod2.createNode("objectSet", p, &st);
    EXPECT_EQ(st.statusCode(), MStatus::kInvalidParameter);
    ASSERT_TRUE(mod2.doIt());
    EXPECT_EQ(kt::parentsOf(nameOf(s)), Strings{nameOf(p)});
    EXPECT_TRUE(kt::exists(nameOf(dg)));
}

TEST_F(Modifiers, RenameClashesGetNumbersAndUndoInReverseOrder) {
    ASSERT_TRUE(ks::run("createNode transform -n KelpReader;"));
    MDagModifier mod;
    MObject x = mod.createNode("transform");
    MObject shape = mod.createNode("mesh", x);
    mod.renameNode(x, "KelpReader");
    mod.renameNode(shape, "KelpReaderShape");
    ASSERT_TRUE(mod.doIt());
    EXPECT_EQ(nameOf(x), "KelpReader1");
    EXPECT_EQ(nameOf(shape), "KelpReaderShape");
    MPlug src = MFnDependencyNode(x).findPlug("translateX", true);
    MPlug dst = MFnDependencyNode(x).findPlug("translateY", true);
    ASSERT_FALSE(src.isNull());
    mod.connect(src, dst);
    ASSERT_TRUE(mod.doIt()); // performs only what was queued since
    EXPECT_EQ(kt::sourceOf("KelpReader1.translateY"), "KelpReader1.translateX");
    ASSERT_TRUE(mod.undoIt()); // everything, last first
    EXPECT_FALSE(kt::exists("KelpReader1"));
    EXPECT_FALSE(kt::exists("KelpReaderShape"));
    EXPECT_TRUE(kt::exists("KelpReader"));
    ASSERT_TRUE(mod.doIt());
    EXPECT_EQ(nameOf(x), "KelpReader1");
    EXPECT_EQ(kt::sourceOf("KelpReader1.translateY"), "KelpReader1.translateX");
}

TEST_F(Modifiers, CommandToExecuteRunsAtDoItAndIsUndoneAtUndoIt) {
    ASSERT_TRUE(ks::run("polyCube; createNode shadingEngine -n otherSG; sets -e -fe otherSG "
                        "pCubeShape1; select -cl;"));
    MDagModifier scripts;
    ASSERT_TRUE(scripts.commandToExecute("sets -e -fe initialShadingGroup pCubeShape1;"
                                         "connectAttr -f time1.outTime pCube1.tx;"));
    ASSERT_TRUE(scripts.commandToExecute("select -r pCube1"));
    // Nothing runs before doIt.
    EXPECT_TRUE(inSet("otherSG", "pCubeShape1"));
    EXPECT_TRUE(ks::selection().empty());
    ASSERT_TRUE(scripts.doIt());
    EXPECT_TRUE(inSet("initialShadingGroup", "pCubeShape1"));
    EXPECT_FALSE(inSet("otherSG", "pCubeShape1"));
    EXPECT_EQ(kt::sourceOf("pCube1.tx"), "time1.outTime");
    EXPECT_EQ(ks::selection(), Strings{"pCube1"});
    const size_t queued = ks::undoCount(); // the modifier's work is its own
    ASSERT_TRUE(scripts.undoIt());
    EXPECT_TRUE(ks::selection().empty());
    EXPECT_EQ(kt::sourceOf("pCube1.tx"), "");
    EXPECT_TRUE(inSet("otherSG", "pCubeShape1"));
    EXPECT_FALSE(inSet("initialShadingGroup", "pCubeShape1"));
    ASSERT_TRUE(scripts.doIt());
    EXPECT_EQ(kt::sourceOf("pCube1.tx"), "time1.outTime");
    EXPECT_EQ(ks::selection(), Strings{"pCube1"});
    EXPECT_EQ(ks::undoCount(), queued);
}

TEST_F(Modifiers, FailingScriptFailsDoItAndKeepsWhatRanUndoable) {
    ASSERT_TRUE(ks::run("polyCube;"));
    MDGModifier mod;
    mod.commandToExecute("setAttr pCube1.tx 3; setAttr nothing.tx 1; setAttr pCube1.ty 3;");
    kt::clearMessages();
    EXPECT_FALSE(mod.doIt());
    EXPECT_EQ(kt::errors().size(), 1u);
    EXPECT_DOUBLE_EQ(kt::getDouble("pCube1.tx"), 3.0);
    EXPECT_DOUBLE_EQ(kt::getDouble("pCube1.ty"), 0.0);
    mod.undoIt();
    EXPECT_DOUBLE_EQ(kt::getDouble("pCube1.tx"), 0.0);
}

TEST_F(Modifiers, PlugValuesAndDeleteNode) {
    ASSERT_TRUE(ks::run("polyCube;"));
    MPlug tx = kt::plug("pCube1.tx");
    MDGModifier mod;
    mod.newPlugValueDouble(tx, 7.5);
    ASSERT_TRUE(mod.doIt());
    EXPECT_DOUBLE_EQ(kt::getDouble("pCube1.tx"), 7.5);
    mod.deleteNode(kt::node("pCube1"));
    ASSERT_TRUE(mod.doIt());
    EXPECT_FALSE(kt::exists("pCube1"));
    EXPECT_FALSE(kt::exists("pCubeShape1"));
    ASSERT_TRUE(mod.undoIt());
    EXPECT_TRUE(kt::exists("pCubeShape1"));
    EXPECT_DOUBLE_EQ(kt::getDouble("pCube1.tx"), 0.0);
    EXPECT_EQ(kt::sourceOf("pCubeShape1.inMesh"), "polyCube1.output");
}

TEST_F(Modifiers, ConnectToAnElementAndRefusedConnections) {
    ASSERT_TRUE(ks::run("polyCube; polyCube;"));
    MDGModifier mod;
    MPlug world = kt::plug("pCubeShape1.worldMesh").elementByLogicalIndex(0);
    mod.connect(world, kt::plug("pCubeShape2.inMesh"));
    // pCubeShape2.inMesh is fed by polyCube2: a second source is refused at doIt.
    EXPECT_FALSE(mod.doIt());
    EXPECT_EQ(kt::sourceOf("pCubeShape2.inMesh"), "polyCube2.output");
    MDGModifier mod2;
    mod2.disconnect(kt::plug("polyCube2.output"), kt::plug("pCubeShape2.inMesh"));
    mod2.connect(world, kt::plug("pCubeShape2.inMesh"));
    ASSERT_TRUE(mod2.doIt());
    EXPECT_EQ(kt::sourceOf("pCubeShape2.inMesh"), "pCubeShape1.worldMesh[0]");
    mod2.undoIt();
    EXPECT_EQ(kt::sourceOf("pCubeShape2.inMesh"), "polyCube2.output");
}

} // namespace
