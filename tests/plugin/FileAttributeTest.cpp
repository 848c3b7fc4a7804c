// The nodes' path attribute is a file name to the host (a file browser in
// the Attribute Editor), as the host's own attributeQuery tells.
#include "PluginFixture.h"

namespace {

TEST_F(KelpScenario, BgeoPathIsUsedAsFilenameOnBothNodes) {
    ASSERT_TRUE(run("createNode KelpReaderNode -n r; createNode KelpWriterNode -n w;"));
    for (const char *node : {"r", "w"}) {
        ASSERT_TRUE(
            run(std::string("attributeQuery -node ") + node + " -usedAsFilename bgeoPath;"));
        EXPECT_EQ(hostScript::lastResult(), std::vector<std::string>{"1"}) << node;
        ASSERT_TRUE(run(std::string("attributeQuery -n ") + node + " -uaf bp;"));
        EXPECT_EQ(hostScript::lastResult(), std::vector<std::string>{"1"}) << node;
        // Only the path: the frame is a plain number.
        ASSERT_TRUE(run(std::string("attributeQuery -n ") + node + " -uaf frame;"));
        EXPECT_EQ(hostScript::lastResult(), std::vector<std::string>{"0"}) << node;
    }
}

} // namespace
