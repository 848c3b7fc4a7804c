#ifndef KELPHOST_REGISTRY_H
#define KELPHOST_REGISTRY_H
// Node types, commands and plug-ins known to the host, and the test-only
// fault injections of registration.
#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MTypeId.h>

#include "../Scene.h"
#include "../core/Object.h"
#include "NodeType.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kelphost {

class PluginObject : public Object {
public:
    MFn::Type apiType() const override { return MFn::kPlugin; }
    std::string name, path, vendor = "Unknown", version = "Unknown", apiVersion = "Any";
    bool loaded = true;
};

class Registry {
public:
    static Registry &get();

    NodeType *findType(const std::string &name) const; // registered types only
    NodeType *findType(const MTypeId &id) const;
    // Register a type (runs its initializer); built-in types have a null plugin.
    MStatus registerType(std::unique_ptr<NodeType> type);
    MStatus deregisterType(NodeType *type);
    const std::vector<std::unique_ptr<NodeType>> &types() const { return types_; }

    NodeType *initializing = nullptr; // the type whose initializer runs now

    std::vector<scene::CommandEntry> commands;
    std::vector<MObject> plugins;

    // Fault injection (tests): name or id -> status code to fail with, once.
    std::map<std::string, MStatus::MStatusCode> failRegisterNode, failRegisterCommand,
        failDeregisterCommand;
    std::map<unsigned, MStatus::MStatusCode> failDeregisterNode;

    // Drop every plug-in's registrations (tests).
    void dropPlugins();

private:
    Registry();
    std::vector<std::unique_ptr<NodeType>> types_; // deregistered ones stay for their nodes
};

// Built-in node types (host/src/nodes).
void registerBuiltinTypes(Registry &registry);

} // namespace kelphost

#endif
