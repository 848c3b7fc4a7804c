#include "Registry.h"

#include "../core/Access.h"
#include "../core/StatusText.h"
#include "Node.h"

#include <maya/MFnNumericAttribute.h>
#include <maya/MPxNode.h>

namespace kelphost {
namespace {

// The attributes every node has (MPxNode::message and friends).
void addBaseAttributes(NodeType &type) {
    static bool made = false;
    if (!made) {
        made = true;
        MFnNumericAttribute n;
        Attribute *msg = new Attribute;
        msg->name = "message";
        msg->shortName = "msg";
        msg->kind = AttrKind::Message;
        msg->storable = false;
        MPxNode::message = Access::wrap(msg);
        MPxNode::isHistoricallyInteresting =
            n.create("isHistoricallyInteresting", "ihi", MFnNumericData::kByte, 2);
        MPxNode::caching = n.create("caching", "cch", MFnNumericData::kBoolean, 0);
        MPxNode::state = n.create("nodeState", "nds", MFnNumericData::kShort, 0);
        MPxNode::frozen = n.create("frozen", "fzn", MFnNumericData::kBoolean, 0);
    }
    type.add(MPxNode::message);
    type.add(MPxNode::isHistoricallyInteresting);
    type.add(MPxNode::caching);
    type.add(MPxNode::state);
    type.add(MPxNode::frozen);
}

} // namespace

Registry &Registry::get() {
    static Registry *r = new Registry; // never destroyed: plug-in code may run at exit
    static bool builtins = false;
    if (!builtins) {
        builtins = true;
        registerBuiltinTypes(*r);
    }
    return *r;
}

Registry::Registry() = default;

NodeType *Registry::findType(const std::string &name) const {
    for (const auto &t : types_)
        if (t->registered && t->name == name)
            return t.get();
    return nullptr;
}

NodeType *Registry::findType(const MTypeId &id) const {
    for (const auto &t : types_)
        if (t->registered && t->id == id)
            return t.get();
    return nullptr;
}

MStatus Registry::registerType(std::unique_ptr<NodeType> type) {
    auto fault = failRegisterNode.find(type->name);
    if (fault != failRegisterNode.end()) {
        MStatus::MStatusCode code = fault->second;
        failRegisterNode.erase(fault);
        return fail(code, kRegistrationRefused);
    }
    if (type->name.empty() || findType(type->name))
        return fail(MStatus::kFailure, kDuplicateName);
    if (findType(type->id))
        return fail(MStatus::kFailure, kDuplicateId);
    if (!type->creator)
        return MStatus(MStatus::kInvalidParameter);
    addBaseAttributes(*type);
    NodeType *raw = type.get();
    types_.push_back(std::move(type));
    MStatus st = MStatus::kSuccess;
    if (raw->initialize) {
        NodeType *outer = initializing;
        initializing = raw;
        st = raw->initialize();
        initializing = outer;
    }
    if (!st) {
        raw->registered = false;
        return st;
    }
    return MStatus::kSuccess;
}

MStatus Registry::deregisterType(NodeType *type) {
    if (!type || !type->registered)
        return MStatus(MStatus::kFailure);
    type->registered = false;
    for (Node *n : type->instances)
        n->releaseUser();
    return MStatus::kSuccess;
}

void Registry::dropPlugins() {
    for (const auto &t : types_)
        if (!t->plugin.isNull() && t->registered)
            deregisterType(t.get());
    std::vector<scene::CommandEntry> kept;
    for (const auto &c : commands)
        if (c.plugin.isNull())
            kept.push_back(c);
    commands.swap(kept);
    for (const MObject &p : plugins)
        if (PluginObject *po = Access::as<PluginObject>(p))
            po->loaded = false;
    plugins.clear();
    failRegisterNode.clear();
    failRegisterCommand.clear();
    failDeregisterCommand.clear();
    failDeregisterNode.clear();
}

} // namespace kelphost
