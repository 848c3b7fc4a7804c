// A plug-in command's argument errors as the host shows them: the argument
// parser's own line first, then the failing statement with the status the
// command returned; nothing made, nothing entered for undo. And the
// command's undo and redo through the host's queue.
#include "ScriptHost.h"
#include "StandIn.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

namespace ks = kelphost::script;
namespace kt = kelphost::testing;
using Strings = std::vector<std::string>;

class PluginCommandErrors : public ::testing::Test {
protected:
    void SetUp() override {
        kt::resetHost();
        kt::captureMessages();
        std::string error;
        ASSERT_TRUE(ks::loadPlugin(KELP_TEST_PLUGIN, &error)) << error;
        kt::clearMessages();
    }
    void TearDown() override { ks::unloadPlugin("kelpTestPlugin"); }
    // The error lines of one failing statement.
    static Strings failure(const std::string &statement) {
        kt::clearMessages();
        EXPECT_FALSE(ks::run(statement)) << statement;
        EXPECT_TRUE(kt::nodesOfType("doubler").empty()) << statement;
        EXPECT_EQ(ks::undoCount(), 0u) << statement;
        return kt::errors();
    }
    static bool startsWith(const std::string &s, const std::string &prefix) {
        return s.compare(0, prefix.size(), prefix) == 0;
    }
};

} // namespace

TEST_F(PluginCommandErrors, UnknownFlag) {
    Strings e = failure("doublerMake -bogus;");
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(e[0], "Invalid flag: -bogus");
    EXPECT_TRUE(startsWith(e[1], "line 1: doublerMake -bogus: (kFailure)")) << e[1];
}

TEST_F(PluginCommandErrors, ArgumentOfTheWrongType) {
    Strings e = failure("doublerMake -v abc;");
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(e[0], "Invalid argument for flag -v: \"abc\" is not a number");
    EXPECT_TRUE(startsWith(e[1], "line 1: doublerMake -v abc: (kFailure)")) << e[1];
    // By the long name the message names the flag as written.
    e = failure("doublerMake -value 1x;");
    ASSERT_FALSE(e.empty());
    EXPECT_EQ(e[0], "Invalid argument for flag -value: \"1x\" is not a number");
}

TEST_F(PluginCommandErrors, MissingArgumentAndRepeatedFlag) {
    Strings e = failure("doublerMake -n;");
    ASSERT_FALSE(e.empty());
    EXPECT_EQ(e[0], "Flag -n needs 1 argument(s)");
    e = failure("doublerMake -n one -name two;");
    ASSERT_FALSE(e.empty());
    EXPECT_EQ(e[0], "Flag -name can only be used once");
}

TEST_F(PluginCommandErrors, GoodArgumentsMakeTheNodeAndUndoTakesItAway) {
    ASSERT_TRUE(ks::run("doublerMake -n twice -v 2.5;"));
    EXPECT_TRUE(kt::errors().empty());
    EXPECT_EQ(ks::lastResult(), Strings{"twice"});
    EXPECT_EQ(kt::typeOf("twice"), "doubler");
    EXPECT_DOUBLE_EQ(kt::getDouble("twice.input"), 2.5);
    EXPECT_EQ(ks::selection(), Strings{"twice"});
    EXPECT_EQ(ks::undoCount(), 1u); // one statement, one entry
    ASSERT_TRUE(ks::run("undo;"));
    EXPECT_FALSE(kt::exists("twice"));
    ASSERT_TRUE(ks::run("redo;"));
    EXPECT_EQ(kt::typeOf("twice"), "doubler");
    EXPECT_DOUBLE_EQ(kt::getDouble("twice.input"), 2.5);
    // A second one with the same name is renamed, as every node name clash is.
    ASSERT_TRUE(ks::run("doublerMake -n twice;"));
    EXPECT_NE(ks::lastResult(), Strings{"twice"});
    EXPECT_EQ(kt::nodesOfType("doubler").size(), 2u);
}

TEST_F(PluginCommandErrors, CommandsGoneWithThePluginAreUnknownProcedures) {
    ASSERT_TRUE(ks::unloadPlugin("kelpTestPlugin"));
    kt::clearMessages();
    EXPECT_FALSE(ks::run("doublerMake;"));
    EXPECT_EQ(kt::errors(), Strings{"line 1: doublerMake: Cannot find procedure \"doublerMake\"."});
    std::string error;
    ASSERT_TRUE(ks::loadPlugin(KELP_TEST_PLUGIN, &error)) << error;
}
