// MDagPath, graph side (shape extension and instance numbers are the
// selection side's, host/src/selection).
#include <maya/MDagPath.h>
#include <maya/MDagPathArray.h>

#include "../core/Access.h"
#include "../core/StatusText.h"
#include "../nodes/Builtins.h"
#include "Graph.h"

#include <functional>
#include <string>
#include <vector>

using kelphost::Access;
using kelphost::Node;

namespace {

std::vector<MObject> &N(void *p) {
    return *static_cast<std::vector<MObject> *>(p);
}
Node *nodeAt(const std::vector<MObject> &v, size_t i) {
    return Access::as<Node>(v[i]);
}

void pathsTo(Node *n, std::vector<std::vector<MObject>> &out) {
    if (n->parents.empty()) {
        out.push_back({kelphost::graph::nodeObject(n)});
        return;
    }
    for (Node *p : n->parents) {
        std::vector<std::vector<MObject>> above;
        pathsTo(p, above);
        for (auto &path : above) {
            path.push_back(kelphost::graph::nodeObject(n));
            out.push_back(path);
        }
    }
}

MStatus invalid() {
    return kelphost::fail(MStatus::kInvalidParameter, kelphost::kIncompatibleObject);
}

} // namespace

OPENMAYA_MAJOR_NAMESPACE_OPEN

MDagPath::MDagPath() : fNodes(new std::vector<MObject>) {}
MDagPath::MDagPath(const MDagPath &o) : fNodes(new std::vector<MObject>(N(o.fNodes))) {}
MDagPath::~MDagPath() {
    delete static_cast<std::vector<MObject> *>(fNodes);
}
MDagPath &MDagPath::operator=(const MDagPath &o) {
    if (this != &o)
        N(fNodes) = N(o.fNodes);
    return *this;
}
MStatus MDagPath::set(const MDagPath &o) {
    *this = o;
    return MStatus::kSuccess;
}
bool MDagPath::operator==(const MDagPath &o) const {
    return N(fNodes) == N(o.fNodes);
}

MStatus MDagPath::getAPathTo(const MObject &node, MDagPath &path) {
    Node *n = Access::as<Node>(node);
    if (!n || !n->type->dag)
        return invalid();
    std::vector<MObject> nodes;
    for (Node *cur = n; cur; cur = cur->parents.empty() ? nullptr : cur->parents.front())
        nodes.insert(nodes.begin(), kelphost::graph::nodeObject(cur));
    N(path.fNodes) = nodes;
    return MStatus::kSuccess;
}

MStatus MDagPath::getAllPathsTo(const MObject &node, MDagPathArray &paths) {
    paths.clear();
    Node *n = Access::as<Node>(node);
    if (!n || !n->type->dag)
        return invalid();
    std::vector<std::vector<MObject>> all;
    pathsTo(n, all);
    for (const auto &p : all) {
        MDagPath d;
        N(d.fNodes) = p;
        paths.append(d);
    }
    return MStatus::kSuccess;
}

bool MDagPath::hasFn(MFn::Type type, MStatus *rs) const {
    kelphost::report(rs, N(fNodes).empty() ? invalid() : MStatus(MStatus::kSuccess));
    return !N(fNodes).empty() && N(fNodes).back().hasFn(type);
}
MFn::Type MDagPath::apiType(MStatus *rs) const {
    kelphost::report(rs, N(fNodes).empty() ? invalid() : MStatus(MStatus::kSuccess));
    return N(fNodes).empty() ? MFn::kInvalid : N(fNodes).back().apiType();
}
bool MDagPath::isValid(MStatus *rs) const {
    kelphost::report(rs, MStatus::kSuccess);
    const std::vector<MObject> &v = N(fNodes);
    if (v.empty())
        return false;
    for (size_t i = 0; i < v.size(); ++i) {
        Node *n = nodeAt(v, i);
        if (!n || !n->inScene)
            return false;
        if (i > 0) {
            Node *p = nodeAt(v, i - 1);
            bool linked = false;
            for (Node *q : n->parents)
                linked = linked || q == p;
            if (!linked)
                return false;
        } else if (!n->parents.empty()) {
            return false;
        }
    }
    return true;
}
MObject MDagPath::node(MStatus *rs) const {
    kelphost::report(rs, N(fNodes).empty() ? invalid() : MStatus(MStatus::kSuccess));
    return N(fNodes).empty() ? MObject() : N(fNodes).back();
}
MObject MDagPath::transform(MStatus *rs) const {
    const std::vector<MObject> &v = N(fNodes);
    for (size_t i = v.size(); i-- > 0;)
        if (v[i].hasFn(MFn::kTransform)) {
            kelphost::report(rs, MStatus::kSuccess);
            return v[i];
        }
    kelphost::report(rs, invalid());
    return MObject();
}
unsigned int MDagPath::length(MStatus *rs) const {
    kelphost::report(rs, MStatus::kSuccess);
    return static_cast<unsigned>(N(fNodes).size());
}
MStatus MDagPath::push(const MObject &child) {
    Node *c = Access::as<Node>(child);
    std::vector<MObject> &v = N(fNodes);
    if (!c)
        return invalid();
    if (!v.empty()) {
        Node *last = nodeAt(v, v.size() - 1);
        bool linked = false;
        for (Node *k : last->children)
            linked = linked || k == c;
        if (!linked)
            return invalid();
    } else if (!c->parents.empty()) {
        return invalid();
    }
    v.push_back(child);
    return MStatus::kSuccess;
}
MStatus MDagPath::pop(unsigned int num) {
    std::vector<MObject> &v = N(fNodes);
    if (num > v.size())
        return invalid();
    v.resize(v.size() - num);
    return MStatus::kSuccess;
}
unsigned int MDagPath::childCount(MStatus *rs) const {
    const std::vector<MObject> &v = N(fNodes);
    kelphost::report(rs, v.empty() ? invalid() : MStatus(MStatus::kSuccess));
    return v.empty() ? 0 : static_cast<unsigned>(nodeAt(v, v.size() - 1)->children.size());
}
MObject MDagPath::child(unsigned int i, MStatus *rs) const {
    const std::vector<MObject> &v = N(fNodes);
    if (v.empty() || i >= nodeAt(v, v.size() - 1)->children.size()) {
        kelphost::report(rs, invalid());
        return MObject();
    }
    kelphost::report(rs, MStatus::kSuccess);
    return kelphost::graph::nodeObject(nodeAt(v, v.size() - 1)->children[i]);
}

MMatrix MDagPath::inclusiveMatrix(MStatus *rs) const {
    const std::vector<MObject> &v = N(fNodes);
    MMatrix m;
    for (size_t i = v.size(); i-- > 0;)
        m = m * kelphost::localMatrix(nodeAt(v, i));
    kelphost::report(rs, v.empty() ? invalid() : MStatus(MStatus::kSuccess));
    return m;
}
MMatrix MDagPath::exclusiveMatrix(MStatus *rs) const {
    const std::vector<MObject> &v = N(fNodes);
    MMatrix m;
    for (size_t i = v.size() > 0 ? v.size() - 1 : 0; i-- > 0;)
        m = m * kelphost::localMatrix(nodeAt(v, i));
    kelphost::report(rs, v.empty() ? invalid() : MStatus(MStatus::kSuccess));
    return m;
}
MMatrix MDagPath::inclusiveMatrixInverse(MStatus *rs) const {
    return inclusiveMatrix(rs).inverse();
}
MString MDagPath::fullPathName(MStatus *rs) const {
    std::string s;
    for (size_t i = 0; i < N(fNodes).size(); ++i)
        s += "|" + nodeAt(N(fNodes), i)->name;
    kelphost::report(rs, MStatus::kSuccess);
    return MString(s.c_str());
}
MString MDagPath::partialPathName(MStatus *rs) const {
    kelphost::report(rs, MStatus::kSuccess);
    const std::vector<MObject> &v = N(fNodes);
    return v.empty() ? MString() : MString(nodeAt(v, v.size() - 1)->name.c_str());
}

OPENMAYA_NAMESPACE_CLOSE
