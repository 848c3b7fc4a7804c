// Dirty propagation through chains and diamonds of nodes: a change dirties
// everything downstream of it and nothing else; one read computes each dirty
// node once, however many paths lead to it; setAttr, connectAttr,
// disconnectAttr and time changes from scripts do the same.
#include <maya/MFnDependencyNode.h>
#define MNoVersionString
#include <maya/MFnPlugin.h>

#include "../../host/src/Scene.h"
#include "TestNodes.h"

#include <ScriptHost.h>
#include <StandIn.h>
#include <gtest/gtest.h>

namespace st = kelphost::testing;
namespace sc = kelphost::scene;
namespace ks = kelphost::script;

namespace {

// sum = left + right; each compute is counted by the host.
class TestAdder : public MPxNode {
public:
    static MTypeId id;
    static MObject left, right, sum;
    static void *creator() { return new TestAdder; }
    static MStatus initialize() {
        MFnNumericAttribute n;
        left = n.create("left", "l", MFnNumericData::kDouble, 0.0);
        right = n.create("right", "r", MFnNumericData::kDouble, 0.0);
        sum = n.create("sum", "s", MFnNumericData::kDouble, 0.0);
        n.setWritable(false);
        n.setStorable(false);
        addAttribute(left);
        addAttribute(right);
        addAttribute(sum);
        attributeAffects(left, sum);
        attributeAffects(right, sum);
        return MS::kSuccess;
    }
    MStatus compute(const MPlug &plug, MDataBlock &block) override {
        if (plug != sum)
            return MS::kUnknownParameter;
        double l = block.inputValue(left).asDouble();
        double r = block.inputValue(right).asDouble();
        block.outputValue(sum).set(l + r);
        block.setClean(plug);
        return MS::kSuccess;
    }
};
MTypeId TestAdder::id(0x7f0a1);
MObject TestAdder::left, TestAdder::right, TestAdder::sum;

class Dirty : public ::testing::Test {
protected:
    void SetUp() override {
        st::resetHost();
        st::captureMessages();
        MObject plugin = st::pluginObject("tests");
        MFnPlugin fn(plugin);
        ASSERT_TRUE(
            fn.registerNode("testAdder", TestAdder::id, TestAdder::creator, TestAdder::initialize));
        for (const char *name : {"a", "b", "c", "d"})
            sc::createNode("testAdder", name);
    }
    void TearDown() override { st::resetHost(); }
    void connect(const char *from, const char *to) {
        ASSERT_TRUE(sc::connect(st::plug(from), st::plug(to))) << from << " -> " << to;
    }
    // a feeds b and c, which both feed d.
    void diamond() {
        connect("a.sum", "b.left");
        connect("a.sum", "c.left");
        connect("b.sum", "d.left");
        connect("c.sum", "d.right");
    }
};

} // namespace

TEST_F(Dirty, ChangeDirtiesOnlyWhatIsDownstream) {
    connect("a.sum", "b.left");
    connect("b.sum", "c.left");
    EXPECT_DOUBLE_EQ(st::getDouble("c.sum"), 0.0);
    EXPECT_DOUBLE_EQ(st::getDouble("d.sum"), 0.0);
    for (const char *p : {"a.sum", "b.sum", "c.sum", "d.sum"})
        EXPECT_FALSE(st::isDirty(p)) << p;

    ASSERT_TRUE(st::setDouble("b.right", 2.0));
    EXPECT_FALSE(st::isDirty("a.sum")); // upstream stays clean
    EXPECT_TRUE(st::isDirty("b.sum"));
    EXPECT_TRUE(st::isDirty("c.left"));
    EXPECT_TRUE(st::isDirty("c.sum"));
    EXPECT_FALSE(st::isDirty("d.sum"));   // unconnected stays clean
    EXPECT_FALSE(st::isDirty("c.right")); // inputs that nothing drives stay clean
}

TEST_F(Dirty, ReadingTheEndOfAChainComputesEachNodeOnce) {
    connect("a.sum", "b.left");
    connect("b.sum", "c.left");
    ASSERT_TRUE(st::setDouble("a.left", 1.0));
    ASSERT_TRUE(st::setDouble("b.right", 10.0));
    ASSERT_TRUE(st::setDouble("c.right", 100.0));
    EXPECT_DOUBLE_EQ(st::getDouble("c.sum"), 111.0);
    EXPECT_EQ(st::computeCount("a"), 1);
    EXPECT_EQ(st::computeCount("b"), 1);
    EXPECT_EQ(st::computeCount("c"), 1);
    // Reading the middle now computes nothing: it is clean.
    EXPECT_DOUBLE_EQ(st::getDouble("b.sum"), 11.0);
    EXPECT_EQ(st::computeCount("b"), 1);
    // A change at the end recomputes only the end.
    ASSERT_TRUE(st::setDouble("c.right", 200.0));
    EXPECT_DOUBLE_EQ(st::getDouble("c.sum"), 211.0);
    EXPECT_EQ(st::computeCount("a"), 1);
    EXPECT_EQ(st::computeCount("b"), 1);
    EXPECT_EQ(st::computeCount("c"), 2);
}

TEST_F(Dirty, DiamondComputesTheSharedSourceOnce) {
    diamond();
    ASSERT_TRUE(st::setDouble("a.left", 3.0));
    ASSERT_TRUE(st::setDouble("b.right", 1.0));
    EXPECT_DOUBLE_EQ(st::getDouble("d.sum"), 7.0); // (3 + 1) + (3 + 0)
    EXPECT_EQ(st::computeCount("a"), 1);           // reached twice, computed once
    EXPECT_EQ(st::computeCount("b"), 1);
    EXPECT_EQ(st::computeCount("c"), 1);
    EXPECT_EQ(st::computeCount("d"), 1);

    ASSERT_TRUE(st::setDouble("a.right", 1.0)); // dirties both arms and the end
    EXPECT_TRUE(st::isDirty("b.sum"));
    EXPECT_TRUE(st::isDirty("c.sum"));
    EXPECT_TRUE(st::isDirty("d.sum"));
    EXPECT_DOUBLE_EQ(st::getDouble("d.sum"), 9.0);
    EXPECT_EQ(st::computeCount("a"), 2);
    EXPECT_EQ(st::computeCount("d"), 2);

    ASSERT_TRUE(st::setDouble("c.right", 5.0)); // one arm only
    EXPECT_FALSE(st::isDirty("b.sum"));
    EXPECT_TRUE(st::isDirty("d.sum"));
    EXPECT_DOUBLE_EQ(st::getDouble("d.sum"), 14.0);
    EXPECT_EQ(st::computeCount("a"), 2);
    EXPECT_EQ(st::computeCount("b"), 2);
    EXPECT_EQ(st::computeCount("c"), 3);
}

TEST_F(Dirty, SettingTheSameValueAgainStillDirties) {
    connect("a.sum", "b.left");
    EXPECT_DOUBLE_EQ(st::getDouble("b.sum"), 0.0);
    ASSERT_TRUE(st::setDouble("a.left", 0.0));
    EXPECT_TRUE(st::isDirty("b.sum"));
    st::getDouble("b.sum");
    EXPECT_EQ(st::computeCount("b"), 2);
}

TEST_F(Dirty, ConnectingDirtiesTheDestinationAndDisconnectingKeepsTheLastValue) {
    ASSERT_TRUE(st::setDouble("a.left", 4.0));
    EXPECT_DOUBLE_EQ(st::getDouble("b.sum"), 0.0);
    connect("a.sum", "b.left");
    EXPECT_TRUE(st::isDirty("b.left"));
    EXPECT_TRUE(st::isDirty("b.sum"));
    EXPECT_DOUBLE_EQ(st::getDouble("b.sum"), 4.0);
    ASSERT_TRUE(sc::disconnect(st::plug("a.sum"), st::plug("b.left")));
    EXPECT_DOUBLE_EQ(st::getDouble("b.left"), 4.0);
    EXPECT_DOUBLE_EQ(st::getDouble("b.sum"), 4.0);
    // Disconnected, upstream changes no longer reach it.
    ASSERT_TRUE(st::setDouble("a.left", 50.0));
    EXPECT_FALSE(st::isDirty("b.sum"));
    EXPECT_DOUBLE_EQ(st::getDouble("b.sum"), 4.0);
}

TEST_F(Dirty, ScriptCommandsDirtyDownstream) {
    ASSERT_TRUE(ks::run("connectAttr a.sum b.left; connectAttr b.sum c.left;"));
    EXPECT_DOUBLE_EQ(st::getDouble("c.sum"), 0.0);
    ASSERT_TRUE(ks::run("setAttr a.left 2.5;"));
    EXPECT_TRUE(st::isDirty("c.sum"));
    ASSERT_TRUE(ks::run("getAttr c.sum;"));
    EXPECT_EQ(ks::lastResult(), std::vector<std::string>{"2.5"});
    EXPECT_EQ(st::computeCount("c"), 2);
    // Undoing the set dirties again and brings the old value through.
    ASSERT_TRUE(ks::run("undo;"));
    EXPECT_TRUE(st::isDirty("c.sum"));
    EXPECT_DOUBLE_EQ(st::getDouble("c.sum"), 0.0);
    // dgeval computes without being asked for a value.
    ASSERT_TRUE(ks::run("setAttr a.right 1;"));
    const int before = st::computeCount("c");
    ASSERT_TRUE(ks::run("dgeval c.sum;"));
    EXPECT_EQ(st::computeCount("c"), before + 1);
    EXPECT_FALSE(st::isDirty("c.sum"));
}

TEST_F(Dirty, TimeChangesDirtyOnlyWhatTimeDrives) {
    ASSERT_TRUE(ks::run("connectAttr time1.outTime a.left;"));
    EXPECT_DOUBLE_EQ(st::getDouble("a.sum"), 1.0);
    EXPECT_DOUBLE_EQ(st::getDouble("b.sum"), 0.0);
    ASSERT_TRUE(ks::run("currentTime 24;"));
    EXPECT_TRUE(st::isDirty("a.sum"));
    EXPECT_FALSE(st::isDirty("b.sum"));
    EXPECT_DOUBLE_EQ(st::getDouble("a.sum"), 24.0);
    EXPECT_EQ(st::computeCount("a"), 2);
    EXPECT_EQ(st::computeCount("b"), 1);
    // Setting the time it already shows changes nothing downstream's value.
    ASSERT_TRUE(ks::run("currentTime 24;"));
    EXPECT_DOUBLE_EQ(st::getDouble("a.sum"), 24.0);
    ASSERT_TRUE(st::setTime(-3.5));
    EXPECT_DOUBLE_EQ(st::getDouble("a.sum"), -3.5);
}

TEST_F(Dirty, DeletingASourceLeavesTheDestinationItsLastValue) {
    connect("a.sum", "b.left");
    ASSERT_TRUE(st::setDouble("a.left", 6.0));
    EXPECT_DOUBLE_EQ(st::getDouble("b.sum"), 6.0);
    ASSERT_TRUE(ks::run("delete a;"));
    EXPECT_EQ(st::sourceOf("b.left"), "");
    EXPECT_DOUBLE_EQ(st::getDouble("b.sum"), 6.0);
    ASSERT_TRUE(ks::run("undo;"));
    EXPECT_EQ(st::sourceOf("b.left"), "a.sum");
    ASSERT_TRUE(st::setDouble("a.right", 1.0));
    EXPECT_DOUBLE_EQ(st::getDouble("b.sum"), 7.0);
}
