// The scene API (Scene.h): nodes, names, DAG, connections, time, sets.
#include "../Scene.h"

#include "../core/Access.h"
#include "../core/StatusText.h"
#include "Graph.h"
#include "Registry.h"

#include <algorithm>
#include <cctype>

namespace kelphost {
namespace scene {
namespace {

using graph::PlugRef;
using graph::state;

void ensure();

Node *asNode(const MObject &o) {
    return Access::as<Node>(o);
}

bool nameTaken(const std::string &name, const Node *self) {
    for (const MObject &o : state().nodes) {
        Node *n = asNode(o);
        if (n && n != self && n->name == name)
            return true;
    }
    return false;
}

std::string sanitize(const std::string &in) {
    std::string out;
    for (size_t i = 0; i < in.size(); ++i) {
        char c = in[i];
        bool last = i + 1 == in.size();
        if (std::isalnum(static_cast<unsigned char>(c)) || c == '_' || (c == '#' && last))
            out += c;
        else
            out += '_';
    }
    if (!out.empty() && std::isdigit(static_cast<unsigned char>(out[0])))
        out = "_" + out;
    return out;
}

std::string uniqueName(const std::string &requested, const Node *self) {
    std::string name = sanitize(requested);
    if (name.empty() || name == "#")
        return std::string();
    bool numbered = name.back() == '#';
    if (!numbered && !nameTaken(name, self))
        return name;
    std::string base = numbered ? name.substr(0, name.size() - 1) : name;
    if (!numbered)
        while (!base.empty() && std::isdigit(static_cast<unsigned char>(base.back())))
            base.pop_back();
    if (base.empty())
        base = "_";
    for (unsigned long k = 1;; ++k) {
        std::string candidate = base + std::to_string(k);
        if (!nameTaken(candidate, self))
            return candidate;
    }
}

bool isAncestor(Node *maybeAncestor, Node *n) {
    for (Node *p : n->parents)
        if (p == maybeAncestor || isAncestor(maybeAncestor, p))
            return true;
    return false;
}

void unlink(Node *child, Node *parent) {
    child->parents.erase(std::remove(child->parents.begin(), child->parents.end(), parent),
                         child->parents.end());
    parent->children.erase(std::remove(parent->children.begin(), parent->children.end(), child),
                           parent->children.end());
}

void markOutputsDirty(Node *n) {
    for (const MObject &o : n->type->attributes) {
        Attribute *a = Access::as<Attribute>(o);
        if (!a || !(n->type->isAffected(a) || a->worldSpace))
            continue;
        if (Node::Value *v = n->value(a)) {
            v->slot.dirty = true;
            for (auto &e : v->elements)
                e.second.dirty = true;
        }
    }
}

bool compatible(const Attribute *s, const Attribute *d) {
    if (s->kind == AttrKind::Message || d->kind == AttrKind::Message)
        return s->kind == d->kind;
    if (s->isNumeric() || s->kind == AttrKind::Compound)
        return d->isNumeric() || d->kind == AttrKind::Compound;
    if (d->isNumeric() || d->kind == AttrKind::Compound)
        return false;
    bool sMatrix = s->kind == AttrKind::Matrix || s->dataType == MFnData::kMatrix;
    bool dMatrix = d->kind == AttrKind::Matrix || d->dataType == MFnData::kMatrix;
    if (sMatrix || dMatrix)
        return sMatrix && dMatrix;
    if (s->dataType == MFnData::kAny || d->dataType == MFnData::kAny)
        return true;
    return s->dataType == d->dataType;
}

void ensure() {
    static bool made = false;
    if (made)
        return;
    made = true;
    Registry::get();
    createNode("time", "time1");
    createNode("shadingEngine", "initialShadingGroup");
}

} // namespace

// ---- node types
bool typeExists(const MString &t) {
    return Registry::get().findType(t.asChar()) != nullptr;
}
bool typeIsDag(const MString &t) {
    NodeType *nt = Registry::get().findType(t.asChar());
    return nt && nt->dag;
}
bool typeIsShape(const MString &t) {
    NodeType *nt = Registry::get().findType(t.asChar());
    return nt && nt->shape;
}
MString typeNameOf(const MTypeId &id, MStatus *st) {
    NodeType *nt = Registry::get().findType(id);
    report(st, nt ? MStatus(MStatus::kSuccess) : MStatus(MStatus::kNotFound));
    return nt ? MString(nt->name.c_str()) : MString();
}
MStringArray typeNames() {
    MStringArray out;
    for (const auto &t : Registry::get().types())
        if (t->registered)
            out.append(t->name.c_str());
    return out;
}
MString typeNameOfNode(const MObject &node) {
    Node *n = asNode(node);
    return n ? MString(n->type->name.c_str()) : MString();
}
bool nodeIsType(const MObject &node, const MString &typeName) {
    Node *n = asNode(node);
    return n && n->type->name == typeName.asChar();
}

// ---- creating and removing
static MObject makeNodeOf(NodeType *t, MStatus *st) {
    if (!t) {
        report(st, fail(MStatus::kInvalidParameter, kNoSuchNode));
        return MObject();
    }
    Node *n = new Node(t);
    MObject obj = Access::wrap(n);
    void *made = t->creator ? t->creator() : nullptr;
    MPxNode *user = static_cast<MPxNode *>(made);
    if (user) {
        Access::nodeOf(*user) = n;
        n->user = user;
        user->postConstructor();
    }
    report(st, MStatus::kSuccess);
    return obj;
}

MObject makeNode(const MString &typeName, MStatus *st) {
    ensure();
    return makeNodeOf(Registry::get().findType(typeName.asChar()), st);
}

MObject makeNode(const MTypeId &typeId, MStatus *st) {
    ensure();
    return makeNodeOf(Registry::get().findType(typeId), st);
}

MStatus addNode(const MObject &node, const MString &requestedName) {
    ensure();
    Node *n = asNode(node);
    if (!n)
        return fail(MStatus::kInvalidParameter, kIncompatibleObject);
    if (n->inScene)
        return MStatus(MStatus::kFailure);
    std::string req = requestedName.length() ? requestedName.asChar() : n->type->defaultName + "#";
    n->name = uniqueName(req, n);
    if (n->name.empty())
        n->name = uniqueName(n->type->defaultName + "#", n);
    n->inScene = true;
    if (!n->order)
        n->order = state().nextOrder++;
    auto &nodes = state().nodes;
    auto pos = std::find_if(nodes.begin(), nodes.end(),
                            [&](const MObject &o) { return asNode(o)->order > n->order; });
    nodes.insert(pos, node);
    markOutputsDirty(n);
    return MStatus::kSuccess;
}

MString defaultParentName(const MString &shapeTypeName) {
    std::string t = shapeTypeName.asChar();
    if (t == "mesh")
        return "polySurface";
    return shapeTypeName;
}

MStatus removeNode(const MObject &node, RemovedNode *record) {
    ensure();
    Node *n = asNode(node);
    if (!n || !n->inScene)
        return fail(MStatus::kInvalidParameter, kIncompatibleObject);
    RemovedNode rec;
    rec.node = node;
    rec.name = n->name.c_str();
    for (Node *p : std::vector<Node *>(n->parents)) {
        rec.parents.push_back(graph::nodeObject(p));
        unlink(n, p);
    }
    for (Node *c : std::vector<Node *>(n->children)) {
        unlink(c, n);
        graph::worldChanged(c);
    }
    for (const auto &c : connectionsOf(node)) {
        rec.connections.push_back(c);
        disconnect(c.first, c.second);
    }
    for (const MObject &o : std::vector<MObject>(state().nodes)) {
        Node *s = asNode(o);
        if (!s)
            continue;
        auto it = std::find(s->members.begin(), s->members.end(), node);
        if (it != s->members.end()) {
            s->members.erase(it);
            rec.sets.push_back(o);
        }
    }
    n->inScene = false;
    auto &nodes = state().nodes;
    MObject keep = node; // the scene's reference may be the last besides the caller's
    nodes.erase(std::remove(nodes.begin(), nodes.end(), node), nodes.end());
    if (record)
        *record = rec;
    return MStatus::kSuccess;
}

MStatus restoreNode(const RemovedNode &rec) {
    Node *n = asNode(rec.node);
    if (!n || n->inScene)
        return fail(MStatus::kInvalidParameter, kIncompatibleObject);
    MStatus st = addNode(rec.node, rec.name);
    if (!st)
        return st;
    for (const MObject &p : rec.parents)
        if (Node *pn = asNode(p); pn && pn->inScene) {
            n->parents.push_back(pn);
            pn->children.push_back(n);
        }
    graph::worldChanged(n);
    for (const auto &c : rec.connections)
        connect(c.first, c.second, true);
    for (const MObject &s : rec.sets)
        if (Node *sn = asNode(s); sn && sn->inScene)
            sn->members.push_back(rec.node);
    return MStatus::kSuccess;
}

bool isInScene(const MObject &node) {
    Node *n = asNode(node);
    return n && n->inScene;
}

MObject createNode(const MString &typeName, const MString &name, const MObject &parent,
                   MObject *createdParent, MStatus *st) {
    ensure();
    if (createdParent)
        *createdParent = MObject();
    NodeType *t = Registry::get().findType(typeName.asChar());
    if (!t) {
        report(st, fail(MStatus::kInvalidParameter, kNoSuchNode));
        return MObject();
    }
    MObject parentObj = parent;
    if (!parent.isNull()) {
        Node *p = asNode(parent);
        if (!t->dag || !p || !p->inScene || !p->hasFn(MFn::kTransform)) {
            report(st, fail(MStatus::kInvalidParameter, kIncompatibleObject));
            return MObject();
        }
    } else if (t->shape) {
        parentObj = createNode("transform", defaultParentName(typeName) + "#");
        if (createdParent)
            *createdParent = parentObj;
    }
    MStatus s;
    MObject node = makeNodeOf(t, &s);
    if (!s) {
        report(st, s);
        return MObject();
    }
    addNode(node, name);
    if (!parentObj.isNull())
        setParent(node, parentObj);
    report(st, MStatus::kSuccess);
    return node;
}

// ---- names
MString nodeName(const MObject &node) {
    Node *n = asNode(node);
    return n ? MString(n->name.c_str()) : MString();
}

MStatus renameNode(const MObject &node, const MString &requested, MString *given) {
    ensure();
    Node *n = asNode(node);
    if (!n)
        return fail(MStatus::kInvalidParameter, kIncompatibleObject);
    std::string name =
        n->inScene ? uniqueName(requested.asChar(), n) : sanitize(requested.asChar());
    if (name.empty())
        return MStatus(MStatus::kInvalidParameter);
    n->name = name;
    if (given)
        *given = name.c_str();
    return MStatus::kSuccess;
}

MObject findNode(const MString &nameOrPath) {
    ensure();
    std::string path = nameOrPath.asChar();
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t bar = path.find('|', start);
        std::string part =
            path.substr(start, bar == std::string::npos ? std::string::npos : bar - start);
        if (!part.empty())
            parts.push_back(part);
        if (bar == std::string::npos)
            break;
        start = bar + 1;
    }
    if (parts.empty())
        return MObject();
    Node *found = nullptr;
    for (const MObject &o : state().nodes)
        if (asNode(o)->name == parts.back())
            found = asNode(o);
    if (!found)
        return MObject();
    // Check the path's upper parts name an ancestor chain.
    Node *cur = found;
    for (size_t i = parts.size() - 1; i-- > 0;) {
        Node *next = nullptr;
        for (Node *p : cur->parents)
            if (p->name == parts[i])
                next = p;
        if (!next)
            return MObject();
        cur = next;
    }
    if (path.size() && path[0] == '|' && !cur->parents.empty())
        return MObject();
    return graph::nodeObject(found);
}

MObjectArray allNodes() {
    ensure();
    MObjectArray out;
    for (const MObject &o : state().nodes)
        out.append(o);
    return out;
}

// ---- DAG
MObjectArray dagParents(const MObject &node) {
    MObjectArray out;
    if (Node *n = asNode(node))
        for (Node *p : n->parents)
            out.append(graph::nodeObject(p));
    return out;
}

MObjectArray dagChildren(const MObject &node) {
    MObjectArray out;
    if (Node *n = asNode(node))
        for (Node *c : n->children)
            out.append(graph::nodeObject(c));
    return out;
}

MObjectArray worldNodes() {
    ensure();
    MObjectArray out;
    for (const MObject &o : state().nodes) {
        Node *n = asNode(o);
        if (n->type->dag && n->parents.empty())
            out.append(o);
    }
    return out;
}

static MStatus checkParenting(Node *c, Node *p) {
    if (!c || !c->type->dag || !c->inScene)
        return fail(MStatus::kInvalidParameter, kIncompatibleObject);
    if (p && (!p->inScene || !p->hasFn(MFn::kTransform) || p == c || isAncestor(c, p)))
        return fail(MStatus::kInvalidParameter, kIncompatibleObject);
    return MStatus::kSuccess;
}

MStatus setParent(const MObject &child, const MObject &parent) {
    Node *c = asNode(child);
    Node *p = asNode(parent);
    MStatus st = checkParenting(c, p);
    if (!st)
        return st;
    for (Node *old : std::vector<Node *>(c->parents))
        unlink(c, old);
    if (p) {
        c->parents.push_back(p);
        p->children.push_back(c);
    }
    graph::worldChanged(c);
    return MStatus::kSuccess;
}

MStatus addParent(const MObject &child, const MObject &parent) {
    Node *c = asNode(child);
    Node *p = asNode(parent);
    if (!p)
        return fail(MStatus::kInvalidParameter, kIncompatibleObject);
    MStatus st = checkParenting(c, p);
    if (!st)
        return st;
    if (std::find(c->parents.begin(), c->parents.end(), p) != c->parents.end())
        return MStatus(MStatus::kFailure);
    c->parents.push_back(p);
    p->children.push_back(c);
    graph::worldChanged(c);
    return MStatus::kSuccess;
}

MStatus removeParent(const MObject &child, const MObject &parent) {
    Node *c = asNode(child);
    Node *p = asNode(parent);
    if (!c || !p || std::find(c->parents.begin(), c->parents.end(), p) == c->parents.end())
        return fail(MStatus::kInvalidParameter, kIncompatibleObject);
    unlink(c, p);
    graph::worldChanged(c);
    return MStatus::kSuccess;
}

// ---- plugs and connections
MPlug findPlug(const MString &plugPath, MStatus *st) {
    ensure();
    std::string s = plugPath.asChar();
    size_t dot = s.find('.');
    if (dot == std::string::npos) {
        report(st, fail(MStatus::kInvalidParameter, kAttributeNotFound));
        return MPlug();
    }
    MObject nodeObj = findNode(s.substr(0, dot).c_str());
    Node *n = asNode(nodeObj);
    if (!n) {
        report(st, fail(MStatus::kInvalidParameter, kNoSuchNode));
        return MPlug();
    }
    std::string attr = s.substr(dot + 1);
    int index = -1;
    size_t br = attr.find('[');
    if (br != std::string::npos) {
        size_t close = attr.find(']', br);
        std::string digits =
            attr.substr(br + 1, close == std::string::npos ? std::string::npos : close - br - 1);
        if (close == std::string::npos || close + 1 != attr.size() || digits.empty() ||
            digits.size() > 9 || !std::all_of(digits.begin(), digits.end(), [](char c) {
                return std::isdigit(static_cast<unsigned char>(c));
            })) {
            report(st, fail(MStatus::kInvalidParameter, kAttributeNotFound));
            return MPlug();
        }
        index = std::stoi(digits);
        attr = attr.substr(0, br);
    }
    Attribute *a = n->type->find(attr);
    if (!a || (index >= 0 && !a->array)) {
        report(st, fail(MStatus::kInvalidParameter, kAttributeNotFound));
        return MPlug();
    }
    report(st, MStatus::kSuccess);
    return graph::makePlug(n, a, index);
}

MStatus connect(const MPlug &source, const MPlug &destination, bool force, MPlug *replaced) {
    ensure();
    if (replaced)
        *replaced = MPlug();
    PlugRef s = graph::resolve(source);
    PlugRef d = graph::resolve(destination);
    if (!s.valid() || !d.valid() || !s.node->inScene || !d.node->inScene)
        return fail(MStatus::kInvalidParameter, kIncompatibleObject);
    if (s == d || !s.attr->readable || !s.attr->connectable || !d.attr->writable ||
        !d.attr->connectable || !compatible(s.attr, d.attr))
        return fail(MStatus::kInvalidParameter, kNotConnectable);
    bool sWhole = s.attr->array && s.index < 0;
    bool dWhole = d.attr->array && d.index < 0;
    if (sWhole != dWhole)
        return fail(MStatus::kInvalidParameter, kNotConnectable);
    if (const graph::Connection *existing = graph::incoming(d)) {
        if (graph::resolve(existing->source) == s)
            return MStatus::kSuccess;
        if (!force)
            return fail(MStatus::kFailure, kAlreadyConnected);
        MPlug old = existing->source;
        disconnect(old, destination);
        if (replaced)
            *replaced = old;
    }
    graph::state().connections.push_back(graph::Connection{graph::makePlug(s), graph::makePlug(d)});
    graph::dirty(d);
    MPlug sp = graph::makePlug(s), dp = graph::makePlug(d);
    if (s.node->user)
        s.node->user->connectionMade(sp, dp, true);
    if (d.node->user)
        d.node->user->connectionMade(dp, sp, false);
    return MStatus::kSuccess;
}

MStatus disconnect(const MPlug &source, const MPlug &destination) {
    PlugRef s = graph::resolve(source);
    PlugRef d = graph::resolve(destination);
    auto &conns = graph::state().connections;
    for (auto it = conns.begin(); it != conns.end(); ++it) {
        if (graph::resolve(it->source) == s && graph::resolve(it->destination) == d) {
            conns.erase(it);
            graph::changed(d); // keeps the value it had, downstream is dirty
            MPlug sp = graph::makePlug(s), dp = graph::makePlug(d);
            if (s.node->user)
                s.node->user->connectionBroken(sp, dp, true);
            if (d.node->user)
                d.node->user->connectionBroken(dp, sp, false);
            return MStatus::kSuccess;
        }
    }
    return fail(MStatus::kInvalidParameter, kNotConnectable);
}

MPlug sourceOf(const MPlug &destination) {
    const graph::Connection *c = graph::incoming(graph::resolve(destination));
    return c ? c->source : MPlug();
}

MPlugArray destinationsOf(const MPlug &source) {
    MPlugArray out;
    PlugRef s = graph::resolve(source);
    for (const auto &c : graph::state().connections)
        if (graph::resolve(c.source) == s)
            out.append(c.destination);
    return out;
}

std::vector<std::pair<MPlug, MPlug>> connectionsOf(const MObject &node) {
    std::vector<std::pair<MPlug, MPlug>> out;
    Node *n = asNode(node);
    for (const auto &c : graph::state().connections)
        if (graph::resolve(c.source).node == n || graph::resolve(c.destination).node == n)
            out.emplace_back(c.source, c.destination);
    return out;
}

bool isConnected(const MPlug &source, const MPlug &destination) {
    PlugRef s = graph::resolve(source), d = graph::resolve(destination);
    for (const auto &c : graph::state().connections)
        if (graph::resolve(c.source) == s && graph::resolve(c.destination) == d)
            return true;
    return false;
}

// ---- evaluation
MStatus evaluate(const MPlug &plug) {
    PlugRef p = graph::resolve(plug);
    if (!p.valid())
        return fail(MStatus::kInvalidParameter, kIncompatibleObject);
    graph::pull(p);
    return MStatus::kSuccess;
}

MStatus evaluateNode(const MObject &node) {
    Node *n = asNode(node);
    if (!n)
        return fail(MStatus::kInvalidParameter, kIncompatibleObject);
    for (const MObject &o : std::vector<MObject>(n->type->attributes)) {
        Attribute *a = Access::as<Attribute>(o);
        if (a && !a->parent && (n->type->isAffected(a) || a->worldSpace))
            graph::pull(PlugRef{n, a, -1});
    }
    return MStatus::kSuccess;
}

bool isDirty(const MPlug &plug) {
    return graph::isDirty(graph::resolve(plug));
}

// ---- time
MTime currentTime() {
    return graph::state().time;
}

MStatus setCurrentTime(const MTime &time) {
    ensure();
    graph::state().time = time;
    for (const MObject &o : std::vector<MObject>(graph::state().nodes)) {
        Node *n = asNode(o);
        if (!n || n->type->name != "time")
            continue;
        Attribute *out = n->type->find("outTime");
        if (Slot *s = n->slot(out)) {
            s->d = time.as(MTime::uiUnit());
            s->authority = s->canonical;
            graph::changed(PlugRef{n, out, -1});
        }
    }
    return MStatus::kSuccess;
}

// ---- sets
MStatus addToSet(const MObject &set, const MObject &member, bool forceElement,
                 MObjectArray *leftSets) {
    Node *s = asNode(set);
    Node *m = asNode(member);
    if (!s || !m || !s->hasFn(MFn::kSet) || !s->inScene || !m->inScene)
        return fail(MStatus::kInvalidParameter, kIncompatibleObject);
    if (forceElement && s->hasFn(MFn::kShadingEngine)) {
        for (const MObject &o : state().nodes) {
            Node *other = asNode(o);
            if (other == s || !other->hasFn(MFn::kShadingEngine))
                continue;
            auto it = std::find(other->members.begin(), other->members.end(), member);
            if (it != other->members.end()) {
                other->members.erase(it);
                if (leftSets)
                    leftSets->append(o);
            }
        }
    }
    if (std::find(s->members.begin(), s->members.end(), member) == s->members.end())
        s->members.push_back(member);
    return MStatus::kSuccess;
}

MStatus removeFromSet(const MObject &set, const MObject &member) {
    Node *s = asNode(set);
    if (!s)
        return fail(MStatus::kInvalidParameter, kIncompatibleObject);
    auto it = std::find(s->members.begin(), s->members.end(), member);
    if (it == s->members.end())
        return MStatus(MStatus::kNotFound);
    s->members.erase(it);
    return MStatus::kSuccess;
}

MObjectArray setMembers(const MObject &set) {
    MObjectArray out;
    if (Node *s = asNode(set))
        for (const MObject &m : s->members)
            out.append(m);
    return out;
}

bool isSetMember(const MObject &set, const MObject &member) {
    Node *s = asNode(set);
    return s && std::find(s->members.begin(), s->members.end(), member) != s->members.end();
}

// ---- commands
const CommandEntry *findCommand(const MString &name) {
    for (const auto &c : Registry::get().commands)
        if (c.name == name)
            return &c;
    return nullptr;
}

MStringArray commandNames() {
    MStringArray out;
    for (const auto &c : Registry::get().commands)
        out.append(c.name);
    return out;
}

// ---- plug-ins
MObject createPluginObject(const MString &name, const MString &path) {
    PluginObject *p = new PluginObject;
    p->name = name.asChar();
    p->path = path.asChar();
    MObject obj = Access::wrap(p);
    Registry::get().plugins.push_back(obj);
    return obj;
}

MObject findPluginObject(const MString &name) {
    for (const MObject &o : Registry::get().plugins)
        if (PluginObject *p = Access::as<PluginObject>(o); p && p->name == name.asChar())
            return o;
    return MObject();
}

MStringArray pluginNames() {
    MStringArray out;
    for (const MObject &o : Registry::get().plugins)
        if (PluginObject *p = Access::as<PluginObject>(o))
            out.append(p->name.c_str());
    return out;
}

void forgetPlugin(const MObject &plugin) {
    Registry &r = Registry::get();
    for (const auto &t : r.types())
        if (t->registered && t->plugin == plugin)
            r.deregisterType(t.get());
    auto &cmds = r.commands;
    cmds.erase(std::remove_if(cmds.begin(), cmds.end(),
                              [&](const CommandEntry &c) { return c.plugin == plugin; }),
               cmds.end());
    auto &pl = r.plugins;
    pl.erase(std::remove(pl.begin(), pl.end(), plugin), pl.end());
    if (PluginObject *p = Access::as<PluginObject>(plugin))
        p->loaded = false;
}

// ---- whole scene
void resetScene() {
    ensure();
    for (void (*hook)() : graph::state().resetHooks)
        hook();
    auto &st = graph::state();
    st.connections.clear();
    for (const MObject &o : st.nodes) {
        Node *n = asNode(o);
        n->inScene = false;
        n->parents.clear();
        n->children.clear();
        n->members.clear();
    }
    st.nodes.clear();
    st.time = MTime(1.0, MTime::kFilm);
    createNode("time", "time1");
    createNode("shadingEngine", "initialShadingGroup");
}

void addResetHook(void (*hook)()) {
    graph::state().resetHooks.push_back(hook);
}

} // namespace scene
} // namespace kelphost
