// Test fixture for scenarios on the stand-in host with the built plug-in
// library loaded, as the batch host loads it. Each test starts from a fresh
// host (every test runs in its own process).
#ifndef KELP_TESTS_PLUGIN_FIXTURE_H
#define KELP_TESTS_PLUGIN_FIXTURE_H

#include "ScriptHost.h"
#include "StandIn.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace host = kelphost::testing;
namespace hostScript = kelphost::script;

class HostScenario : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs statements as the batch host does; on failure the result carries
    // the host's error messages.
    ::testing::AssertionResult run(const std::string &statements);
    // True when the script interpreter knows the command (a plug-in registered it).
    bool commandRegistered(const std::string &name);
    bool nodeTypeRegistered(const std::string &typeName);
    bool contains(const std::vector<std::string> &list, const std::string &item);
    // A fresh folder for files a test writes.
    std::string scratchDir();
};

// The same, with Kelp already loaded.
class KelpScenario : public HostScenario {
protected:
    void SetUp() override;
};

#endif
