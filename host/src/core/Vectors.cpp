// MVector, MFloatVector, MPoint, MFloatPoint.
#include <maya/MColor.h>
#include <maya/MFloatPoint.h>
#include <maya/MFloatVector.h>
#include <maya/MMatrix.h>
#include <maya/MPoint.h>
#include <maya/MVector.h>

#include <cmath>

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

MVector::MVector() : x(0), y(0), z(0) {}
MVector::MVector(const MVector &o) = default;
MVector::MVector(const MFloatVector &o) : x(o.x), y(o.y), z(o.z) {}
MVector::MVector(const MPoint &p) : x(p.x), y(p.y), z(p.z) {}
MVector::MVector(const MFloatPoint &p) : x(p.x), y(p.y), z(p.z) {}
MVector::MVector(double xx, double yy, double zz) : x(xx), y(yy), z(zz) {}
MVector::MVector(const double d[3]) : x(d[0]), y(d[1]), z(d[2]) {}
MVector::MVector(const float f[3]) : x(f[0]), y(f[1]), z(f[2]) {}
MVector::~MVector() = default;
MVector &MVector::operator=(const MVector &o) = default;
double MVector::operator()(unsigned int i) const {
    return i == 0 ? x : i == 1 ? y : z;
}
double MVector::operator[](unsigned int i) const {
    return (*this)(i);
}
double &MVector::operator[](unsigned int i) {
    return i == 0 ? x : i == 1 ? y : z;
}
MVector MVector::operator^(const MVector &r) const {
    return MVector(y * r.z - z * r.y, z * r.x - x * r.z, x * r.y - y * r.x);
}
MVector &MVector::operator/=(double s) {
    x /= s;
    y /= s;
    z /= s;
    return *this;
}
MVector MVector::operator/(double s) const {
    return MVector(x / s, y / s, z / s);
}
MVector &MVector::operator*=(double s) {
    x *= s;
    y *= s;
    z *= s;
    return *this;
}
MVector MVector::operator*(double s) const {
    return MVector(x * s, y * s, z * s);
}
MVector MVector::operator+(const MVector &o) const {
    return MVector(x + o.x, y + o.y, z + o.z);
}
MVector &MVector::operator+=(const MVector &o) {
    x += o.x;
    y += o.y;
    z += o.z;
    return *this;
}
MVector MVector::operator-() const {
    return MVector(-x, -y, -z);
}
MVector MVector::operator-(const MVector &o) const {
    return MVector(x - o.x, y - o.y, z - o.z);
}
MVector &MVector::operator-=(const MVector &o) {
    x -= o.x;
    y -= o.y;
    z -= o.z;
    return *this;
}
MVector MVector::operator*(const MMatrix &m) const {
    return MVector(x * m.matrix[0][0] + y * m.matrix[1][0] + z * m.matrix[2][0],
                   x * m.matrix[0][1] + y * m.matrix[1][1] + z * m.matrix[2][1],
                   x * m.matrix[0][2] + y * m.matrix[1][2] + z * m.matrix[2][2]);
}
MVector &MVector::operator*=(const MMatrix &m) {
    return *this = *this * m;
}
double MVector::operator*(const MVector &r) const {
    return x * r.x + y * r.y + z * r.z;
}
bool MVector::operator!=(const MVector &o) const {
    return !(*this == o);
}
bool MVector::operator==(const MVector &o) const {
    return x == o.x && y == o.y && z == o.z;
}
MStatus MVector::get(double d[3]) const {
    d[0] = x;
    d[1] = y;
    d[2] = z;
    return MStatus::kSuccess;
}
double MVector::length() const {
    return std::sqrt(x * x + y * y + z * z);
}
MVector MVector::normal() const {
    double l = length();
    return l > 0 ? *this / l : *this;
}
MStatus MVector::normalize() {
    double l = length();
    if (l > 0)
        *this /= l;
    return MStatus::kSuccess;
}
double MVector::angle(const MVector &o) const {
    double l = length() * o.length();
    if (l <= 0)
        return 0;
    double c = (*this * o) / l;
    return std::acos(c > 1 ? 1 : c < -1 ? -1 : c);
}
bool MVector::isEquivalent(const MVector &o, double tol) const {
    return (*this - o).length() <= tol;
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

MFloatVector::MFloatVector() : x(0), y(0), z(0) {}
MFloatVector::MFloatVector(const MFloatVector &o) = default;
MFloatVector::MFloatVector(const MVector &o)
    : x(static_cast<float>(o.x)), y(static_cast<float>(o.y)), z(static_cast<float>(o.z)) {}
MFloatVector::MFloatVector(const MFloatPoint &p) : x(p.x), y(p.y), z(p.z) {}
MFloatVector::MFloatVector(float xx, float yy, float zz) : x(xx), y(yy), z(zz) {}
MFloatVector::MFloatVector(const float d[3]) : x(d[0]), y(d[1]), z(d[2]) {}
MFloatVector::~MFloatVector() = default;
MFloatVector &MFloatVector::operator=(const MFloatVector &o) = default;
float MFloatVector::operator()(unsigned int i) const {
    return i == 0 ? x : i == 1 ? y : z;
}
float MFloatVector::operator[](unsigned int i) const {
    return (*this)(i);
}
float &MFloatVector::operator[](unsigned int i) {
    return i == 0 ? x : i == 1 ? y : z;
}
MFloatVector MFloatVector::operator^(const MFloatVector &r) const {
    return MFloatVector(y * r.z - z * r.y, z * r.x - x * r.z, x * r.y - y * r.x);
}
MFloatVector MFloatVector::operator/(float s) const {
    return MFloatVector(x / s, y / s, z / s);
}
MFloatVector MFloatVector::operator*(float s) const {
    return MFloatVector(x * s, y * s, z * s);
}
MFloatVector MFloatVector::operator+(const MFloatVector &o) const {
    return MFloatVector(x + o.x, y + o.y, z + o.z);
}
MFloatVector &MFloatVector::operator+=(const MFloatVector &o) {
    x += o.x;
    y += o.y;
    z += o.z;
    return *this;
}
MFloatVector MFloatVector::operator-() const {
    return MFloatVector(-x, -y, -z);
}
MFloatVector MFloatVector::operator-(const MFloatVector &o) const {
    return MFloatVector(x - o.x, y - o.y, z - o.z);
}
float MFloatVector::operator*(const MFloatVector &r) const {
    return x * r.x + y * r.y + z * r.z;
}
bool MFloatVector::operator!=(const MFloatVector &o) const {
    return !(*this == o);
}
bool MFloatVector::operator==(const MFloatVector &o) const {
    return x == o.x && y == o.y && z == o.z;
}
MStatus MFloatVector::get(float d[3]) const {
    d[0] = x;
    d[1] = y;
    d[2] = z;
    return MStatus::kSuccess;
}
float MFloatVector::length() const {
    return std::sqrt(x * x + y * y + z * z);
}
MFloatVector MFloatVector::normal() const {
    float l = length();
    return l > 0 ? *this / l : *this;
}
MStatus MFloatVector::normalize() {
    *this = normal();
    return MStatus::kSuccess;
}
bool MFloatVector::isEquivalent(const MFloatVector &o, float tol) const {
    return (*this - o).length() <= tol;
}
std::ostream &operator<<(std::ostream &os, const MFloatVector &v) {
    return os << "[" << v.x << ", " << v.y << ", " << v.z << "]";
}

// ---- MPoint
const MPoint MPoint::origin(0, 0, 0, 1);

MPoint::MPoint() : x(0), y(0), z(0), w(1) {}
MPoint::MPoint(const MPoint &o) = default;
MPoint::MPoint(const MFloatPoint &o) : x(o.x), y(o.y), z(o.z), w(o.w) {}
MPoint::MPoint(const MVector &v) : x(v.x), y(v.y), z(v.z), w(1) {}
MPoint::MPoint(const MFloatVector &v) : x(v.x), y(v.y), z(v.z), w(1) {}
MPoint::MPoint(double xx, double yy, double zz, double ww) : x(xx), y(yy), z(zz), w(ww) {}
MPoint::MPoint(const double d[4]) : x(d[0]), y(d[1]), z(d[2]), w(d[3]) {}
MPoint::MPoint(const float d[4]) : x(d[0]), y(d[1]), z(d[2]), w(d[3]) {}
MPoint::~MPoint() = default;
MPoint &MPoint::operator=(const MPoint &o) = default;
MStatus MPoint::get(double d[4]) const {
    d[0] = x;
    d[1] = y;
    d[2] = z;
    d[3] = w;
    return MStatus::kSuccess;
}
MStatus MPoint::get(float d[4]) const {
    d[0] = static_cast<float>(x);
    d[1] = static_cast<float>(y);
    d[2] = static_cast<float>(z);
    d[3] = static_cast<float>(w);
    return MStatus::kSuccess;
}
double MPoint::operator()(unsigned int i) const {
    return i == 0 ? x : i == 1 ? y : i == 2 ? z : w;
}
double MPoint::operator[](unsigned int i) const {
    return (*this)(i);
}
double &MPoint::operator[](unsigned int i) {
    return i == 0 ? x : i == 1 ? y : i == 2 ? z : w;
}
MVector MPoint::operator-(const MPoint &o) const {
    MPoint a(*this), b(o);
    a.cartesianize();
    b.cartesianize();
    return MVector(a.x - b.x, a.y - b.y, a.z - b.z);
}
MPoint MPoint::operator+(const MVector &v) const {
    return MPoint(x + v.x, y + v.y, z + v.z, w);
}
MPoint MPoint::operator-(const MVector &v) const {
    return MPoint(x - v.x, y - v.y, z - v.z, w);
}
MPoint &MPoint::operator+=(const MVector &v) {
    return *this = *this + v;
}
MPoint &MPoint::operator-=(const MVector &v) {
    return *this = *this - v;
}
MPoint MPoint::operator*(const double s) const {
    return MPoint(x * s, y * s, z * s, w);
}
MPoint MPoint::operator/(const double s) const {
    return MPoint(x / s, y / s, z / s, w);
}
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
bool MPoint::operator==(const MPoint &o) const {
    return x == o.x && y == o.y && z == o.z && w == o.w;
}
bool MPoint::operator!=(const MPoint &o) const {
    return !(*this == o);
}
MPoint &MPoint::cartesianize() {
    if (w != 0 && w != 1) {
        x /= w;
        y /= w;
        z /= w;
        w = 1;
    }
    return *this;
}
MPoint &MPoint::rationalize() {
    if (w != 0) {
        x /= w;
        y /= w;
        z /= w;
    }
    return *this;
}
MPoint &MPoint::homogenize() {
    x *= w;
    y *= w;
    z *= w;
    return *this;
}
double MPoint::distanceTo(const MPoint &o) const {
    return (*this - o).length();
}
bool MPoint::isEquivalent(const MPoint &o, double tol) const {
    return std::fabs(x - o.x) <= tol && std::fabs(y - o.y) <= tol && std::fabs(z - o.z) <= tol &&
           std::fabs(w - o.w) <= tol;
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

MFloatPoint::MFloatPoint() : x(0), y(0), z(0), w(1) {}
MFloatPoint::MFloatPoint(const MFloatPoint &o) = default;
MFloatPoint::MFloatPoint(const MPoint &o)
    : x(static_cast<float>(o.x)), y(static_cast<float>(o.y)), z(static_cast<float>(o.z)),
      w(static_cast<float>(o.w)) {}
MFloatPoint::MFloatPoint(const MFloatVector &v) : x(v.x), y(v.y), z(v.z), w(1) {}
MFloatPoint::MFloatPoint(const MVector &v)
    : x(static_cast<float>(v.x)), y(static_cast<float>(v.y)), z(static_cast<float>(v.z)), w(1) {}
MFloatPoint::MFloatPoint(float xx, float yy, float zz, float ww) : x(xx), y(yy), z(zz), w(ww) {}
MFloatPoint::MFloatPoint(const float d[4]) : x(d[0]), y(d[1]), z(d[2]), w(d[3]) {}
MFloatPoint::MFloatPoint(const double d[4])
    : x(static_cast<float>(d[0])), y(static_cast<float>(d[1])), z(static_cast<float>(d[2])),
      w(static_cast<float>(d[3])) {}
MFloatPoint::~MFloatPoint() = default;
MFloatPoint &MFloatPoint::operator=(const MFloatPoint &o) = default;
MStatus MFloatPoint::get(float d[4]) const {
    d[0] = x;
    d[1] = y;
    d[2] = z;
    d[3] = w;
    return MStatus::kSuccess;
}
MStatus MFloatPoint::get(double d[4]) const {
    d[0] = x;
    d[1] = y;
    d[2] = z;
    d[3] = w;
    return MStatus::kSuccess;
}
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
float MFloatPoint::operator()(unsigned int i) const {
    return i == 0 ? x : i == 1 ? y : i == 2 ? z : w;
}
float MFloatPoint::operator[](unsigned int i) const {
    return (*this)(i);
}
float &MFloatPoint::operator[](unsigned int i) {
    return i == 0 ? x : i == 1 ? y : i == 2 ? z : w;
}
MFloatVector MFloatPoint::operator-(const MFloatPoint &o) const {
    return MFloatVector(x - o.x, y - o.y, z - o.z);
}
MFloatPoint MFloatPoint::operator+(const MFloatVector &v) const {
    return MFloatPoint(x + v.x, y + v.y, z + v.z, w);
}
MFloatPoint MFloatPoint::operator-(const MFloatVector &v) const {
    return MFloatPoint(x - v.x, y - v.y, z - v.z, w);
}
MFloatPoint &MFloatPoint::operator+=(const MFloatVector &v) {
    return *this = *this + v;
}
MFloatPoint &MFloatPoint::operator-=(const MFloatVector &v) {
    return *this = *this - v;
}
MFloatPoint MFloatPoint::operator*(const float s) const {
    return MFloatPoint(x * s, y * s, z * s, w);
}
MFloatPoint MFloatPoint::operator/(const float s) const {
    return MFloatPoint(x / s, y / s, z / s, w);
}
bool MFloatPoint::operator==(const MFloatPoint &o) const {
    return x == o.x && y == o.y && z == o.z && w == o.w;
}
bool MFloatPoint::operator!=(const MFloatPoint &o) const {
    return !(*this == o);
}
MFloatPoint &MFloatPoint::cartesianize() {
    if (w != 0 && w != 1) {
        x /= w;
        y /= w;
        z /= w;
        w = 1;
    }
    return *this;
}
MFloatPoint &MFloatPoint::rationalize() {
    if (w != 0) {
        x /= w;
        y /= w;
        z /= w;
    }
    return *this;
}
MFloatPoint &MFloatPoint::homogenize() {
    x *= w;
    y *= w;
    z *= w;
    return *this;
}
float MFloatPoint::distanceTo(const MFloatPoint &o) const {
    return (*this - o).length();
}
bool MFloatPoint::isEquivalent(const MFloatPoint &o, float tol) const {
    return std::fabs(x - o.x) <= tol && std::fabs(y - o.y) <= tol && std::fabs(z - o.z) <= tol &&
           std::fabs(w - o.w) <= tol;
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
