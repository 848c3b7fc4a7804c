// The Windows plug-in library as the host loads it: the names it exports,
// the version text it carries, the banner at load, what it registers.
#include "PluginFixture.h"

#include <maya/MTypes.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

#define KELP_TEXT_(x) #x
#define KELP_TEXT(x) KELP_TEXT_(x)

class WindowsLoad : public HostScenario {};

TEST_F(WindowsLoad, EntryPointsAndVersionTextUnderTheirBareNames) {
    HMODULE library = LoadLibraryA(KELP_PLUGIN_PATH);
    ASSERT_NE(library, nullptr) << "error " << GetLastError();
    EXPECT_NE(GetProcAddress(library, "initializePlugin"), nullptr);
    EXPECT_NE(GetProcAddress(library, "uninitializePlugin"), nullptr);
    const char *version = reinterpret_cast<const char *>(GetProcAddress(library, "MApiVersion"));
    ASSERT_NE(version, nullptr);
    // The host's headers give the number; the Windows interface is 2009's.
    EXPECT_STREQ(version, KELP_TEXT(MAYA_API_VERSION));
    EXPECT_STREQ(version, "200900");
    EXPECT_EQ(GetProcAddress(library, "_Z16initializePluginN16OpenMayaStandIn17MObjectE"), nullptr);
    FreeLibrary(library);
}

TEST_F(WindowsLoad, OneBannerLineAtLoadAndTheSameOnStandardOutput) {
    ::testing::internal::CaptureStdout();
    std::string error;
    const bool loaded = hostScript::loadPlugin(KELP_PLUGIN_PATH, &error);
    const std::string out = ::testing::internal::GetCapturedStdout();
    ASSERT_TRUE(loaded) << error;
    const std::vector<std::string> infos = host::infos();
    ASSERT_EQ(infos.size(), 1u);
    EXPECT_EQ(infos[0], "Kelp 2.0 loaded");
    EXPECT_NE(out.find("\nKelp 2.0 loaded\n"), std::string::npos) << out;
    EXPECT_TRUE(host::errors().empty());
}

TEST_F(WindowsLoad, RegistersAndDeregistersEverything) {
    std::string error;
    ASSERT_TRUE(hostScript::loadPlugin(KELP_PLUGIN_PATH, &error)) << error;
    EXPECT_TRUE(commandRegistered("KelpReader"));
    EXPECT_TRUE(commandRegistered("KelpWriter"));
    EXPECT_TRUE(nodeTypeRegistered("KelpReaderNode"));
    EXPECT_TRUE(nodeTypeRegistered("KelpWriterNode"));
    ASSERT_TRUE(hostScript::unloadPlugin("Kelp", &error)) << error;
    EXPECT_FALSE(commandRegistered("KelpReader"));
    EXPECT_FALSE(nodeTypeRegistered("KelpWriterNode"));
}

} // namespace
