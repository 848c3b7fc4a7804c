// MDataBlock, MDataHandle, MArrayDataHandle: a node's values during compute.
#include <maya/MArrayDataHandle.h>
#include <maya/MDataBlock.h>
#include <maya/MDataHandle.h>
#include <maya/MFnStringData.h>
#include <maya/MPlug.h>

#include "../core/Access.h"
#include "../core/StatusText.h"
#include "../data/MeshGeom.h"
#include "Graph.h"

using kelphost::Access;
using kelphost::Attribute;
using kelphost::Field;
using kelphost::Node;
using kelphost::Slot;
using kelphost::graph::PlugRef;

namespace {

Slot &dummy() {
    static Slot s;
    s = Slot();
    return s;
}

Slot &slotOf(const MDataHandle &h, Field f) {
    Slot *s = Access::slot(h);
    if (!s)
        return dummy();
    if (s->numeric())
        s->moveTo(f);
    return *s;
}

const Attribute *childAttr(const MDataHandle &h) {
    const Attribute *a = static_cast<const Attribute *>(Access::handleAttr(h));
    return a && a->parent ? a : nullptr;
}

MStatus bad() {
    return kelphost::fail(MStatus::kInvalidParameter, kelphost::kIncompatibleObject);
}

PlugRef plugRef(kelphost::Object *node, const MObject &attr, int index) {
    PlugRef r;
    Node *n = static_cast<Node *>(node);
    Attribute *a = Access::as<Attribute>(attr);
    if (n && a && n->type->indexOf(a) >= 0) {
        r.node = n;
        r.attr = a;
        r.index = a->array ? index : -1;
    }
    return r;
}

MDataHandle handleFor(const PlugRef &r, bool evaluate, MStatus *rs) {
    if (!r.valid()) {
        kelphost::report(rs,
                         kelphost::fail(MStatus::kInvalidParameter, kelphost::kAttributeNotFound));
        return MDataHandle();
    }
    Slot *s = evaluate ? kelphost::graph::pull(r) : kelphost::graph::peek(r);
    kelphost::report(rs, MStatus::kSuccess);
    return Access::handle(s, r.node, const_cast<Attribute *>(r.attr));
}

} // namespace

OPENMAYA_MAJOR_NAMESPACE_OPEN

// ---- MDataBlock
MDataBlock::MDataBlock(void *ptr) : fNode(static_cast<kelphost::Object *>(ptr)) {}
MDataBlock::~MDataBlock() = default;

MDataHandle MDataBlock::inputValue(const MPlug &plug, MStatus *rs) {
    PlugRef r = kelphost::graph::resolve(plug);
    if (r.node != fNode)
        r = PlugRef();
    return handleFor(r, true, rs);
}
MDataHandle MDataBlock::inputValue(const MObject &attr, MStatus *rs) {
    return handleFor(plugRef(fNode, attr, -1), true, rs);
}
MDataHandle MDataBlock::outputValue(const MPlug &plug, MStatus *rs) {
    PlugRef r = kelphost::graph::resolve(plug);
    if (r.node != fNode)
        r = PlugRef();
    return handleFor(r, false, rs);
}
MDataHandle MDataBlock::outputValue(const MObject &attr, MStatus *rs) {
    return handleFor(plugRef(fNode, attr, -1), false, rs);
}
static MArrayDataHandle arrayHandle(kelphost::Object *node, const PlugRef &r, bool input,
                                    MStatus *rs) {
    if (!r.valid() || !r.attr->array || r.node != node) {
        kelphost::report(rs,
                         kelphost::fail(MStatus::kInvalidParameter, kelphost::kAttributeNotFound));
        return Access::arrayHandle(nullptr, nullptr, input);
    }
    if (input)
        kelphost::graph::pull(PlugRef{r.node, r.attr, -1});
    kelphost::report(rs, MStatus::kSuccess);
    return Access::arrayHandle(r.node, const_cast<Attribute *>(r.attr), input);
}
MArrayDataHandle MDataBlock::inputArrayValue(const MPlug &plug, MStatus *rs) {
    return arrayHandle(fNode, kelphost::graph::resolve(plug), true, rs);
}
MArrayDataHandle MDataBlock::inputArrayValue(const MObject &attr, MStatus *rs) {
    return arrayHandle(fNode, plugRef(fNode, attr, -1), true, rs);
}
MArrayDataHandle MDataBlock::outputArrayValue(const MPlug &plug, MStatus *rs) {
    return arrayHandle(fNode, kelphost::graph::resolve(plug), false, rs);
}
MArrayDataHandle MDataBlock::outputArrayValue(const MObject &attr, MStatus *rs) {
    return arrayHandle(fNode, plugRef(fNode, attr, -1), false, rs);
}
MStatus MDataBlock::setClean(const MPlug &plug) {
    PlugRef r = kelphost::graph::resolve(plug);
    Slot *s = r.node == fNode ? kelphost::graph::peek(r) : nullptr;
    if (!s)
        return bad();
    s->dirty = false;
    return MStatus::kSuccess;
}
MStatus MDataBlock::setClean(const MObject &attr) {
    Slot *s = kelphost::graph::peek(plugRef(fNode, attr, -1));
    if (!s)
        return bad();
    s->dirty = false;
    return MStatus::kSuccess;
}
bool MDataBlock::isClean(const MPlug &plug) {
    PlugRef r = kelphost::graph::resolve(plug);
    Slot *s = r.node == fNode ? kelphost::graph::peek(r) : nullptr;
    return s && !s->dirty;
}
bool MDataBlock::isClean(const MObject &attr, MStatus *rs) {
    Slot *s = kelphost::graph::peek(plugRef(fNode, attr, -1));
    kelphost::report(rs, s ? MStatus(MStatus::kSuccess) : bad());
    return s && !s->dirty;
}
MDGContext MDataBlock::context(MStatus *rs) {
    kelphost::report(rs, MStatus::kSuccess);
    return MDGContext::fsNormal;
}
MStatus MDataBlock::setContext(const MDGContext &) {
    return MStatus::kSuccess;
}

// ---- MDataHandle
MDataHandle::MDataHandle() : fSlot(nullptr), fNode(nullptr), fAttr(nullptr) {}
MDataHandle::MDataHandle(const MDataHandle &o) = default;
MDataHandle &MDataHandle::operator=(const MDataHandle &o) = default;

bool MDataHandle::isNumeric() const {
    return fSlot && fSlot->numeric();
}
bool MDataHandle::isGeneric(bool &isNumeric, bool &isNull) const {
    isNumeric = this->isNumeric();
    isNull = !fSlot;
    return false;
}
MFnNumericData::Type MDataHandle::numericType() const {
    const Attribute *a = static_cast<const Attribute *>(fAttr);
    return a && isNumeric() ? a->numericType : MFnNumericData::kInvalid;
}
MFnData::Type MDataHandle::type() const {
    const Attribute *a = static_cast<const Attribute *>(fAttr);
    if (!a)
        return MFnData::kInvalid;
    if (isNumeric())
        return MFnData::kNumeric;
    if (a->kind == kelphost::AttrKind::Matrix)
        return MFnData::kMatrix;
    if (a->dataType == MFnData::kAny && fSlot && !fSlot->data.isNull()) {
        if (fSlot->data.hasFn(MFn::kMeshData))
            return MFnData::kMesh;
        if (fSlot->data.hasFn(MFn::kDynArrayAttrsData))
            return MFnData::kDynArrayAttrs;
        if (fSlot->data.hasFn(MFn::kStringData))
            return MFnData::kString;
    }
    return a->dataType;
}
MTypeId MDataHandle::typeId() const {
    const Attribute *a = static_cast<const Attribute *>(fAttr);
    return a ? a->dataTypeId : MTypeId();
}
MObject MDataHandle::attribute() {
    return Access::wrap(fAttr);
}
MObject MDataHandle::data() {
    if (!fSlot)
        return MObject();
    if (fSlot->canonical == Field::String) {
        MFnStringData fn;
        return fn.create(fSlot->str);
    }
    return fSlot->data;
}
MStatus MDataHandle::copy(const MDataHandle &src) {
    if (!fSlot || !src.fSlot)
        return bad();
    fSlot->assign(*src.fSlot);
    return MStatus::kSuccess;
}
void MDataHandle::setClean() {
    if (fSlot)
        fSlot->dirty = false;
}

bool &MDataHandle::asBool() const {
    return slotOf(*this, Field::Bool).b;
}
char &MDataHandle::asChar() const {
    return slotOf(*this, Field::Char).c;
}
unsigned char &MDataHandle::asUChar() const {
    return slotOf(*this, Field::UChar).uc;
}
short &MDataHandle::asShort() const {
    return slotOf(*this, Field::Short).s;
}
int &MDataHandle::asLong() const {
    return asInt();
}
int &MDataHandle::asInt() const {
    return slotOf(*this, Field::Int).i;
}
MInt64 &MDataHandle::asInt64() const {
    return slotOf(*this, Field::Int64).l;
}
void *&MDataHandle::asAddr() const {
    return slotOf(*this, Field::Addr).addr;
}
float &MDataHandle::asFloat() const {
    if (const Attribute *c = childAttr(*this))
        return slotOf(*this, Field::Float3).f3[c->childIndex];
    return slotOf(*this, Field::Float).f;
}
double &MDataHandle::asDouble() const {
    if (const Attribute *c = childAttr(*this))
        return slotOf(*this, Field::Double3).d3[c->childIndex];
    return slotOf(*this, Field::Double).d;
}
MDistance MDataHandle::asDistance() const {
    return MDistance(slotOf(*this, Field::Double).d);
}
MAngle MDataHandle::asAngle() const {
    return MAngle(slotOf(*this, Field::Double).d);
}
MTime MDataHandle::asTime() const {
    return MTime(slotOf(*this, Field::Double).d, MTime::uiUnit());
}
short2 &MDataHandle::asShort2() const {
    return slotOf(*this, Field::Short2).s2;
}
int2 &MDataHandle::asInt2() const {
    return slotOf(*this, Field::Int2).i2;
}
float2 &MDataHandle::asFloat2() const {
    return slotOf(*this, Field::Float2).f2;
}
double2 &MDataHandle::asDouble2() const {
    return slotOf(*this, Field::Double2).d2;
}
short3 &MDataHandle::asShort3() const {
    return slotOf(*this, Field::Short3).s3;
}
int3 &MDataHandle::asInt3() const {
    return slotOf(*this, Field::Int3).i3;
}
float3 &MDataHandle::asFloat3() const {
    return slotOf(*this, Field::Float3).f3;
}
double3 &MDataHandle::asDouble3() const {
    return slotOf(*this, Field::Double3).d3;
}
MVector &MDataHandle::asVector() const {
    return slotOf(*this, Field::Vector).vec;
}
MFloatVector &MDataHandle::asFloatVector() const {
    return slotOf(*this, Field::FloatVector).fvec;
}
MMatrix &MDataHandle::asMatrix() const {
    return slotOf(*this, Field::Matrix).matrix;
}
MFloatMatrix &MDataHandle::asFloatMatrix() const {
    Slot &s = slotOf(*this, Field::Matrix);
    s.fmatrix = MFloatMatrix(s.matrix.matrix);
    return s.fmatrix;
}
MString &MDataHandle::asString() const {
    Slot &s = slotOf(*this, Field::String);
    if (s.canonical != Field::String) {
        static MString none;
        none.clear();
        return none;
    }
    return s.str;
}
MObject MDataHandle::asMesh() const {
    if (!fSlot || !fSlot->data.hasFn(MFn::kMeshData))
        return MObject();
    return fSlot->data;
}
MObject MDataHandle::asMeshTransformed() const {
    if (!fSlot || !fSlot->data.hasFn(MFn::kMeshData))
        return MObject();
    return kelphost::transformedMeshData(fSlot->data);
}
const MMatrix &MDataHandle::geometryTransformMatrix() const {
    if (fSlot)
        if (kelphost::MeshData *d = Access::as<kelphost::MeshData>(fSlot->data))
            return d->matrix;
    return MMatrix::identity;
}
MPxData *MDataHandle::asPluginData() const {
    return nullptr;
}

namespace {
void setNums(const MDataHandle &h, double a, double b, double c, int n) {
    Slot *s = Access::slot(h);
    if (!s || !s->numeric())
        return;
    const Attribute *child = childAttr(h);
    double v[4] = {a, b, c, 0};
    if (child) {
        double all[4];
        int count = s->get(all);
        all[child->childIndex] = a;
        s->set(all, count);
        return;
    }
    s->set(v, n);
}
} // namespace

void MDataHandle::set(bool v) {
    setNums(*this, v ? 1 : 0, 0, 0, 1);
}
void MDataHandle::set(char v) {
    setNums(*this, v, 0, 0, 1);
}
void MDataHandle::set(short v) {
    setNums(*this, v, 0, 0, 1);
}
void MDataHandle::set(int v) {
    setNums(*this, v, 0, 0, 1);
}
void MDataHandle::set(MInt64 v) {
    setNums(*this, static_cast<double>(v), 0, 0, 1);
}
void MDataHandle::set(float v) {
    setNums(*this, v, 0, 0, 1);
}
void MDataHandle::set(double v) {
    setNums(*this, v, 0, 0, 1);
}
void MDataHandle::set(const MMatrix &m) {
    if (fSlot && fSlot->canonical == Field::Matrix)
        fSlot->matrix = m;
}
void MDataHandle::set(const MFloatMatrix &m) {
    if (fSlot && fSlot->canonical == Field::Matrix)
        fSlot->matrix = MMatrix(m.matrix);
}
void MDataHandle::set(const MVector &v) {
    setNums(*this, v.x, v.y, v.z, 3);
}
void MDataHandle::set(const MFloatVector &v) {
    setNums(*this, v.x, v.y, v.z, 3);
}
void MDataHandle::set(const MDistance &v) {
    setNums(*this, v.asCentimeters(), 0, 0, 1);
}
void MDataHandle::set(const MAngle &v) {
    setNums(*this, v.asRadians(), 0, 0, 1);
}
void MDataHandle::set(const MTime &v) {
    setNums(*this, v.as(MTime::uiUnit()), 0, 0, 1);
}
void MDataHandle::set(short a, short b) {
    setNums(*this, a, b, 0, 2);
}
void MDataHandle::set(int a, int b) {
    setNums(*this, a, b, 0, 2);
}
void MDataHandle::set(float a, float b) {
    setNums(*this, a, b, 0, 2);
}
void MDataHandle::set(double a, double b) {
    setNums(*this, a, b, 0, 2);
}
void MDataHandle::set(short a, short b, short c) {
    setNums(*this, a, b, c, 3);
}
void MDataHandle::set(int a, int b, int c) {
    setNums(*this, a, b, c, 3);
}
void MDataHandle::set(float a, float b, float c) {
    setNums(*this, a, b, c, 3);
}
void MDataHandle::set(double a, double b, double c) {
    setNums(*this, a, b, c, 3);
}
void MDataHandle::set(const MString &v) {
    if (fSlot && fSlot->canonical == Field::String)
        fSlot->str = v;
}
MStatus MDataHandle::set(const MObject &data) {
    const Attribute *a = static_cast<const Attribute *>(fAttr);
    if (!fSlot || !a || data.isNull() || !data.hasFn(MFn::kData))
        return bad();
    if (fSlot->canonical == Field::String) {
        if (!data.hasFn(MFn::kStringData))
            return bad();
        MFnStringData fn(data);
        fSlot->str = fn.string();
    } else if (fSlot->canonical == Field::Data) {
        MFnData::Type want = a->dataType;
        bool ok = want == MFnData::kAny || want == MFnData::kPlugin ||
                  (want == MFnData::kMesh && data.hasFn(MFn::kMeshData)) ||
                  (want == MFnData::kDynArrayAttrs && data.hasFn(MFn::kDynArrayAttrsData)) ||
                  (want == MFnData::kNumeric && data.hasFn(MFn::kNumericData));
        if (!ok)
            return bad();
        fSlot->data = data;
    } else {
        return bad();
    }
    fSlot->dirty = false;
    return MStatus::kSuccess;
}
MStatus MDataHandle::set(MPxData *) {
    return MStatus(MStatus::kNotImplemented);
}

void MDataHandle::setBool(bool v) {
    set(v);
}
void MDataHandle::setChar(char v) {
    set(v);
}
void MDataHandle::setShort(short v) {
    set(v);
}
void MDataHandle::setInt(int v) {
    set(v);
}
void MDataHandle::setInt64(MInt64 v) {
    set(v);
}
void MDataHandle::setFloat(float v) {
    set(v);
}
void MDataHandle::setDouble(double v) {
    set(v);
}
void MDataHandle::setMMatrix(const MMatrix &v) {
    set(v);
}
void MDataHandle::setMVector(const MVector &v) {
    set(v);
}
void MDataHandle::setMTime(const MTime &v) {
    set(v);
}
void MDataHandle::setString(const MString &v) {
    set(v);
}
MStatus MDataHandle::setMObject(const MObject &v) {
    return set(v);
}

MDataHandle MDataHandle::child(const MObject &attribute) {
    Attribute *c = Access::as<Attribute>(attribute);
    if (!fSlot || !c || c->parent != static_cast<const Attribute *>(fAttr))
        return MDataHandle();
    return Access::handle(fSlot, fNode, c);
}

// ---- MArrayDataHandle
MArrayDataHandle::MArrayDataHandle()
    : fNode(nullptr), fAttr(nullptr), fPosition(0), fInput(false) {}
MArrayDataHandle::MArrayDataHandle(const MDataHandle &in, MStatus *rs)
    : fNode(Access::handleNode(in)), fAttr(Access::handleAttr(in)), fPosition(0), fInput(true) {
    const Attribute *a = static_cast<const Attribute *>(fAttr);
    kelphost::report(rs, a && a->array ? MStatus(MStatus::kSuccess) : bad());
}
MArrayDataHandle::MArrayDataHandle(const MArrayDataHandle &o) = default;
MArrayDataHandle &MArrayDataHandle::operator=(const MArrayDataHandle &o) = default;
MArrayDataHandle::~MArrayDataHandle() = default;

static std::vector<unsigned> indicesOf(kelphost::Object *node, kelphost::Object *attr) {
    if (!node || !attr)
        return {};
    return kelphost::graph::elementIndices(static_cast<Node *>(node),
                                           static_cast<Attribute *>(attr));
}

MDataHandle MArrayDataHandle::inputValue(MStatus *rs) {
    std::vector<unsigned> idx = indicesOf(fNode, fAttr);
    if (fPosition >= idx.size()) {
        kelphost::report(rs, kelphost::fail(MStatus::kInvalidParameter, kelphost::kNoElement));
        return MDataHandle();
    }
    PlugRef r{static_cast<Node *>(fNode), static_cast<Attribute *>(fAttr),
              static_cast<int>(idx[fPosition])};
    return handleFor(r, true, rs);
}
MDataHandle MArrayDataHandle::outputValue(MStatus *rs) {
    std::vector<unsigned> idx = indicesOf(fNode, fAttr);
    if (fPosition >= idx.size()) {
        kelphost::report(rs, kelphost::fail(MStatus::kInvalidParameter, kelphost::kNoElement));
        return MDataHandle();
    }
    PlugRef r{static_cast<Node *>(fNode), static_cast<Attribute *>(fAttr),
              static_cast<int>(idx[fPosition])};
    return handleFor(r, false, rs);
}
MStatus MArrayDataHandle::jumpToElement(unsigned int index) {
    std::vector<unsigned> idx = indicesOf(fNode, fAttr);
    for (unsigned i = 0; i < idx.size(); ++i)
        if (idx[i] == index) {
            fPosition = i;
            return MStatus::kSuccess;
        }
    return kelphost::fail(MStatus::kInvalidParameter, kelphost::kNoElement);
}
MStatus MArrayDataHandle::jumpToArrayElement(unsigned int position) {
    if (position >= indicesOf(fNode, fAttr).size())
        return kelphost::fail(MStatus::kInvalidParameter, kelphost::kNoElement);
    fPosition = position;
    return MStatus::kSuccess;
}
MStatus MArrayDataHandle::next() {
    if (fPosition + 1 >= indicesOf(fNode, fAttr).size()) {
        fPosition = static_cast<unsigned>(indicesOf(fNode, fAttr).size());
        return MStatus::kFailure;
    }
    ++fPosition;
    return MStatus::kSuccess;
}
unsigned int MArrayDataHandle::elementCount(MStatus *rs) {
    kelphost::report(rs, fAttr ? MStatus(MStatus::kSuccess) : bad());
    return static_cast<unsigned>(indicesOf(fNode, fAttr).size());
}
unsigned int MArrayDataHandle::elementIndex(MStatus *rs) {
    std::vector<unsigned> idx = indicesOf(fNode, fAttr);
    if (fPosition >= idx.size()) {
        kelphost::report(rs, kelphost::fail(MStatus::kFailure, kelphost::kNoElement));
        return 0;
    }
    kelphost::report(rs, MStatus::kSuccess);
    return idx[fPosition];
}
MStatus MArrayDataHandle::setAllClean() {
    Node *n = static_cast<Node *>(fNode);
    if (!n)
        return bad();
    if (Node::Value *v = n->value(static_cast<Attribute *>(fAttr))) {
        v->slot.dirty = false;
        for (auto &e : v->elements)
            e.second.dirty = false;
    }
    return MStatus::kSuccess;
}
MStatus MArrayDataHandle::setClean() {
    Node *n = static_cast<Node *>(fNode);
    if (!n)
        return bad();
    if (Node::Value *v = n->value(static_cast<Attribute *>(fAttr)))
        v->slot.dirty = false;
    return MStatus::kSuccess;
}

OPENMAYA_NAMESPACE_CLOSE
