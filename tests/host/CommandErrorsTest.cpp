// How the interpreter's commands fail: an unknown command, an unknown flag, a
// missing flag argument, a value of the wrong type, a name that matches
// nothing. Each fails its statement with one error line naming the statement
// and the reason, stops the script there, and leaves the scene as it was.
#include "ScriptHost.h"
#include "StandIn.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

namespace ks = kelphost::script;
namespace kt = kelphost::testing;
using Strings = std::vector<std::string>;

class CommandErrors : public ::testing::Test {
protected:
    void SetUp() override {
        kt::resetHost();
        kt::captureMessages();
    }
    void TearDown() override { kt::resetHost(); }
    // Runs one failing script and returns its single error line.
    std::string failure(const std::string &script) {
        kt::clearMessages();
        EXPECT_FALSE(ks::run(script)) << script;
        Strings errors = kt::errors();
        EXPECT_EQ(errors.size(), 1u) << script;
        return errors.empty() ? std::string() : errors.front();
    }
};

} // namespace

TEST_F(CommandErrors, UnknownCommandNamesTheProcedure) {
    EXPECT_EQ(failure("noSuchCommand -x 1;"),
              "line 1: noSuchCommand -x 1: Cannot find procedure \"noSuchCommand\".");
    EXPECT_TRUE(ks::lastResult().empty());
}

TEST_F(CommandErrors, ErrorLineCountsTheScriptsLines) {
    EXPECT_EQ(failure("polyCube;\n\npolyCube -nope;"),
              "line 3: polyCube -nope: Invalid flag '-nope'");
    // The statements before the failing one ran; the one after did not.
    EXPECT_TRUE(kt::exists("pCube1"));
    EXPECT_EQ(failure("polyPlane; bogus; polySphere;"),
              "line 1: bogus: Cannot find procedure \"bogus\".");
    EXPECT_TRUE(kt::exists("pPlane1"));
    EXPECT_FALSE(kt::exists("pSphere1"));
}

TEST_F(CommandErrors, UnknownFlagFailsBeforeAnythingIsMade) {
    EXPECT_EQ(failure("createNode transform -nm foo;"),
              "line 1: createNode transform -nm foo: Invalid flag '-nm'");
    EXPECT_FALSE(kt::exists("foo"));
    EXPECT_FALSE(kt::exists("transform1"));
    EXPECT_EQ(failure("polyCube -width2 3;"), "line 1: polyCube -width2 3: Invalid flag '-width2'");
    EXPECT_TRUE(kt::nodesOfType("polyCube").empty());
    EXPECT_EQ(ks::undoCount(), 0u); // nothing entered the undo queue
    // Flags are case sensitive, as in the host.
    EXPECT_NE(failure("select -R time1;").find("Invalid flag '-R'"), std::string::npos);
}

TEST_F(CommandErrors, FlagWithoutItsArgument) {
    EXPECT_EQ(failure("createNode transform -n;"),
              "line 1: createNode transform -n: Flag '-n' needs 1 argument");
    EXPECT_TRUE(kt::nodesOfType("transform").empty());
}

TEST_F(CommandErrors, ValuesOfTheWrongType) {
    ASSERT_TRUE(ks::run("createNode transform -n t;"));
    std::string e = failure("setAttr t.translateX abc;");
    EXPECT_EQ(e.rfind("line 1: setAttr t.translateX abc: ", 0), 0u) << e;
    EXPECT_NE(e.find("abc"), std::string::npos);
    EXPECT_EQ(kt::getDouble("t.translateX"), 0.0);
    // A number where a string is wanted is fine, text where a number is wanted is not.
    e = failure("currentTime ten;");
    EXPECT_EQ(e, "line 1: currentTime ten: Invalid time value: ten");
    EXPECT_DOUBLE_EQ(kt::getDouble("time1.outTime"), 1.0);
    e = failure("setAttr t.visibility maybe;");
    EXPECT_NE(e.find("maybe"), std::string::npos) << e;
    EXPECT_TRUE(kt::getBool("t.visibility"));
    // Too few values for a compound leaves every child unchanged.
    ASSERT_TRUE(ks::run("setAttr t.translate 1 2 3;"));
    e = failure("setAttr t.translate 7 8;");
    EXPECT_NE(e.find("takes 3"), std::string::npos) << e;
    EXPECT_EQ(kt::getDouble("t.translateX"), 1.0);
    EXPECT_EQ(kt::getDouble("t.translateY"), 2.0);
}

TEST_F(CommandErrors, MissingObjectsAreNamed) {
    EXPECT_EQ(failure("select -r ghost;"),
              "line 1: select -r ghost: No object matches name: ghost");
    EXPECT_EQ(failure("delete ghost;"), "line 1: delete ghost: No object matches name: ghost");
    EXPECT_EQ(failure("rename ghost spirit;"),
              "line 1: rename ghost spirit: No object matches name: ghost");
    EXPECT_EQ(failure("nodeType ghost;"), "line 1: nodeType ghost: No object matches name: ghost");
    EXPECT_EQ(failure("dgeval ghost;"), "line 1: dgeval ghost: No object matches name: ghost");
    EXPECT_EQ(failure("getAttr ghost.tx;"),
              "line 1: getAttr ghost.tx: No object matches name: ghost.tx");
    // objExists answers instead of failing.
    ASSERT_TRUE(ks::run("objExists ghost;"));
    EXPECT_EQ(ks::lastResult(), Strings{"0"});
    ASSERT_TRUE(ks::run("objExists time1;"));
    EXPECT_EQ(ks::lastResult(), Strings{"1"});
}

TEST_F(CommandErrors, ConnectionErrorsNameBothEnds) {
    ASSERT_TRUE(ks::run("createNode transform -n a; createNode transform -n b;"));
    EXPECT_EQ(
        failure("connectAttr a.nothing b.tx;"),
        "line 1: connectAttr a.nothing b.tx: The source attribute 'a.nothing' cannot be found.");
    EXPECT_EQ(failure("connectAttr a.tx b.nothing;"),
              "line 1: connectAttr a.tx b.nothing: The destination attribute 'b.nothing' cannot be "
              "found.");
    ASSERT_TRUE(ks::run("connectAttr a.tx b.tx;"));
    EXPECT_EQ(failure("connectAttr a.tx b.tx;"),
              "line 1: connectAttr a.tx b.tx: 'a.translateX' is already connected to "
              "'b.translateX'.");
    EXPECT_EQ(failure("disconnectAttr a.ty b.ty;"),
              "line 1: disconnectAttr a.ty b.ty: There is no connection from 'a.translateY' to "
              "'b.translateY' to disconnect.");
    EXPECT_EQ(kt::sourceOf("b.translateX"), "a.translateX"); // the failures changed nothing
}

TEST_F(CommandErrors, WrongNumberOfWords) {
    EXPECT_EQ(failure("createNode;"), "line 1: createNode: createNode takes one node type");
    EXPECT_EQ(failure("createNode transform mesh;"),
              "line 1: createNode transform mesh: createNode takes one node type");
    EXPECT_EQ(failure("rename time1;"),
              "line 1: rename time1: rename takes an object and a new name");
    EXPECT_EQ(failure("connectAttr time1.outTime;"),
              "line 1: connectAttr time1.outTime: connectAttr takes a source and a destination "
              "attribute");
    EXPECT_EQ(failure("print;"), "line 1: print: print takes exactly one argument");
    EXPECT_EQ(failure("createNode noSuchType;"),
              "line 1: createNode noSuchType: Unknown object type: noSuchType");
}

TEST_F(CommandErrors, UnterminatedStringIsASyntaxErrorAndRunsNothing) {
    kt::clearMessages();
    EXPECT_FALSE(ks::run("createNode transform -n ok;\nprint \"open;"));
    ASSERT_EQ(kt::errors().size(), 1u);
    EXPECT_EQ(kt::errors()[0].rfind("Syntax error: ", 0), 0u) << kt::errors()[0];
    EXPECT_FALSE(kt::exists("ok")); // the whole script is refused, not just its tail
}

TEST_F(CommandErrors, UndoAndRedoWithNothingToDoOnlyWarn) {
    kt::clearMessages();
    ASSERT_TRUE(ks::run("undo; redo;"));
    EXPECT_TRUE(kt::errors().empty());
    EXPECT_EQ(kt::warnings(), (Strings{"There are no more commands to undo.",
                                       "There are no more commands to redo."}));
    EXPECT_NE(failure("undo -x;").find("Invalid flag '-x'"), std::string::npos);
}

TEST_F(CommandErrors, FailureInsideAScriptLeavesTheUndoQueueUsable) {
    ASSERT_TRUE(ks::run("createNode transform -n keep;"));
    ASSERT_EQ(ks::undoCount(), 1u);
    failure("createNode transform -n second; bogus;");
    EXPECT_TRUE(kt::exists("second"));
    EXPECT_EQ(ks::undoCount(), 2u); // the failing statement added nothing
    ASSERT_TRUE(ks::run("undo; undo;"));
    EXPECT_FALSE(kt::exists("second"));
    EXPECT_FALSE(kt::exists("keep"));
}

TEST_F(CommandErrors, SetEditsNeedAModeAndASet) {
    ASSERT_TRUE(ks::run("createNode transform -n a; sets -n bag a;"));
    EXPECT_EQ(failure("sets -e bag a;"),
              "line 1: sets -e bag a: sets -e needs -forceElement, -addElement or -remove");
    EXPECT_EQ(failure("sets -e -add a a;"), "line 1: sets -e -add a a: a is not a set");
    EXPECT_EQ(failure("sets -e -add ghost a;"),
              "line 1: sets -e -add ghost a: No object matches name: ghost");
    EXPECT_EQ(failure("sets -q;"), "line 1: sets -q: sets -q takes one set");
    EXPECT_EQ(failure("sets -e -add bag ghost;"),
              "line 1: sets -e -add bag ghost: No object matches name: ghost");
    ASSERT_TRUE(ks::run("sets -q bag;"));
    EXPECT_EQ(ks::lastResult(), Strings{"a"}); // every failure left the set as it was
}
