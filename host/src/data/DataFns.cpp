// MFnData, MFnStringData, MFnNumericData, MFnGeometryData, MFnMeshData and
// the string and numeric data objects.
#include <maya/MFnData.h>
#include <maya/MFnGeometryData.h>
#include <maya/MFnMeshData.h>
#include <maya/MFnNumericData.h>
#include <maya/MFnStringData.h>

#include "../core/Access.h"
#include "../core/FnSet.h"
#include "../core/StatusText.h"
#include "MeshGeom.h"

using kelphost::Access;

namespace kelphost {

class StringData : public Object {
public:
    MFn::Type apiType() const override { return MFn::kStringData; }
    MString value;
};

class NumericData : public Object {
public:
    MFn::Type apiType() const override { return MFn::kNumericData; }
    MFnNumericData::Type type = MFnNumericData::kInvalid;
    double values[3] = {0, 0, 0};
};

} // namespace kelphost

namespace {
MStatus noObject() {
    return kelphost::fail(MStatus::kFailure, kelphost::kNoObject);
}
} // namespace

OPENMAYA_MAJOR_NAMESPACE_OPEN

KELP_FN_COMMON(MFnData, MFn::kData)

// ---- MFnStringData
KELP_FN_COMMON(MFnStringData, MFn::kStringData)

MString MFnStringData::string(MStatus *rs) const {
    kelphost::StringData *d = Access::as<kelphost::StringData>(Access::fnObject(*this));
    kelphost::report(rs, d ? MStatus(MStatus::kSuccess) : noObject());
    return d ? d->value : MString();
}
MStatus MFnStringData::set(const MString &s) {
    kelphost::StringData *d = Access::as<kelphost::StringData>(Access::fnObject(*this));
    if (!d)
        return noObject();
    d->value = s;
    return MStatus::kSuccess;
}
MObject MFnStringData::create(const MString &str, MStatus *rs) {
    kelphost::StringData *d = new kelphost::StringData;
    d->value = str;
    MObject o = Access::wrap(d);
    Access::fnObject(*this) = o;
    kelphost::report(rs, MStatus::kSuccess);
    return o;
}
MObject MFnStringData::create(MStatus *rs) {
    return create(MString(), rs);
}

// ---- MFnNumericData
KELP_FN_COMMON(MFnNumericData, MFn::kNumericData)

MObject MFnNumericData::create(Type dataType, MStatus *rs) {
    if (dataType <= kInvalid || dataType >= kLast) {
        kelphost::report(rs, MStatus(MStatus::kInvalidParameter));
        return MObject();
    }
    kelphost::NumericData *d = new kelphost::NumericData;
    d->type = dataType;
    MObject o = Access::wrap(d);
    Access::fnObject(*this) = o;
    kelphost::report(rs, MStatus::kSuccess);
    return o;
}
MFnNumericData::Type MFnNumericData::numericType(MStatus *rs) {
    kelphost::NumericData *d = Access::as<kelphost::NumericData>(Access::fnObject(*this));
    kelphost::report(rs, d ? MStatus(MStatus::kSuccess) : noObject());
    return d ? d->type : kInvalid;
}
MStatus MFnNumericData::getData(double &a, double &b, double &c) {
    kelphost::NumericData *d = Access::as<kelphost::NumericData>(Access::fnObject(*this));
    if (!d)
        return noObject();
    a = d->values[0];
    b = d->values[1];
    c = d->values[2];
    return MStatus::kSuccess;
}
MStatus MFnNumericData::setData(double a, double b, double c) {
    kelphost::NumericData *d = Access::as<kelphost::NumericData>(Access::fnObject(*this));
    if (!d)
        return noObject();
    d->values[0] = a;
    d->values[1] = b;
    d->values[2] = c;
    return MStatus::kSuccess;
}

// ---- MFnGeometryData
KELP_FN_COMMON(MFnGeometryData, MFn::kGeometryData)

MStatus MFnGeometryData::setMatrix(const MMatrix &m) {
    kelphost::MeshData *d = Access::as<kelphost::MeshData>(Access::fnObject(*this));
    if (!d)
        return noObject();
    d->matrix = m;
    return MStatus::kSuccess;
}
MStatus MFnGeometryData::getMatrix(MMatrix &m) const {
    kelphost::MeshData *d = Access::as<kelphost::MeshData>(Access::fnObject(*this));
    if (!d)
        return noObject();
    m = d->matrix;
    return MStatus::kSuccess;
}
bool MFnGeometryData::matrixIsNotIdentity(MStatus *rs) const {
    kelphost::MeshData *d = Access::as<kelphost::MeshData>(Access::fnObject(*this));
    kelphost::report(rs, d ? MStatus(MStatus::kSuccess) : noObject());
    return d && !d->matrix.isEquivalent(MMatrix::identity, 0.0);
}

// ---- MFnMeshData
KELP_FN_COMMON(MFnMeshData, MFn::kMeshData)

MObject MFnMeshData::create(MStatus *rs) {
    MObject o = Access::wrap(new kelphost::MeshData);
    Access::fnObject(*this) = o;
    kelphost::report(rs, MStatus::kSuccess);
    return o;
}

OPENMAYA_NAMESPACE_CLOSE
