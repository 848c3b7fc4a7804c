// The active selection, MItSelectionList filtering, DAG paths and instances.
#include "ScriptHost.h"
#include "StandIn.h"

#include <maya/MDagPath.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MGlobal.h>
#include <maya/MItSelectionList.h>
#include <maya/MSelectionList.h>
#include <maya/MStringArray.h>

#include <gtest/gtest.h>

namespace {

namespace ks = kelphost::script;
namespace kt = kelphost::testing;
using Strings = std::vector<std::string>;

class Selection : public ::testing::Test {
protected:
    void SetUp() override {
        kt::resetHost();
        kt::captureMessages();
    }
    // The partial paths an iterator over the active selection visits.
    static Strings walk(MFn::Type filter) {
        MSelectionList list;
        EXPECT_TRUE(MGlobal::getActiveSelectionList(list));
        Strings out;
        for (MItSelectionList it(list, filter); !it.isDone(); it.next()) {
            MDagPath path;
            if (it.getDagPath(path))
                out.push_back(path.partialPathName().asChar());
            else {
                MObject node;
                it.getDependNode(node);
                out.push_back(MFnDependencyNode(node).name().asChar());
            }
        }
        return out;
    }
};

TEST_F(Selection, MeshFilterExtendsTransformsToTheirShapesAndSkipsTheRest) {
    ASSERT_TRUE(ks::run("polyCube; polySphere; createNode transform -n empty;"
                        "select -r pCube1 time1 empty pSphereShape1 polyCube1;"));
    EXPECT_EQ(walk(MFn::kInvalid),
              (Strings{"pCube1", "time1", "empty", "pSphereShape1", "polyCube1"}));
    EXPECT_EQ(walk(MFn::kMesh), (Strings{"pCubeShape1", "pSphereShape1"}));
    EXPECT_EQ(walk(MFn::kTransform), (Strings{"pCube1", "empty"}));
    MSelectionList list;
    MGlobal::getActiveSelectionList(list);
    MItSelectionList it(list, MFn::kMesh);
    EXPECT_EQ(it.itemType(), MItSelectionList::kDagSelectionItem);
    it.next();
    it.next();
    EXPECT_TRUE(it.isDone());
    MDagPath none;
    EXPECT_FALSE(it.getDagPath(none));
    ASSERT_TRUE(it.reset());
    EXPECT_FALSE(it.isDone());
}

TEST_F(Selection, IteratorWorksOnACopy) {
    ASSERT_TRUE(ks::run("polyCube; select -r pCube1;"));
    MSelectionList list;
    MGlobal::getActiveSelectionList(list);
    MItSelectionList it(list, MFn::kMesh);
    list.clear();
    EXPECT_FALSE(it.isDone());
}

TEST_F(Selection, ExtendToShapeAndInstanceNumbers) {
    ASSERT_TRUE(ks::run("polyCube; createNode transform -n second; parent -add pCubeShape1 second;"
                        "select -r pCube1 second;"));
    EXPECT_EQ(kt::parentsOf("pCubeShape1"), (Strings{"pCube1", "second"}));
    MSelectionList list;
    MGlobal::getActiveSelectionList(list);
    ASSERT_EQ(list.length(), 2u);
    for (unsigned int i = 0; i < 2; ++i) {
        MDagPath path;
        ASSERT_TRUE(list.getDagPath(i, path));
        EXPECT_FALSE(path.hasFn(MFn::kMesh));
        ASSERT_TRUE(path.extendToShape());
        EXPECT_TRUE(path.hasFn(MFn::kMesh));
        EXPECT_TRUE(path.isInstanced());
        EXPECT_EQ(path.instanceNumber(), i);
        EXPECT_TRUE(path.extendToShape()); // already at the shape: stays
        EXPECT_EQ(path.instanceNumber(), i);
    }
    // Through the iterator the two instances stay apart.
    std::vector<unsigned int> instances;
    for (MItSelectionList it(list, MFn::kMesh); !it.isDone(); it.next()) {
        MDagPath path;
        ASSERT_TRUE(it.getDagPath(path));
        instances.push_back(path.instanceNumber());
    }
    EXPECT_EQ(instances, (std::vector<unsigned int>{0, 1}));
}

TEST_F(Selection, ExtendToShapeFailsWithNoneOrSeveralShapes) {
    ASSERT_TRUE(ks::run("createNode transform -n holder; createNode transform -n two;"
                        "createNode mesh -p two; createNode mesh -p two;"));
    MSelectionList list;
    ASSERT_TRUE(list.add("holder"));
    ASSERT_TRUE(list.add("two"));
    MDagPath path;
    ASSERT_TRUE(list.getDagPath(0, path));
    EXPECT_EQ(path.extendToShape().statusCode(), MStatus::kInvalidParameter);
    ASSERT_TRUE(list.getDagPath(1, path));
    EXPECT_FALSE(path.extendToShape());
    unsigned int n = 0;
    ASSERT_TRUE(path.numberOfShapesDirectlyBelow(n));
    EXPECT_EQ(n, 2u);
    ASSERT_TRUE(path.extendToShapeDirectlyBelow(1));
    EXPECT_TRUE(path.hasFn(MFn::kMesh));
}

TEST_F(Selection, ListsAddMergeAndNames) {
    ASSERT_TRUE(ks::run("polyCube;"));
    MSelectionList list;
    EXPECT_EQ(list.add("noSuchNode").statusCode(), MStatus::kInvalidParameter);
    ASSERT_TRUE(list.add("pCube1"));
    ASSERT_TRUE(list.add("|pCube1|pCubeShape1"));
    ASSERT_TRUE(list.add("pCube1.tx"));
    ASSERT_TRUE(list.add("time1"));
    EXPECT_EQ(list.length(), 4u);
    MStringArray names;
    list.getSelectionStrings(names);
    ASSERT_EQ(names.length(), 4u);
    EXPECT_STREQ(names[0].asChar(), "pCube1");
    EXPECT_STREQ(names[1].asChar(), "pCubeShape1");
    EXPECT_STREQ(names[2].asChar(), "pCube1.translateX");
    MPlug plug;
    EXPECT_TRUE(list.getPlug(2, plug));
    MDagPath path;
    EXPECT_FALSE(list.getDagPath(3, path)); // time1 is not a DAG node
    EXPECT_TRUE(list.hasItem(kt::node("time1")));
    MSelectionList other;
    other.add("time1");
    other.add("initialShadingGroup");
    list.merge(other, MSelectionList::kXORWithList);
    EXPECT_EQ(list.length(), 4u); // time1 out, initialShadingGroup in
    EXPECT_FALSE(list.hasItem(kt::node("time1")));
    list.merge(other, MSelectionList::kRemoveFromList);
    EXPECT_EQ(list.length(), 3u);
    ASSERT_TRUE(MGlobal::setActiveSelectionList(list));
    EXPECT_EQ(ks::selection(), (Strings{"pCube1", "pCubeShape1", "pCube1.translateX"}));
}

TEST_F(Selection, DeletedNodesLeaveTheActiveSelection) {
    ASSERT_TRUE(ks::run("polyCube; polySphere; select -r pCube1 pSphere1; delete pCube1;"));
    EXPECT_EQ(ks::selection(), Strings{"pSphere1"});
}

} // namespace
