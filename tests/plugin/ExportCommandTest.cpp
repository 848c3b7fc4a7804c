// "KelpExport" on the stand-in host: frame ranges, several meshes, what is
// refused before any file is written, the first failed write, the scene
// time, progress in batch and interactive sessions.
#include "PluginFixture.h"

#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

std::string frame4(int frame) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%04d", frame);
    return digits;
}

Names filesIn(const std::string &dir) {
    Names names;
    for (const fs::directory_entry &e : fs::recursive_directory_iterator(dir))
        if (e.is_regular_file())
            names.push_back(fs::relative(e.path(), dir).generic_string());
    std::sort(names.begin(), names.end());
    return names;
}

class ExportCommand : public KelpScenario {
protected:
    void SetUp() override {
        KelpScenario::SetUp();
        dir = scratchDir();
        // A cube that rises one unit per frame and a sphere that stays, so a
        // file shows the frame its mesh was taken at.
        ASSERT_TRUE(run("polyCube; connectAttr time1.outTime pCube1.translateY;"
                        "polySphere; setAttr pSphere1.translateX 10;"
                        "currentTime 7;"));
        host::clearMessages();
    }

    // The world-space heights of a written file's points, read back through
    // a reader node (a fresh one per call).
    std::vector<double> heightsIn(const std::string &path) {
        const std::string name = "back" + std::to_string(++readers);
        EXPECT_TRUE(run("KelpReader -n " + name + "; setAttr " + name +
                        "InputNode.verbosity 0; setAttr -type \"string\" " + name +
                        "InputNode.bgeoPath \"" + path + "\";"));
        std::vector<double> heights;
        for (const MPoint &p : host::mesh(name + "Shape").points)
            heights.push_back(p.y);
        return heights;
    }

    std::vector<double> cubeHeightsAt(int frame) {
        std::vector<double> h;
        for (const double y : {-0.5, -0.5, 0.5, 0.5, 0.5, 0.5, -0.5, -0.5})
            h.push_back(y + frame);
        return h;
    }

    double currentFrame() { return host::getDouble("time1.outTime"); }

    std::string dir;
    int readers = 0;
};

TEST_F(ExportCommand, OneMeshOverFramesOneToFive) {
    ASSERT_TRUE(run("select -r pCube1;"));
    ASSERT_TRUE(run("KelpExport -file \"" + dir + "/cube.$F4.bgeo\" -startFrame 1 -endFrame 5;"));
    Names expected;
    for (int f = 1; f <= 5; ++f)
        expected.push_back(dir + "/cube." + frame4(f) + ".bgeo");
    EXPECT_EQ(hostScript::lastResult(), expected);
    EXPECT_EQ(filesIn(dir), (Names{"cube.0001.bgeo", "cube.0002.bgeo", "cube.0003.bgeo",
                                   "cube.0004.bgeo", "cube.0005.bgeo"}));
    // One progress line per frame, nothing else shown.
    EXPECT_EQ(host::infos(),
              (Names{"KelpExport: frame 1 (1 of 5): 1 file", "KelpExport: frame 2 (2 of 5): 1 file",
                     "KelpExport: frame 3 (3 of 5): 1 file", "KelpExport: frame 4 (4 of 5): 1 file",
                     "KelpExport: frame 5 (5 of 5): 1 file"}));
    EXPECT_TRUE(host::errors().empty());
    EXPECT_DOUBLE_EQ(currentFrame(), 7.0);
    // Each file holds the cube in world space at its own frame.
    for (int f = 1; f <= 5; ++f)
        EXPECT_EQ(heightsIn(expected[f - 1]), cubeHeightsAt(f)) << "frame " << f;
}

TEST_F(ExportCommand, TwoMeshesTellTheirFilesApartByTransformName) {
    ASSERT_TRUE(run("select -r pCube1 pSphere1;"));
    ASSERT_TRUE(run("KelpExport -f \"" + dir + "/$OS/geo.$F.bgeo.gz\" -sf 1 -ef 5;") || true);
    // The folders do not exist yet: nothing but the first failure.
    EXPECT_TRUE(filesIn(dir).empty());
    host::clearMessages();

    ASSERT_TRUE(run("KelpExport -f \"" + dir + "/$OS.$F.bgeo.gz\" -sf 1 -ef 5 -s 2;"));
    EXPECT_EQ(hostScript::lastResult(),
              (Names{dir + "/pCube1.1.bgeo.gz", dir + "/pSphere1.1.bgeo.gz",
                     dir + "/pCube1.3.bgeo.gz", dir + "/pSphere1.3.bgeo.gz",
                     dir + "/pCube1.5.bgeo.gz", dir + "/pSphere1.5.bgeo.gz"}));
    EXPECT_EQ(host::infos(), (Names{"KelpExport: frame 1 (1 of 3): 2 files",
                                    "KelpExport: frame 3 (2 of 3): 2 files",
                                    "KelpExport: frame 5 (3 of 3): 2 files"}));
    EXPECT_EQ(heightsIn(dir + "/pCube1.3.bgeo.gz"), cubeHeightsAt(3));
    const std::vector<double> sphere = heightsIn(dir + "/pSphere1.5.bgeo.gz");
    EXPECT_EQ(sphere.size(), host::mesh("pSphereShape1").points.size());
    EXPECT_DOUBLE_EQ(currentFrame(), 7.0);
}

TEST_F(ExportCommand, NamedMeshesOverrideTheSelection) {
    ASSERT_TRUE(run("select -r pSphere1;"));
    ASSERT_TRUE(run("KelpExport -f \"" + dir + "/only.$F.bgeo\" pCube1;"));
    // Start and end default to the current frame.
    EXPECT_EQ(hostScript::lastResult(), Names{dir + "/only.7.bgeo"});
    EXPECT_EQ(heightsIn(dir + "/only.7.bgeo"), cubeHeightsAt(7));
}

TEST_F(ExportCommand, PatternWithoutOSOverTwoMeshesIsRefusedBeforeAnyWrite) {
    ASSERT_TRUE(run("select -r pCube1 pSphere1;"));
    EXPECT_FALSE(run("KelpExport -f \"" + dir + "/both.$F4.bgeo\" -sf 1 -ef 5;"));
    EXPECT_TRUE(filesIn(dir).empty());
    ASSERT_FALSE(host::errors().empty());
    EXPECT_EQ(host::errors()[0],
              "KelpExport: 2 meshes need \"$OS\" (the mesh's transform name) in the file "
              "pattern, so that each gets its own files: " +
                  dir + "/both.$F4.bgeo");
    EXPECT_TRUE(host::infos().empty());
    EXPECT_DOUBLE_EQ(currentFrame(), 7.0);
}

TEST_F(ExportCommand, MissingFolderStopsAtTheFirstFailedWriteAndKeepsEarlierFrames) {
    fs::create_directories(dir + "/f1");
    fs::create_directories(dir + "/f2");
    ASSERT_TRUE(run("select -r pCube1;"));
    EXPECT_FALSE(run("KelpExport -f \"" + dir + "/f$F/cube.bgeo\" -sf 1 -ef 5;"));
    EXPECT_EQ(filesIn(dir), (Names{"f1/cube.bgeo", "f2/cube.bgeo"}));
    EXPECT_EQ(heightsIn(dir + "/f2/cube.bgeo"), cubeHeightsAt(2));
    // The saver's own line, naming the file that could not be written, goes
    // to the host's error display.
    const Names errors = host::errors();
    ASSERT_FALSE(errors.empty());
    EXPECT_NE(errors[0].find(dir + "/f3/cube.bgeo"), std::string::npos) << errors[0];
    EXPECT_EQ(errors[0].find("KelpExport"), std::string::npos) << errors[0];
    EXPECT_EQ(host::infos(), (Names{"KelpExport: frame 1 (1 of 5): 1 file",
                                    "KelpExport: frame 2 (2 of 5): 1 file"}));
    EXPECT_DOUBLE_EQ(currentFrame(), 7.0);
}

TEST_F(ExportCommand, VerbosityZeroShowsNothing) {
    ASSERT_TRUE(run("KelpExport -f \"" + dir + "/q.$F.bgeo\" -sf 1 -ef 2 -verbosity 0 pCube1;"));
    EXPECT_EQ(hostScript::lastResult().size(), 2u);
    EXPECT_TRUE(host::infos().empty());
}

TEST_F(ExportCommand, IsNotEnteredIntoTheUndoQueue) {
    ASSERT_TRUE(run("polyPlane;"));
    ASSERT_TRUE(run("KelpExport -f \"" + dir + "/u.$F.bgeo\" pPlane1;"));
    // Undo takes back the plane, the last undoable command; the file stays.
    ASSERT_TRUE(run("undo;"));
    EXPECT_FALSE(host::exists("pPlane1"));
    EXPECT_EQ(filesIn(dir), Names{"u.7.bgeo"});
}

// Each of these is refused with its own line before anything is written.
struct Refusal {
    const char *name;
    std::string arguments; // after "KelpExport", with DIR for the scratch folder
    std::string error;     // the first error shown, "" when the parser refuses
};

class ExportRefusal : public ExportCommand, public ::testing::WithParamInterface<Refusal> {
protected:
    std::string withDir(std::string text) {
        for (std::string::size_type at = text.find("DIR"); at != std::string::npos;
             at = text.find("DIR", at + dir.size()))
            text.replace(at, 3, dir);
        return text;
    }
};

TEST_P(ExportRefusal, NothingIsWritten) {
    ASSERT_TRUE(run("select -r pCube1;"));
    const std::string arguments = withDir(GetParam().arguments);
    EXPECT_FALSE(run("KelpExport " + arguments + ";"));
    EXPECT_TRUE(filesIn(dir).empty());
    EXPECT_TRUE(host::infos().empty());
    ASSERT_FALSE(host::errors().empty());
    if (!GetParam().error.empty()) {
        EXPECT_EQ(host::errors()[0], withDir(GetParam().error));
    }
    EXPECT_DOUBLE_EQ(currentFrame(), 7.0);
}

INSTANTIATE_TEST_SUITE_P(
    Flags, ExportRefusal,
    ::testing::Values(
        Refusal{"NoFile", "-sf 1 -ef 2",
                "KelpExport: -file is required (the path pattern of the files to write)"},
        Refusal{"EmptyFile", "-f \"\"", "KelpExport: -file must not be empty"},
        Refusal{"ZeroStep", "-f \"DIR/a.$F.bgeo\" -s 0",
                "KelpExport: -step must be greater than 0, not 0"},
        Refusal{"EndBeforeStart", "-f \"DIR/a.$F.bgeo\" -sf 5 -ef 2",
                "KelpExport: -endFrame 2 is before -startFrame 5"},
        Refusal{"UnknownFormat", "-f \"DIR/a.$F.bgeo\" -format obj",
                "KelpExport: -format takes classic or json, not \"obj\""},
        Refusal{"Verbosity", "-f \"DIR/a.$F.bgeo\" -vb 4",
                "KelpExport: -verbosity takes 0 to 3, not 4"},
        Refusal{"NoFrameToken", "-f \"DIR/same.bgeo\" -sf 1 -ef 3",
                "KelpExport: the file pattern holds no frame token ($F, $F4, $FF), so every "
                "frame would overwrite the same file: DIR/same.bgeo"},
        Refusal{"NotAMesh", "-f \"DIR/a.$F.bgeo\" time1", "KelpExport: time1 is not a mesh"},
        Refusal{"NoSuchObject", "-f \"DIR/a.$F.bgeo\" ghost",
                "KelpExport: no object matches name: ghost"},
        Refusal{"UnknownFlag", "-f \"DIR/a.$F.bgeo\" -bogus 1", ""}),
    [](const ::testing::TestParamInfo<Refusal> &info) { return std::string(info.param.name); });

TEST_F(ExportCommand, EmptySelectionIsRefused) {
    ASSERT_TRUE(run("select -cl;"));
    EXPECT_FALSE(run("KelpExport -f \"" + dir + "/a.$F.bgeo\";"));
    ASSERT_FALSE(host::errors().empty());
    EXPECT_EQ(host::errors()[0], "KelpExport: select one or more meshes, or name them");
    EXPECT_TRUE(filesIn(dir).empty());
}

TEST_F(ExportCommand, InteractiveSessionShowsTheProgressWindowInstead) {
    host::setInteractive(true);
    ASSERT_TRUE(run("KelpExport -f \"" + dir + "/w.$F.bgeo\" -sf 1 -ef 5 pCube1;"));
    EXPECT_EQ(hostScript::lastResult().size(), 5u);
    EXPECT_TRUE(host::infos().empty());
    const host::ProgressWindowRecord window = host::progressWindow();
    EXPECT_EQ(window.title, "KelpExport");
    EXPECT_TRUE(window.interruptable);
    EXPECT_EQ(window.minValue, 0);
    EXPECT_EQ(window.maxValue, 5);
    EXPECT_EQ(window.progressValues, (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(window.statuses, (Names{"Frame 1", "Frame 2", "Frame 3", "Frame 4", "Frame 5"}));
    EXPECT_EQ(window.timesStarted, 1);
    EXPECT_EQ(window.timesEnded, 1);
    EXPECT_FALSE(window.reserved);
}

TEST_F(ExportCommand, EscapeInterruptsKeepingTheFramesWritten) {
    host::setInteractive(true);
    host::pressEscapeAtProgress(2);
    EXPECT_FALSE(run("KelpExport -f \"" + dir + "/esc.$F.bgeo\" -sf 1 -ef 5 pCube1;"));
    EXPECT_EQ(filesIn(dir), (Names{"esc.1.bgeo", "esc.2.bgeo"}));
    ASSERT_FALSE(host::errors().empty());
    EXPECT_EQ(host::errors()[0], "KelpExport: interrupted after frame 2; 2 files written");
    const host::ProgressWindowRecord window = host::progressWindow();
    EXPECT_EQ(window.timesEnded, 1);
    EXPECT_FALSE(window.reserved);
    EXPECT_DOUBLE_EQ(currentFrame(), 7.0);
}

TEST_F(ExportCommand, BatchSessionNeverOpensTheWindow) {
    ASSERT_TRUE(run("KelpExport -f \"" + dir + "/b.$F.bgeo\" -sf 1 -ef 2 pCube1;"));
    EXPECT_EQ(host::progressWindow().timesStarted, 0);
    EXPECT_EQ(host::infos().size(), 2u);
}

} // namespace
