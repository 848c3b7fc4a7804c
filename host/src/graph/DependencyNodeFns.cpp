// MFnDependencyNode and MFnDagNode.
#include <maya/MDagPathArray.h>
#include <maya/MFnDagNode.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MPlugArray.h>

#include "../Scene.h"
#include "../core/Access.h"
#include "../core/FnSet.h"
#include "../core/StatusText.h"
#include "../nodes/Builtins.h"
#include "Graph.h"
#include "Registry.h"

using kelphost::Access;
using kelphost::Attribute;
using kelphost::Node;

namespace {

Node *nodeOf(const MFnBase &fn) {
    return Access::as<Node>(Access::fnObject(fn));
}

MStatus noObject() {
    return kelphost::fail(MStatus::kFailure, kelphost::kNoObject);
}

} // namespace

OPENMAYA_MAJOR_NAMESPACE_OPEN

// ---- MFnDependencyNode
KELP_FN_COMMON(MFnDependencyNode, MFn::kDependencyNode)

MObject MFnDependencyNode::create(const MTypeId &typeId, MStatus *rs) {
    return create(typeId, MString(), rs);
}
MObject MFnDependencyNode::create(const MTypeId &typeId, const MString &name, MStatus *rs) {
    MStatus st;
    MString type = kelphost::scene::typeNameOf(typeId, &st);
    if (!st) {
        kelphost::report(rs, MStatus(MStatus::kInvalidParameter));
        return MObject();
    }
    return create(type, name, rs);
}
MObject MFnDependencyNode::create(const MString &type, MStatus *rs) {
    return create(type, MString(), rs);
}
MObject MFnDependencyNode::create(const MString &type, const MString &name, MStatus *rs) {
    if (!kelphost::scene::typeExists(type) || kelphost::scene::typeIsDag(type)) {
        kelphost::report(rs, MStatus(MStatus::kInvalidParameter));
        return MObject();
    }
    MStatus st;
    MObject node = kelphost::scene::createNode(type, name, MObject::kNullObj, nullptr, &st);
    if (st)
        st = setObject(node);
    kelphost::report(rs, st);
    return node;
}

MTypeId MFnDependencyNode::typeId(MStatus *rs) const {
    Node *n = nodeOf(*this);
    kelphost::report(rs, n ? MStatus(MStatus::kSuccess) : noObject());
    return n ? n->type->id : MTypeId();
}
MString MFnDependencyNode::typeName(MStatus *rs) const {
    Node *n = nodeOf(*this);
    kelphost::report(rs, n ? MStatus(MStatus::kSuccess) : noObject());
    return n ? MString(n->type->name.c_str()) : MString();
}
MString MFnDependencyNode::name(MStatus *rs) const {
    Node *n = nodeOf(*this);
    kelphost::report(rs, n ? MStatus(MStatus::kSuccess) : noObject());
    return n ? MString(n->name.c_str()) : MString();
}
MString MFnDependencyNode::absoluteName(MStatus *rs) const {
    return ":" + name(rs);
}
MString MFnDependencyNode::setName(const MString &newName, bool, MStatus *rs) {
    Node *n = nodeOf(*this);
    if (!n) {
        kelphost::report(rs, noObject());
        return MString();
    }
    MString given;
    MStatus st = kelphost::scene::renameNode(Access::fnObject(*this), newName, &given);
    kelphost::report(rs, st);
    return st ? given : MString(n->name.c_str());
}
MString MFnDependencyNode::setName(const MString &newName, MStatus *rs) {
    return setName(newName, false, rs);
}
MStatus MFnDependencyNode::getConnections(MPlugArray &array) const {
    array.clear();
    Node *n = nodeOf(*this);
    if (!n)
        return noObject();
    for (const auto &c : kelphost::scene::connectionsOf(Access::fnObject(*this))) {
        const MPlug &mine = kelphost::graph::resolve(c.first).node == n ? c.first : c.second;
        bool seen = false;
        for (unsigned i = 0; i < array.length(); ++i)
            seen = seen || array[i] == mine;
        if (!seen)
            array.append(mine);
    }
    return MStatus::kSuccess;
}
unsigned int MFnDependencyNode::attributeCount(MStatus *rs) const {
    Node *n = nodeOf(*this);
    kelphost::report(rs, n ? MStatus(MStatus::kSuccess) : noObject());
    return n ? static_cast<unsigned>(n->type->attributes.size()) : 0;
}
MObject MFnDependencyNode::attribute(unsigned int i, MStatus *rs) const {
    Node *n = nodeOf(*this);
    if (!n || i >= n->type->attributes.size()) {
        kelphost::report(rs, n ? MStatus(MStatus::kInvalidParameter) : noObject());
        return MObject();
    }
    kelphost::report(rs, MStatus::kSuccess);
    return n->type->attributes[i];
}
MObject MFnDependencyNode::attribute(const MString &attrName, MStatus *rs) const {
    Node *n = nodeOf(*this);
    Attribute *a = n ? n->type->find(attrName.asChar()) : nullptr;
    if (!a) {
        kelphost::report(
            rs, n ? kelphost::fail(MStatus::kInvalidParameter, kelphost::kAttributeNotFound)
                  : noObject());
        return MObject();
    }
    kelphost::report(rs, MStatus::kSuccess);
    return Access::wrap(a);
}
MFnDependencyNode::MAttrClass MFnDependencyNode::attributeClass(const MObject &attr,
                                                                MStatus *rs) const {
    Node *n = nodeOf(*this);
    bool ok = n && n->type->indexOf(Access::as<Attribute>(attr)) >= 0;
    kelphost::report(rs, ok ? MStatus(MStatus::kSuccess) : MStatus(MStatus::kInvalidParameter));
    return ok ? kNormalAttr : kInvalidAttr;
}
bool MFnDependencyNode::hasAttribute(const MString &attrName, MStatus *rs) const {
    Node *n = nodeOf(*this);
    kelphost::report(rs, n ? MStatus(MStatus::kSuccess) : noObject());
    return n && n->type->find(attrName.asChar());
}
MPlug MFnDependencyNode::findPlug(const MObject &attr, bool, MStatus *rs) const {
    Node *n = nodeOf(*this);
    Attribute *a = Access::as<Attribute>(attr);
    if (!n || !a || n->type->indexOf(a) < 0) {
        kelphost::report(
            rs, n ? kelphost::fail(MStatus::kInvalidParameter, kelphost::kAttributeNotFound)
                  : noObject());
        return MPlug();
    }
    kelphost::report(rs, MStatus::kSuccess);
    return kelphost::graph::makePlug(n, a, -1);
}
MPlug MFnDependencyNode::findPlug(const MString &attrName, bool want, MStatus *rs) const {
    Node *n = nodeOf(*this);
    Attribute *a = n ? n->type->find(attrName.asChar()) : nullptr;
    if (!a) {
        kelphost::report(
            rs, n ? kelphost::fail(MStatus::kInvalidParameter, kelphost::kAttributeNotFound)
                  : noObject());
        return MPlug();
    }
    return findPlug(Access::wrap(a), want, rs);
}
MPlug MFnDependencyNode::findPlug(const MObject &attr, MStatus *rs) const {
    return findPlug(attr, true, rs);
}
MPlug MFnDependencyNode::findPlug(const MString &attrName, MStatus *rs) const {
    return findPlug(attrName, true, rs);
}
MPxNode *MFnDependencyNode::userNode(MStatus *rs) const {
    Node *n = nodeOf(*this);
    kelphost::report(rs, n && n->user ? MStatus(MStatus::kSuccess) : MStatus(MStatus::kFailure));
    return n ? n->user : nullptr;
}
bool MFnDependencyNode::isFromReferencedFile(MStatus *rs) const {
    kelphost::report(rs, nodeOf(*this) ? MStatus(MStatus::kSuccess) : noObject());
    return false;
}
bool MFnDependencyNode::isLocked(MStatus *rs) const {
    return isFromReferencedFile(rs);
}
bool MFnDependencyNode::isShared(MStatus *rs) const {
    return isFromReferencedFile(rs);
}
bool MFnDependencyNode::isDefaultNode(MStatus *rs) const {
    Node *n = nodeOf(*this);
    kelphost::report(rs, n ? MStatus(MStatus::kSuccess) : noObject());
    return n && (n->name == "time1" || n->name == "initialShadingGroup");
}
MString MFnDependencyNode::pluginName(MStatus *rs) const {
    Node *n = nodeOf(*this);
    kelphost::report(rs, n ? MStatus(MStatus::kSuccess) : noObject());
    kelphost::PluginObject *p = n ? Access::as<kelphost::PluginObject>(n->type->plugin) : nullptr;
    return p ? MString(p->name.c_str()) : MString();
}

// ---- MFnDagNode
KELP_FN_COMMON(MFnDagNode, MFn::kDagNode)

const unsigned int MFnDagNode::kNextPos = 0xffffffffu;

MFnDagNode::MFnDagNode(const MDagPath &path, MStatus *rs) {
    MStatus st = setObject(path);
    kelphost::report(rs, st);
}
MStatus MFnDagNode::setObject(const MDagPath &path) {
    MObject node = path.node();
    MStatus st = MFnBase::setObject(node);
    if (st) {
        if (!node.hasFn(type())) {
            Access::fnObject(*this) = MObject();
            return kelphost::fail(MStatus::kInvalidParameter, kelphost::kIncompatibleObject);
        }
        Access::fnPath(*this) = new MDagPath(path);
    }
    return st;
}
MStatus MFnDagNode::setObject(MObject &o) {
    return MFnBase::setObject(o);
}
MStatus MFnDagNode::setObject(const MObject &o) {
    return MFnBase::setObject(o);
}

MObject MFnDagNode::create(const MTypeId &typeId, MObject &parent, MStatus *rs) {
    return create(typeId, MString(), parent, rs);
}
MObject MFnDagNode::create(const MTypeId &typeId, const MString &name, MObject &parent,
                           MStatus *rs) {
    MStatus st;
    MString type = kelphost::scene::typeNameOf(typeId, &st);
    if (!st) {
        kelphost::report(rs, MStatus(MStatus::kInvalidParameter));
        return MObject();
    }
    return create(type, name, parent, rs);
}
MObject MFnDagNode::create(const MString &type, MObject &parent, MStatus *rs) {
    return create(type, MString(), parent, rs);
}
MObject MFnDagNode::create(const MString &type, const MString &name, MObject &parent, MStatus *rs) {
    if (!kelphost::scene::typeIsDag(type)) {
        kelphost::report(rs, MStatus(MStatus::kInvalidParameter));
        return MObject();
    }
    MObject made;
    MStatus st;
    MObject node = kelphost::scene::createNode(type, name, parent, &made, &st);
    if (!st) {
        kelphost::report(rs, st);
        return MObject();
    }
    MObject result = made.isNull() ? node : made;
    kelphost::report(rs, setObject(result));
    return result;
}

unsigned int MFnDagNode::parentCount(MStatus *rs) const {
    Node *n = nodeOf(*this);
    kelphost::report(rs, n ? MStatus(MStatus::kSuccess) : noObject());
    return n ? static_cast<unsigned>(n->parents.size()) : 0;
}
MObject MFnDagNode::parent(unsigned int i, MStatus *rs) const {
    Node *n = nodeOf(*this);
    if (!n || i >= n->parents.size()) {
        kelphost::report(rs, n ? MStatus(MStatus::kInvalidParameter) : noObject());
        return MObject();
    }
    kelphost::report(rs, MStatus::kSuccess);
    return kelphost::graph::nodeObject(n->parents[i]);
}
MStatus MFnDagNode::addChild(MObject &child, unsigned int, bool keepExistingParents) {
    if (!nodeOf(*this))
        return noObject();
    return keepExistingParents ? kelphost::scene::addParent(child, Access::fnObject(*this))
                               : kelphost::scene::setParent(child, Access::fnObject(*this));
}
MStatus MFnDagNode::removeChild(MObject &child) {
    if (!nodeOf(*this))
        return noObject();
    return kelphost::scene::removeParent(child, Access::fnObject(*this));
}
unsigned int MFnDagNode::childCount(MStatus *rs) const {
    Node *n = nodeOf(*this);
    kelphost::report(rs, n ? MStatus(MStatus::kSuccess) : noObject());
    return n ? static_cast<unsigned>(n->children.size()) : 0;
}
MObject MFnDagNode::child(unsigned int i, MStatus *rs) const {
    Node *n = nodeOf(*this);
    if (!n || i >= n->children.size()) {
        kelphost::report(rs, n ? MStatus(MStatus::kInvalidParameter) : noObject());
        return MObject();
    }
    kelphost::report(rs, MStatus::kSuccess);
    return kelphost::graph::nodeObject(n->children[i]);
}
bool MFnDagNode::hasChild(MObject &node, MStatus *rs) const {
    Node *n = nodeOf(*this);
    kelphost::report(rs, n ? MStatus(MStatus::kSuccess) : noObject());
    if (n)
        for (Node *c : n->children)
            if (c == Access::get(node))
                return true;
    return false;
}
bool MFnDagNode::hasParent(MObject &node, MStatus *rs) const {
    Node *n = nodeOf(*this);
    kelphost::report(rs, n ? MStatus(MStatus::kSuccess) : noObject());
    if (n)
        for (Node *p : n->parents)
            if (p == Access::get(node))
                return true;
    return false;
}
bool MFnDagNode::isInstanced(bool, MStatus *rs) const {
    return instanceCount(true, rs) > 1;
}
unsigned int MFnDagNode::instanceCount(bool, MStatus *rs) const {
    Node *n = nodeOf(*this);
    kelphost::report(rs, n ? MStatus(MStatus::kSuccess) : noObject());
    if (!n)
        return 0;
    MDagPathArray paths;
    MDagPath::getAllPathsTo(Access::fnObject(*this), paths);
    return paths.length();
}
bool MFnDagNode::isIntermediateObject(MStatus *rs) const {
    kelphost::report(rs, nodeOf(*this) ? MStatus(MStatus::kSuccess) : noObject());
    return false;
}
MStatus MFnDagNode::getPath(MDagPath &path) const {
    if (!nodeOf(*this))
        return noObject();
    if (const MDagPath *p = Access::fnPath(*this)) {
        path = *p;
        return MStatus::kSuccess;
    }
    return MDagPath::getAPathTo(Access::fnObject(*this), path);
}
MDagPath MFnDagNode::dagPath(MStatus *rs) const {
    MDagPath p;
    kelphost::report(rs, getPath(p));
    return p;
}
MString MFnDagNode::fullPathName(MStatus *rs) const {
    return dagPath(rs).fullPathName();
}
MString MFnDagNode::partialPathName(MStatus *rs) const {
    return dagPath(rs).partialPathName();
}
MMatrix MFnDagNode::transformationMatrix(MStatus *rs) const {
    Node *n = nodeOf(*this);
    kelphost::report(rs, n ? MStatus(MStatus::kSuccess) : noObject());
    return n ? kelphost::localMatrix(n) : MMatrix();
}

OPENMAYA_NAMESPACE_CLOSE
