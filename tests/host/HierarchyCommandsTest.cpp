// The hierarchy commands: ls with its filters and long names, listRelatives
// up and down the DAG, parent to a transform or the world, and the
// refusals (a non-transform parent, a non-DAG child).
#include "ScriptHost.h"
#include "StandIn.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

namespace ks = kelphost::script;
namespace kt = kelphost::testing;
using Strings = std::vector<std::string>;

// top > mid > leaf (a mesh shape under mid), and a loose transform.
class Hierarchy : public ::testing::Test {
protected:
    void SetUp() override {
        kt::resetHost();
        kt::captureMessages();
        ASSERT_TRUE(ks::run("createNode transform -n top; createNode transform -n mid -p top;"
                            "createNode mesh -n leaf -p mid; createNode transform -n loose;"));
    }
    void TearDown() override { kt::resetHost(); }
    static Strings result(const std::string &statement) {
        EXPECT_TRUE(ks::run(statement)) << statement;
        return ks::lastResult();
    }
    static Strings sorted(Strings s) {
        std::sort(s.begin(), s.end());
        return s;
    }
};

} // namespace

TEST_F(Hierarchy, LsFiltersByKindAndType) {
    EXPECT_EQ(result("ls top mid leaf;"), (Strings{"top", "mid", "leaf"}));
    EXPECT_EQ(result("ls -l leaf;"), Strings{"|top|mid|leaf"});
    EXPECT_EQ(sorted(result("ls -type mesh;")), Strings{"leaf"});
    EXPECT_EQ(result("ls -s top mid leaf loose;"), Strings{"leaf"});
    EXPECT_EQ(result("ls -tr top mid leaf loose;"), (Strings{"top", "mid", "loose"}));
    EXPECT_EQ(result("ls -dag time1 top;"), Strings{"top"}); // time1 is no DAG node
    EXPECT_TRUE(result("ls ghost;").empty());                // missing names list nothing
    Strings all = result("ls;");
    for (const char *n : {"top", "mid", "leaf", "loose", "time1"})
        EXPECT_NE(std::find(all.begin(), all.end(), n), all.end()) << n;
    EXPECT_EQ(result("ls top.tx;"), Strings{"top.translateX"}); // plugs by their long name
}

TEST_F(Hierarchy, ListRelativesWalksUpAndDown) {
    EXPECT_EQ(result("listRelatives top;"), Strings{"mid"}); // children by default
    EXPECT_EQ(result("listRelatives -c mid;"), Strings{"leaf"});
    EXPECT_EQ(result("listRelatives -p leaf;"), Strings{"mid"});
    EXPECT_EQ(result("listRelatives -p -f leaf;"), Strings{"|top|mid"});
    EXPECT_EQ(sorted(result("listRelatives -ad top;")), (Strings{"leaf", "mid"}));
    EXPECT_EQ(result("listRelatives -ad -s top;"), Strings{"leaf"});
    EXPECT_EQ(result("listRelatives -ad -typ transform top;"), Strings{"mid"});
    EXPECT_TRUE(result("listRelatives -p top;").empty()); // the world is no parent
    EXPECT_TRUE(result("listRelatives loose;").empty());
    // With no names it works on the selection.
    ASSERT_TRUE(ks::run("select -r mid;"));
    EXPECT_EQ(result("listRelatives;"), Strings{"leaf"});
}

TEST_F(Hierarchy, ParentMovesAndKeepsNamesUnderTheNewParent) {
    EXPECT_EQ(result("parent mid loose;"), Strings{"mid"});
    EXPECT_EQ(kt::parentsOf("mid"), Strings{"loose"});
    EXPECT_EQ(result("ls -l leaf;"), Strings{"|loose|mid|leaf"}); // the shape moved with it
    EXPECT_TRUE(kt::childrenOf("top").empty());
    EXPECT_EQ(result("parent -w mid;"), Strings{"mid"});
    EXPECT_TRUE(kt::parentsOf("mid").empty());
    EXPECT_EQ(result("ls -l mid;"), Strings{"|mid"});
    ASSERT_TRUE(ks::run("undo; undo;"));
    EXPECT_EQ(kt::parentsOf("mid"), Strings{"top"});
}

TEST_F(Hierarchy, ParentRefusesWhatCannotBeAParentOrAChild) {
    kt::clearMessages();
    EXPECT_FALSE(ks::run("parent loose leaf;"));
    ASSERT_EQ(kt::errors().size(), 1u);
    EXPECT_EQ(kt::errors()[0], "line 1: parent loose leaf: leaf is not a transform");
    kt::clearMessages();
    EXPECT_FALSE(ks::run("parent time1 top;"));
    ASSERT_EQ(kt::errors().size(), 1u);
    EXPECT_EQ(kt::errors()[0], "line 1: parent time1 top: time1 is not a DAG object");
    kt::clearMessages();
    EXPECT_FALSE(ks::run("parent loose;"));
    ASSERT_EQ(kt::errors().size(), 1u);
    EXPECT_EQ(kt::errors()[0], "line 1: parent loose: parent needs the objects and a new parent");
    // A node cannot go under its own descendant.
    EXPECT_FALSE(ks::run("parent top mid;"));
    EXPECT_EQ(kt::parentsOf("mid"), Strings{"top"});
    EXPECT_TRUE(kt::parentsOf("top").empty());
    EXPECT_EQ(kt::parentsOf("loose"), Strings{});
}

TEST_F(Hierarchy, DeletingAParentTakesTheWholeBranch) {
    ASSERT_TRUE(ks::run("delete mid;"));
    EXPECT_FALSE(kt::exists("mid"));
    EXPECT_FALSE(kt::exists("leaf"));
    EXPECT_TRUE(kt::exists("top"));
    EXPECT_TRUE(kt::childrenOf("top").empty());
    ASSERT_TRUE(ks::run("undo;"));
    EXPECT_EQ(kt::childrenOf("top"), Strings{"mid"});
    EXPECT_EQ(kt::childrenOf("mid"), Strings{"leaf"});
}
