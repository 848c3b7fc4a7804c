// The session services the plug-in leans on: the progress window (only in
// an interactive session, one client at a time, Esc), the scene time through
// MAnimControl, and attributeQuery.
#include "ScriptHost.h"
#include "StandIn.h"

#include <maya/MAnimControl.h>
#include <maya/MGlobal.h>
#include <maya/MProgressWindow.h>
#include <maya/MTime.h>

#include <gtest/gtest.h>

namespace {

namespace ks = kelphost::script;
namespace kt = kelphost::testing;
using Strings = std::vector<std::string>;

class Session : public ::testing::Test {
protected:
    void SetUp() override {
        kt::resetHost();
        kt::captureMessages();
    }
};

TEST_F(Session, BatchHasNoProgressWindow) {
    EXPECT_EQ(MGlobal::mayaState(), MGlobal::kBatch);
    EXPECT_FALSE(MProgressWindow::reserve());
    EXPECT_FALSE(MProgressWindow::startProgress());
    EXPECT_FALSE(MProgressWindow::isCancelled());
}

TEST_F(Session, InteractiveWindowIsReservedByOneClientAtATime) {
    kt::setInteractive(true);
    EXPECT_EQ(MGlobal::mayaState(), MGlobal::kInteractive);
    ASSERT_TRUE(MProgressWindow::reserve());
    EXPECT_FALSE(MProgressWindow::reserve());
    EXPECT_TRUE(MProgressWindow::setProgressRange(0, 4));
    EXPECT_TRUE(MProgressWindow::startProgress());
    EXPECT_TRUE(MProgressWindow::setProgress(9)); // clamped to the range
    EXPECT_EQ(MProgressWindow::progress(), 4);
    EXPECT_TRUE(MProgressWindow::endProgress());
    EXPECT_TRUE(MProgressWindow::reserve());
    MProgressWindow::endProgress();
    EXPECT_EQ(kt::progressWindow().timesStarted, 1);
    EXPECT_EQ(kt::progressWindow().timesEnded, 1);
}

TEST_F(Session, EscapeCancelsOnlyAnInterruptableWindow) {
    kt::setInteractive(true);
    kt::pressEscapeAtProgress(2);
    ASSERT_TRUE(MProgressWindow::reserve());
    MProgressWindow::setProgressRange(0, 5);
    MProgressWindow::startProgress();
    MProgressWindow::setProgress(3);
    EXPECT_FALSE(MProgressWindow::isCancelled());
    MProgressWindow::setInterruptable(true);
    MProgressWindow::setProgress(1);
    EXPECT_FALSE(MProgressWindow::isCancelled());
    MProgressWindow::setProgress(2);
    EXPECT_TRUE(MProgressWindow::isCancelled());
    MProgressWindow::endProgress();
}

TEST_F(Session, AnimControlMovesTheSceneTime) {
    ASSERT_TRUE(MAnimControl::setCurrentTime(MTime(12.0, MTime::uiUnit())));
    EXPECT_DOUBLE_EQ(MAnimControl::currentTime().as(MTime::uiUnit()), 12.0);
    EXPECT_DOUBLE_EQ(kt::getDouble("time1.outTime"), 12.0);
    ASSERT_TRUE(ks::run("currentTime -q;"));
    EXPECT_EQ(ks::lastResult(), Strings{"12"});
}

TEST_F(Session, AttributeQueryAnswersForAttributesOfANode) {
    ASSERT_TRUE(ks::run("polyCube;"));
    ASSERT_TRUE(ks::run("attributeQuery -node pCube1 -exists translateX;"));
    EXPECT_EQ(ks::lastResult(), Strings{"1"});
    ASSERT_TRUE(ks::run("attributeQuery -n pCube1 -ex noSuchAttribute;"));
    EXPECT_EQ(ks::lastResult(), Strings{"0"});
    ASSERT_TRUE(ks::run("attributeQuery -n pCube1 -uaf translateX;"));
    EXPECT_EQ(ks::lastResult(), Strings{"0"});
    ASSERT_TRUE(ks::run("attributeQuery -n pCube1 -shortName translateX;"));
    EXPECT_EQ(ks::lastResult(), Strings{"tx"});
    EXPECT_FALSE(ks::run("attributeQuery -n pCube1 -uaf noSuchAttribute;"));
    EXPECT_FALSE(ks::run("attributeQuery -uaf translateX;"));
    EXPECT_FALSE(ks::run("attributeQuery -n ghost -uaf translateX;"));
}

} // namespace
