// Loading from a path: the path test, files that cannot be opened, and the
// gzip decision by content.
#include "LoadHelpers.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/stat.h>
#ifdef _WIN32
#include <direct.h>
#endif

namespace {

using namespace kelptest;

std::string tempPath(const std::string &name) {
    return testing::TempDir() + name;
}

void makeFolder(const std::string &dir) {
#ifdef _WIN32
    _mkdir(dir.c_str());
#else
    mkdir(dir.c_str(), 0755);
#endif
}

struct PathLoad {
    int result;
    std::string err;
};

PathLoad loadPath(Kelp &k, const std::string &path) {
    testing::internal::CaptureStderr();
    PathLoad r;
    r.result = k.loadBgeo(path);
    r.err = testing::internal::GetCapturedStderr();
    return r;
}

TEST(LoadFile, PathsOfOtherFilesAreRefused) {
    for (const std::string path : {"/tmp/a.obj", "/tmp/a.abc", "/tmp/classic"}) {
        Kelp k;
        PathLoad r = loadPath(k, path);
        EXPECT_EQ(r.result, 0);
        EXPECT_EQ(r.err, "file type extension did not contain .bgeo, Quitting: " + path + "\n");
        EXPECT_TRUE(k.getPointAttributes().empty());
    }
}

// Every name of Houdini's geometry forms passes the path test; the bytes
// decide the rest (here: there are none).
TEST(LoadFile, EveryGeometryNamePassesThePathTest) {
    for (const std::string ext :
         {".bgeo", ".bgeo.gz", ".bgeo.sc", ".geo", ".geo.gz", ".bhclassic", ".hclassic"}) {
        const std::string path = "/nonexistent-kelp-folder/frame.0001" + ext;
        Kelp k;
        PathLoad r = loadPath(k, path);
        EXPECT_EQ(r.result, 0);
        EXPECT_EQ(r.err, "\ncould not open file: " + path + "\n");
    }
}

TEST(LoadFile, ADirectoryNamedBgeoPassesThePathTest) {
    const std::string dir = tempPath("bgeo");
    makeFolder(dir);
    const std::string path = dir + "/a.geo";
    writeFileBytes(path, triangleFile().bytes());
    Kelp k;
    PathLoad r = loadPath(k, path);
    EXPECT_EQ(r.result, 1) << r.err;
    EXPECT_EQ(k.getNumPolys(), 1u);
    std::remove(path.c_str());
}

TEST(LoadFile, MissingFiles) {
    Kelp k;
    const std::string path = tempPath("does-not-exist.bgeo");
    PathLoad r = loadPath(k, path);
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.err, "\ncould not open file: " + path + "\n");
}

TEST(LoadFile, CompressionIsDecidedByTheContent) {
    const Bytes plain = triangleFile().bytes();
    const Bytes packed = gzipBytes(plain);
    const std::string names[] = {"c.bgeo", "c.bgeo.gz"};
    for (const std::string &name : names) {
        for (const Bytes *bytes : {&plain, &packed}) {
            const std::string path = tempPath(name);
            writeFileBytes(path, *bytes);
            Kelp k;
            PathLoad r = loadPath(k, path);
            EXPECT_EQ(r.result, 1) << name << ": " << r.err;
            EXPECT_EQ(r.err, "");
            EXPECT_EQ(k.getNumPolys(), 1u);
            std::remove(path.c_str());
        }
    }
}

TEST(LoadFile, TheUnzipLineIsPrintedWithoutTracing) {
    Bytes packed = gzipBytes(triangleFile().bytes());
    packed.resize(packed.size() / 2);
    const std::string path = tempPath("half.bgeo.gz");
    writeFileBytes(path, packed);
    Kelp k;
    PathLoad r = loadPath(k, path);
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.err,
              "could not unzip file exiting: the compressed data ends early -5 (" + path + ")\n");
    std::remove(path.c_str());
}

TEST(LoadFile, ADirectoryIsNotAFile) {
    const std::string dir = tempPath("dir.bgeo");
    makeFolder(dir);
    Kelp k;
    PathLoad r = loadPath(k, dir);
    EXPECT_EQ(r.result, 0);
#ifdef _WIN32
    // Windows does not open a folder as a file: the line of a file that cannot be opened.
    EXPECT_EQ(r.err, "\ncould not open file: " + dir + "\n");
#else
    EXPECT_EQ(lineCount(r.err), 1) << r.err;
#endif
}

} // namespace
