// A build without Blosc: a .bgeo.sc file fails to load and to save, each
// with one line that says so, and a save leaves no file behind.
#include "JsonSaveHelpers.h"

#include <gtest/gtest.h>

#include <string>

namespace kelptest {
namespace {

class WithoutBlosc : public ::testing::Test {
protected:
    void SetUp() override {
        if (KELP_WITH_BLOSC)
            GTEST_SKIP() << "built with Blosc";
    }
};

TEST_F(WithoutBlosc, AScFileFailsToLoadWithOneLine) {
    // The container's magic, reserved bytes, no chunk, an index of one word.
    const unsigned char bytes[] = {'s', 'c', 'f', '1', 0, 0, 0, 0, 0,   0,   0,   0,
                                   0,   0,   0,   0,   0, 0, 0, 8, '1', 'f', 'c', 's'};
    Kelp k;
    testing::internal::CaptureStderr();
    EXPECT_EQ(k.loadBgeoFromMemory(bytes, sizeof bytes, "x.bgeo.sc"), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "could not load x.bgeo.sc: blosc-compressed (.sc) file in Houdini's newer geometry "
              "format: built without Blosc: cannot read .bgeo.sc files\n");
    EXPECT_EQ(k.getNumPoints(), 0u);
}

TEST_F(WithoutBlosc, SavingAScFileFailsWithOneLineAndLeavesNothing) {
    ScratchDir dir;
    const std::string path = dir / "x.bgeo.sc";
    Kelp k;
    buildTriangle(k);
    testing::internal::CaptureStderr();
    EXPECT_EQ(k.saveBgeo(path), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "JSON code saving file as: sc (binary JSON + Blosc)\n"
              "could not save file: " +
                  path + ": built without Blosc: cannot write .bgeo.sc files\n");
    EXPECT_FALSE(exists(path));
    // Every other form still saves.
    testing::internal::CaptureStderr();
    EXPECT_EQ(k.saveBgeo(dir / "x.bgeo.gz"), 1);
    testing::internal::GetCapturedStderr();
}

} // namespace
} // namespace kelptest
