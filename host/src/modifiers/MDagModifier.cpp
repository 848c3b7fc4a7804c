// MDagModifier: MDGModifier plus DAG nodes. A shape created without a parent
// gets a new transform above it, and the transform is what createNode returns.
#include "ModifierOps.h"

#include <maya/MDagModifier.h>

namespace scene = kelphost::scene;

namespace {
void setStatus(MStatus *s, const MStatus &v) {
    if (s)
        *s = v;
}
} // namespace

MDagModifier::MDagModifier() {}
MDagModifier::~MDagModifier() {}
MDagModifier::MDagModifier(const MDagModifier &other) : MDGModifier(other) {}
MDagModifier &MDagModifier::operator=(const MDagModifier &) {
    return *this;
}

MObject MDagModifier::createNode(const MTypeId &typeId, const MObject &parent,
                                 MStatus *ReturnStatus) {
    MStatus st;
    MString type = scene::typeNameOf(typeId, &st);
    if (!st) {
        setStatus(ReturnStatus, MS::kInvalidParameter);
        return MObject();
    }
    return createNode(type, parent, ReturnStatus);
}

MObject MDagModifier::createNode(const MString &type, const MObject &parent,
                                 MStatus *ReturnStatus) {
    if (!scene::typeExists(type)) {
        setStatus(ReturnStatus, MS::kInvalidParameter);
        return MObject();
    }
    kelphost::ModifierData *data = kelphost::modifierDataOf(static_cast<const MDGModifier *>(this));
    const bool dag = scene::typeIsDag(type);
    if (!parent.isNull() && (!dag || !parent.hasFn(MFn::kTransform))) {
        setStatus(ReturnStatus, MS::kInvalidParameter);
        return MObject();
    }
    MStatus st;
    MObject node = scene::makeNode(type, &st);
    if (!st) {
        setStatus(ReturnStatus, st);
        return MObject();
    }
    if (dag && parent.isNull() && scene::typeIsShape(type)) {
        MObject xform = scene::makeNode(MString("transform"), &st);
        if (!st) {
            setStatus(ReturnStatus, st);
            return MObject();
        }
        // "polySurface1", "particle1": the lowest free number replaces '#'.
        data->queue(
            kelphost::makeCreateOp(xform, MObject::kNullObj, scene::defaultParentName(type) + "#"));
        data->queue(kelphost::makeCreateOp(node, xform, MString()));
        setStatus(ReturnStatus, MS::kSuccess);
        return xform;
    }
    data->queue(kelphost::makeCreateOp(node, parent, MString()));
    setStatus(ReturnStatus, MS::kSuccess);
    return node;
}

MStatus MDagModifier::reparentNode(const MObject &node, const MObject &newParent) {
    if (node.isNull() || !node.hasFn(MFn::kDagNode))
        return MS::kInvalidParameter;
    if (!newParent.isNull() && !newParent.hasFn(MFn::kTransform))
        return MS::kInvalidParameter;
    kelphost::modifierDataOf(static_cast<const MDGModifier *>(this))
        ->queue(kelphost::makeReparentOp(node, newParent));
    return MS::kSuccess;
}
