// MDGModifier: queued graph edits, performed by doIt, reversed by undoIt,
// redone by a later doIt. Nodes are made at once by createNode and enter the
// scene at doIt.
#include "LiveData.h"
#include "ModifierOps.h"

#include <maya/MDGModifier.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MPlug.h>

#include <map>

using kelphost::ModifierData;
using kelphost::PlugValue;
namespace scene = kelphost::scene;

namespace {

void setStatus(MStatus *s, const MStatus &v) {
    if (s)
        *s = v;
}

bool isNode(const MObject &node) {
    return !node.isNull() && node.hasFn(MFn::kDependencyNode);
}

MStatus queueValue(ModifierData *d, const MPlug &plug, const PlugValue &v) {
    if (plug.isNull())
        return MS::kInvalidParameter;
    d->queue(kelphost::makePlugValueOp(plug, v));
    return MS::kSuccess;
}

std::map<const void *, ModifierData *> &liveModifiers() {
    return kelphost::liveData<ModifierData>();
}

} // namespace

kelphost::ModifierData *kelphost::modifierDataOf(const void *modifier) {
    return kelphost::liveDataOf<ModifierData>(modifier);
}

MDGModifier::MDGModifier() : fData(new ModifierData) {
    liveModifiers()[this] = fData;
}

MDGModifier::~MDGModifier() {
    liveModifiers().erase(this);
    delete fData;
}

// Copying a modifier is not part of the interface (protected); a copy starts empty.
MDGModifier::MDGModifier(const MDGModifier &) : fData(new ModifierData) {
    liveModifiers()[this] = fData;
}
MDGModifier &MDGModifier::operator=(const MDGModifier &) {
    return *this;
}

MObject MDGModifier::createNode(const MTypeId &typeId, MStatus *ReturnStatus) {
    MStatus st;
    MString type = scene::typeNameOf(typeId, &st);
    if (!st) {
        setStatus(ReturnStatus, MS::kInvalidParameter);
        return MObject();
    }
    return createNode(type, ReturnStatus);
}

MObject MDGModifier::createNode(const MString &type, MStatus *ReturnStatus) {
    if (!scene::typeExists(type) || scene::typeIsDag(type)) {
        setStatus(ReturnStatus, MS::kInvalidParameter);
        return MObject();
    }
    MStatus st;
    MObject node = scene::makeNode(type, &st);
    if (!st) {
        setStatus(ReturnStatus, st);
        return MObject();
    }
    fData->queue(kelphost::makeCreateOp(node, MObject::kNullObj, MString()));
    setStatus(ReturnStatus, MS::kSuccess);
    return node;
}

MStatus MDGModifier::deleteNode(const MObject &node) {
    if (!isNode(node))
        return MS::kInvalidParameter;
    fData->queue(kelphost::makeDeleteOp(node));
    return MS::kSuccess;
}

MStatus MDGModifier::renameNode(const MObject &node, const MString &newName) {
    if (!isNode(node) || newName.length() == 0)
        return MS::kInvalidParameter;
    fData->queue(kelphost::makeRenameOp(node, newName));
    return MS::kSuccess;
}

MStatus MDGModifier::connect(const MObject &sourceNode, const MObject &sourceAttr,
                             const MObject &destNode, const MObject &destAttr) {
    return connect(MPlug(sourceNode, sourceAttr), MPlug(destNode, destAttr));
}

MStatus MDGModifier::connect(const MPlug &source, const MPlug &dest) {
    if (source.isNull() || dest.isNull())
        return MS::kInvalidParameter;
    fData->queue(kelphost::makeConnectOp(source, dest, true));
    return MS::kSuccess;
}

MStatus MDGModifier::disconnect(const MObject &sourceNode, const MObject &sourceAttr,
                                const MObject &destNode, const MObject &destAttr) {
    return disconnect(MPlug(sourceNode, sourceAttr), MPlug(destNode, destAttr));
}

MStatus MDGModifier::disconnect(const MPlug &source, const MPlug &dest) {
    if (source.isNull() || dest.isNull())
        return MS::kInvalidParameter;
    fData->queue(kelphost::makeConnectOp(source, dest, false));
    return MS::kSuccess;
}

MStatus MDGModifier::commandToExecute(const MString &command) {
    if (command.length() == 0)
        return MS::kInvalidParameter;
    fData->queue(kelphost::makeScriptOp(command));
    return MS::kSuccess;
}

// The stand-in has no Python.
MStatus MDGModifier::pythonCommandToExecute(const MString &) {
    return MS::kNotImplemented;
}

MStatus MDGModifier::newPlugValue(const MPlug &plug, MObject &plugValue) {
    PlugValue v;
    v.kind = PlugValue::kObject;
    v.object = plugValue;
    return queueValue(fData, plug, v);
}

MStatus MDGModifier::newPlugValueBool(const MPlug &plug, bool plugValue) {
    PlugValue v;
    v.kind = PlugValue::kBool;
    v.number = plugValue ? 1 : 0;
    return queueValue(fData, plug, v);
}

MStatus MDGModifier::newPlugValueShort(const MPlug &plug, short plugValue) {
    PlugValue v;
    v.kind = PlugValue::kShort;
    v.number = plugValue;
    return queueValue(fData, plug, v);
}

MStatus MDGModifier::newPlugValueInt(const MPlug &plug, int plugValue) {
    PlugValue v;
    v.kind = PlugValue::kInt;
    v.number = plugValue;
    return queueValue(fData, plug, v);
}

MStatus MDGModifier::newPlugValueFloat(const MPlug &plug, float plugValue) {
    PlugValue v;
    v.kind = PlugValue::kFloat;
    v.number = plugValue;
    return queueValue(fData, plug, v);
}

MStatus MDGModifier::newPlugValueDouble(const MPlug &plug, double plugValue) {
    PlugValue v;
    v.kind = PlugValue::kDouble;
    v.number = plugValue;
    return queueValue(fData, plug, v);
}

MStatus MDGModifier::newPlugValueString(const MPlug &plug, const MString &plugValue) {
    PlugValue v;
    v.kind = PlugValue::kString;
    v.text = plugValue;
    return queueValue(fData, plug, v);
}

MStatus MDGModifier::newPlugValueMTime(const MPlug &plug, const MTime &plugValue) {
    PlugValue v;
    v.kind = PlugValue::kTime;
    v.time = plugValue;
    return queueValue(fData, plug, v);
}

MStatus MDGModifier::doIt() {
    return fData->doIt();
}
MStatus MDGModifier::undoIt() {
    return fData->undoIt();
}
