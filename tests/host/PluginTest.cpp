// A plug-in built as a shared library, loaded by the host as the host loads
// plug-ins; scripts drive its node and command, with undo and redo. The same
// steps run through the kelp-batch program.
#include "ScriptHost.h"
#include "StandIn.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <sys/wait.h>

namespace {

namespace ks = kelphost::script;
namespace kt = kelphost::testing;
using Strings = std::vector<std::string>;

class Plugin : public ::testing::Test {
protected:
    void SetUp() override {
        kt::resetHost();
        kt::captureMessages();
        std::string error;
        ASSERT_TRUE(ks::loadPlugin(KELP_TEST_PLUGIN, &error)) << error;
    }
    void TearDown() override { ks::unloadPlugin("kelpTestPlugin"); }
    static std::string result(const std::string &statement) {
        EXPECT_TRUE(ks::run(statement)) << statement;
        return ks::lastResultText();
    }
};

TEST_F(Plugin, LoadsThroughItsEntryPointsAndReportsItsApiVersion) {
    EXPECT_EQ(ks::pluginApiVersion("kelpTestPlugin"), "201000");
    EXPECT_TRUE(kt::errors().empty());
    // Loading again is harmless.
    EXPECT_TRUE(ks::run("loadPlugin -qt \"" KELP_TEST_PLUGIN "\";"));
    EXPECT_EQ(ks::lastResult(), Strings{"kelpTestPlugin"});
    std::string error;
    EXPECT_FALSE(ks::loadPlugin("/nonexistent/dir/missing.so", &error));
    EXPECT_NE(error.find("missing"), std::string::npos);
}

TEST_F(Plugin, ScriptCreatesConnectsChangesTimeReadsBackUndoesAndRedoes) {
    EXPECT_EQ(result("createNode doubler -n d1;"), "d1");
    EXPECT_EQ(result("setAttr d1.input 2.5; getAttr d1.output;"), "5");
    EXPECT_EQ(result("connectAttr time1.outTime d1.input;"),
              "Connected time1.outTime to d1.input.");
    EXPECT_EQ(result("currentTime 7; getAttr d1.output;"), "14");
    EXPECT_EQ(result("currentTime 8.5; getAttr d1.output;"), "17");
    EXPECT_EQ(result("setAttr -type \"string\" d1.label \"two words\"; getAttr d1.label;"),
              "two words");
    // The plug-in's own command: an undoable node plus a script modifier.
    EXPECT_EQ(result("doublerMake -n dm -v 4;"), "dm");
    EXPECT_EQ(result("getAttr dm.output;"), "8");
    EXPECT_EQ(ks::selection(), Strings{"dm"});
    ASSERT_TRUE(ks::run("undo;"));
    EXPECT_FALSE(kt::exists("dm"));
    EXPECT_EQ(ks::selection(), Strings{"d1"}); // the selection before the command
    ASSERT_TRUE(ks::run("redo;"));
    EXPECT_EQ(result("getAttr dm.output;"), "8");
    EXPECT_EQ(ks::selection(), Strings{"dm"});
    // A name clash: the command reports the name the host gave.
    EXPECT_EQ(result("doublerMake -n dm;"), "dm1");
    EXPECT_EQ(result("getAttr dm1.input;"), "1");
    // Undo the two commands and the label, then the time connection.
    ASSERT_TRUE(ks::run("undo; undo; undo;"));
    EXPECT_FALSE(kt::exists("dm"));
    EXPECT_EQ(result("getAttr d1.label;"), "none");
    EXPECT_EQ(kt::sourceOf("d1.input"), "time1.outTime");
    ASSERT_TRUE(ks::run("undo;"));
    EXPECT_EQ(kt::sourceOf("d1.input"), "");
    // A broken connection leaves the destination its last value (8.5).
    EXPECT_EQ(result("getAttr d1.output;"), "17");
    ASSERT_TRUE(ks::run("currentTime 1; getAttr d1.output;"));
    EXPECT_EQ(ks::lastResultText(), "17");
    ASSERT_TRUE(ks::run("redo;"));
    EXPECT_EQ(result("getAttr d1.output;"), "2"); // driven by the time again (1)
}

TEST_F(Plugin, BadCommandArgumentsFailTheStatement) {
    EXPECT_FALSE(ks::run("doublerMake -bogus;"));
    EXPECT_FALSE(ks::run("doublerMake -v notANumber;"));
    EXPECT_TRUE(kt::nodesOfType("doubler").empty());
    EXPECT_EQ(ks::undoCount(), 0u);
}

TEST_F(Plugin, UnloadRemovesTheCommandAndReloadBringsItBack) {
    ASSERT_TRUE(ks::run("unloadPlugin kelpTestPlugin;"));
    EXPECT_FALSE(ks::run("doublerMake;"));
    ASSERT_TRUE(ks::loadPlugin(KELP_TEST_PLUGIN));
    EXPECT_EQ(result("doublerMake;"), "doubler");
}

// ---- the batch program -------------------------------------------------------

struct RunResult {
    int exitCode = -1;
    std::string output; // standard output and error together
};

RunResult runBatch(const std::string &arguments) {
    RunResult r;
    const std::string command = std::string("\"") + KELP_BATCH + "\" " + arguments + " 2>&1";
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe)
        return r;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, pipe)) > 0)
        r.output.append(buf, n);
    const int status = pclose(pipe);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

std::string writeScript(const std::string &name, const std::string &text) {
    const std::string path = ::testing::TempDir() + name;
    std::ofstream(path) << text;
    return path;
}

TEST(Batch, RunsAScriptFileWithThePluginAndEveryStepChecks) {
    const std::string script =
        writeScript("kelp_batch_ok.mel", "loadPlugin \"" KELP_TEST_PLUGIN "\";\n"
                                         "createNode doubler -n d1;\n"
                                         "connectAttr time1.outTime d1.input;\n"
                                         "currentTime 3;\n"
                                         "getAttr d1.output;\n"
                                         "doublerMake -n dm -v 10;\n"
                                         "getAttr dm.output;\n"
                                         "undo;\n"
                                         "objExists dm;\n"
                                         "redo;\n"
                                         "getAttr dm.output;\n"
                                         "print \"done\\n\";\n");
    RunResult r = runBatch("\"" + script + "\"");
    EXPECT_EQ(r.exitCode, 0) << r.output;
    const std::string expected = "// Result: kelpTestPlugin //\n"
                                 "// Result: d1 //\n"
                                 "// Result: Connected time1.outTime to d1.input. //\n"
                                 "// Result: 3 //\n"
                                 "// Result: 6 //\n"
                                 "// Result: dm //\n"
                                 "// Result: 20 //\n"
                                 "// Undo: doublerMake -n dm -v 10 //\n"
                                 "// Result: 0 //\n"
                                 "// Redo: doublerMake -n dm -v 10 //\n"
                                 "// Result: 20 //\n"
                                 "done\n";
    EXPECT_EQ(r.output, expected);
}

TEST(Batch, FailingStatementStopsWithItsTextAndExitCode) {
    RunResult r = runBatch("-c \"polyCube; setAttr nothing.tx 1; polySphere;\"");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.output.find("// Result: pCube1 polyCube1 //"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("// Error: line 1: setAttr nothing.tx 1: No object matches name: "
                            "nothing.tx //"),
              std::string::npos)
        << r.output;
    EXPECT_EQ(r.output.find("pSphere1"), std::string::npos) << r.output;
}

TEST(Batch, QuietModeUsageAndMissingFile) {
    RunResult q = runBatch("-q -c \"polyCube; polyEvaluate -v pCube1;\"");
    EXPECT_EQ(q.exitCode, 0);
    EXPECT_EQ(q.output, "");
    EXPECT_EQ(runBatch("").exitCode, 2);
    EXPECT_EQ(runBatch("-c").exitCode, 2);
    EXPECT_EQ(runBatch("/nonexistent/script.mel").exitCode, 2);
}

} // namespace
