// MPlug: names, elements, children, connections and values of a node's
// attributes. Reading a value evaluates; setting one dirties downstream.
#include <maya/MFnStringData.h>
#include <maya/MIntArray.h>
#include <maya/MPlug.h>
#include <maya/MPlugArray.h>

#include "../Scene.h"
#include "../core/Access.h"
#include "../core/StatusText.h"
#include "Graph.h"

using kelphost::Access;
using kelphost::Attribute;
using kelphost::Slot;
using kelphost::graph::PlugRef;

namespace {

PlugRef ref(const MPlug &p) {
    return kelphost::graph::resolve(p);
}

MStatus bad() {
    return kelphost::fail(MStatus::kInvalidParameter, kelphost::kIncompatibleObject);
}

// The evaluated numbers of a plug: one for a child or scalar, up to four for a tuple.
MStatus numbers(const MPlug &p, double out[4], int *count) {
    PlugRef r = ref(p);
    if (!r.valid() || (r.attr->array && r.index < 0))
        return bad();
    Slot *s = kelphost::graph::pull(r);
    if (!s || !s->numeric())
        return bad();
    int n = s->get(out);
    if (r.attr->parent) {
        int k = r.attr->childIndex;
        out[0] = k >= 0 && k < 4 ? out[k] : 0;
        n = 1;
    }
    if (count)
        *count = n;
    return MStatus::kSuccess;
}

MStatus setNumber(const MPlug &p, double v) {
    PlugRef r = ref(p);
    if (!r.valid() || (r.attr->array && r.index < 0) || kelphost::graph::hasIncoming(r))
        return r.valid() && kelphost::graph::hasIncoming(r)
                   ? kelphost::fail(MStatus::kFailure, kelphost::kLocked)
                   : bad();
    Slot *s = kelphost::graph::peek(r);
    if (!s || !s->numeric())
        return bad();
    if (r.attr->parent) {
        double all[4];
        int n = s->get(all);
        all[r.attr->childIndex] = v;
        s->set(all, n);
    } else {
        if (r.attr->components() != 1)
            return bad();
        s->set(&v, 1);
    }
    kelphost::graph::changed(r);
    if (r.attr->parent)
        kelphost::graph::changed(PlugRef{r.node, r.attr->parent, r.index});
    return MStatus::kSuccess;
}

template <class T> T numberAs(const MPlug &p, MStatus *rs) {
    double v[4];
    MStatus st = numbers(p, v, nullptr);
    kelphost::report(rs, st);
    return st ? static_cast<T>(v[0]) : T();
}

} // namespace

OPENMAYA_MAJOR_NAMESPACE_OPEN

MPlug::MPlug() : fNode(), fAttr(), fIndex(-1) {}
MPlug::MPlug(const MPlug &o) = default;
MPlug::MPlug(const MObject &node, const MObject &attribute)
    : fNode(node), fAttr(attribute), fIndex(-1) {}
MPlug::~MPlug() = default;

MStatus MPlug::setAttribute(MObject &attribute) {
    fAttr = attribute;
    fIndex = -1;
    return ref(*this).valid() ? MStatus(MStatus::kSuccess) : bad();
}
MObject MPlug::attribute(MStatus *rs) const {
    kelphost::report(rs, fAttr.isNull() ? bad() : MStatus(MStatus::kSuccess));
    return fAttr;
}
MObject MPlug::node(MStatus *rs) const {
    kelphost::report(rs, fNode.isNull() ? bad() : MStatus(MStatus::kSuccess));
    return fNode;
}

static std::string attrPath(const PlugRef &r, bool longNames) {
    const Attribute *a = r.attr;
    std::string name = longNames || a->shortName.empty() ? a->name : a->shortName;
    if (a->parent) {
        std::string parent =
            longNames || a->parent->shortName.empty() ? a->parent->name : a->parent->shortName;
        if (a->parent->array && r.index >= 0)
            parent += "[" + std::to_string(r.index) + "]";
        return parent + "." + name;
    }
    if (a->array && r.index >= 0)
        name += "[" + std::to_string(r.index) + "]";
    return name;
}

MString MPlug::name(MStatus *rs) const {
    PlugRef r = ref(*this);
    if (!r.valid()) {
        kelphost::report(rs, bad());
        return MString();
    }
    kelphost::report(rs, MStatus::kSuccess);
    std::string attr = attrPath(r, true);
    if (r.attr->parent) // children print without their parent, as the host does
        attr = r.attr->name;
    return MString((r.node->name + "." + attr).c_str());
}

MString MPlug::partialName(bool includeNodeName, bool, bool, bool, bool, bool useLongNames,
                           MStatus *rs) const {
    PlugRef r = ref(*this);
    if (!r.valid()) {
        kelphost::report(rs, bad());
        return MString();
    }
    kelphost::report(rs, MStatus::kSuccess);
    std::string s = attrPath(r, useLongNames);
    if (includeNodeName)
        s = r.node->name + "." + s;
    return MString(s.c_str());
}

bool MPlug::isNull(MStatus *rs) const {
    kelphost::report(rs, MStatus::kSuccess);
    return fNode.isNull() || fAttr.isNull();
}
bool MPlug::isArray(MStatus *rs) const {
    PlugRef r = ref(*this);
    kelphost::report(rs, r.valid() ? MStatus(MStatus::kSuccess) : bad());
    return r.valid() && r.attr->array && r.index < 0;
}
bool MPlug::isElement(MStatus *rs) const {
    PlugRef r = ref(*this);
    kelphost::report(rs, r.valid() ? MStatus(MStatus::kSuccess) : bad());
    return r.valid() && r.attr->array && r.index >= 0;
}
bool MPlug::isConnected(MStatus *rs) const {
    return isSource(rs) || isDestination(rs);
}
bool MPlug::isSource(MStatus *rs) const {
    kelphost::report(rs, MStatus::kSuccess);
    return kelphost::scene::destinationsOf(*this).length() > 0;
}
bool MPlug::isDestination(MStatus *rs) const {
    kelphost::report(rs, MStatus::kSuccess);
    return !kelphost::scene::sourceOf(*this).isNull();
}
bool MPlug::isKeyable(MStatus *rs) const {
    PlugRef r = ref(*this);
    kelphost::report(rs, r.valid() ? MStatus(MStatus::kSuccess) : bad());
    return r.valid() && r.attr->keyable;
}
bool MPlug::connectedTo(MPlugArray &array, bool asDst, bool asSrc, MStatus *rs) const {
    array.clear();
    if (asDst) {
        MPlug s = kelphost::scene::sourceOf(*this);
        if (!s.isNull())
            array.append(s);
    }
    if (asSrc) {
        MPlugArray d = kelphost::scene::destinationsOf(*this);
        for (unsigned i = 0; i < d.length(); ++i)
            array.append(d[i]);
    }
    kelphost::report(rs, MStatus::kSuccess);
    return array.length() > 0;
}
MPlug MPlug::source(MStatus *rs) const {
    kelphost::report(rs, MStatus::kSuccess);
    return kelphost::scene::sourceOf(*this);
}
bool MPlug::destinations(MPlugArray &d, MStatus *rs) const {
    d = kelphost::scene::destinationsOf(*this);
    kelphost::report(rs, MStatus::kSuccess);
    return d.length() > 0;
}

unsigned int MPlug::numElements(MStatus *rs) const {
    PlugRef r = ref(*this);
    if (!r.valid() || !r.attr->array || r.index >= 0) {
        kelphost::report(rs, bad());
        return 0;
    }
    kelphost::report(rs, MStatus::kSuccess);
    return static_cast<unsigned>(kelphost::graph::elementIndices(r.node, r.attr).size());
}
unsigned int MPlug::evaluateNumElements(MStatus *rs) const {
    PlugRef r = ref(*this);
    if (r.valid())
        kelphost::graph::pull(r);
    return numElements(rs);
}
unsigned int MPlug::getExistingArrayAttributeIndices(MIntArray &indices, MStatus *rs) {
    indices.clear();
    PlugRef r = ref(*this);
    if (!r.valid() || !r.attr->array) {
        kelphost::report(rs, bad());
        return 0;
    }
    for (unsigned i : kelphost::graph::elementIndices(r.node, r.attr))
        indices.append(static_cast<int>(i));
    kelphost::report(rs, MStatus::kSuccess);
    return indices.length();
}
MPlug MPlug::elementByLogicalIndex(unsigned int i, MStatus *rs) const {
    PlugRef r = ref(*this);
    if (!r.valid() || !r.attr->array || r.index >= 0 || i > 0x7fffffffu) {
        kelphost::report(rs, kelphost::fail(MStatus::kFailure, kelphost::kNoElement));
        return MPlug();
    }
    r.node->slot(r.attr, static_cast<int>(i)); // the host makes the element
    kelphost::report(rs, MStatus::kSuccess);
    return kelphost::graph::makePlug(r.node, r.attr, static_cast<int>(i));
}
MPlug MPlug::elementByPhysicalIndex(unsigned int i, MStatus *rs) const {
    PlugRef r = ref(*this);
    if (!r.valid() || !r.attr->array || r.index >= 0) {
        kelphost::report(rs, bad());
        return MPlug();
    }
    std::vector<unsigned> idx = kelphost::graph::elementIndices(r.node, r.attr);
    if (i >= idx.size()) {
        kelphost::report(rs, kelphost::fail(MStatus::kInvalidParameter, kelphost::kNoElement));
        return MPlug();
    }
    kelphost::report(rs, MStatus::kSuccess);
    return kelphost::graph::makePlug(r.node, r.attr, static_cast<int>(idx[i]));
}
unsigned int MPlug::logicalIndex(MStatus *rs) const {
    PlugRef r = ref(*this);
    if (!r.valid() || r.index < 0) {
        kelphost::report(rs, bad());
        return 0;
    }
    kelphost::report(rs, MStatus::kSuccess);
    return static_cast<unsigned>(r.index);
}
MPlug MPlug::child(MObject &attr, MStatus *rs) const {
    PlugRef r = ref(*this);
    Attribute *c = Access::as<Attribute>(attr);
    if (!r.valid() || !c || c->parent != r.attr) {
        kelphost::report(rs, bad());
        return MPlug();
    }
    kelphost::report(rs, MStatus::kSuccess);
    return kelphost::graph::makePlug(r.node, c, r.index);
}
MPlug MPlug::child(unsigned int i, MStatus *rs) const {
    PlugRef r = ref(*this);
    if (!r.valid() || i >= r.attr->children.size()) {
        kelphost::report(rs, bad());
        return MPlug();
    }
    kelphost::report(rs, MStatus::kSuccess);
    return kelphost::graph::makePlug(r.node, Access::as<Attribute>(r.attr->children[i]), r.index);
}
unsigned int MPlug::numChildren(MStatus *rs) const {
    PlugRef r = ref(*this);
    kelphost::report(rs, r.valid() ? MStatus(MStatus::kSuccess) : bad());
    return r.valid() ? static_cast<unsigned>(r.attr->children.size()) : 0;
}
MPlug MPlug::parent(MStatus *rs) const {
    PlugRef r = ref(*this);
    if (!r.valid() || !r.attr->parent) {
        kelphost::report(rs, bad());
        return MPlug();
    }
    kelphost::report(rs, MStatus::kSuccess);
    return kelphost::graph::makePlug(r.node, r.attr->parent, r.index);
}
MPlug MPlug::array(MStatus *rs) const {
    PlugRef r = ref(*this);
    if (!r.valid() || !r.attr->array || r.index < 0) {
        kelphost::report(rs, bad());
        return MPlug();
    }
    kelphost::report(rs, MStatus::kSuccess);
    return kelphost::graph::makePlug(r.node, r.attr, -1);
}
bool MPlug::isChild(MStatus *rs) const {
    PlugRef r = ref(*this);
    kelphost::report(rs, r.valid() ? MStatus(MStatus::kSuccess) : bad());
    return r.valid() && r.attr->parent;
}
bool MPlug::isCompound(MStatus *rs) const {
    PlugRef r = ref(*this);
    kelphost::report(rs, r.valid() ? MStatus(MStatus::kSuccess) : bad());
    return r.valid() && !r.attr->children.empty();
}

// ---- values
MStatus MPlug::getValue(MObject &val) const {
    PlugRef r = ref(*this);
    if (!r.valid())
        return bad();
    Slot *s = kelphost::graph::pull(r);
    if (!s)
        return bad();
    if (s->canonical == kelphost::Field::Data) {
        val = s->data;
        return MStatus::kSuccess;
    }
    if (s->canonical == kelphost::Field::String) {
        MFnStringData fn;
        val = fn.create(s->str);
        return MStatus::kSuccess;
    }
    return bad();
}
MStatus MPlug::getValue(double &v) const {
    double n[4];
    MStatus st = numbers(*this, n, nullptr);
    if (st)
        v = n[0];
    return st;
}
MStatus MPlug::getValue(float &v) const {
    double d = 0;
    MStatus st = getValue(d);
    if (st)
        v = static_cast<float>(d);
    return st;
}
MStatus MPlug::getValue(int &v) const {
    double d = 0;
    MStatus st = getValue(d);
    if (st)
        v = static_cast<int>(d);
    return st;
}
MStatus MPlug::getValue(short &v) const {
    double d = 0;
    MStatus st = getValue(d);
    if (st)
        v = static_cast<short>(d);
    return st;
}
MStatus MPlug::getValue(bool &v) const {
    double d = 0;
    MStatus st = getValue(d);
    if (st)
        v = d != 0;
    return st;
}
MStatus MPlug::getValue(MString &v) const {
    PlugRef r = ref(*this);
    if (!r.valid())
        return bad();
    Slot *s = kelphost::graph::pull(r);
    if (!s || s->canonical != kelphost::Field::String)
        return bad();
    v = s->str;
    return MStatus::kSuccess;
}
MStatus MPlug::getValue(MTime &v) const {
    double d = 0;
    MStatus st = getValue(d);
    if (st)
        v = MTime(d, MTime::uiUnit());
    return st;
}
MStatus MPlug::getValue(MObject &v, MDGContext &) const {
    return getValue(v);
}
MStatus MPlug::getValue(double &v, MDGContext &) const {
    return getValue(v);
}
MStatus MPlug::getValue(float &v, MDGContext &) const {
    return getValue(v);
}
MStatus MPlug::getValue(int &v, MDGContext &) const {
    return getValue(v);
}
MStatus MPlug::getValue(short &v, MDGContext &) const {
    return getValue(v);
}
MStatus MPlug::getValue(bool &v, MDGContext &) const {
    return getValue(v);
}
MStatus MPlug::getValue(MString &v, MDGContext &) const {
    return getValue(v);
}
MStatus MPlug::getValue(MTime &v, MDGContext &) const {
    return getValue(v);
}

MStatus MPlug::setValue(MObject &val) {
    return setMObject(val);
}
MStatus MPlug::setValue(const MString &val) {
    return setString(val);
}
MStatus MPlug::setValue(const char *val) {
    return setString(MString(val));
}
MStatus MPlug::setValue(double v) {
    return setNumber(*this, v);
}
MStatus MPlug::setValue(float v) {
    return setNumber(*this, v);
}
MStatus MPlug::setValue(int v) {
    return setNumber(*this, v);
}
MStatus MPlug::setValue(short v) {
    return setNumber(*this, v);
}
MStatus MPlug::setValue(bool v) {
    return setNumber(*this, v ? 1 : 0);
}
MStatus MPlug::setValue(MTime &v) {
    return setNumber(*this, v.as(MTime::uiUnit()));
}

MObject MPlug::asMObject(MStatus *rs) const {
    MObject o;
    kelphost::report(rs, getValue(o));
    return o;
}
double MPlug::asDouble(MStatus *rs) const {
    return numberAs<double>(*this, rs);
}
float MPlug::asFloat(MStatus *rs) const {
    return numberAs<float>(*this, rs);
}
int MPlug::asInt(MStatus *rs) const {
    return numberAs<int>(*this, rs);
}
short MPlug::asShort(MStatus *rs) const {
    return numberAs<short>(*this, rs);
}
bool MPlug::asBool(MStatus *rs) const {
    return numberAs<double>(*this, rs) != 0;
}
MString MPlug::asString(MStatus *rs) const {
    MString s;
    kelphost::report(rs, getValue(s));
    return s;
}
MTime MPlug::asMTime(MStatus *rs) const {
    return MTime(numberAs<double>(*this, rs), MTime::uiUnit());
}
MStatus MPlug::setBool(bool v) {
    return setValue(v);
}
MStatus MPlug::setInt(int v) {
    return setValue(v);
}
MStatus MPlug::setShort(short v) {
    return setValue(v);
}
MStatus MPlug::setFloat(float v) {
    return setValue(v);
}
MStatus MPlug::setDouble(double v) {
    return setValue(v);
}
MStatus MPlug::setString(const MString &v) {
    PlugRef r = ref(*this);
    if (!r.valid())
        return bad();
    if (kelphost::graph::hasIncoming(r))
        return kelphost::fail(MStatus::kFailure, kelphost::kLocked);
    Slot *s = kelphost::graph::peek(r);
    if (!s || s->canonical != kelphost::Field::String)
        return bad();
    s->str = v;
    kelphost::graph::changed(r);
    return MStatus::kSuccess;
}
MStatus MPlug::setMObject(const MObject &v) {
    PlugRef r = ref(*this);
    if (!r.valid())
        return bad();
    if (kelphost::graph::hasIncoming(r))
        return kelphost::fail(MStatus::kFailure, kelphost::kLocked);
    Slot *s = kelphost::graph::peek(r);
    if (!s)
        return bad();
    if (s->canonical == kelphost::Field::String && v.hasFn(MFn::kStringData)) {
        MFnStringData fn(v);
        s->str = fn.string();
    } else if (s->canonical == kelphost::Field::Data && (v.isNull() || v.hasFn(MFn::kData))) {
        s->data = v;
    } else {
        return bad();
    }
    kelphost::graph::changed(r);
    return MStatus::kSuccess;
}
MStatus MPlug::setMTime(const MTime &v) {
    return setNumber(*this, v.as(MTime::uiUnit()));
}

bool MPlug::operator==(const MPlug &o) const {
    if (isNull() || o.isNull())
        return false;
    return fNode == o.fNode && fAttr == o.fAttr && fIndex == o.fIndex;
}
bool MPlug::operator==(const MObject &attr) const {
    return !fAttr.isNull() && fAttr == attr;
}
bool MPlug::operator!=(const MPlug &o) const {
    return !(*this == o);
}
bool MPlug::operator!=(const MObject &attr) const {
    return !(*this == attr);
}
MPlug &MPlug::operator=(const MPlug &o) = default;
MPlug MPlug::operator[](unsigned int physicalIndex) const {
    return elementByPhysicalIndex(physicalIndex);
}
MPlug MPlug::operator[](MObject &attr) const {
    return child(attr);
}
bool MPlug::operator!() const {
    return isNull();
}
MPlug::operator MObject() const {
    return fAttr;
}
MPlug::operator double() const {
    return asDouble();
}
MPlug::operator float() const {
    return asFloat();
}
MPlug::operator int() const {
    return asInt();
}
MPlug::operator bool() const {
    return asBool();
}

OPENMAYA_NAMESPACE_CLOSE
