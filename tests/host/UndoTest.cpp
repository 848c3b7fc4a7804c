// Undo and redo of the commands the interpreter supports: each statement is
// one entry of the queue, undo walks back in reverse order and restores
// exactly what was there (values, names, parents, connections, selection),
// redo replays it, and a new command drops what could have been redone.
#include "ScriptHost.h"
#include "StandIn.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

namespace ks = kelphost::script;
namespace kt = kelphost::testing;
using Strings = std::vector<std::string>;

class Undo : public ::testing::Test {
protected:
    void SetUp() override {
        kt::resetHost();
        kt::captureMessages();
    }
    void TearDown() override { kt::resetHost(); }
    Strings outputs() { return kt::messagesOf(kelphost::messages::Kind::Output); }
    bool has(const Strings &list, const std::string &s) {
        return std::find(list.begin(), list.end(), s) != list.end();
    }
};

} // namespace

TEST_F(Undo, SetAttrRestoresThePreviousValueAndRedoTheNewOne) {
    ASSERT_TRUE(
        ks::run("createNode transform -n t; setAttr t.tx 1; setAttr t.tx 2; setAttr t.tx 3;"));
    EXPECT_EQ(kt::getDouble("t.tx"), 3.0);
    ASSERT_TRUE(ks::run("undo;"));
    EXPECT_EQ(kt::getDouble("t.tx"), 2.0);
    ASSERT_TRUE(ks::run("undo;"));
    EXPECT_EQ(kt::getDouble("t.tx"), 1.0);
    ASSERT_TRUE(ks::run("redo;"));
    EXPECT_EQ(kt::getDouble("t.tx"), 2.0);
    ASSERT_TRUE(ks::run("redo;"));
    EXPECT_EQ(kt::getDouble("t.tx"), 3.0);
    // Nothing left to redo: the host warns and carries on.
    kt::clearMessages();
    ASSERT_TRUE(ks::run("redo;"));
    EXPECT_EQ(kt::warnings(), Strings{"There are no more commands to redo."});
    EXPECT_EQ(kt::getDouble("t.tx"), 3.0);
}

TEST_F(Undo, CompoundSetAttrIsOneEntry) {
    ASSERT_TRUE(ks::run("createNode transform -n t; setAttr t.translate 4 5 6;"));
    const size_t before = ks::undoCount();
    ASSERT_TRUE(ks::run("setAttr t.translate 7 8 9;"));
    EXPECT_EQ(ks::undoCount(), before + 1);
    ASSERT_TRUE(ks::run("undo;"));
    EXPECT_EQ(kt::getDouble("t.tx"), 4.0);
    EXPECT_EQ(kt::getDouble("t.ty"), 5.0);
    EXPECT_EQ(kt::getDouble("t.tz"), 6.0);
}

TEST_F(Undo, UndoPrintsTheStatementItUndoes) {
    ASSERT_TRUE(ks::run("createNode transform -n t; setAttr t.ty 5;"));
    kt::clearMessages();
    ASSERT_TRUE(ks::run("undo;"));
    EXPECT_TRUE(has(outputs(), "// Undo: setAttr t.ty 5 //")) << outputs().size();
    ASSERT_TRUE(ks::run("redo;"));
    EXPECT_TRUE(has(outputs(), "// Redo: setAttr t.ty 5 //"));
}

TEST_F(Undo, CreateNodeUndoRemovesTheNodeAndRedoBringsItBackByName) {
    ASSERT_TRUE(
        ks::run("createNode transform -n parentT; createNode transform -n kid -p parentT;"));
    EXPECT_EQ(kt::parentsOf("kid"), Strings{"parentT"});
    ASSERT_TRUE(ks::run("undo;"));
    EXPECT_FALSE(kt::exists("kid"));
    EXPECT_TRUE(kt::childrenOf("parentT").empty());
    ASSERT_TRUE(ks::run("redo;"));
    EXPECT_TRUE(kt::exists("kid"));
    EXPECT_EQ(kt::parentsOf("kid"), Strings{"parentT"});
    ASSERT_TRUE(ks::run("undo; undo;"));
    EXPECT_FALSE(kt::exists("parentT"));
    EXPECT_FALSE(kt::exists("kid"));
}

TEST_F(Undo, RenameUndoGivesTheOldNameBack) {
    ASSERT_TRUE(ks::run("createNode transform -n first; rename first second;"));
    EXPECT_TRUE(kt::exists("second"));
    EXPECT_FALSE(kt::exists("first"));
    ASSERT_TRUE(ks::run("undo;"));
    EXPECT_TRUE(kt::exists("first"));
    EXPECT_FALSE(kt::exists("second"));
    ASSERT_TRUE(ks::run("redo;"));
    EXPECT_TRUE(kt::exists("second"));
    // The old name is free again after the rename, and a new node may take it.
    ASSERT_TRUE(ks::run("createNode transform -n first;"));
    EXPECT_TRUE(kt::exists("first"));
}

TEST_F(Undo, ParentUndoMovesTheChildBack) {
    ASSERT_TRUE(ks::run("createNode transform -n a; createNode transform -n b; createNode "
                        "transform -n c -p a;"));
    ASSERT_TRUE(ks::run("parent c b;"));
    EXPECT_EQ(kt::parentsOf("c"), Strings{"b"});
    EXPECT_TRUE(kt::childrenOf("a").empty());
    ASSERT_TRUE(ks::run("undo;"));
    EXPECT_EQ(kt::parentsOf("c"), Strings{"a"});
    EXPECT_TRUE(kt::childrenOf("b").empty());
    ASSERT_TRUE(ks::run("redo;"));
    EXPECT_EQ(kt::parentsOf("c"), Strings{"b"});
}

TEST_F(Undo, ConnectAndDisconnectUndoRestoreTheValueFlow) {
    ASSERT_TRUE(ks::run("createNode transform -n src; createNode transform -n dst; setAttr src.tx "
                        "9; setAttr dst.tx 1;"));
    ASSERT_TRUE(ks::run("connectAttr src.tx dst.tx;"));
    EXPECT_EQ(kt::getDouble("dst.tx"), 9.0);
    ASSERT_TRUE(ks::run("undo;"));
    EXPECT_EQ(kt::sourceOf("dst.translateX"), "");
    ASSERT_TRUE(ks::run("redo;"));
    EXPECT_EQ(kt::sourceOf("dst.translateX"), "src.translateX");
    ASSERT_TRUE(ks::run("disconnectAttr src.tx dst.tx;"));
    EXPECT_EQ(kt::sourceOf("dst.translateX"), "");
    ASSERT_TRUE(ks::run("setAttr src.tx 4;"));
    EXPECT_NE(kt::getDouble("dst.tx"), 4.0); // no longer fed by the source
    ASSERT_TRUE(ks::run("undo;"));
    EXPECT_EQ(kt::getDouble("src.tx"), 9.0);
    ASSERT_TRUE(ks::run("undo;")); // the disconnect
    EXPECT_EQ(kt::sourceOf("dst.translateX"), "src.translateX");
    ASSERT_TRUE(ks::run("setAttr src.tx 11;"));
    EXPECT_EQ(kt::getDouble("dst.tx"), 11.0); // the restored connection carries values
}

TEST_F(Undo, DeleteUndoBringsBackChildrenAndConnections) {
    ASSERT_TRUE(ks::run("createNode transform -n p; createNode transform -n k -p p; createNode "
                        "transform -n other; connectAttr k.ty other.ty;"));
    ASSERT_TRUE(ks::run("delete p;"));
    EXPECT_FALSE(kt::exists("p"));
    EXPECT_FALSE(kt::exists("k")); // children go with their parent
    EXPECT_EQ(kt::sourceOf("other.translateY"), "");
    ASSERT_TRUE(ks::run("undo;"));
    EXPECT_TRUE(kt::exists("p"));
    EXPECT_EQ(kt::parentsOf("k"), Strings{"p"});
    EXPECT_EQ(kt::sourceOf("other.translateY"), "k.translateY");
    ASSERT_TRUE(ks::run("redo;"));
    EXPECT_FALSE(kt::exists("k"));
}

TEST_F(Undo, SelectionChangesAreUndone) {
    ASSERT_TRUE(ks::run("createNode transform -n a; createNode transform -n b; select -cl;"));
    ASSERT_TRUE(ks::run("select -r a; select -add b;"));
    EXPECT_EQ(ks::selection(), (Strings{"a", "b"}));
    ASSERT_TRUE(ks::run("undo;"));
    EXPECT_EQ(ks::selection(), Strings{"a"});
    ASSERT_TRUE(ks::run("undo;"));
    EXPECT_TRUE(ks::selection().empty());
    ASSERT_TRUE(ks::run("redo; redo;"));
    EXPECT_EQ(ks::selection(), (Strings{"a", "b"}));
}

TEST_F(Undo, PrimitiveUndoRemovesTransformShapeAndHistory) {
    ASSERT_TRUE(ks::run("polyCube;"));
    ASSERT_TRUE(ks::run("undo;"));
    EXPECT_FALSE(kt::exists("pCube1"));
    EXPECT_FALSE(kt::exists("pCubeShape1"));
    EXPECT_FALSE(kt::exists("polyCube1"));
    ASSERT_TRUE(ks::run("redo;"));
    EXPECT_EQ(kt::typeOf("pCubeShape1"), "mesh");
    EXPECT_EQ(kt::sourceOf("pCubeShape1.inMesh"), "polyCube1.output");
    ASSERT_TRUE(ks::run("polyEvaluate -v pCube1;"));
    EXPECT_EQ(ks::lastResult(), Strings{"8"});
}

TEST_F(Undo, ANewCommandDropsTheRedoQueue) {
    ASSERT_TRUE(ks::run("createNode transform -n t; setAttr t.tx 1; setAttr t.tx 2;"));
    ASSERT_TRUE(ks::run("undo;"));
    EXPECT_EQ(ks::redoCount(), 1u);
    ASSERT_TRUE(ks::run("setAttr t.ty 5;"));
    EXPECT_EQ(ks::redoCount(), 0u);
    ASSERT_TRUE(ks::run("redo;")); // only warns
    EXPECT_EQ(kt::getDouble("t.tx"), 1.0);
}

TEST_F(Undo, QueriesAndTimeChangesAreNotEntered) {
    ASSERT_TRUE(ks::run("createNode transform -n t;"));
    const size_t before = ks::undoCount();
    ASSERT_TRUE(ks::run("getAttr t.tx; objExists t; nodeType t; ls; currentTime 12; currentTime "
                        "-q; print \"x\";"));
    EXPECT_EQ(ks::undoCount(), before);
    ASSERT_TRUE(ks::run("undo;")); // undoes the createNode, not the time change
    EXPECT_FALSE(kt::exists("t"));
    ASSERT_TRUE(ks::run("currentTime -q;"));
    EXPECT_EQ(ks::lastResult(), Strings{"12"});
}

TEST_F(Undo, FlushUndoForgetsEverything) {
    ASSERT_TRUE(ks::run("createNode transform -n t; setAttr t.tx 3;"));
    ASSERT_TRUE(ks::run("undo;"));
    ASSERT_TRUE(ks::run("flushUndo;"));
    EXPECT_EQ(ks::undoCount(), 0u);
    EXPECT_EQ(ks::redoCount(), 0u);
    kt::clearMessages();
    ASSERT_TRUE(ks::run("undo;"));
    EXPECT_EQ(kt::warnings(), Strings{"There are no more commands to undo."});
    EXPECT_TRUE(kt::exists("t")); // flushing changes nothing in the scene
    EXPECT_EQ(kt::getDouble("t.tx"), 0.0);
}

TEST_F(Undo, SetsMembershipIsUndone) {
    ASSERT_TRUE(ks::run("createNode transform -n a; createNode transform -n b; sets -n bag a;"));
    EXPECT_EQ(kt::setMembers("bag"), Strings{"a"});
    ASSERT_TRUE(ks::run("sets -e -add bag b;"));
    EXPECT_EQ(kt::setMembers("bag").size(), 2u);
    ASSERT_TRUE(ks::run("undo;"));
    EXPECT_EQ(kt::setMembers("bag"), Strings{"a"});
    ASSERT_TRUE(ks::run("sets -e -rm bag a;"));
    EXPECT_TRUE(kt::setMembers("bag").empty());
    ASSERT_TRUE(ks::run("undo;"));
    EXPECT_EQ(kt::setMembers("bag"), Strings{"a"});
    ASSERT_TRUE(ks::run("undo;"));
    EXPECT_FALSE(kt::exists("bag"));
}
