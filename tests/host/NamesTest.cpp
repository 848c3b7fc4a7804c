// Unique node names, the default nodes of a scene, DAG parenting rules.
#include <maya/MFnDependencyNode.h>

#include "../../host/src/Scene.h"

#include <StandIn.h>
#include <gtest/gtest.h>

namespace st = kelphost::testing;
namespace sc = kelphost::scene;

namespace {

class Names : public ::testing::Test {
protected:
    void SetUp() override { st::resetHost(); }
    void TearDown() override { st::resetHost(); }
    static std::string make(const char *type, const char *name = "") {
        MObject n = sc::createNode(type, name);
        return sc::nodeName(n).asChar();
    }
};

} // namespace

TEST_F(Names, EveryFreshSceneHasTheDefaultNodes) {
    EXPECT_EQ(st::typeOf("time1"), "time");
    EXPECT_EQ(st::typeOf("initialShadingGroup"), "shadingEngine");
    make("transform", "extra");
    st::resetScene();
    EXPECT_FALSE(st::exists("extra"));
    EXPECT_TRUE(st::exists("time1"));
    EXPECT_EQ(st::nodesOfType("time").size(), 1u);
}

TEST_F(Names, ClashesGetANumber) {
    EXPECT_EQ(make("transform"), "transform1");
    EXPECT_EQ(make("transform"), "transform2");
    EXPECT_EQ(make("transform", "KelpReader"), "KelpReader");
    EXPECT_EQ(make("transform", "KelpReader"), "KelpReader1");
    EXPECT_EQ(make("transform", "KelpReader"), "KelpReader2");
    EXPECT_EQ(make("transform", "pCube1"), "pCube1");
    EXPECT_EQ(make("transform", "pCube1"), "pCube2");
    EXPECT_EQ(make("transform", "time1"), "time2");
    EXPECT_EQ(make("transform", "shape#"), "shape1");
    EXPECT_EQ(make("transform", "shape#"), "shape2");
    EXPECT_EQ(make("transform", "bad name!"), "bad_name_");
    EXPECT_EQ(make("transform", "3d"), "_3d");
}

TEST_F(Names, RenameKeepsNamesUnique) {
    MObject a = sc::createNode("transform", "a");
    sc::createNode("transform", "b");
    MString given;
    ASSERT_TRUE(sc::renameNode(a, "b", &given));
    EXPECT_STREQ(given.asChar(), "b1");
    ASSERT_TRUE(sc::renameNode(a, "b1", &given)); // its own name is no clash
    EXPECT_STREQ(given.asChar(), "b1");
    MFnDependencyNode fn(a);
    EXPECT_STREQ(fn.setName("c").asChar(), "c");
    EXPECT_FALSE(sc::renameNode(a, ""));
    EXPECT_STREQ(fn.name().asChar(), "c");
}

TEST_F(Names, ShapesGetATransformAndPathsFindThem) {
    MObject parent;
    MObject shape = sc::createNode("mesh", "", MObject::kNullObj, &parent);
    ASSERT_FALSE(parent.isNull());
    EXPECT_EQ(sc::nodeName(parent), MString("polySurface1"));
    EXPECT_EQ(sc::nodeName(shape), MString("polySurfaceShape1"));
    EXPECT_EQ(sc::findNode("|polySurface1|polySurfaceShape1"), shape);
    EXPECT_EQ(sc::findNode("polySurface1|polySurfaceShape1"), shape);
    EXPECT_TRUE(sc::findNode("|polySurfaceShape1").isNull());
    EXPECT_TRUE(sc::findNode("|nothing").isNull());
    MObject p2;
    MObject particle = sc::createNode("particle", "", MObject::kNullObj, &p2);
    EXPECT_EQ(sc::nodeName(p2), MString("particle1"));
    EXPECT_EQ(sc::nodeName(particle), MString("particleShape1"));
    // A shape cannot parent anything, and nothing can become its own ancestor.
    MObject t = sc::createNode("transform", "t");
    EXPECT_FALSE(sc::setParent(t, shape));
    EXPECT_FALSE(sc::setParent(parent, parent));
    ASSERT_TRUE(sc::setParent(t, parent));
    EXPECT_FALSE(sc::setParent(parent, t));
}
