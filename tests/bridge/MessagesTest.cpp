// What the user sees at each verbosity: the exact messages of a read, a
// write, a missing file and a failed write, on the host's channels.
#include "ClassicFile.h"
#include "HostFixture.h"

#include <maya/MStatus.h>

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace kelptest {
namespace {

// One triangle with "uv" and "N", for the read listing.
ClassicFile listedTriangle() {
    ClassicFile f;
    f.positions = {{0.0f, 0.0f, 0.0f}, {1.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.5f}};
    f.pointAttrs.push_back(
        {"N", true, {{0.0f, 0.0f, 1.0f}, {0.0f, 0.5f, 1.0f}, {0.25f, 0.0f, 1.0f}}});
    f.polygons = {{0, 1, 2}};
    f.withUv = true;
    f.uvs = {{0.25f, 0.5f, 0.0f}, {0.75f, 0.5f, 0.0f}, {0.5f, 1.0f, 0.0f}};
    return f;
}

// The reader's default winding mode reverses the triangle; every face-vertex
// keeps its own UV and the point's normal.
const char *const kReadListing = "  Vertex: 0 (x: 0, y: 0, z: 0)\n"
                                 "  Vertex: 1 (x: 1, y: 0, z: 0)\n"
                                 "  Vertex: 2 (x: 0, y: 1, z: 0.5)\n"
                                 "Face: (0)\n"
                                 "  Face-vertex : face,vertexId: (0, 2)\n"
                                 "  UV id: 2 (u: 0.5, v: 1)\n"
                                 "  Normal id: 2  point id: 2 (x: 0.25, y: 0, z: 1)\n"
                                 "  Face-vertex : face,vertexId: (0, 1)\n"
                                 "  UV id: 1 (u: 0.75, v: 0.5)\n"
                                 "  Normal id: 1  point id: 1 (x: 0, y: 0.5, z: 1)\n"
                                 "  Face-vertex : face,vertexId: (0, 0)\n"
                                 "  UV id: 0 (u: 0.25, v: 0.5)\n"
                                 "  Normal id: 0  point id: 0 (x: 0, y: 0, z: 1)\n";

// The writer's default winding mode walks the triangle backwards.
const char *const kWriteTrace = " UV Set: map1 # UVs: 3\n"
                                " Current UV Set: map1\n"
                                "Face: (0)\n"
                                "  Face-vertex UV: face,vertex: (0, 2) uv: (0.5, 1)\n"
                                "  normal: 0, 0, 1\n"
                                "  Face-vertex UV: face,vertex: (0, 1) uv: (0.75, 0.5)\n"
                                "  normal: 0, 0, 1\n"
                                "  Face-vertex UV: face,vertex: (0, 0) uv: (0.25, 0.5)\n"
                                "  normal: 0, 0, 1\n";

MeshDesc flatTriangle() {
    MeshDesc desc;
    desc.points = {{0.0, 0.0, 0.0}, {1.0, 0.0, 0.0}, {0.0, 1.0, 0.0}};
    desc.polygons = {{0, 1, 2}};
    desc.uvSets.push_back({"map1", {{0.25f, 0.5f}, {0.75f, 0.5f}, {0.5f, 1.0f}}});
    return desc;
}

class Verbosity : public HostScene, public ::testing::WithParamInterface<int> {
protected:
    // Evaluates the reader's mesh and returns what went to standard error.
    std::string readAt(const std::string &path) {
        const std::string reader = createReader(path);
        EXPECT_TRUE(kt::setInt(reader + ".verbosity", GetParam()));
        kt::clearMessages();
        ::testing::internal::CaptureStderr();
        kt::mesh(reader + ".outMesh");
        return ::testing::internal::GetCapturedStderr();
    }
    std::string writeAt(const std::string &path) {
        const std::pair<std::string, std::string> mesh = createMesh(flatTriangle());
        const std::string writer = createWriter(mesh.second, path);
        EXPECT_TRUE(kt::setInt(writer + ".verbosity", GetParam()));
        kt::clearMessages();
        ::testing::internal::CaptureStderr();
        pullWriter(writer);
        return ::testing::internal::GetCapturedStderr();
    }
};

TEST_P(Verbosity, Read) {
    const std::string path = file("listed.bgeo");
    ASSERT_TRUE(listedTriangle().write(path));
    const std::string trace = readAt(path);
    const int level = GetParam();
    const std::string confirmation = "read bgeo:  (" + path + ")";
    std::vector<std::string> expected;
    if (level == 1)
        expected.push_back(confirmation);
    if (level >= 2)
        expected.push_back(kReadListing + confirmation);
    EXPECT_EQ(kt::infos(), expected);
    EXPECT_TRUE(kt::errors().empty());
    EXPECT_TRUE(kt::perrors().empty());
    EXPECT_EQ(trace.empty(), level < 3) << trace;
}

TEST_P(Verbosity, Write) {
    const std::string path = file("written.bgeo");
    const std::string trace = writeAt(path);
    EXPECT_TRUE(fileExists(path));
    const int level = GetParam();
    const std::string confirmation = "wrote bgeo:  (" + path + ")";
    std::vector<std::string> expected;
    if (level == 1)
        expected.push_back(confirmation);
    if (level >= 2)
        expected.push_back(kWriteTrace + confirmation);
    EXPECT_EQ(kt::infos(), expected);
    EXPECT_TRUE(kt::perrors().empty());
    // The saver always names the form it writes; below 3 nothing else.
    const std::string saved = "BGEO code saving file as: bgeo\n";
    if (level < 3)
        EXPECT_EQ(trace, saved);
    else
        EXPECT_GT(trace.size(), saved.size());
}

TEST_P(Verbosity, MissingFile) {
    const std::string path = file("absent.bgeo");
    const std::string stderrText = readAt(path);
    std::vector<std::string> expected;
    if (GetParam() >= 1)
        expected.push_back("Error: unable to read bgeo:  (" + path + ")");
    EXPECT_EQ(kt::infos(), expected);
    // The host's error display also carries the loader's reason, in one line.
    const std::vector<std::string> errors = kt::errors();
    if (GetParam() == 0) {
        EXPECT_TRUE(errors.empty());
    } else {
        ASSERT_EQ(errors.size(), 1u);
        const std::string prefix = "unable to read bgeo:  (" + path + "): ";
        EXPECT_EQ(errors[0].compare(0, prefix.size(), prefix), 0) << errors[0];
        const std::string reason = errors[0].substr(std::min(prefix.size(), errors[0].size()));
        EXPECT_NE(reason.find("could not open"), std::string::npos) << errors[0];
        EXPECT_NE(reason.find(path), std::string::npos) << errors[0];
        EXPECT_EQ(errors[0].find('\n'), std::string::npos) << errors[0];
    }
    // The loader's own line is still written, and ended, so that the host's
    // next line cannot run into it.
    EXPECT_NE(stderrText.find("could not open file: " + path), std::string::npos) << stderrText;
    ASSERT_FALSE(stderrText.empty());
    EXPECT_EQ(stderrText.back(), '\n') << stderrText;
}

TEST_P(Verbosity, DamagedFileReasonIsTheLoadersLastLine) {
    const std::string path = file("damaged.bgeo");
    ClassicFile f = listedTriangle();
    ASSERT_TRUE(f.write(path));
    {
        // Cut the file in the middle of its point table.
        std::FILE *out = std::fopen(path.c_str(), "r+b");
        ASSERT_NE(out, nullptr);
        ASSERT_EQ(::ftruncate(fileno(out), 40), 0);
        std::fclose(out);
    }
    const std::string stderrText = readAt(path);
    if (GetParam() == 0) {
        EXPECT_TRUE(kt::errors().empty());
        return;
    }
    ASSERT_EQ(kt::errors().size(), 1u);
    const std::string error = kt::errors()[0];
    // The reason shown is the last line the loader wrote, word for word.
    std::string lastLine = stderrText;
    while (!lastLine.empty() && lastLine.back() == '\n')
        lastLine.pop_back();
    lastLine =
        lastLine.substr(lastLine.rfind('\n') == std::string::npos ? 0 : lastLine.rfind('\n') + 1);
    ASSERT_FALSE(lastLine.empty()) << stderrText;
    EXPECT_EQ(error, "unable to read bgeo:  (" + path + "): " + lastLine);
}

TEST_P(Verbosity, FailedWrite) {
    const std::string path = file("no/such/folder/out.bgeo");
    writeAt(path);
    EXPECT_FALSE(fileExists(path));
    EXPECT_TRUE(kt::infos().empty());
    const std::vector<std::string> expected = {
        std::string("KelpWriterNode:: unable to write bgeo: ") +
        MStatus(MStatus::kFailure).errorString().asChar()};
    EXPECT_EQ(kt::perrors(), expected);
}

std::string levelName(const ::testing::TestParamInfo<int> &info) {
    static const char *const names[] = {"None", "Confirm", "GeoDetails", "BgeoDetails"};
    return names[info.param];
}

INSTANTIATE_TEST_SUITE_P(Levels, Verbosity, ::testing::Values(0, 1, 2, 3), levelName);

using PointsOnlyListing = HostScene;

TEST_F(PointsOnlyListing, ListsEveryPoint) {
    const std::pair<std::string, std::string> mesh = createMesh(flatTriangle());
    const std::string path = file("points.bgeo");
    const std::string writer = createWriter(mesh.second, path);
    ASSERT_TRUE(kt::setBool(writer + ".pointsOnly", true));
    ASSERT_TRUE(kt::setInt(writer + ".verbosity", 2));
    pullWriter(writer);
    const std::vector<std::string> expected = {"  Vertex: 0 (x: 0, y: 0, z: 0)\n"
                                               "  Vertex: 1 (x: 1, y: 0, z: 0)\n"
                                               "  Vertex: 2 (x: 0, y: 1, z: 0)\n"
                                               "wrote bgeo:  (" +
                                               path + ")"};
    EXPECT_EQ(kt::infos(), expected);
}

} // namespace
} // namespace kelptest
