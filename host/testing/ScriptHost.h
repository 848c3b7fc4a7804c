#ifndef KELPHOST_TESTING_SCRIPTHOST_H
#define KELPHOST_TESTING_SCRIPTHOST_H
// Running host scripts and loading plug-ins from tests and from kelp-batch
// (CMake target kelp_host_testing). Typical use in a GoogleTest case:
//
//   kelphost::testing::resetHost();
//   kelphost::testing::captureMessages();
//   ASSERT_TRUE(kelphost::script::loadPlugin(KELP_PLUGIN_PATH));   // a .so file
//   ASSERT_TRUE(kelphost::script::run("polyCube; select -r pCube1; KelpWriter;"));
//   EXPECT_EQ(kelphost::script::lastResult(),
//             std::vector<std::string>{"KelpWriterOutputNode"});
//   ASSERT_TRUE(kelphost::script::run("undo;"));
//
// Errors of a failing statement arrive as Error messages
// ("line N: <statement>: <reason>"); results, when echoed, as Output
// messages "// Result: <items> //".
#include <maya/MObject.h>
#include <maya/MStatus.h>

#include <string>
#include <vector>

namespace kelphost {
namespace script {

// Runs statements as the batch host does: each top-level statement is one
// entry of the undo queue; stops at the first failing statement (false).
// `echo` shows each non-empty result as "// Result: ... //".
bool run(const std::string &statements, bool echo = false);
// The result of the last statement run, item by item (numbers as the host
// prints them), and all items joined by spaces.
std::vector<std::string> lastResult();
std::string lastResultText();

// Plug-in files by path or name (searched in the current directory, then
// MAYA_PLUG_IN_PATH), as loadPlugin does.
bool loadPlugin(const std::string &pathOrName, std::string *error = nullptr);
bool unloadPlugin(const std::string &name, std::string *error = nullptr);
// A plug-in whose entry points are linked into the test program.
bool loadLinkedPlugin(const std::string &name, MStatus (*initialize)(MObject),
                      MStatus (*uninitialize)(MObject), std::string *error = nullptr);
// MApiVersion text read from a loaded plug-in ("" if none or not loaded).
std::string pluginApiVersion(const std::string &name);

// The active selection as selection strings (DAG nodes by partial path).
std::vector<std::string> selection();
// Entries in the undo queue that can be undone / redone.
size_t undoCount();
size_t redoCount();

// kelp-batch's helpers.
bool readFile(const std::string &path, std::string &text, std::string &error);

} // namespace script
} // namespace kelphost

#endif
