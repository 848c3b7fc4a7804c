// MFnPlugin: registration of a plug-in's node types and commands.
#define MNoVersionString // the library defines no MApiVersion of its own
#include <maya/MFnPlugin.h>

#include "../core/Access.h"
#include "../core/StatusText.h"
#include "Node.h"
#include "Registry.h"

#include <memory>

using kelphost::Access;
using kelphost::PluginObject;
using kelphost::Registry;

namespace {

PluginObject *pluginOf(const MFnBase &fn) {
    return Access::as<PluginObject>(Access::fnObject(fn));
}

MStatus noPlugin() {
    return kelphost::fail(MStatus::kFailure, kelphost::kNoObject);
}

MString field(const MFnBase &fn, std::string PluginObject::*member, MStatus *rs) {
    PluginObject *p = pluginOf(fn);
    kelphost::report(rs, p ? MStatus(MStatus::kSuccess) : noPlugin());
    return p ? MString((p->*member).c_str()) : MString();
}

void apply(MFnBase &fn, const char *vendor, const char *version, const char *api) {
    if (PluginObject *p = pluginOf(fn)) {
        // Vendor and version are recorded by the first wrap (initializePlugin);
        // later wraps with the defaults (uninitializePlugin) do not erase them.
        if (vendor && (p->vendor == "Unknown" || std::string(vendor) != "Unknown"))
            p->vendor = vendor;
        if (version && (p->version == "Unknown" || std::string(version) != "Unknown"))
            p->version = version;
        if (api)
            p->apiVersion = api;
    }
}

} // namespace

OPENMAYA_MAJOR_NAMESPACE_OPEN

MFnPlugin::MFnPlugin() {}
MFnPlugin::MFnPlugin(MObject &object, const char *vendor, const char *version,
                     const char *requiredApiVersion, MStatus *rs) {
    MStatus st = setObject(object);
    if (st)
        apply(*this, vendor, version, requiredApiVersion);
    kelphost::report(rs, st);
}
MFnPlugin::MFnPlugin(const MObject &object, const char *vendor, const char *version,
                     const char *requiredApiVersion, MStatus *rs) {
    MStatus st = setObject(object);
    if (st)
        apply(*this, vendor, version, requiredApiVersion);
    kelphost::report(rs, st);
}
MFnPlugin::~MFnPlugin() = default;
MFn::Type MFnPlugin::type() const {
    return MFn::kPlugin;
}

MString MFnPlugin::vendor(MStatus *rs) const {
    return field(*this, &PluginObject::vendor, rs);
}
MString MFnPlugin::version(MStatus *rs) const {
    return field(*this, &PluginObject::version, rs);
}
MString MFnPlugin::apiVersion(MStatus *rs) const {
    return field(*this, &PluginObject::apiVersion, rs);
}
MString MFnPlugin::name(MStatus *rs) const {
    return field(*this, &PluginObject::name, rs);
}
MString MFnPlugin::loadPath(MStatus *rs) const {
    PluginObject *p = pluginOf(*this);
    kelphost::report(rs, p ? MStatus(MStatus::kSuccess) : noPlugin());
    if (!p)
        return MString();
    std::string dir = p->path;
    size_t slash = dir.rfind('/');
    dir = slash == std::string::npos ? std::string(".") : dir.substr(0, slash);
    return MString(dir.c_str());
}
MStatus MFnPlugin::setName(const MString &newName, bool) {
    PluginObject *p = pluginOf(*this);
    if (!p)
        return noPlugin();
    p->name = newName.asChar();
    return MStatus::kSuccess;
}
MStatus MFnPlugin::setVersion(const MString &v) {
    PluginObject *p = pluginOf(*this);
    if (!p)
        return noPlugin();
    p->version = v.asChar();
    return MStatus::kSuccess;
}

MStatus MFnPlugin::registerCommand(const MString &commandName, MCreatorFunction creator,
                                   MCreateSyntaxFunction syntax) {
    if (!pluginOf(*this))
        return noPlugin();
    Registry &r = Registry::get();
    auto fault = r.failRegisterCommand.find(commandName.asChar());
    if (fault != r.failRegisterCommand.end()) {
        MStatus::MStatusCode code = fault->second;
        r.failRegisterCommand.erase(fault);
        return kelphost::fail(code, kelphost::kRegistrationRefused);
    }
    if (commandName.length() == 0 || !creator)
        return MStatus(MStatus::kInvalidParameter);
    for (const auto &c : r.commands)
        if (c.name == commandName)
            return kelphost::fail(MStatus::kFailure, kelphost::kDuplicateName);
    kelphost::scene::CommandEntry e;
    e.name = commandName;
    e.creator = creator;
    e.syntax = syntax;
    e.plugin = Access::fnObject(*this);
    r.commands.push_back(e);
    return MStatus::kSuccess;
}

MStatus MFnPlugin::deregisterCommand(const MString &commandName) {
    if (!pluginOf(*this))
        return noPlugin();
    Registry &r = Registry::get();
    auto fault = r.failDeregisterCommand.find(commandName.asChar());
    if (fault != r.failDeregisterCommand.end()) {
        MStatus::MStatusCode code = fault->second;
        r.failDeregisterCommand.erase(fault);
        return kelphost::fail(code, kelphost::kRegistrationRefused);
    }
    for (auto it = r.commands.begin(); it != r.commands.end(); ++it)
        if (it->name == commandName) {
            if (it->plugin != Access::fnObject(*this))
                return kelphost::fail(MStatus::kFailure, kelphost::kNotOwned);
            r.commands.erase(it);
            return MStatus::kSuccess;
        }
    return kelphost::fail(MStatus::kFailure, kelphost::kNotOwned);
}

MStatus MFnPlugin::registerNode(const MString &typeName, const MTypeId &typeId,
                                MCreatorFunction creator, MInitializeFunction init,
                                MPxNode::Type type, const MString *) {
    if (!pluginOf(*this))
        return noPlugin();
    auto t = std::make_unique<kelphost::NodeType>();
    t->name = typeName.asChar();
    t->id = typeId;
    t->kind = type;
    t->creator = creator;
    t->initialize = init;
    t->plugin = Access::fnObject(*this);
    t->defaultName = t->name;
    switch (type) {
    case MPxNode::kTransformNode:
        t->dag = true;
        t->apiType = MFn::kTransform;
        break;
    case MPxNode::kLocatorNode:
    case MPxNode::kSurfaceShape:
        t->dag = true;
        t->shape = true;
        t->apiType = MFn::kShape;
        break;
    default:
        t->apiType = MFn::kPluginDependNode;
        break;
    }
    return Registry::get().registerType(std::move(t));
}

MStatus MFnPlugin::deregisterNode(const MTypeId &typeId) {
    if (!pluginOf(*this))
        return noPlugin();
    Registry &r = Registry::get();
    auto fault = r.failDeregisterNode.find(typeId.id());
    if (fault != r.failDeregisterNode.end()) {
        MStatus::MStatusCode code = fault->second;
        r.failDeregisterNode.erase(fault);
        return kelphost::fail(code, kelphost::kRegistrationRefused);
    }
    kelphost::NodeType *t = r.findType(typeId);
    if (!t || t->plugin != Access::fnObject(*this))
        return kelphost::fail(MStatus::kFailure, kelphost::kNotOwned);
    return r.deregisterType(t);
}

MStatus MFnPlugin::registerUI(const MString &, const MString &, const MString &, const MString &) {
    return pluginOf(*this) ? MStatus(MStatus::kSuccess) : noPlugin();
}

MObject MFnPlugin::findPlugin(const MString &pluginName) {
    for (const MObject &o : Registry::get().plugins)
        if (PluginObject *p = Access::as<PluginObject>(o); p && p->name == pluginName.asChar())
            return o;
    return MObject();
}

bool MFnPlugin::isNodeRegistered(const MString &typeName) {
    return Registry::get().findType(typeName.asChar()) != nullptr;
}

OPENMAYA_NAMESPACE_CLOSE
