// Plugs and data handles as plug-in code uses them: names, elements,
// children, lookups and their statuses, handle references, messages.
#include <maya/MFnDependencyNode.h>
#include <maya/MGlobal.h>
#define MNoVersionString
#include <maya/MFnPlugin.h>

#include "../../host/src/Scene.h"
#include "TestNodes.h"

#include <StandIn.h>
#include <gtest/gtest.h>

namespace st = kelphost::testing;
namespace sc = kelphost::scene;

namespace {

MObject gIn, gOut;
bool gNullAttributeRefused = false;

// Exercises handle semantics inside compute.
class HandleProbe : public MPxNode {
public:
    static void *creator() { return new HandleProbe; }
    static MStatus initialize() {
        MFnNumericAttribute n;
        gIn = n.create("value", "v", MFnNumericData::kFloat, 2.0);
        MFnEnumAttribute e;
        gOut = e.create("result", "r", 0);
        e.addField("a", 0);
        e.addField("b", 7);
        addAttribute(gIn);
        addAttribute(gOut);
        return attributeAffects(gIn, gOut);
    }
    MStatus compute(const MPlug &plug, MDataBlock &block) override {
        if (plug != gOut)
            return MS::kUnknownParameter;
        MDataHandle in = block.inputValue(gIn);
        in.asFloat() = 5.0f; // a reference into the block
        MDataHandle out = block.outputValue(gOut);
        out.asShort() = static_cast<short>(block.inputValue(gIn).asFloat() + 2); // 7
        MStatus st;
        block.inputValue(MObject::kNullObj, &st);
        gNullAttributeRefused = !st;
        block.setClean(plug);
        return MS::kSuccess;
    }
};

class Plugs : public ::testing::Test {
protected:
    void SetUp() override {
        st::resetHost();
        st::captureMessages();
        MObject plugin = st::pluginObject("tests");
        MFnPlugin fn(plugin);
        ASSERT_TRUE(fn.registerNode("testDoubler", TestDoubler::id, TestDoubler::creator,
                                    TestDoubler::initialize));
        ASSERT_TRUE(fn.registerNode("handleProbe", MTypeId(0x7f010), HandleProbe::creator,
                                    HandleProbe::initialize));
    }
    void TearDown() override { st::resetHost(); }
};

} // namespace

TEST_F(Plugs, HandlesReturnReferencesIntoTheBlock) {
    sc::createNode("handleProbe", "p");
    EXPECT_EQ(st::getInt("p.result"), 7);
    EXPECT_DOUBLE_EQ(st::getDouble("p.value"), 5.0); // written through asFloat()
    EXPECT_TRUE(gNullAttributeRefused);              // a null attribute is refused
}

TEST_F(Plugs, NamesElementsAndChildren) {
    MObject parent;
    MObject shape = sc::createNode("mesh", "", MObject::kNullObj, &parent);
    MFnDependencyNode fn(shape);
    MStatus s;
    MPlug world = fn.findPlug("worldMesh", true, &s);
    ASSERT_TRUE(s);
    EXPECT_TRUE(world.isArray());
    EXPECT_EQ(world.numElements(), 0u);
    MPlug first = world.elementByLogicalIndex(3, &s);
    ASSERT_TRUE(s);
    EXPECT_STREQ(first.name().asChar(), "polySurfaceShape1.worldMesh[3]");
    EXPECT_STREQ(first.partialName().asChar(), "w[3]");
    EXPECT_EQ(first.logicalIndex(), 3u);
    EXPECT_EQ(world.numElements(), 1u);
    EXPECT_TRUE(first.array() == world);
    EXPECT_TRUE(first == fn.attribute("worldMesh")); // compares the attribute

    fn.findPlug("noSuchAttribute", true, &s);
    EXPECT_EQ(s, MS::kInvalidParameter);
    MFnDependencyNode empty;
    empty.findPlug("x", true, &s);
    EXPECT_EQ(s, MS::kFailure);

    MPlug t = sc::findPlug("polySurface1.translate");
    EXPECT_EQ(t.numChildren(), 3u);
    MPlug ty = t.child(1);
    EXPECT_STREQ(ty.name().asChar(), "polySurface1.translateY");
    ASSERT_TRUE(ty.setValue(4.0));
    EXPECT_DOUBLE_EQ(sc::findPlug("polySurface1.ty").asDouble(), 4.0);
    EXPECT_FALSE(t.setValue(1.0));    // a compound takes no single number
    EXPECT_FALSE(MPlug() == MPlug()); // null plugs are never equal
}

TEST_F(Plugs, StringAndEnumValues) {
    sc::createNode("testDoubler", "d");
    EXPECT_EQ(st::getString("d.label"), "default label");
    EXPECT_EQ(st::getString("d.echo"), "echo: default label");
    MPlug mode = st::plug("d.mode");
    EXPECT_FALSE(mode.setValue(MString("text"))); // not a string attribute
    MPlug label = st::plug("d.label");
    double number = 0;
    EXPECT_FALSE(label.getValue(number)); // not a number
    EXPECT_TRUE(label.setValue("plain"));
    EXPECT_EQ(st::getString("d.echo"), "echo: plain");
}

TEST_F(Plugs, MessagesArePrintedAsTheHostPrintsThem) {
    MGlobal::displayInfo("read bgeo:  (/tmp/a.bgeo)");
    MGlobal::displayWarning("Select one or more meshes");
    MGlobal::displayError("registerNode failed: (kFailure): Unexpected Internal Failure");
    ASSERT_EQ(st::messages().size(), 3u);
    EXPECT_EQ(st::infos(), std::vector<std::string>{"read bgeo:  (/tmp/a.bgeo)"});
    EXPECT_EQ(st::warnings(), std::vector<std::string>{"Select one or more meshes"});
    EXPECT_EQ(kelphost::messages::format(st::messages()[1]),
              "// Warning: Select one or more meshes //");
    EXPECT_EQ(kelphost::messages::format(st::messages()[2]),
              "// Error: registerNode failed: (kFailure): Unexpected Internal Failure //");
    EXPECT_EQ(kelphost::messages::format(st::messages()[0]), "read bgeo:  (/tmp/a.bgeo)");
    EXPECT_EQ(MGlobal::mayaState(), MGlobal::kBatch);
}
