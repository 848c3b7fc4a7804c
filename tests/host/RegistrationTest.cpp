// MFnPlugin registration: node types and commands, refusals, fault injection,
// the rules of addAttribute and attributeAffects.
#include <maya/MFnDependencyNode.h>
#include <maya/MFnNumericAttribute.h>
#define MNoVersionString
#include <maya/MFnPlugin.h>
#include <maya/MPxCommand.h>

#include "../../host/src/Scene.h"
#include "TestNodes.h"

#include <StandIn.h>
#include <gtest/gtest.h>

namespace st = kelphost::testing;

namespace {

class Registration : public ::testing::Test {
protected:
    void SetUp() override {
        st::resetHost();
        st::captureMessages();
        plugin = st::pluginObject("tests");
    }
    void TearDown() override { st::resetHost(); }
    MObject plugin;
};

void *makeCommand() {
    return nullptr;
}

MStatus initFailing() {
    return MS::kFailure;
}

MObject gOutput;
MStatus gAffectsStatus, gAddTwiceStatus;
class KeyableOutput : public MPxNode {
public:
    static void *creator() { return new KeyableOutput; }
    static MStatus initialize() {
        MFnNumericAttribute n;
        MObject in = n.create("in", "i", MFnNumericData::kFloat, 0);
        gOutput = n.create("out", "o", MFnNumericData::kFloat, 0);
        n.setKeyable(true);
        addAttribute(in);
        addAttribute(gOutput);
        gAddTwiceStatus = addAttribute(gOutput);
        gAffectsStatus = attributeAffects(in, gOutput);
        return MS::kSuccess;
    }
};

} // namespace

TEST_F(Registration, RegistersNodeTypeAndCreatesNodes) {
    MFnPlugin fn(plugin, "Kelp", "1.5", "Any");
    ASSERT_TRUE(fn.registerNode("testDoubler", TestDoubler::id, TestDoubler::creator,
                                TestDoubler::initialize));
    EXPECT_TRUE(MFnPlugin::isNodeRegistered("testDoubler"));
    EXPECT_STREQ(fn.vendor().asChar(), "Kelp");
    MObject n = kelphost::scene::createNode("testDoubler", "");
    ASSERT_FALSE(n.isNull());
    EXPECT_TRUE(n.hasFn(MFn::kPluginDependNode));
    EXPECT_TRUE(n.hasFn(MFn::kDependencyNode));
    MFnDependencyNode dn(n);
    EXPECT_STREQ(dn.name().asChar(), "testDoubler1");
    EXPECT_EQ(dn.typeId(), TestDoubler::id);
    EXPECT_TRUE(dn.hasAttribute("input"));
    EXPECT_TRUE(dn.hasAttribute("in"));
    EXPECT_TRUE(dn.hasAttribute("message")); // every node has the base attributes
    EXPECT_NE(dn.userNode(), nullptr);
}

TEST_F(Registration, RefusesDuplicateNamesAndIds) {
    MFnPlugin fn(plugin);
    ASSERT_TRUE(fn.registerNode("testDoubler", TestDoubler::id, TestDoubler::creator,
                                TestDoubler::initialize));
    MStatus sameName = fn.registerNode("testDoubler", MTypeId(0x7f0ff), TestDoubler::creator,
                                       TestDoubler::initialize);
    EXPECT_EQ(sameName, MS::kFailure);
    MStatus sameId = fn.registerNode("otherName", TestDoubler::id, TestDoubler::creator,
                                     TestDoubler::initialize);
    EXPECT_EQ(sameId, MS::kFailure);
    EXPECT_EQ(fn.registerNode("transform", MTypeId(0x7f0fe), TestDoubler::creator,
                              TestDoubler::initialize),
              MS::kFailure);
    EXPECT_FALSE(MFnPlugin::isNodeRegistered("otherName"));
    ASSERT_TRUE(fn.registerCommand("testCmd", makeCommand));
    EXPECT_EQ(fn.registerCommand("testCmd", makeCommand), MS::kFailure);
    EXPECT_NE(kelphost::scene::findCommand("testCmd"), nullptr);
}

TEST_F(Registration, FailingInitializerRefusesTheType) {
    MFnPlugin fn(plugin);
    EXPECT_FALSE(fn.registerNode("badInit", MTypeId(0x7f002), TestDoubler::creator, initFailing));
    EXPECT_FALSE(MFnPlugin::isNodeRegistered("badInit"));
}

TEST_F(Registration, FaultInjectionRefusesOnce) {
    MFnPlugin fn(plugin);
    st::failNodeRegistration("testDoubler");
    MStatus s = fn.registerNode("testDoubler", TestDoubler::id, TestDoubler::creator,
                                TestDoubler::initialize);
    EXPECT_EQ(s, MS::kFailure);
    EXPECT_EQ(std::string(s.errorString().asChar()).rfind("(kFailure): ", 0), 0u);
    EXPECT_FALSE(MFnPlugin::isNodeRegistered("testDoubler"));
    EXPECT_TRUE(fn.registerNode("testDoubler", TestDoubler::id, TestDoubler::creator,
                                TestDoubler::initialize));

    st::failCommandRegistration("testCmd", MStatus::kInvalidParameter);
    EXPECT_EQ(fn.registerCommand("testCmd", makeCommand), MS::kInvalidParameter);
    EXPECT_TRUE(fn.registerCommand("testCmd", makeCommand));
    st::failCommandDeregistration("testCmd");
    EXPECT_EQ(fn.deregisterCommand("testCmd"), MS::kFailure);
    EXPECT_NE(kelphost::scene::findCommand("testCmd"), nullptr);
    st::failNodeDeregistration(TestDoubler::id);
    EXPECT_EQ(fn.deregisterNode(TestDoubler::id), MS::kFailure);
    EXPECT_TRUE(MFnPlugin::isNodeRegistered("testDoubler"));
}

TEST_F(Registration, DeregistrationNeedsTheOwner) {
    MFnPlugin fn(plugin);
    ASSERT_TRUE(fn.registerNode("testDoubler", TestDoubler::id, TestDoubler::creator,
                                TestDoubler::initialize));
    ASSERT_TRUE(fn.registerCommand("testCmd", makeCommand));
    MObject other = st::pluginObject("other");
    MFnPlugin otherFn(other);
    EXPECT_EQ(otherFn.deregisterNode(TestDoubler::id), MS::kFailure);
    EXPECT_EQ(otherFn.deregisterCommand("testCmd"), MS::kFailure);
    EXPECT_EQ(fn.deregisterNode(MTypeId(0x7f0aa)), MS::kFailure);

    // Existing nodes survive deregistration but no longer compute.
    MObject n = kelphost::scene::createNode("testDoubler", "d");
    EXPECT_TRUE(fn.deregisterNode(TestDoubler::id));
    EXPECT_TRUE(fn.deregisterCommand("testCmd"));
    EXPECT_FALSE(MFnPlugin::isNodeRegistered("testDoubler"));
    EXPECT_TRUE(st::exists("d"));
    EXPECT_FLOAT_EQ(static_cast<float>(st::getDouble("d.output")), 0.0f);
}

TEST_F(Registration, AttributeRules) {
    MFnNumericAttribute n;
    MObject loose = n.create("loose", "lo", MFnNumericData::kFloat, 0);
    EXPECT_EQ(MPxNode::addAttribute(loose), MS::kFailure); // outside an initializer
    MFnPlugin fn(plugin);
    ASSERT_TRUE(fn.registerNode("keyableOut", MTypeId(0x7f003), KeyableOutput::creator,
                                KeyableOutput::initialize));
    EXPECT_EQ(gAddTwiceStatus, MS::kInvalidParameter);
    EXPECT_FALSE(gAffectsStatus); // a keyable output cannot be affected
}

TEST_F(Registration, ConstructorArgumentsArePluginIdentity) {
    { MFnPlugin fn(plugin, "Kelp", "1.5", "Any"); }
    MFnPlugin later(plugin, "Unknown", "Unknown", "Any");
    EXPECT_STREQ(later.vendor().asChar(), "Kelp");
    EXPECT_STREQ(later.version().asChar(), "1.5");
    EXPECT_STREQ(later.name().asChar(), "tests");
    EXPECT_FALSE(MFnPlugin::findPlugin("tests").isNull());
    EXPECT_TRUE(MFnPlugin::findPlugin("nothing").isNull());
}
