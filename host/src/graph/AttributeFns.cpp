// MFnAttribute, MFnNumericAttribute, MFnTypedAttribute, MFnEnumAttribute,
// MFnUnitAttribute: make attribute definitions and set their flags.
#include <maya/MFnAttribute.h>
#include <maya/MFnEnumAttribute.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MFnUnitAttribute.h>

#include "../core/Access.h"
#include "../core/FnSet.h"
#include "../core/StatusText.h"
#include "Attribute.h"

using kelphost::Access;
using kelphost::Attribute;
using kelphost::AttrKind;

namespace kelphost {

MFn::Type Attribute::apiType() const {
    switch (kind) {
    case AttrKind::Numeric:
    case AttrKind::Compound:
        return MFn::kNumericAttribute;
    case AttrKind::Typed:
    case AttrKind::Matrix:
        return MFn::kTypedAttribute;
    case AttrKind::Enum:
        return MFn::kEnumAttribute;
    case AttrKind::Unit:
        return MFn::kUnitAttribute;
    case AttrKind::Message:
        return MFn::kMessageAttribute;
    }
    return MFn::kAttribute;
}

int Attribute::components() const {
    if (kind == AttrKind::Enum || kind == AttrKind::Unit)
        return 1;
    switch (numericType) {
    case MFnNumericData::k2Short:
    case MFnNumericData::k2Long:
    case MFnNumericData::k2Float:
    case MFnNumericData::k2Double:
        return 2;
    case MFnNumericData::k3Short:
    case MFnNumericData::k3Long:
    case MFnNumericData::k3Float:
    case MFnNumericData::k3Double:
        return 3;
    case MFnNumericData::k4Double:
        return 4;
    default:
        return 1;
    }
}

} // namespace kelphost

namespace {

Attribute *attrOf(const MFnBase &fn) {
    return Access::as<Attribute>(Access::fnObject(fn));
}

MObject attach(MFnBase &fn, Attribute *a, MStatus *rs) {
    MObject o = Access::wrap(a);
    Access::fnObject(fn) = o;
    kelphost::report(rs, MStatus::kSuccess);
    return o;
}

bool named(const MString &full, MStatus *rs) {
    if (full.length() == 0) {
        kelphost::report(rs, MStatus(MStatus::kInvalidParameter));
        return false;
    }
    return true;
}

} // namespace

#define ATTR_GET(NAME, FIELD)                                                                      \
    bool MFnAttribute::NAME(MStatus *rs) const {                                                   \
        Attribute *a = attrOf(*this);                                                              \
        kelphost::report(rs, a ? MStatus(MStatus::kSuccess) : MStatus(MStatus::kFailure));         \
        return a && a->FIELD;                                                                      \
    }
#define ATTR_SET(NAME, FIELD)                                                                      \
    MStatus MFnAttribute::NAME(bool state) {                                                       \
        Attribute *a = attrOf(*this);                                                              \
        if (!a)                                                                                    \
            return MStatus::kFailure;                                                              \
        a->FIELD = state;                                                                          \
        return MStatus::kSuccess;                                                                  \
    }

OPENMAYA_MAJOR_NAMESPACE_OPEN

// ---- MFnAttribute
KELP_FN_COMMON(MFnAttribute, MFn::kAttribute)
ATTR_GET(isReadable, readable)
ATTR_GET(isWritable, writable)
ATTR_GET(isConnectable, connectable)
ATTR_GET(isStorable, storable)
ATTR_GET(isCached, cached)
ATTR_GET(isArray, array)
ATTR_GET(indexMatters, indexMatters)
ATTR_GET(isKeyable, keyable)
ATTR_GET(isChannelBoxFlagSet, channelBox)
ATTR_GET(isHidden, hidden)
ATTR_GET(isUsedAsColor, usedAsColor)
ATTR_GET(isUsedAsFilename, usedAsFilename)
ATTR_GET(isWorldSpace, worldSpace)
ATTR_GET(isAffectsWorldSpace, affectsWorldSpace)
ATTR_GET(isAffectsAppearance, affectsAppearance)
ATTR_GET(usesArrayDataBuilder, arrayDataBuilder)
ATTR_GET(internal, internal)
ATTR_SET(setReadable, readable)
ATTR_SET(setWritable, writable)
ATTR_SET(setConnectable, connectable)
ATTR_SET(setStorable, storable)
ATTR_SET(setCached, cached)
ATTR_SET(setArray, array)
ATTR_SET(setIndexMatters, indexMatters)
ATTR_SET(setKeyable, keyable)
ATTR_SET(setChannelBox, channelBox)
ATTR_SET(setHidden, hidden)
ATTR_SET(setUsedAsColor, usedAsColor)
ATTR_SET(setWorldSpace, worldSpace)
ATTR_SET(setAffectsWorldSpace, affectsWorldSpace)
ATTR_SET(setUsedAsFilename, usedAsFilename)
ATTR_SET(setAffectsAppearance, affectsAppearance)
ATTR_SET(setUsesArrayDataBuilder, arrayDataBuilder)
ATTR_SET(setInternal, internal)

MFnAttribute::DisconnectBehavior MFnAttribute::disconnectBehavior(MStatus *rs) const {
    Attribute *a = attrOf(*this);
    kelphost::report(rs, a ? MStatus(MStatus::kSuccess) : MStatus(MStatus::kFailure));
    return a ? a->disconnectBehavior : kNothing;
}
MStatus MFnAttribute::setDisconnectBehavior(DisconnectBehavior b) {
    Attribute *a = attrOf(*this);
    if (!a)
        return MStatus::kFailure;
    a->disconnectBehavior = b;
    return MStatus::kSuccess;
}
MStatus MFnAttribute::setNiceNameOverride(const MString &) {
    return attrOf(*this) ? MStatus::kSuccess : MStatus::kFailure;
}
MString MFnAttribute::name(MStatus *rs) const {
    Attribute *a = attrOf(*this);
    kelphost::report(rs, a ? MStatus(MStatus::kSuccess) : MStatus(MStatus::kFailure));
    return a ? MString(a->name.c_str()) : MString();
}
MString MFnAttribute::shortName(MStatus *rs) const {
    Attribute *a = attrOf(*this);
    kelphost::report(rs, a ? MStatus(MStatus::kSuccess) : MStatus(MStatus::kFailure));
    return a ? MString(a->shortName.c_str()) : MString();
}
MObject MFnAttribute::parent(MStatus *rs) const {
    Attribute *a = attrOf(*this);
    kelphost::report(rs, a && a->parent ? MStatus(MStatus::kSuccess) : MStatus(MStatus::kFailure));
    return a && a->parent ? Access::wrap(a->parent) : MObject();
}

// ---- MFnNumericAttribute
KELP_FN_COMMON(MFnNumericAttribute, MFn::kNumericAttribute)

MObject MFnNumericAttribute::create(const MString &full, const MString &brief,
                                    MFnNumericData::Type unitType, double def, MStatus *rs) {
    if (!named(full, rs))
        return MObject();
    if (unitType <= MFnNumericData::kInvalid || unitType >= MFnNumericData::kLast) {
        kelphost::report(rs, MStatus(MStatus::kInvalidParameter));
        return MObject();
    }
    Attribute *a = new Attribute;
    a->name = full.asChar();
    a->shortName = brief.asChar();
    a->kind = AttrKind::Numeric;
    a->numericType = unitType;
    for (double &d : a->defaults)
        d = def;
    return attach(*this, a, rs);
}

static MObject makeTriple(MFnNumericAttribute &fn, const MString &full, const MString &brief,
                          MFnNumericData::Type t, const char *suffixes, MStatus *rs) {
    MObject kids[3];
    for (int i = 0; i < 3; ++i) {
        MFnNumericAttribute c;
        char up[2] = {suffixes[i], 0};
        char low[2] = {static_cast<char>(suffixes[i] - 'A' + 'a'), 0};
        kids[i] = c.create(full + up, brief + low,
                           t == MFnNumericData::k3Float ? MFnNumericData::kFloat
                                                        : MFnNumericData::kDouble);
    }
    return fn.create(full, brief, kids[0], kids[1], kids[2], rs);
}

MObject MFnNumericAttribute::createColor(const MString &full, const MString &brief, MStatus *rs) {
    MObject o = makeTriple(*this, full, brief, MFnNumericData::k3Float, "RGB", rs);
    if (Attribute *a = attrOf(*this))
        a->usedAsColor = true;
    return o;
}

MObject MFnNumericAttribute::createPoint(const MString &full, const MString &brief, MStatus *rs) {
    return makeTriple(*this, full, brief, MFnNumericData::k3Double, "XYZ", rs);
}

MObject MFnNumericAttribute::create(const MString &full, const MString &brief, const MObject &c1,
                                    const MObject &c2, const MObject &c3, MStatus *rs) {
    Attribute *kids[3] = {Access::as<Attribute>(c1), Access::as<Attribute>(c2),
                          Access::as<Attribute>(c3)};
    int n = kids[2] ? 3 : 2;
    if (!named(full, rs) || !kids[0] || !kids[1])
        return kelphost::report(rs, MStatus(MStatus::kInvalidParameter)), MObject();
    bool allFloat = true;
    for (int i = 0; i < n; ++i) {
        if (!kids[i]->isNumeric() || kids[i]->parent) {
            kelphost::report(rs, MStatus(MStatus::kInvalidParameter));
            return MObject();
        }
        allFloat = allFloat && kids[i]->numericType == MFnNumericData::kFloat;
    }
    Attribute *a = new Attribute;
    a->name = full.asChar();
    a->shortName = brief.asChar();
    a->kind = AttrKind::Compound;
    a->numericType = n == 3 ? (allFloat ? MFnNumericData::k3Float : MFnNumericData::k3Double)
                            : (allFloat ? MFnNumericData::k2Float : MFnNumericData::k2Double);
    const MObject *objs[3] = {&c1, &c2, &c3};
    for (int i = 0; i < n; ++i) {
        kids[i]->parent = a;
        kids[i]->childIndex = i;
        a->defaults[i] = kids[i]->defaults[0];
        a->children.push_back(*objs[i]);
    }
    return attach(*this, a, rs);
}

MFnNumericData::Type MFnNumericAttribute::unitType(MStatus *rs) const {
    Attribute *a = attrOf(*this);
    kelphost::report(rs, a ? MStatus(MStatus::kSuccess) : MStatus(MStatus::kFailure));
    return a ? a->numericType : MFnNumericData::kInvalid;
}
MObject MFnNumericAttribute::child(unsigned int i, MStatus *rs) const {
    Attribute *a = attrOf(*this);
    if (!a || i >= a->children.size()) {
        kelphost::report(rs, MStatus(MStatus::kInvalidParameter));
        return MObject();
    }
    kelphost::report(rs, MStatus::kSuccess);
    return a->children[i];
}

#define NUM_FLAG(HAS, FIELD)                                                                       \
    bool MFnNumericAttribute::HAS(MStatus *rs) const {                                             \
        Attribute *a = attrOf(*this);                                                              \
        kelphost::report(rs, a ? MStatus(MStatus::kSuccess) : MStatus(MStatus::kFailure));         \
        return a && a->FIELD;                                                                      \
    }
NUM_FLAG(hasMin, hasMin)
NUM_FLAG(hasMax, hasMax)
NUM_FLAG(hasSoftMin, hasSoftMin)
NUM_FLAG(hasSoftMax, hasSoftMax)

MStatus MFnNumericAttribute::getMin(double &v) const {
    Attribute *a = attrOf(*this);
    if (!a || !a->hasMin)
        return MStatus::kFailure;
    v = a->minValue;
    return MStatus::kSuccess;
}
MStatus MFnNumericAttribute::getMax(double &v) const {
    Attribute *a = attrOf(*this);
    if (!a || !a->hasMax)
        return MStatus::kFailure;
    v = a->maxValue;
    return MStatus::kSuccess;
}
#define NUM_LIMIT(NAME, HAS, FIELD)                                                                \
    MStatus MFnNumericAttribute::NAME(double v) {                                                  \
        Attribute *a = attrOf(*this);                                                              \
        if (!a)                                                                                    \
            return MStatus::kFailure;                                                              \
        a->HAS = true;                                                                             \
        a->FIELD = v;                                                                              \
        return MStatus::kSuccess;                                                                  \
    }
NUM_LIMIT(setMin, hasMin, minValue)
NUM_LIMIT(setMax, hasMax, maxValue)
NUM_LIMIT(setSoftMin, hasSoftMin, softMin)
NUM_LIMIT(setSoftMax, hasSoftMax, softMax)
MStatus MFnNumericAttribute::setMin(double a, double) {
    return setMin(a);
}
MStatus MFnNumericAttribute::setMin(double a, double, double) {
    return setMin(a);
}
MStatus MFnNumericAttribute::setMax(double a, double) {
    return setMax(a);
}
MStatus MFnNumericAttribute::setMax(double a, double, double) {
    return setMax(a);
}

namespace {
MStatus setDefaults(MFnNumericAttribute &fn, double a, double b, double c, double d, int n) {
    Attribute *at = attrOf(fn);
    if (!at)
        return MStatus::kFailure;
    double v[4] = {a, b, c, d};
    for (int i = 0; i < n; ++i)
        at->defaults[i] = v[i];
    if (n == 1)
        for (int i = 1; i < 4; ++i)
            at->defaults[i] = a;
    for (size_t i = 0; i < at->children.size() && i < 4; ++i)
        if (Attribute *k = Access::as<Attribute>(at->children[i]))
            k->defaults[0] = at->defaults[i];
    return MStatus::kSuccess;
}
MStatus getDefaults(MFnNumericAttribute &fn, double *out, int n) {
    Attribute *at = attrOf(fn);
    if (!at)
        return MStatus::kFailure;
    for (int i = 0; i < n; ++i)
        out[i] = at->defaults[i];
    return MStatus::kSuccess;
}
} // namespace

MStatus MFnNumericAttribute::getDefault(bool &a) {
    double v[1] = {};
    MStatus s = getDefaults(*this, v, 1);
    a = v[0] != 0;
    return s;
}
MStatus MFnNumericAttribute::getDefault(char &a) {
    double v[1] = {};
    MStatus s = getDefaults(*this, v, 1);
    a = static_cast<char>(v[0]);
    return s;
}
MStatus MFnNumericAttribute::getDefault(int &a) {
    double v[1] = {};
    MStatus s = getDefaults(*this, v, 1);
    a = static_cast<int>(v[0]);
    return s;
}
MStatus MFnNumericAttribute::getDefault(int &a, int &b) {
    double v[2] = {};
    MStatus s = getDefaults(*this, v, 2);
    a = static_cast<int>(v[0]);
    b = static_cast<int>(v[1]);
    return s;
}
MStatus MFnNumericAttribute::getDefault(int &a, int &b, int &c) {
    double v[3] = {};
    MStatus s = getDefaults(*this, v, 3);
    a = static_cast<int>(v[0]);
    b = static_cast<int>(v[1]);
    c = static_cast<int>(v[2]);
    return s;
}
MStatus MFnNumericAttribute::getDefault(MInt64 &a) {
    double v[1] = {};
    MStatus s = getDefaults(*this, v, 1);
    a = static_cast<MInt64>(v[0]);
    return s;
}
MStatus MFnNumericAttribute::getDefault(float &a) {
    double v[1] = {};
    MStatus s = getDefaults(*this, v, 1);
    a = static_cast<float>(v[0]);
    return s;
}
MStatus MFnNumericAttribute::getDefault(float &a, float &b) {
    double v[2] = {};
    MStatus s = getDefaults(*this, v, 2);
    a = static_cast<float>(v[0]);
    b = static_cast<float>(v[1]);
    return s;
}
MStatus MFnNumericAttribute::getDefault(float &a, float &b, float &c) {
    double v[3] = {};
    MStatus s = getDefaults(*this, v, 3);
    a = static_cast<float>(v[0]);
    b = static_cast<float>(v[1]);
    c = static_cast<float>(v[2]);
    return s;
}
MStatus MFnNumericAttribute::getDefault(double &a) {
    return getDefaults(*this, &a, 1);
}
MStatus MFnNumericAttribute::getDefault(double &a, double &b) {
    double v[2] = {};
    MStatus s = getDefaults(*this, v, 2);
    a = v[0];
    b = v[1];
    return s;
}
MStatus MFnNumericAttribute::getDefault(double &a, double &b, double &c) {
    double v[3] = {};
    MStatus s = getDefaults(*this, v, 3);
    a = v[0];
    b = v[1];
    c = v[2];
    return s;
}
MStatus MFnNumericAttribute::getDefault(double &a, double &b, double &c, double &d) {
    double v[4] = {};
    MStatus s = getDefaults(*this, v, 4);
    a = v[0];
    b = v[1];
    c = v[2];
    d = v[3];
    return s;
}
MStatus MFnNumericAttribute::setDefault(bool a) {
    return setDefaults(*this, a ? 1 : 0, 0, 0, 0, 1);
}
MStatus MFnNumericAttribute::setDefault(char a) {
    return setDefaults(*this, a, 0, 0, 0, 1);
}
MStatus MFnNumericAttribute::setDefault(int a) {
    return setDefaults(*this, a, 0, 0, 0, 1);
}
MStatus MFnNumericAttribute::setDefault(int a, int b) {
    return setDefaults(*this, a, b, 0, 0, 2);
}
MStatus MFnNumericAttribute::setDefault(int a, int b, int c) {
    return setDefaults(*this, a, b, c, 0, 3);
}
MStatus MFnNumericAttribute::setDefault(MInt64 a) {
    return setDefaults(*this, static_cast<double>(a), 0, 0, 0, 1);
}
MStatus MFnNumericAttribute::setDefault(float a) {
    return setDefaults(*this, a, 0, 0, 0, 1);
}
MStatus MFnNumericAttribute::setDefault(float a, float b) {
    return setDefaults(*this, a, b, 0, 0, 2);
}
MStatus MFnNumericAttribute::setDefault(float a, float b, float c) {
    return setDefaults(*this, a, b, c, 0, 3);
}
MStatus MFnNumericAttribute::setDefault(double a) {
    return setDefaults(*this, a, 0, 0, 0, 1);
}
MStatus MFnNumericAttribute::setDefault(double a, double b) {
    return setDefaults(*this, a, b, 0, 0, 2);
}
MStatus MFnNumericAttribute::setDefault(double a, double b, double c) {
    return setDefaults(*this, a, b, c, 0, 3);
}
MStatus MFnNumericAttribute::setDefault(double a, double b, double c, double d) {
    return setDefaults(*this, a, b, c, d, 4);
}
MStatus MFnNumericAttribute::setDefault(void *) {
    return attrOf(*this) ? MStatus::kSuccess : MStatus::kFailure;
}

// ---- MFnTypedAttribute
KELP_FN_COMMON(MFnTypedAttribute, MFn::kTypedAttribute)

MObject MFnTypedAttribute::create(const MString &full, const MString &brief, const MTypeId &id,
                                  MObject defaultData, MStatus *rs) {
    if (!named(full, rs))
        return MObject();
    Attribute *a = new Attribute;
    a->name = full.asChar();
    a->shortName = brief.asChar();
    a->kind = AttrKind::Typed;
    a->dataType = MFnData::kPlugin;
    a->dataTypeId = id;
    a->defaultData = defaultData;
    return attach(*this, a, rs);
}

MObject MFnTypedAttribute::create(const MString &full, const MString &brief, MFnData::Type type,
                                  MObject defaultData, MStatus *rs) {
    if (!named(full, rs))
        return MObject();
    if (type <= MFnData::kInvalid || type >= MFnData::kLast) {
        kelphost::report(rs, MStatus(MStatus::kInvalidParameter));
        return MObject();
    }
    Attribute *a = new Attribute;
    a->name = full.asChar();
    a->shortName = brief.asChar();
    a->kind = AttrKind::Typed;
    a->dataType = type;
    a->defaultData = defaultData;
    return attach(*this, a, rs);
}

MObject MFnTypedAttribute::create(const MString &full, const MString &brief, MFnData::Type type,
                                  MStatus *rs) {
    return create(full, brief, type, MObject::kNullObj, rs);
}

MFnData::Type MFnTypedAttribute::attrType(MStatus *rs) const {
    Attribute *a = attrOf(*this);
    kelphost::report(rs, a ? MStatus(MStatus::kSuccess) : MStatus(MStatus::kFailure));
    return a ? a->dataType : MFnData::kInvalid;
}
MStatus MFnTypedAttribute::getDefault(MObject &d) {
    Attribute *a = attrOf(*this);
    if (!a)
        return MStatus::kFailure;
    d = a->defaultData;
    return MStatus::kSuccess;
}
MStatus MFnTypedAttribute::setDefault(const MObject &d) {
    Attribute *a = attrOf(*this);
    if (!a)
        return MStatus::kFailure;
    a->defaultData = d;
    return MStatus::kSuccess;
}

// ---- MFnEnumAttribute
KELP_FN_COMMON(MFnEnumAttribute, MFn::kEnumAttribute)

MObject MFnEnumAttribute::create(const MString &full, const MString &brief, short def,
                                 MStatus *rs) {
    if (!named(full, rs))
        return MObject();
    Attribute *a = new Attribute;
    a->name = full.asChar();
    a->shortName = brief.asChar();
    a->kind = AttrKind::Enum;
    a->numericType = MFnNumericData::kShort;
    a->defaults[0] = def;
    return attach(*this, a, rs);
}
MStatus MFnEnumAttribute::addField(const MString &field, short index) {
    Attribute *a = attrOf(*this);
    if (!a || field.length() == 0)
        return MStatus::kFailure;
    for (const auto &f : a->fields)
        if (f.first == field.asChar() || f.second == index)
            return MStatus::kFailure;
    a->fields.emplace_back(field.asChar(), index);
    return MStatus::kSuccess;
}
MString MFnEnumAttribute::fieldName(short index, MStatus *rs) const {
    Attribute *a = attrOf(*this);
    if (a)
        for (const auto &f : a->fields)
            if (f.second == index) {
                kelphost::report(rs, MStatus::kSuccess);
                return MString(f.first.c_str());
            }
    kelphost::report(rs, MStatus(MStatus::kInvalidParameter));
    return MString();
}
short MFnEnumAttribute::fieldIndex(const MString &field, MStatus *rs) const {
    Attribute *a = attrOf(*this);
    if (a)
        for (const auto &f : a->fields)
            if (f.first == field.asChar()) {
                kelphost::report(rs, MStatus::kSuccess);
                return f.second;
            }
    kelphost::report(rs, MStatus(MStatus::kInvalidParameter));
    return 0;
}
MStatus MFnEnumAttribute::getMin(short &v) const {
    Attribute *a = attrOf(*this);
    if (!a || a->fields.empty())
        return MStatus::kFailure;
    v = a->fields[0].second;
    for (const auto &f : a->fields)
        v = f.second < v ? f.second : v;
    return MStatus::kSuccess;
}
MStatus MFnEnumAttribute::getMax(short &v) const {
    Attribute *a = attrOf(*this);
    if (!a || a->fields.empty())
        return MStatus::kFailure;
    v = a->fields[0].second;
    for (const auto &f : a->fields)
        v = f.second > v ? f.second : v;
    return MStatus::kSuccess;
}
MStatus MFnEnumAttribute::setDefault(short index) {
    Attribute *a = attrOf(*this);
    if (!a)
        return MStatus::kFailure;
    a->defaults[0] = index;
    return MStatus::kSuccess;
}
MStatus MFnEnumAttribute::setDefault(const MString &field) {
    MStatus st;
    short i = fieldIndex(field, &st);
    return st ? setDefault(i) : st;
}
MStatus MFnEnumAttribute::getDefault(short &index) const {
    Attribute *a = attrOf(*this);
    if (!a)
        return MStatus::kFailure;
    index = static_cast<short>(a->defaults[0]);
    return MStatus::kSuccess;
}

// ---- MFnUnitAttribute
KELP_FN_COMMON(MFnUnitAttribute, MFn::kUnitAttribute)

MObject MFnUnitAttribute::create(const MString &full, const MString &brief, Type unitType,
                                 double def, MStatus *rs) {
    if (!named(full, rs))
        return MObject();
    if (unitType <= kInvalid || unitType >= kLast) {
        kelphost::report(rs, MStatus(MStatus::kInvalidParameter));
        return MObject();
    }
    Attribute *a = new Attribute;
    a->name = full.asChar();
    a->shortName = brief.asChar();
    a->kind = AttrKind::Unit;
    a->unitType = unitType;
    a->numericType = MFnNumericData::kDouble;
    a->defaults[0] = def;
    return attach(*this, a, rs);
}
MObject MFnUnitAttribute::create(const MString &full, const MString &brief, const MTime &def,
                                 MStatus *rs) {
    return create(full, brief, kTime, def.as(MTime::uiUnit()), rs);
}
MFnUnitAttribute::Type MFnUnitAttribute::unitType(MStatus *rs) const {
    Attribute *a = attrOf(*this);
    kelphost::report(rs, a ? MStatus(MStatus::kSuccess) : MStatus(MStatus::kFailure));
    return a ? a->unitType : kInvalid;
}
MStatus MFnUnitAttribute::getDefault(MTime &t) const {
    Attribute *a = attrOf(*this);
    if (!a)
        return MStatus::kFailure;
    t = MTime(a->defaults[0], MTime::uiUnit());
    return MStatus::kSuccess;
}
MStatus MFnUnitAttribute::setDefault(const MTime &t) {
    Attribute *a = attrOf(*this);
    if (!a)
        return MStatus::kFailure;
    a->defaults[0] = t.as(MTime::uiUnit());
    return MStatus::kSuccess;
}

OPENMAYA_NAMESPACE_CLOSE
