// Test-only hooks into the stand-in host.
#include "StandIn.h"

#include <maya/MFnArrayAttrsData.h>
#include <maya/MFnDependencyNode.h>

#include "../src/Scene.h"
#include "../src/UiState.h"
#include "../src/core/Access.h"
#include "../src/data/ArrayAttrsData.h"
#include "../src/data/MeshGeom.h"
#include "../src/graph/Graph.h"
#include "../src/graph/Registry.h"
#include "../src/nodes/Builtins.h"

namespace kelphost {
namespace testing {

void resetHost() {
    Registry::get().dropPlugins();
    scene::resetScene();
    messages::clearCaptured();
    clearFaults();
    ui::reset();
}

void setInteractive(bool on) {
    ui::setInteractive(on);
}

void pressEscapeAtProgress(int progress) {
    ui::progressWindow().escapeAt = progress;
}

ProgressWindowRecord progressWindow() {
    const ui::ProgressWindow &w = ui::progressWindow();
    ProgressWindowRecord r;
    r.reserved = w.reserved;
    r.shown = w.shown;
    r.interruptable = w.interruptable;
    r.minValue = w.minValue;
    r.maxValue = w.maxValue;
    r.title = w.title;
    r.timesStarted = w.timesStarted;
    r.timesEnded = w.timesEnded;
    r.progressValues = w.progressValues;
    r.statuses = w.statuses;
    return r;
}

void resetScene() {
    scene::resetScene();
}

MObject pluginObject(const std::string &name) {
    MObject existing = scene::findPluginObject(name.c_str());
    if (!existing.isNull())
        return existing;
    return scene::createPluginObject(name.c_str(), (name + ".so").c_str());
}

void captureMessages(bool echo) {
    messages::startCapture(echo);
}
void stopCapturing() {
    messages::stopCapture();
}
void clearMessages() {
    messages::clearCaptured();
}
const std::vector<messages::Message> &messages() {
    return messages::captured();
}

std::vector<std::string> messagesOf(messages::Kind kind) {
    std::vector<std::string> out;
    for (const auto &m : messages::captured())
        if (m.kind == kind)
            out.push_back(m.text);
    return out;
}
std::vector<std::string> infos() {
    return messagesOf(messages::Kind::Info);
}
std::vector<std::string> warnings() {
    return messagesOf(messages::Kind::Warning);
}
std::vector<std::string> errors() {
    return messagesOf(messages::Kind::Error);
}
std::vector<std::string> perrors() {
    return messagesOf(messages::Kind::Perror);
}

MObject node(const std::string &name) {
    return scene::findNode(name.c_str());
}
bool exists(const std::string &name) {
    return !node(name).isNull();
}
std::string typeOf(const std::string &name) {
    MObject n = node(name);
    return n.isNull() ? std::string() : scene::typeNameOfNode(n).asChar();
}
std::vector<std::string> nodesOfType(const std::string &typeName) {
    std::vector<std::string> out;
    MObjectArray all = scene::allNodes();
    for (unsigned i = 0; i < all.length(); ++i)
        if (scene::nodeIsType(all[i], typeName.c_str()))
            out.push_back(scene::nodeName(all[i]).asChar());
    return out;
}
static std::vector<std::string> names(const MObjectArray &a) {
    std::vector<std::string> out;
    for (unsigned i = 0; i < a.length(); ++i)
        out.push_back(scene::nodeName(a[i]).asChar());
    return out;
}
std::vector<std::string> parentsOf(const std::string &n) {
    return names(scene::dagParents(node(n)));
}
std::vector<std::string> childrenOf(const std::string &n) {
    return names(scene::dagChildren(node(n)));
}
std::vector<std::string> setMembers(const std::string &s) {
    return names(scene::setMembers(node(s)));
}
MPlug plug(const std::string &path) {
    return scene::findPlug(path.c_str());
}

double getDouble(const std::string &p) {
    return plug(p).asDouble();
}
int getInt(const std::string &p) {
    return plug(p).asInt();
}
bool getBool(const std::string &p) {
    return plug(p).asBool();
}
std::string getString(const std::string &p) {
    return plug(p).asString().asChar();
}
MStatus setDouble(const std::string &p, double v) {
    MPlug pl = plug(p);
    return pl.isNull() ? MStatus(MStatus::kInvalidParameter) : pl.setValue(v);
}
MStatus setInt(const std::string &p, int v) {
    MPlug pl = plug(p);
    return pl.isNull() ? MStatus(MStatus::kInvalidParameter) : pl.setValue(v);
}
MStatus setBool(const std::string &p, bool v) {
    MPlug pl = plug(p);
    return pl.isNull() ? MStatus(MStatus::kInvalidParameter) : pl.setValue(v);
}
MStatus setString(const std::string &p, const std::string &v) {
    MPlug pl = plug(p);
    return pl.isNull() ? MStatus(MStatus::kInvalidParameter) : pl.setValue(MString(v.c_str()));
}
std::string sourceOf(const std::string &dst) {
    MPlug s = scene::sourceOf(plug(dst));
    return s.isNull() ? std::string() : s.name().asChar();
}
std::vector<std::string> destinationsOf(const std::string &src) {
    std::vector<std::string> out;
    MPlugArray d = scene::destinationsOf(plug(src));
    for (unsigned i = 0; i < d.length(); ++i)
        out.push_back(d[i].name().asChar());
    return out;
}
bool isConnected(const std::string &s, const std::string &d) {
    return scene::isConnected(plug(s), plug(d));
}
bool isDirty(const std::string &p) {
    return scene::isDirty(plug(p));
}
int computeCount(const std::string &name) {
    Node *n = Access::as<Node>(node(name));
    return n ? n->computeCount : 0;
}
MStatus setTime(double frame) {
    return scene::setCurrentTime(MTime(frame, MTime::uiUnit()));
}

MeshSnapshot meshOf(const MObject &object) {
    MeshSnapshot s;
    MeshGeom *g = geometryOf(object);
    if (!g)
        return s;
    s.valid = true;
    s.points = g->points;
    s.polygonCounts = g->counts;
    s.polygonConnects = g->connects;
    for (const UVSetData &set : g->uvSets)
        s.uvSets.push_back(UVSet{set.name, set.u, set.v, set.faceUVIds});
    if (const UVSetData *cur = g->uvSet(nullptr))
        s.currentUVSet = cur->name;
    for (size_t i = 0; i < g->points.size(); ++i) {
        s.vertexNormals.push_back(g->vertexNormal(static_cast<int>(i), false));
        s.vertexNormalSet.push_back(g->vertexNormalSet[i]);
    }
    for (int fv = 0; fv < g->faceVertexCount(); ++fv)
        s.faceVertexNormals.push_back(g->faceVertexNormal(fv));
    for (const kelphost::ColorSetData &set : g->colorSets) {
        ColorSet c{set.name, {}, set.faceColorIds};
        for (const MColor &col : set.colors)
            c.colors.push_back({col.r, col.g, col.b, col.a});
        s.colorSets.push_back(c);
    }
    if (const kelphost::ColorSetData *cur = g->colorSet(nullptr))
        s.currentColorSet = cur->name;
    s.hardEdges.assign(g->hardEdges.begin(), g->hardEdges.end());
    MMatrix world;
    if (object.hasFn(MFn::kMesh)) {
        MDagPath path;
        if (MDagPath::getAPathTo(object, path))
            world = path.inclusiveMatrix();
    } else if (MeshData *d = Access::as<MeshData>(object)) {
        world = d->matrix;
    }
    for (const MPoint &p : g->points)
        s.worldPoints.push_back(MPoint(p * world).cartesianize());
    return s;
}

MeshSnapshot mesh(const std::string &nodeOrPlug) {
    if (nodeOrPlug.find('.') == std::string::npos)
        return meshOf(node(nodeOrPlug));
    MPlug p = plug(nodeOrPlug);
    if (p.isNull())
        return MeshSnapshot();
    MObject data;
    p.getValue(data);
    return meshOf(data);
}

ChannelSnapshot channelsOf(const MObject &data) {
    ChannelSnapshot s;
    ArrayAttrsData *d = Access::as<ArrayAttrsData>(data);
    if (!d)
        return s;
    s.valid = true;
    for (const auto &c : d->channels) {
        if (c.vectors)
            s.vectors[c.name] = *c.vectors;
        if (c.doubles)
            s.doubles[c.name] = *c.doubles;
        if (c.ints)
            s.ints[c.name] = *c.ints;
        if (c.strings)
            for (const MString &str : *c.strings)
                s.strings[c.name].push_back(str.asChar());
    }
    return s;
}

ChannelSnapshot particles(const std::string &nodeOrPlug) {
    if (nodeOrPlug.find('.') == std::string::npos)
        return channelsOf(particleChannels(Access::as<Node>(node(nodeOrPlug))));
    MPlug p = plug(nodeOrPlug);
    MObject data;
    if (!p.isNull())
        p.getValue(data);
    return channelsOf(data);
}

int particleCount(const std::string &name) {
    return kelphost::particleCount(Access::as<Node>(node(name)));
}

void failNodeRegistration(const std::string &t, MStatus::MStatusCode c) {
    Registry::get().failRegisterNode[t] = c;
}
void failCommandRegistration(const std::string &n, MStatus::MStatusCode c) {
    Registry::get().failRegisterCommand[n] = c;
}
void failNodeDeregistration(const MTypeId &id, MStatus::MStatusCode c) {
    Registry::get().failDeregisterNode[id.id()] = c;
}
void failCommandDeregistration(const std::string &n, MStatus::MStatusCode c) {
    Registry::get().failDeregisterCommand[n] = c;
}
void clearFaults() {
    Registry &r = Registry::get();
    r.failRegisterNode.clear();
    r.failRegisterCommand.clear();
    r.failDeregisterNode.clear();
    r.failDeregisterCommand.clear();
}

} // namespace testing
} // namespace kelphost
