// MObject, MFnBase, MPxNode.
#include <maya/MDataBlock.h>
#include <maya/MFnBase.h>
#include <maya/MObject.h>
#include <maya/MPlugArray.h>
#include <maya/MPxNode.h>

#include "../core/Access.h"
#include "../core/StatusText.h"
#include "Graph.h"
#include "Registry.h"

using kelphost::Access;

OPENMAYA_MAJOR_NAMESPACE_OPEN

// ---- MObject
MObject MObject::kNullObj;

MObject::MObject() : ptr(nullptr) {}
MObject::MObject(const MObject &o) : ptr(o.ptr) {
    if (ptr)
        ptr->ref();
}
MObject::~MObject() {
    if (ptr)
        ptr->unref();
}
MObject &MObject::operator=(const MObject &o) {
    if (o.ptr)
        o.ptr->ref();
    if (ptr)
        ptr->unref();
    ptr = o.ptr;
    return *this;
}
bool MObject::hasFn(MFn::Type fs) const {
    return ptr && ptr->hasFn(fs);
}
bool MObject::isNull() const {
    return ptr == nullptr;
}
MFn::Type MObject::apiType() const {
    return ptr ? ptr->apiType() : MFn::kInvalid;
}
const char *MObject::apiTypeStr() const {
    return kelphost::typeString(apiType());
}
bool MObject::operator==(const MObject &o) const {
    return ptr == o.ptr;
}
bool MObject::operator!=(const MObject &o) const {
    return ptr != o.ptr;
}
const char *MObject::className() {
    return "MObject";
}

// ---- MFnBase
MFnBase::MFnBase() : fObject(), fPath(nullptr) {}
MFnBase::~MFnBase() {
    delete fPath;
}
MFn::Type MFnBase::type() const {
    return MFn::kBase;
}
bool MFnBase::hasObj(MFn::Type t) const {
    return fObject.hasFn(t);
}
bool MFnBase::hasObj(const MObject &o) const {
    return o.hasFn(type());
}
MObject MFnBase::object(MStatus *rs) const {
    kelphost::report(rs,
                     fObject.isNull() ? MStatus(MStatus::kFailure) : MStatus(MStatus::kSuccess));
    return fObject;
}
MStatus MFnBase::setObject(MObject &o) {
    return setObject(static_cast<const MObject &>(o));
}
MStatus MFnBase::setObject(const MObject &o) {
    delete fPath;
    fPath = nullptr;
    if (o.isNull() || !o.hasFn(type())) {
        fObject = MObject();
        return kelphost::fail(MStatus::kInvalidParameter, kelphost::kIncompatibleObject);
    }
    fObject = o;
    return MStatus::kSuccess;
}
const char *MFnBase::className() {
    return "MFnBase";
}

// ---- MPxNode
MObject MPxNode::message;
MObject MPxNode::isHistoricallyInteresting;
MObject MPxNode::caching;
MObject MPxNode::state;
MObject MPxNode::frozen;

MPxNode::MPxNode() : instance(nullptr) {}
MPxNode::~MPxNode() = default;
void MPxNode::postConstructor() {}
MStatus MPxNode::compute(const MPlug &, MDataBlock &) {
    return MStatus::kUnknownParameter;
}
MStatus MPxNode::setDependentsDirty(const MPlug &, MPlugArray &) {
    return MStatus::kSuccess;
}
MStatus MPxNode::connectionMade(const MPlug &, const MPlug &, bool) {
    return MStatus::kUnknownParameter;
}
MStatus MPxNode::connectionBroken(const MPlug &, const MPlug &, bool) {
    return MStatus::kUnknownParameter;
}
MStatus MPxNode::shouldSave(const MPlug &, bool &) {
    return MStatus::kUnknownParameter;
}
MPxNode::SchedulingType MPxNode::schedulingType() const {
    return kDefaultScheduling;
}
MPxNode::Type MPxNode::type() const {
    kelphost::Node *n = static_cast<kelphost::Node *>(instance);
    return n ? n->type->kind : kDependNode;
}
MTypeId MPxNode::typeId() const {
    kelphost::Node *n = static_cast<kelphost::Node *>(instance);
    return n ? n->type->id : MTypeId();
}
MString MPxNode::typeName() const {
    kelphost::Node *n = static_cast<kelphost::Node *>(instance);
    return n ? MString(n->type->name.c_str()) : MString();
}
MString MPxNode::name() const {
    kelphost::Node *n = static_cast<kelphost::Node *>(instance);
    return n ? MString(n->name.c_str()) : MString();
}
MObject MPxNode::thisMObject() const {
    return Access::wrap(instance);
}

MStatus MPxNode::addAttribute(const MObject &attr) {
    kelphost::NodeType *t = kelphost::Registry::get().initializing;
    if (!t)
        return kelphost::fail(MStatus::kFailure, kelphost::kNotInInitialize);
    return t->add(attr);
}

MStatus MPxNode::inheritAttributesFrom(const MString &parentClassName) {
    kelphost::NodeType *t = kelphost::Registry::get().initializing;
    kelphost::NodeType *parent = kelphost::Registry::get().findType(parentClassName.asChar());
    if (!t || !parent)
        return MStatus(MStatus::kFailure);
    for (const MObject &a : parent->attributes)
        if (t->indexOf(Access::as<kelphost::Attribute>(a)) < 0)
            t->add(a);
    return MStatus::kSuccess;
}

MStatus MPxNode::attributeAffects(const MObject &whenChanges, const MObject &isAffected) {
    kelphost::NodeType *t = kelphost::Registry::get().initializing;
    if (!t)
        return kelphost::fail(MStatus::kFailure, kelphost::kNotInInitialize);
    return t->addAffects(Access::as<kelphost::Attribute>(whenChanges),
                         Access::as<kelphost::Attribute>(isAffected));
}

OPENMAYA_NAMESPACE_CLOSE
