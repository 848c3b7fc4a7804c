// Loading and unloading the plug-in library: what it registers, the order of
// deregistration, refusals by the host, and what the library exports.
#include "PluginFixture.h"

#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MTypeId.h>

#include <dlfcn.h>

#include <cstdio>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

#define KELP_TEXT_(x) #x
#define KELP_TEXT(x) KELP_TEXT_(x)

// The dynamic symbols a library defines, as nm lists them.
std::vector<std::string> exportedSymbols(const std::string &path) {
    std::vector<std::string> names;
    std::FILE *pipe = popen(("nm -D --defined-only '" + path + "'").c_str(), "r");
    if (!pipe)
        return names;
    char line[1024];
    while (std::fgets(line, sizeof line, pipe)) {
        std::istringstream words(line);
        std::string address, kind, name;
        if (words >> address >> kind >> name)
            names.push_back(name);
    }
    pclose(pipe);
    return names;
}

struct Held {
    bool readerCmd, readerNode, writerCmd, writerNode;
    bool operator==(const Held &o) const {
        return readerCmd == o.readerCmd && readerNode == o.readerNode && writerCmd == o.writerCmd &&
               writerNode == o.writerNode;
    }
};

std::ostream &operator<<(std::ostream &os, const Held &h) {
    return os << "{readerCmd " << h.readerCmd << ", readerNode " << h.readerNode << ", writerCmd "
              << h.writerCmd << ", writerNode " << h.writerNode << "}";
}

class Registration : public HostScenario {
protected:
    bool load(std::string *error = nullptr) {
        return hostScript::loadPlugin(KELP_PLUGIN_PATH, error);
    }

    // Which of the four registrations the host holds.
    Held held() {
        return Held{commandRegistered("KelpReader"), nodeTypeRegistered("KelpReaderNode"),
                    commandRegistered("KelpWriter"), nodeTypeRegistered("KelpWriterNode")};
    }

    // The one error shown, which must start with `prefix` and carry a reason.
    void expectOneError(const std::string &prefix) {
        const Names errors = host::errors();
        ASSERT_FALSE(errors.empty());
        EXPECT_EQ(errors[0].rfind(prefix, 0), 0u) << errors[0];
        EXPECT_GT(errors[0].size(), prefix.size()) << "no reason after " << prefix;
        for (size_t i = 1; i < errors.size(); ++i)
            EXPECT_EQ(errors[i].find("failed: "), std::string::npos) << errors[i];
    }
};

TEST_F(Registration, LoadRegistersBothCommandsAndNodeTypesSilently) {
    std::string error;
    ASSERT_TRUE(load(&error)) << error;
    EXPECT_EQ(held(), (Held{true, true, true, true}));
    host::clearMessages();
    ASSERT_TRUE(run("createNode KelpReaderNode -n r; createNode KelpWriterNode -n w;"));
    EXPECT_EQ(host::node("r").isNull(), false);
    EXPECT_EQ(host::typeOf("w"), "KelpWriterNode");
}

TEST_F(Registration, LoadShowsNothing) {
    ASSERT_TRUE(load());
    for (const auto &m : host::messages())
        ADD_FAILURE() << "message at load: " << m.text;
}

TEST_F(Registration, ApiVersionIsTheOneTheHeadersDefine) {
    ASSERT_TRUE(load());
    EXPECT_EQ(hostScript::pluginApiVersion("Kelp"), "201000");
}

TEST_F(Registration, ReaderNodeTypeIdTakenByAnotherPlugin) {
    std::string error;
    ASSERT_TRUE(hostScript::loadPlugin(KELP_CLASH_PLUGIN_PATH, &error)) << error;
    ASSERT_TRUE(nodeTypeRegistered("KelpClashNode"));
    host::clearMessages();

    EXPECT_FALSE(load());
    expectOneError("registerNode failed: ");
    // The host drops a plug-in whose initializePlugin failed; the other
    // plug-in's registration is untouched.
    EXPECT_FALSE(nodeTypeRegistered("KelpReaderNode"));
    EXPECT_FALSE(nodeTypeRegistered("KelpWriterNode"));
    EXPECT_FALSE(commandRegistered("KelpWriter"));
    EXPECT_TRUE(nodeTypeRegistered("KelpClashNode"));
}

// The entry point itself, called as the host calls it: what it leaves
// registered when the reader node type is refused.
TEST_F(Registration, RefusedReaderNodeStopsRegistration) {
    std::string error;
    ASSERT_TRUE(hostScript::loadPlugin(KELP_CLASH_PLUGIN_PATH, &error)) << error;
    host::clearMessages();

    void *library = dlopen(KELP_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    // initializePlugin(MObject), under the platform's encoding of C++ names.
    void *symbol = nullptr;
    for (const std::string &name : exportedSymbols(KELP_PLUGIN_PATH))
        if (name.rfind("_Z16initializePlugin", 0) == 0)
            symbol = dlsym(library, name.c_str());
    ASSERT_NE(symbol, nullptr);
    using Entry = MStatus (*)(MObject);
    Entry initialize = reinterpret_cast<Entry>(symbol);

    MObject plugin = host::pluginObject("Kelp");
    const MStatus status = initialize(plugin);
    EXPECT_FALSE(status);
    expectOneError("registerNode failed: ");
    EXPECT_EQ(held(), (Held{true, false, false, false}));
}

TEST_F(Registration, RefusedWriterCommandStopsRegistration) {
    host::failCommandRegistration("KelpWriter");
    EXPECT_FALSE(load());
    expectOneError("registerCommand failed: ");
    EXPECT_FALSE(commandRegistered("KelpWriter"));
    EXPECT_FALSE(nodeTypeRegistered("KelpWriterNode"));
}

TEST_F(Registration, UnloadDeregistersEverythingSilently) {
    ASSERT_TRUE(load());
    host::clearMessages();
    std::string error;
    ASSERT_TRUE(hostScript::unloadPlugin("Kelp", &error)) << error;
    EXPECT_TRUE(host::errors().empty());
    EXPECT_EQ(held(), (Held{false, false, false, false}));
    // And it loads again.
    ASSERT_TRUE(load(&error)) << error;
    EXPECT_EQ(held(), (Held{true, true, true, true}));
}

// A refusal at each step of the unload shows which registrations went before
// it: reader command, reader node, writer command, writer node.
TEST_F(Registration, RefusedReaderCommandDeregistrationKeepsEverything) {
    ASSERT_TRUE(load());
    host::failCommandDeregistration("KelpReader");
    host::clearMessages();
    EXPECT_FALSE(hostScript::unloadPlugin("Kelp"));
    expectOneError("deregisterCommand failed: ");
    EXPECT_EQ(held(), (Held{true, true, true, true}));
    // The plug-in is still loaded, and a second unload completes.
    std::string error;
    EXPECT_TRUE(hostScript::unloadPlugin("Kelp", &error)) << error;
    EXPECT_EQ(held(), (Held{false, false, false, false}));
}

TEST_F(Registration, RefusedReaderNodeDeregistration) {
    ASSERT_TRUE(load());
    host::failNodeDeregistration(MTypeId(0x666));
    host::clearMessages();
    EXPECT_FALSE(hostScript::unloadPlugin("Kelp"));
    expectOneError("deregisterNode failed: ");
    EXPECT_EQ(held(), (Held{false, true, true, true}));
}

TEST_F(Registration, RefusedWriterCommandDeregistration) {
    ASSERT_TRUE(load());
    host::failCommandDeregistration("KelpWriter");
    host::clearMessages();
    EXPECT_FALSE(hostScript::unloadPlugin("Kelp"));
    expectOneError("deregisterCommand failed: ");
    EXPECT_EQ(held(), (Held{false, false, true, true}));
}

TEST_F(Registration, RefusedWriterNodeDeregistration) {
    ASSERT_TRUE(load());
    host::failNodeDeregistration(MTypeId(0x667));
    host::clearMessages();
    EXPECT_FALSE(hostScript::unloadPlugin("Kelp"));
    expectOneError("deregisterNode failed: ");
    EXPECT_EQ(held(), (Held{false, false, false, true}));
    // "KelpExport" goes after the writer node, so it is still there.
    EXPECT_TRUE(commandRegistered("KelpExport"));
}

TEST_F(Registration, ExportCommandComesAndGoesWithTheOthers) {
    ASSERT_TRUE(load());
    EXPECT_TRUE(commandRegistered("KelpExport"));
    std::string error;
    ASSERT_TRUE(hostScript::unloadPlugin("Kelp", &error)) << error;
    EXPECT_FALSE(commandRegistered("KelpExport"));
}

TEST_F(Registration, RefusedExportCommandIsTheLastRegistration) {
    host::failCommandRegistration("KelpExport");
    EXPECT_FALSE(load());
    expectOneError("registerCommand failed: ");
    EXPECT_FALSE(commandRegistered("KelpExport"));
}

TEST_F(Registration, RefusedExportCommandDeregistrationComesLast) {
    ASSERT_TRUE(load());
    host::failCommandDeregistration("KelpExport");
    host::clearMessages();
    EXPECT_FALSE(hostScript::unloadPlugin("Kelp"));
    expectOneError("deregisterCommand failed: ");
    EXPECT_EQ(held(), (Held{false, false, false, false}));
    EXPECT_TRUE(commandRegistered("KelpExport"));
}

TEST_F(Registration, LibraryExportsOnlyTheEntryPointsAndApiVersion) {
    const std::string path = KELP_PLUGIN_PATH;
    EXPECT_EQ(path.substr(path.rfind('/') + 1), "Kelp.so");

    const std::vector<std::string> list = exportedSymbols(path);
    const std::set<std::string> names(list.begin(), list.end());
    EXPECT_EQ(names.size(), list.size());

    ASSERT_EQ(names.size(), 3u) << [&] {
        std::string all;
        for (const std::string &n : names)
            all += n + " ";
        return all;
    }();
    EXPECT_EQ(names.count("MApiVersion"), 1u);
    // The two entry points with C++ linkage: initializePlugin(MObject) and
    // uninitializePlugin(MObject), MObject in whatever namespace the host uses.
    int entries = 0;
    for (const std::string &n : names) {
        if (n == "MApiVersion")
            continue;
        const bool init = n.rfind("_Z16initializePlugin", 0) == 0;
        const bool uninit = n.rfind("_Z18uninitializePlugin", 0) == 0;
        EXPECT_TRUE(init || uninit) << n;
        const std::string plain = "7MObject", spaced = "7MObjectE";
        EXPECT_TRUE(n.size() > plain.size() &&
                    (n.compare(n.size() - plain.size(), plain.size(), plain) == 0 ||
                     n.compare(n.size() - spaced.size(), spaced.size(), spaced) == 0))
            << n;
        entries += init ? 1 : 2;
    }
    EXPECT_EQ(entries, 3);
}

} // namespace
