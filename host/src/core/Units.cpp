// MTime, MDistance, MAngle, MDGContext, MTypeId.
#include <maya/MAngle.h>
#include <maya/MDGContext.h>
#include <maya/MDistance.h>
#include <maya/MTime.h>
#include <maya/MTypeId.h>

#include <cmath>

namespace {

// Seconds per unit of each MTime unit.
double secondsPer(MTime::Unit u) {
    switch (u) {
    case MTime::kHours:
        return 3600.0;
    case MTime::kMinutes:
        return 60.0;
    case MTime::kSeconds:
        return 1.0;
    case MTime::kMilliseconds:
        return 0.001;
    case MTime::kGames:
        return 1.0 / 15.0;
    case MTime::kFilm:
        return 1.0 / 24.0;
    case MTime::kPALFrame:
        return 1.0 / 25.0;
    case MTime::kNTSCFrame:
        return 1.0 / 30.0;
    case MTime::kShowScan:
        return 1.0 / 48.0;
    case MTime::kPALField:
        return 1.0 / 50.0;
    case MTime::kNTSCField:
        return 1.0 / 60.0;
    default:
        return 1.0 / 24.0;
    }
}

MTime::Unit &uiTimeUnit() {
    static MTime::Unit u = MTime::kFilm;
    return u;
}

double cmPer(MDistance::Unit u) {
    switch (u) {
    case MDistance::kInches:
        return 2.54;
    case MDistance::kFeet:
        return 30.48;
    case MDistance::kYards:
        return 91.44;
    case MDistance::kMiles:
        return 160934.4;
    case MDistance::kMillimeters:
        return 0.1;
    case MDistance::kKilometers:
        return 100000.0;
    case MDistance::kMeters:
        return 100.0;
    default:
        return 1.0;
    }
}

double radPer(MAngle::Unit u) {
    const double pi = 3.14159265358979323846;
    switch (u) {
    case MAngle::kDegrees:
        return pi / 180.0;
    case MAngle::kAngMinutes:
        return pi / (180.0 * 60.0);
    case MAngle::kAngSeconds:
        return pi / (180.0 * 3600.0);
    default:
        return 1.0;
    }
}

} // namespace

OPENMAYA_MAJOR_NAMESPACE_OPEN

// ---- MTime
MTime::MTime() : val(0), valUnit(uiUnit()) {}
MTime::MTime(double v, Unit u) : val(v), valUnit(u) {}
MTime::MTime(const MTime &o) = default;
MTime::~MTime() = default;
MTime &MTime::operator=(const MTime &o) = default;
MTime::Unit MTime::unit() const {
    return valUnit;
}
double MTime::value() const {
    return val;
}
MStatus MTime::setUnit(Unit u) {
    if (u <= kInvalid || u >= kLast)
        return MStatus::kInvalidParameter;
    val = as(u);
    valUnit = u;
    return MStatus::kSuccess;
}
MStatus MTime::setValue(double v) {
    val = v;
    return MStatus::kSuccess;
}
double MTime::as(Unit u) const {
    return val * secondsPer(valUnit) / secondsPer(u);
}
double MTime::asUnits(Unit u) const {
    return as(u);
}
MTime::Unit MTime::uiUnit() {
    return uiTimeUnit();
}
MStatus MTime::setUIUnit(Unit u) {
    if (u <= kInvalid || u >= kLast)
        return MStatus::kInvalidParameter;
    uiTimeUnit() = u;
    return MStatus::kSuccess;
}
MTime MTime::operator+(const MTime &r) const {
    return MTime(val + r.as(valUnit), valUnit);
}
MTime MTime::operator-(const MTime &r) const {
    return MTime(val - r.as(valUnit), valUnit);
}
bool MTime::operator==(const MTime &r) const {
    return std::fabs(as(kSeconds) - r.as(kSeconds)) < 1e-9;
}
bool MTime::operator!=(const MTime &r) const {
    return !(*this == r);
}
bool MTime::operator<(const MTime &r) const {
    return as(kSeconds) < r.as(kSeconds) && *this != r;
}
bool MTime::operator>(const MTime &r) const {
    return r < *this;
}
bool MTime::operator<=(const MTime &r) const {
    return !(r < *this);
}
bool MTime::operator>=(const MTime &r) const {
    return !(*this < r);
}
std::ostream &operator<<(std::ostream &os, const MTime &t) {
    return os << t.value();
}

// ---- MDistance
MDistance::MDistance() : val(0), valUnit(kCentimeters) {}
MDistance::MDistance(double v, Unit u) : val(v), valUnit(u) {}
MDistance::MDistance(const MDistance &o) = default;
MDistance::~MDistance() = default;
MDistance &MDistance::operator=(const MDistance &o) = default;
MDistance::Unit MDistance::unit() const {
    return valUnit;
}
double MDistance::value() const {
    return val;
}
MStatus MDistance::setUnit(Unit u) {
    valUnit = u;
    return MStatus::kSuccess;
}
MStatus MDistance::setValue(double v) {
    val = v;
    return MStatus::kSuccess;
}
double MDistance::as(Unit u, MStatus *rs) const {
    if (rs)
        *rs = MStatus::kSuccess;
    return val * cmPer(valUnit) / cmPer(u);
}
double MDistance::asCentimeters() const {
    return as(kCentimeters);
}
MDistance::Unit MDistance::uiUnit() {
    return kCentimeters;
}
MDistance::Unit MDistance::internalUnit() {
    return kCentimeters;
}

// ---- MAngle
MAngle::MAngle() : val(0), valUnit(kRadians) {}
MAngle::MAngle(double v, Unit u) : val(v), valUnit(u) {}
MAngle::MAngle(const MAngle &o) = default;
MAngle::~MAngle() = default;
MAngle &MAngle::operator=(const MAngle &o) = default;
MAngle::Unit MAngle::unit() const {
    return valUnit;
}
double MAngle::value() const {
    return val;
}
MStatus MAngle::setUnit(Unit u) {
    valUnit = u;
    return MStatus::kSuccess;
}
MStatus MAngle::setValue(double v) {
    val = v;
    return MStatus::kSuccess;
}
double MAngle::as(Unit u, MStatus *rs) const {
    if (rs)
        *rs = MStatus::kSuccess;
    return val * radPer(valUnit) / radPer(u);
}
double MAngle::asRadians() const {
    return as(kRadians);
}
double MAngle::asDegrees() const {
    return as(kDegrees);
}
MAngle::Unit MAngle::uiUnit() {
    return kDegrees;
}
MAngle::Unit MAngle::internalUnit() {
    return kRadians;
}

// ---- MDGContext
MDGContext MDGContext::fsNormal;
MDGContext::MDGContext() : fNormal(true), fTime() {}
MDGContext::MDGContext(const MTime &when) : fNormal(false), fTime(when) {}
MDGContext::MDGContext(const MDGContext &o) = default;
MDGContext::~MDGContext() = default;
MDGContext &MDGContext::operator=(const MDGContext &o) = default;
bool MDGContext::isNormal(MStatus *rs) const {
    if (rs)
        *rs = MStatus::kSuccess;
    return fNormal;
}
MStatus MDGContext::getTime(MTime &t) const {
    t = fTime;
    return MStatus::kSuccess;
}

// ---- MTypeId
MTypeId::MTypeId() : fId(0) {}
MTypeId::~MTypeId() = default;
MTypeId::MTypeId(unsigned int id) : fId(id) {}
MTypeId::MTypeId(unsigned int prefix, unsigned int id) : fId((prefix << 8) | (id & 0xff)) {}
MTypeId::MTypeId(const MTypeId &o) = default;
MTypeId &MTypeId::operator=(const MTypeId &o) = default;
bool MTypeId::operator==(const MTypeId &r) const {
    return fId == r.fId;
}
bool MTypeId::operator!=(const MTypeId &r) const {
    return fId != r.fId;
}
unsigned int MTypeId::id(MStatus *rs) const {
    if (rs)
        *rs = MStatus::kSuccess;
    return fId;
}
const char *MTypeId::className() {
    return "MTypeId";
}

OPENMAYA_NAMESPACE_CLOSE
