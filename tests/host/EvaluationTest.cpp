// Dirty propagation and pull evaluation: compute runs when an output is read
// after something it depends on changed, and only then.
#include <maya/MDagPath.h>
#include <maya/MFnDagNode.h>
#include <maya/MFnDependencyNode.h>
#define MNoVersionString
#include <maya/MFnPlugin.h>

#include "../../host/src/Scene.h"
#include "TestNodes.h"

#include <StandIn.h>
#include <gtest/gtest.h>

namespace st = kelphost::testing;
namespace sc = kelphost::scene;

namespace {

class Evaluation : public ::testing::Test {
protected:
    void SetUp() override {
        st::resetHost();
        st::captureMessages();
        MObject plugin = st::pluginObject("tests");
        MFnPlugin fn(plugin);
        ASSERT_TRUE(fn.registerNode("testDoubler", TestDoubler::id, TestDoubler::creator,
                                    TestDoubler::initialize));
        a = sc::createNode("testDoubler", "a");
        b = sc::createNode("testDoubler", "b");
    }
    void TearDown() override { st::resetHost(); }
    MObject a, b;
};

} // namespace

TEST_F(Evaluation, ComputesOnReadAndOnlyWhenDirty) {
    EXPECT_EQ(st::computeCount("a"), 0); // nothing is computed until asked for
    EXPECT_TRUE(st::isDirty("a.output"));
    EXPECT_FLOAT_EQ(static_cast<float>(st::getDouble("a.output")), 3.0f); // default input 1.5
    EXPECT_EQ(st::computeCount("a"), 1);
    EXPECT_FALSE(st::isDirty("a.output"));
    st::getDouble("a.output");
    EXPECT_EQ(st::computeCount("a"), 1); // clean: no second compute

    ASSERT_TRUE(st::setDouble("a.input", 4.0));
    EXPECT_TRUE(st::isDirty("a.output"));
    EXPECT_EQ(st::computeCount("a"), 1); // setting does not compute
    EXPECT_FLOAT_EQ(static_cast<float>(st::getDouble("a.output")), 8.0f);
    EXPECT_EQ(st::computeCount("a"), 2);

    ASSERT_TRUE(st::setInt("a.mode", 1)); // enum input affects the output too
    EXPECT_FLOAT_EQ(static_cast<float>(st::getDouble("a.output")), 108.0f);
    // An input that affects nothing leaves the output clean.
    ASSERT_TRUE(st::setString("a.label", "new"));
    EXPECT_FALSE(st::isDirty("a.output"));
    EXPECT_EQ(st::getString("a.echo"), "echo: new");
}

TEST_F(Evaluation, PullsThroughConnections) {
    ASSERT_TRUE(sc::connect(st::plug("a.output"), st::plug("b.input")));
    EXPECT_EQ(st::sourceOf("b.input"), "a.output");
    EXPECT_FLOAT_EQ(static_cast<float>(st::getDouble("b.output")), 6.0f); // 2 * (2 * 1.5)
    EXPECT_EQ(st::computeCount("a"), 1);
    EXPECT_EQ(st::computeCount("b"), 1);

    st::setDouble("a.input", 10.0);
    EXPECT_TRUE(st::isDirty("b.input"));
    EXPECT_TRUE(st::isDirty("b.output"));
    EXPECT_FLOAT_EQ(static_cast<float>(st::getDouble("b.output")), 40.0f);
    EXPECT_EQ(st::computeCount("a"), 2);

    // A connected destination refuses a direct set.
    EXPECT_EQ(st::setDouble("b.input", 1.0), MS::kFailure);
    // A second source needs force; force replaces the old connection.
    MObject c = sc::createNode("testDoubler", "c");
    EXPECT_EQ(sc::connect(st::plug("c.output"), st::plug("b.input")), MS::kFailure);
    MPlug replaced;
    ASSERT_TRUE(sc::connect(st::plug("c.output"), st::plug("b.input"), true, &replaced));
    EXPECT_STREQ(replaced.name().asChar(), "a.output");
    EXPECT_FLOAT_EQ(static_cast<float>(st::getDouble("b.output")), 6.0f); // 2 * (2 * 1.5)

    // After a disconnect the destination keeps its value and can be set again.
    ASSERT_TRUE(sc::disconnect(st::plug("c.output"), st::plug("b.input")));
    EXPECT_EQ(st::sourceOf("b.input"), "");
    EXPECT_FLOAT_EQ(static_cast<float>(st::getDouble("b.input")), 3.0f);
    EXPECT_TRUE(st::setDouble("b.input", 0.25));
    EXPECT_FLOAT_EQ(static_cast<float>(st::getDouble("b.output")), 0.5f);
}

TEST_F(Evaluation, RefusesBadConnections) {
    EXPECT_EQ(sc::connect(st::plug("a.output"), st::plug("a.output")), MS::kInvalidParameter);
    EXPECT_EQ(sc::connect(st::plug("a.input"), st::plug("b.output")), MS::kInvalidParameter);
    EXPECT_EQ(sc::connect(st::plug("a.label"), st::plug("b.input")), MS::kInvalidParameter);
    EXPECT_TRUE(sc::findPlug("a.nothing").isNull());
    EXPECT_TRUE(sc::findPlug("nobody.input").isNull());
}

TEST_F(Evaluation, TimeDrivesConnectedInputs) {
    ASSERT_TRUE(sc::connect(st::plug("time1.outTime"), st::plug("a.input")));
    EXPECT_FLOAT_EQ(static_cast<float>(st::getDouble("a.output")), 2.0f); // frame 1
    ASSERT_TRUE(st::setTime(12));
    EXPECT_TRUE(st::isDirty("a.output"));
    EXPECT_FLOAT_EQ(static_cast<float>(st::getDouble("a.output")), 24.0f);
    EXPECT_DOUBLE_EQ(sc::currentTime().value(), 12.0);
    EXPECT_DOUBLE_EQ(st::getDouble("time1.outTime"), 12.0);
}

TEST_F(Evaluation, RemovedNodeTakesItsConnectionsAndComesBack) {
    ASSERT_TRUE(sc::connect(st::plug("a.output"), st::plug("b.input")));
    sc::RemovedNode record;
    ASSERT_TRUE(sc::removeNode(a, &record));
    EXPECT_FALSE(st::exists("a"));
    EXPECT_EQ(st::sourceOf("b.input"), "");
    ASSERT_TRUE(sc::restoreNode(record));
    EXPECT_TRUE(st::exists("a"));
    EXPECT_EQ(st::sourceOf("b.input"), "a.output");
    st::setDouble("a.input", 2.0);
    EXPECT_FLOAT_EQ(static_cast<float>(st::getDouble("b.output")), 8.0f);
}

TEST_F(Evaluation, WorldMatrixFollowsParents) {
    MObject top = sc::createNode("transform", "top");
    MObject low = sc::createNode("transform", "low", top);
    ASSERT_EQ(st::parentsOf("low"), std::vector<std::string>{"top"});
    st::setDouble("top.translateX", 5.0);
    st::setDouble("low.translateY", 2.0);
    MDagPath path;
    ASSERT_TRUE(MDagPath::getAPathTo(low, path));
    EXPECT_STREQ(path.fullPathName().asChar(), "|top|low");
    MPoint origin = MPoint::origin * path.inclusiveMatrix();
    EXPECT_TRUE(origin.isEquivalent(MPoint(5, 2, 0)));
    st::setDouble("top.rotateZ", 90.0);
    origin = MPoint::origin * path.inclusiveMatrix();
    EXPECT_TRUE(origin.isEquivalent(MPoint(3, 0, 0), 1e-9));
    // The world matrix plug is an output refreshed by a parent's change.
    MPlug wm = st::plug("low.worldMatrix").elementByLogicalIndex(0);
    MObject data;
    (void)data;
    EXPECT_FALSE(wm.isNull());
    EXPECT_TRUE(sc::isDirty(wm));
}
