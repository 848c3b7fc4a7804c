// The batch host program with the built plug-in: the example scene (the main
// job), a failing statement's exit status, and frame-range exports.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

struct BatchRun {
    int exitCode = -1;
    std::string out, err;
};

std::string readAll(const fs::path &path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

fs::path freshDir(const std::string &name) {
    fs::path dir =
        fs::temp_directory_path() / ("kelp-batch-" + std::to_string(::getpid()) + "-" + name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

// Runs kelp-batch in `dir` with the plug-in folder on MAYA_PLUG_IN_PATH.
BatchRun runBatch(const fs::path &dir, const std::string &arguments) {
    const std::string command = "cd '" + dir.string() + "' && MAYA_PLUG_IN_PATH='" +
                                KELP_PLUGIN_DIR + "' '" + KELP_BATCH_PATH + "' " + arguments +
                                " >stdout.txt 2>stderr.txt";
    BatchRun run;
    const int status = std::system(command.c_str());
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = readAll(dir / "stdout.txt");
    run.err = readAll(dir / "stderr.txt");
    return run;
}

bool has(const std::string &text, const std::string &piece) {
    return text.find(piece) != std::string::npos;
}

TEST(BatchHost, ExampleSceneWritesAndReadsBack24Frames) {
    const fs::path dir = freshDir("example");
    const BatchRun run = runBatch(dir, std::string("'") + KELP_EXAMPLE_SCRIPT + "'");
    ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
    for (int frame = 1; frame <= 24; ++frame) {
        char name[32];
        std::snprintf(name, sizeof name, "ball.%04d.bgeo.gz", frame);
        EXPECT_TRUE(fs::exists(dir / name)) << name;
        EXPECT_GT(fs::exists(dir / name) ? fs::file_size(dir / name) : std::uintmax_t(0), 100u)
            << name;
    }
    EXPECT_FALSE(fs::exists(dir / "ball.0025.bgeo.gz"));
    EXPECT_TRUE(has(run.out, "// Result: ballExportOutputNode //")) << run.out;
    EXPECT_TRUE(has(run.out, "// Result: ballMeshInputNode ballMeshShape ballMesh //")) << run.out;
    EXPECT_TRUE(
        has(run.out, "// Result: ballPointsInputNode ballPointsParticleShape ballPoints //"))
        << run.out;
    EXPECT_TRUE(has(run.out, "KelpReader -n \"myGeo\"")) << run.out;
    EXPECT_FALSE(has(run.err, "Error")) << run.err;
}

TEST(BatchHost, WriterWithEmptySelectionFailsTheRun) {
    const fs::path dir = freshDir("empty");
    const BatchRun run =
        runBatch(dir, "-c 'loadPlugin \"Kelp\"; select -cl; KelpWriter; print \"not reached\";'");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(has(run.err, "// Warning: Select one or more meshes //")) << run.err;
    EXPECT_FALSE(has(run.out, "not reached")) << run.out;
}

// A cube rising one unit per frame, at frame 7.
const char *const kRisingCube =
    "loadPlugin \"Kelp\"; polyCube; connectAttr time1.outTime pCube1.translateY;"
    "polySphere; currentTime 7;";

TEST(BatchHost, ExportOverFramesOneToFiveTwoMeshes) {
    const fs::path dir = freshDir("export");
    const BatchRun run =
        runBatch(dir, std::string("-c '") + kRisingCube +
                          "select -r pCube1 pSphere1; KelpExport -f \"$OS.$F4.bgeo\" -sf 1 -ef 5;"
                          "currentTime -q;'");
    ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
    for (const char *mesh : {"pCube1", "pSphere1"})
        for (int frame = 1; frame <= 5; ++frame) {
            char name[32];
            std::snprintf(name, sizeof name, "%s.%04d.bgeo", mesh, frame);
            EXPECT_TRUE(fs::exists(dir / name)) << name;
        }
    EXPECT_TRUE(has(run.out, "KelpExport: frame 1 (1 of 5): 2 files\n")) << run.out;
    EXPECT_TRUE(has(run.out, "KelpExport: frame 5 (5 of 5): 2 files\n")) << run.out;
    EXPECT_TRUE(has(run.out, "// Result: pCube1.0001.bgeo pSphere1.0001.bgeo pCube1.0002.bgeo"))
        << run.out;
    // The scene time is back where it was.
    EXPECT_TRUE(has(run.out, "// Result: 7 //\n")) << run.out;
    EXPECT_FALSE(has(run.err, "Error")) << run.err;
}

TEST(BatchHost, ExportIntoAMissingFolderFailsTheRunAndKeepsEarlierFrames) {
    const fs::path dir = freshDir("export-missing");
    fs::create_directories(dir / "f1");
    fs::create_directories(dir / "f2");
    const BatchRun run = runBatch(dir, std::string("-c '") + kRisingCube +
                                           "KelpExport -f \"f$F/cube.bgeo\" -sf 1 -ef 5 pCube1;"
                                           "print \"not reached\";'");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(fs::exists(dir / "f1/cube.bgeo"));
    EXPECT_TRUE(fs::exists(dir / "f2/cube.bgeo"));
    EXPECT_FALSE(has(run.out, "not reached")) << run.out;
    // The saver's line about the third frame's file, as a host error.
    EXPECT_TRUE(has(run.err, "// Error: ")) << run.err;
    EXPECT_TRUE(has(run.err, "f3/cube.bgeo (No such file or directory) //")) << run.err;
}

TEST(BatchHost, ExportOfTwoMeshesWithoutOSWritesNothing) {
    const fs::path dir = freshDir("export-no-os");
    const BatchRun run = runBatch(dir, std::string("-c '") + kRisingCube +
                                           "select -r pCube1 pSphere1;"
                                           "KelpExport -f \"both.$F.bgeo\" -sf 1 -ef 5;'");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(fs::exists(dir / "both.1.bgeo"));
    EXPECT_TRUE(has(run.err, "// Error: KelpExport: 2 meshes need \"$OS\"")) << run.err;
}

TEST(BatchHost, FailedReadShowsTheReasonOnItsOwnLine) {
    const fs::path dir = freshDir("read-missing");
    const BatchRun run =
        runBatch(dir, "-c 'loadPlugin \"Kelp\"; KelpReader -n geo;"
                      "setAttr -type \"string\" geoInputNode.bgeoPath \"gone.$F4.bgeo\";"
                      "currentTime 3; polyEvaluate -v geoShape;'");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    // The loader's line ends before the host's own error line begins.
    EXPECT_TRUE(has(run.err, "could not open file: gone.0003.bgeo\n")) << run.err;
    EXPECT_TRUE(has(run.err, "// Error: unable to read bgeo:  (gone.0003.bgeo): could not open "
                             "file: gone.0003.bgeo //\n"))
        << run.err;
}

// A user's session in the batch host: a hard-edged, coloured cube written out
// and read back keeps the host's 14 UVs and, when asked, its colours; a
// particle reader without a file shows no particles.
TEST(BatchHost, HardEdgedColouredCubeRoundTrip) {
    const fs::path dir = freshDir("fidelity");
    const BatchRun run = runBatch(
        dir, "-c 'loadPlugin \"Kelp\"; polyCube -ch 0; polySoftEdge -angle 0 pCube1; "
             "polyColorPerVertex -rgb 0 1 0 -colorDisplayOption pCube1; select -r pCube1; "
             "KelpWriter -n out; setAttr -type \"string\" outOutputNode.bgeoPath \"c.bgeo\"; "
             "setAttr outOutputNode.exportColors 1; setAttr outOutputNode.write 1; "
             "dgeval outOutputNode; KelpReader -n back; setAttr -type \"string\" "
             "backInputNode.bgeoPath \"c.bgeo\"; polyEvaluate -uvcoord backShape; "
             "polyColorSet -query -allColorSets backShape; "
             "polyUVSet -query -allUVSets backShape; KelpReader -n gone -op 1; "
             "getAttr goneParticleShape.count;'");
    ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_TRUE(fs::exists(dir / "c.bgeo"));
    EXPECT_TRUE(has(run.out, "// Result: 14 //")) << run.out;
    EXPECT_TRUE(has(run.out, "// Result: Cd //")) << run.out;
    EXPECT_TRUE(has(run.out, "// Result: map1 //")) << run.out;
    EXPECT_TRUE(has(run.out, "// Result: 0 //")) << run.out;
}

// Houdini's packed pieces embedded in the file become faces of the mesh.
TEST(BatchHost, PackedFixtureGivesItsPolygons) {
    const std::string file =
        std::string(KELP_FIXTURES_JSON) + "/labs_physics_painter_packed_h185.bgeo.sc";
    if (!fs::exists(file))
        GTEST_SKIP() << "fixture absent: " << file;
    const fs::path dir = freshDir("packed");
    const BatchRun run =
        runBatch(dir, "-c 'loadPlugin \"Kelp\"; KelpReader -n geo; setAttr -type \"string\" "
                      "geoInputNode.bgeoPath \"" +
                          file + "\"; polyEvaluate -f geoShape;'");
    ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_TRUE(has(run.out, "// Result: 12960 //")) << run.out; // 81 + 12879 of 23 pieces
}

} // namespace

TEST(BatchHost, ExportAsJsonWritesHoudinisBinaryJson) {
    const fs::path dir = freshDir("export-json");
    const BatchRun run =
        runBatch(dir, std::string("-c '") + kRisingCube +
                          "KelpExport -f \"cube.$F4.bgeo\" -sf 1 -ef 2 -fmt json "
                          "pCube1; KelpReader -n back; setAttr -type \"string\" "
                          "backInputNode.bgeoPath \"cube.$F4.bgeo\"; currentTime 2;"
                          "polyEvaluate -v backShape;'");
    ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
    for (const char *name : {"cube.0001.bgeo", "cube.0002.bgeo"}) {
        std::ifstream in(dir / name, std::ios::binary);
        char head[5] = {};
        in.read(head, 5);
        EXPECT_EQ(std::string(head, 5), std::string("\x7FNSJb", 5)) << name;
    }
    EXPECT_TRUE(has(run.out, "// Result: 8 //")) << run.out;
}
