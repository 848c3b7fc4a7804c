#include "PluginFixture.h"

#include <maya/MFnPlugin.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

void HostScenario::SetUp() {
    host::resetHost();
    host::captureMessages();
}

void HostScenario::TearDown() {
    host::stopCapturing();
}

::testing::AssertionResult HostScenario::run(const std::string &statements) {
    const size_t before = host::errors().size();
    if (hostScript::run(statements))
        return ::testing::AssertionSuccess();
    ::testing::AssertionResult failure = ::testing::AssertionFailure();
    failure << "statements failed: " << statements;
    const std::vector<std::string> errors = host::errors();
    for (size_t i = before; i < errors.size(); ++i)
        failure << "\n  error: " << errors[i];
    return failure;
}

bool HostScenario::commandRegistered(const std::string &name) {
    // An unregistered command fails as an unknown procedure; a registered one
    // fails on the unknown flag instead.
    const size_t before = host::errors().size();
    hostScript::run(name + " -kelpNoSuchFlag 1;");
    const std::vector<std::string> errors = host::errors();
    for (size_t i = before; i < errors.size(); ++i)
        if (errors[i].find("Cannot find procedure") != std::string::npos)
            return false;
    return true;
}

bool HostScenario::nodeTypeRegistered(const std::string &typeName) {
    return MFnPlugin::isNodeRegistered(MString(typeName.c_str()));
}

bool HostScenario::contains(const std::vector<std::string> &list, const std::string &item) {
    for (const std::string &s : list)
        if (s == item)
            return true;
    return false;
}

std::string HostScenario::scratchDir() {
    const ::testing::TestInfo *info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                ("kelp-plugin-" + std::to_string(::getpid()) + "-" +
                                 info->test_suite_name() + "-" + info->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir.generic_string(); // '/' also on Windows: '\\' starts an escape in a script
}

void KelpScenario::SetUp() {
    HostScenario::SetUp();
    std::string error;
    ASSERT_TRUE(hostScript::loadPlugin(KELP_PLUGIN_PATH, &error)) << error;
    host::clearMessages();
}
