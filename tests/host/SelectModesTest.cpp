// The select command's modes (replace, add, add first, deselect, toggle,
// clear), name patterns, and the active selection as MGlobal hands it to
// plug-ins: set and read back in order, merged without duplicates.
#include "ScriptHost.h"
#include "StandIn.h"

#include <maya/MDagPath.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MGlobal.h>
#include <maya/MSelectionList.h>
#include <maya/MStringArray.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

namespace ks = kelphost::script;
namespace kt = kelphost::testing;
using Strings = std::vector<std::string>;

class SelectModes : public ::testing::Test {
protected:
    void SetUp() override {
        kt::resetHost();
        kt::captureMessages();
        ASSERT_TRUE(ks::run("createNode transform -n a; createNode transform -n b; createNode "
                            "transform -n c; createNode transform -n ab; select -cl;"));
    }
    void TearDown() override { kt::resetHost(); }
    static Strings active() {
        MSelectionList list;
        EXPECT_TRUE(MGlobal::getActiveSelectionList(list));
        MStringArray names;
        list.getSelectionStrings(names);
        Strings out;
        for (unsigned int i = 0; i < names.length(); ++i)
            out.push_back(names[i].asChar());
        return out;
    }
};

} // namespace

TEST_F(SelectModes, ReplaceAddAndAddFirst) {
    ASSERT_TRUE(ks::run("select -r b;"));
    EXPECT_EQ(active(), Strings{"b"});
    ASSERT_TRUE(ks::run("select a;")); // replace is the default
    EXPECT_EQ(active(), Strings{"a"});
    ASSERT_TRUE(ks::run("select -add c;"));
    EXPECT_EQ(active(), (Strings{"a", "c"}));
    ASSERT_TRUE(ks::run("select -af b;"));
    EXPECT_EQ(active(), (Strings{"b", "a", "c"}));
    ASSERT_TRUE(ks::run("select -add a;")); // already there: no duplicate
    EXPECT_EQ(active(), (Strings{"b", "a", "c"}));
    ASSERT_TRUE(ks::run("select -r c a c;"));
    EXPECT_EQ(active(), (Strings{"c", "a"}));
}

TEST_F(SelectModes, DeselectToggleAndClear) {
    ASSERT_TRUE(ks::run("select -r a b c;"));
    ASSERT_TRUE(ks::run("select -d b;"));
    EXPECT_EQ(active(), (Strings{"a", "c"}));
    ASSERT_TRUE(ks::run("select -d b;")); // not selected: nothing to remove, no failure
    EXPECT_EQ(active(), (Strings{"a", "c"}));
    ASSERT_TRUE(ks::run("select -tgl a b;")); // a goes, b comes
    EXPECT_EQ(active(), (Strings{"c", "b"}));
    ASSERT_TRUE(ks::run("select -cl;"));
    EXPECT_TRUE(active().empty());
    ASSERT_TRUE(ks::run("select -r;")); // replacing with nothing empties it too
    EXPECT_TRUE(active().empty());
}

TEST_F(SelectModes, PatternsMatchWholeNames) {
    ASSERT_TRUE(ks::run("select -r \"a*\";"));
    EXPECT_EQ(active(), (Strings{"a", "ab"}));
    ASSERT_TRUE(ks::run("select -r \"?b\";"));
    EXPECT_EQ(active(), Strings{"ab"});
    ASSERT_TRUE(ks::run("select -r \"*b\";"));
    EXPECT_EQ(active(), (Strings{"b", "ab"}));
    EXPECT_FALSE(ks::run("select -r \"zz*\";")); // a pattern that matches nothing fails
    EXPECT_EQ(active(), (Strings{"b", "ab"}));
}

TEST_F(SelectModes, LsSelectionFollowsTheActiveList) {
    ASSERT_TRUE(ks::run("select -r c a; ls -sl;"));
    EXPECT_EQ(ks::lastResult(), (Strings{"c", "a"}));
    ASSERT_TRUE(ks::run("select -cl; ls -sl;"));
    EXPECT_TRUE(ks::lastResult().empty());
}

TEST_F(SelectModes, MGlobalAdjustmentsMatchTheCommandsModes) {
    MSelectionList ac;
    ASSERT_TRUE(ac.add("a"));
    ASSERT_TRUE(ac.add("c"));
    ASSERT_TRUE(MGlobal::setActiveSelectionList(ac));
    EXPECT_EQ(ks::selection(), (Strings{"a", "c"}));
    MSelectionList b;
    ASSERT_TRUE(b.add("b"));
    ASSERT_TRUE(MGlobal::setActiveSelectionList(b, MGlobal::kAddToList));
    EXPECT_EQ(active(), (Strings{"a", "c", "b"}));
    ASSERT_TRUE(MGlobal::setActiveSelectionList(b, MGlobal::kAddToHeadOfList));
    EXPECT_EQ(active(), (Strings{"b", "a", "c"})); // moved to the head, not doubled
    ASSERT_TRUE(MGlobal::setActiveSelectionList(ac, MGlobal::kRemoveFromList));
    EXPECT_EQ(active(), Strings{"b"});
    ASSERT_TRUE(MGlobal::setActiveSelectionList(ac, MGlobal::kXORWithList));
    EXPECT_EQ(active(), (Strings{"b", "a", "c"}));
    ASSERT_TRUE(MGlobal::setActiveSelectionList(MSelectionList()));
    EXPECT_TRUE(active().empty());
}

TEST_F(SelectModes, SelectionListByNameAndItsObjects) {
    MSelectionList list;
    ASSERT_TRUE(MGlobal::getSelectionListByName("a*", list));
    ASSERT_EQ(list.length(), 2u);
    MDagPath path;
    ASSERT_TRUE(list.getDagPath(1, path));
    EXPECT_STREQ(path.partialPathName().asChar(), "ab");
    MObject node;
    ASSERT_TRUE(list.getDependNode(0, node));
    EXPECT_STREQ(MFnDependencyNode(node).name().asChar(), "a");
    EXPECT_FALSE(list.getDependNode(2, node)); // past the end
    MSelectionList none;
    EXPECT_FALSE(MGlobal::getSelectionListByName("nothingHere", none));
    EXPECT_TRUE(none.isEmpty());
    MSelectionList one;
    EXPECT_EQ(one.add("ghost"), MS::kInvalidParameter);
    EXPECT_TRUE(one.isEmpty());
}

TEST_F(SelectModes, RenamedAndDeletedNodesInTheSelection) {
    ASSERT_TRUE(ks::run("select -r a b; rename a alpha;"));
    EXPECT_EQ(active(), (Strings{"alpha", "b"})); // the selection holds nodes, not names
    ASSERT_TRUE(ks::run("delete b;"));
    EXPECT_EQ(active(), Strings{"alpha"});
    ASSERT_TRUE(ks::run("undo;"));
    EXPECT_TRUE(kt::exists("b"));
}
