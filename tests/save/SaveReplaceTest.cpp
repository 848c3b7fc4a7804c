// A save over an earlier file replaces it whole, also while another handle
// holds the earlier file open (a viewer reading it, say) where the system
// allows renaming over an open file.
#include "SaveTestSupport.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace savetest;

namespace {

const char *const kNames[] = {"cube.bgeo", "cube.bgeo.gz", "cube.geo"};

int save(Kelp &k, const std::string &path, std::string &err) {
    testing::internal::CaptureStderr();
    const int result = k.saveBgeo(path);
    err = testing::internal::GetCapturedStderr();
    return result;
}

// The bytes a save of the triangle gives under this name, in a folder of their own.
std::string savedAlone(const std::string &name) {
    ScratchDir dir;
    Kelp k;
    fillTriangle(k);
    std::string err;
    EXPECT_EQ(save(k, dir / name, err), 1) << err;
    return readFile(dir / name);
}

TEST(SaveReplace, AnEarlierFileIsReplacedWhole) {
    for (const char *name : kNames) {
        SCOPED_TRACE(name);
        ScratchDir dir;
        writeFile(dir / name, std::string(200000, 'x'));
        Kelp k;
        fillTriangle(k);
        std::string err;
        ASSERT_EQ(save(k, dir / name, err), 1) << err;
        EXPECT_EQ(err.find("could not"), std::string::npos) << err;
        EXPECT_EQ(readFile(dir / name), savedAlone(name));
        EXPECT_EQ(dir.list(), std::vector<std::string>{name});
    }
}

#ifndef _WIN32
TEST(SaveReplace, AFileHeldOpenElsewhereIsReplaced) {
    for (const char *name : kNames) {
        SCOPED_TRACE(name);
        ScratchDir dir;
        const std::string earlier(200000, 'x');
        writeFile(dir / name, earlier);
        std::ifstream held(dir / name, std::ios::binary);
        ASSERT_TRUE(held.is_open());
        char first = 0;
        ASSERT_TRUE(held.get(first));
        Kelp k;
        fillTriangle(k);
        std::string err;
        ASSERT_EQ(save(k, dir / name, err), 1) << err;
        EXPECT_EQ(err.find("could not"), std::string::npos) << err;
        // The handle keeps the earlier file, which the new one took the place of.
        std::string rest((std::istreambuf_iterator<char>(held)), std::istreambuf_iterator<char>());
        EXPECT_EQ(rest.size() + 1, earlier.size());
        held.close();
        EXPECT_EQ(readFile(dir / name), savedAlone(name));
        EXPECT_EQ(dir.list(), std::vector<std::string>{name});
    }
}
#else
// Windows refuses to rename over a file that another handle holds open
// without sharing deletion: the save fails, the earlier file stays whole and
// no temporary is left; once the handle is closed the save goes through.
TEST(SaveReplace, AFileHeldOpenElsewhereKeepsItsBytesUntilReleased) {
    for (const char *name : kNames) {
        SCOPED_TRACE(name);
        ScratchDir dir;
        const std::string earlier(200000, 'x');
        writeFile(dir / name, earlier);
        std::ifstream held(dir / name, std::ios::binary);
        ASSERT_TRUE(held.is_open());
        Kelp k;
        fillTriangle(k);
        std::string err;
        EXPECT_EQ(save(k, dir / name, err), 0);
        EXPECT_NE(err.find("another program holds it open"), std::string::npos) << err;
        held.close();
        EXPECT_EQ(readFile(dir / name), earlier);
        EXPECT_EQ(dir.list(), std::vector<std::string>{name});
        ASSERT_EQ(save(k, dir / name, err), 1) << err;
        EXPECT_EQ(readFile(dir / name), savedAlone(name));
        EXPECT_EQ(dir.list(), std::vector<std::string>{name});
    }
}
#endif

} // namespace
