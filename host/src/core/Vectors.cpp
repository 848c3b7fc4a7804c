// MVector, MFloatVector, MPoint, MFloatPoint: what the shared templates leave
// to each class (constants, conversions, matrix products, printing).
#include <maya/MColor.h>
#include <maya/MFloatPoint.h>
#include <maya/MFloatVector.h>
#include <maya/MMatrix.h>
#include <maya/MPoint.h>
#include <maya/MVector.h>

#include <cmath>

namespace {
float f(double d) {
    return static_cast<float>(d);
}
} // namespace

OPENMAYA_MAJOR_NAMESPACE_OPEN

// ---- MVector
const MVector MVector::zero(0, 0, 0);
const MVector MVector::one(1, 1, 1);
const MVector MVector::xAxis(1, 0, 0);
const MVector MVector::yAxis(0, 1, 0);
const MVector MVector::zAxis(0, 0, 1);
const MVector MVector::xNegAxis(-1, 0, 0);
const MVector MVector::yNegAxis(0, -1, 0);
const MVector MVector::zNegAxis(0, 0, -1);

MVector::MVector() : Vector3(0, 0, 0) {}
MVector::MVector(double xx, double yy, double zz) : Vector3(xx, yy, zz) {}
MVector::MVector(const double d[3]) : Vector3(d[0], d[1], d[2]) {}
MVector::MVector(const float f[3]) : Vector3(f[0], f[1], f[2]) {}
MVector::MVector(const MFloatVector &o) : Vector3(o.x, o.y, o.z) {}
MVector::MVector(const MPoint &p) : Vector3(p.x, p.y, p.z) {}
MVector::MVector(const MFloatPoint &p) : Vector3(p.x, p.y, p.z) {}
MVector &MVector::operator/=(double s) {
    return *this = *this / s;
}
MVector &MVector::operator*=(double s) {
    return *this = *this * s;
}
MVector &MVector::operator-=(const MVector &o) {
    return *this = *this - o;
}
MVector MVector::operator*(const MMatrix &m) const {
    return MVector(x * m.matrix[0][0] + y * m.matrix[1][0] + z * m.matrix[2][0],
                   x * m.matrix[0][1] + y * m.matrix[1][1] + z * m.matrix[2][1],
                   x * m.matrix[0][2] + y * m.matrix[1][2] + z * m.matrix[2][2]);
}
MVector &MVector::operator*=(const MMatrix &m) {
    return *this = *this * m;
}
double MVector::angle(const MVector &o) const {
    double l = length() * o.length();
    if (l <= 0)
        return 0;
    double c = (*this * o) / l;
    return std::acos(c > 1 ? 1 : c < -1 ? -1 : c);
}
bool MVector::isParallel(const MVector &o, double tol) const {
    return (normal() ^ o.normal()).length() <= tol;
}
MVector operator*(int s, const MVector &v) {
    return v * s;
}
MVector operator*(short s, const MVector &v) {
    return v * s;
}
MVector operator*(unsigned int s, const MVector &v) {
    return v * s;
}
MVector operator*(unsigned short s, const MVector &v) {
    return v * s;
}
MVector operator*(float s, const MVector &v) {
    return v * s;
}
MVector operator*(double s, const MVector &v) {
    return v * s;
}
MVector operator*(const MMatrix &m, const MVector &v) {
    return MVector(m.matrix[0][0] * v.x + m.matrix[0][1] * v.y + m.matrix[0][2] * v.z,
                   m.matrix[1][0] * v.x + m.matrix[1][1] * v.y + m.matrix[1][2] * v.z,
                   m.matrix[2][0] * v.x + m.matrix[2][1] * v.y + m.matrix[2][2] * v.z);
}
std::ostream &operator<<(std::ostream &os, const MVector &v) {
    return os << "[" << v.x << ", " << v.y << ", " << v.z << "]";
}

// ---- MFloatVector
const MFloatVector MFloatVector::zero(0, 0, 0);
const MFloatVector MFloatVector::one(1, 1, 1);
const MFloatVector MFloatVector::xAxis(1, 0, 0);
const MFloatVector MFloatVector::yAxis(0, 1, 0);
const MFloatVector MFloatVector::zAxis(0, 0, 1);

MFloatVector::MFloatVector() : Vector3(0, 0, 0) {}
MFloatVector::MFloatVector(float xx, float yy, float zz) : Vector3(xx, yy, zz) {}
MFloatVector::MFloatVector(const float d[3]) : Vector3(d[0], d[1], d[2]) {}
MFloatVector::MFloatVector(const MVector &o) : Vector3(f(o.x), f(o.y), f(o.z)) {}
MFloatVector::MFloatVector(const MFloatPoint &p) : Vector3(p.x, p.y, p.z) {}
std::ostream &operator<<(std::ostream &os, const MFloatVector &v) {
    return os << "[" << v.x << ", " << v.y << ", " << v.z << "]";
}

// ---- MPoint
const MPoint MPoint::origin(0, 0, 0, 1);

MPoint::MPoint() : Point4(0, 0, 0, 1) {}
MPoint::MPoint(const MVector &v) : Point4(v.x, v.y, v.z, 1) {}
MPoint::MPoint(double xx, double yy, double zz, double ww) : Point4(xx, yy, zz, ww) {}
MPoint::MPoint(const double d[4]) : Point4(d[0], d[1], d[2], d[3]) {}
MPoint::MPoint(const float d[4]) : Point4(d[0], d[1], d[2], d[3]) {}
MPoint::MPoint(const MFloatPoint &o) : Point4(o.x, o.y, o.z, o.w) {}
MPoint::MPoint(const MFloatVector &v) : Point4(v.x, v.y, v.z, 1) {}
MPoint &MPoint::operator*=(const double s) {
    return *this = *this * s;
}
MPoint &MPoint::operator/=(const double s) {
    return *this = *this / s;
}
MPoint MPoint::operator*(const MMatrix &m) const {
    double r[4];
    for (int c = 0; c < 4; ++c)
        r[c] = x * m.matrix[0][c] + y * m.matrix[1][c] + z * m.matrix[2][c] + w * m.matrix[3][c];
    return MPoint(r);
}
MPoint &MPoint::operator*=(const MMatrix &m) {
    return *this = *this * m;
}
MPoint operator*(const MMatrix &m, const MPoint &p) {
    double r[4];
    for (int row = 0; row < 4; ++row)
        r[row] = m.matrix[row][0] * p.x + m.matrix[row][1] * p.y + m.matrix[row][2] * p.z +
                 m.matrix[row][3] * p.w;
    return MPoint(r);
}
std::ostream &operator<<(std::ostream &os, const MPoint &p) {
    return os << "[" << p.x << ", " << p.y << ", " << p.z << ", " << p.w << "]";
}

// ---- MFloatPoint
const MFloatPoint MFloatPoint::origin(0, 0, 0, 1);

MFloatPoint::MFloatPoint() : Point4(0, 0, 0, 1) {}
MFloatPoint::MFloatPoint(const MFloatVector &v) : Point4(v.x, v.y, v.z, 1) {}
MFloatPoint::MFloatPoint(float xx, float yy, float zz, float ww) : Point4(xx, yy, zz, ww) {}
MFloatPoint::MFloatPoint(const float d[4]) : Point4(d[0], d[1], d[2], d[3]) {}
MFloatPoint::MFloatPoint(const MPoint &o) : Point4(f(o.x), f(o.y), f(o.z), f(o.w)) {}
MFloatPoint::MFloatPoint(const MVector &v) : Point4(f(v.x), f(v.y), f(v.z), 1) {}
MFloatPoint::MFloatPoint(const double d[4]) : Point4(f(d[0]), f(d[1]), f(d[2]), f(d[3])) {}
MStatus MFloatPoint::setCast(const MPoint &p) {
    *this = MFloatPoint(p);
    return MStatus::kSuccess;
}
MStatus MFloatPoint::setCast(const MVector &v) {
    *this = MFloatPoint(v);
    return MStatus::kSuccess;
}
MStatus MFloatPoint::setCast(const double d[4]) {
    *this = MFloatPoint(d);
    return MStatus::kSuccess;
}
std::ostream &operator<<(std::ostream &os, const MFloatPoint &p) {
    return os << "[" << p.x << ", " << p.y << ", " << p.z << ", " << p.w << "]";
}

// ---- MColor
MColor::MColor() : r(0), g(0), b(0), a(1) {}
MColor::MColor(const MColor &o) = default;
MColor::MColor(float rr, float gg, float bb, float aa) : r(rr), g(gg), b(bb), a(aa) {}
MColor::MColor(const float c[3]) : r(c[0]), g(c[1]), b(c[2]), a(1) {}
MColor::~MColor() = default;
MColor &MColor::operator=(const MColor &o) = default;
float MColor::operator()(unsigned int i) const {
    return i == 0 ? r : i == 1 ? g : i == 2 ? b : a;
}
float MColor::operator[](unsigned int i) const {
    return (*this)(i);
}
float &MColor::operator[](unsigned int i) {
    return i == 0 ? r : i == 1 ? g : i == 2 ? b : a;
}
bool MColor::operator==(const MColor &o) const {
    return r == o.r && g == o.g && b == o.b && a == o.a;
}
bool MColor::operator!=(const MColor &o) const {
    return !(*this == o);
}
MStatus MColor::get(float c[3]) const {
    c[0] = r;
    c[1] = g;
    c[2] = b;
    return MStatus::kSuccess;
}

OPENMAYA_NAMESPACE_CLOSE
