#ifndef KELPHOST_DETAIL_VECTOR3_H
#define KELPHOST_DETAIL_VECTOR3_H
// The arithmetic that the double and float vector and point classes share,
// written once. V (P) is the public class, T its component type. Not part of
// the interface: include <maya/MVector.h> and friends instead.
#include <maya/MStatus.h>

#include <cmath>

namespace kelphost {

// The default isEquivalent tolerance of a component type.
template <class T> struct Precision;
template <> struct Precision<double> { static constexpr double tolerance = 1.0e-10; };
template <> struct Precision<float> { static constexpr float tolerance = 1.0e-5F; };

template <class V, class T> class Vector3 {
public:
    T operator()(unsigned int i) const { return i == 0 ? x : i == 1 ? y : z; }
    T operator[](unsigned int i) const { return (*this)(i); }
    T &operator[](unsigned int i) { return i == 0 ? x : i == 1 ? y : z; }
    V operator^(const V &r) const {
        return V(y * r.z - z * r.y, z * r.x - x * r.z, x * r.y - y * r.x);
    }
    V operator/(T s) const { return V(x / s, y / s, z / s); }
    V operator*(T s) const { return V(x * s, y * s, z * s); }
    V operator+(const V &o) const { return V(x + o.x, y + o.y, z + o.z); }
    V &operator+=(const V &o) {
        x += o.x;
        y += o.y;
        z += o.z;
        return self();
    }
    V operator-() const { return V(-x, -y, -z); }
    V operator-(const V &o) const { return V(x - o.x, y - o.y, z - o.z); }
    T operator*(const V &r) const { return x * r.x + y * r.y + z * r.z; }
    bool operator!=(const V &o) const { return !(*this == o); }
    bool operator==(const V &o) const { return x == o.x && y == o.y && z == o.z; }
    MStatus get(T d[3]) const {
        d[0] = x;
        d[1] = y;
        d[2] = z;
        return MStatus::kSuccess;
    }
    T length() const { return std::sqrt(x * x + y * y + z * z); }
    V normal() const {
        T l = length();
        return l > 0 ? *this / l : self();
    }
    MStatus normalize() {
        self() = normal();
        return MStatus::kSuccess;
    }
    bool isEquivalent(const V &o, T tolerance = Precision<T>::tolerance) const {
        return (*this - o).length() <= tolerance;
    }

    T x;
    T y;
    T z;

protected:
    Vector3(T xx, T yy, T zz) : x(xx), y(yy), z(zz) {}
    V &self() { return static_cast<V &>(*this); }
    const V &self() const { return static_cast<const V &>(*this); }
};

// A homogeneous point P whose differences are vectors V.
template <class P, class V, class T> class Point4 {
public:
    MStatus get(double d[4]) const { return copyTo(d); }
    MStatus get(float d[4]) const { return copyTo(d); }
    T operator()(unsigned int i) const { return i == 0 ? x : i == 1 ? y : i == 2 ? z : w; }
    T operator[](unsigned int i) const { return (*this)(i); }
    T &operator[](unsigned int i) { return i == 0 ? x : i == 1 ? y : i == 2 ? z : w; }
    // Both points are made cartesian first: the difference of two
    // homogeneous points is the difference of the places they stand for.
    V operator-(const P &o) const {
        P a(self()), b(o);
        a.cartesianize();
        b.cartesianize();
        return V(a.x - b.x, a.y - b.y, a.z - b.z);
    }
    P operator+(const V &v) const { return P(x + v.x, y + v.y, z + v.z, w); }
    P operator-(const V &v) const { return P(x - v.x, y - v.y, z - v.z, w); }
    P &operator+=(const V &v) { return self() = *this + v; }
    P &operator-=(const V &v) { return self() = *this - v; }
    P operator*(const T s) const { return P(x * s, y * s, z * s, w); }
    P operator/(const T s) const { return P(x / s, y / s, z / s, w); }
    bool operator==(const P &o) const { return x == o.x && y == o.y && z == o.z && w == o.w; }
    bool operator!=(const P &o) const { return !(*this == o); }
    P &cartesianize() {
        if (w != 0 && w != 1) {
            rationalize();
            w = 1;
        }
        return self();
    }
    P &rationalize() {
        if (w != 0) {
            x /= w;
            y /= w;
            z /= w;
        }
        return self();
    }
    P &homogenize() {
        x *= w;
        y *= w;
        z *= w;
        return self();
    }
    T distanceTo(const P &o) const { return (*this - o).length(); }
    bool isEquivalent(const P &o, T tolerance = Precision<T>::tolerance) const {
        return std::fabs(x - o.x) <= tolerance && std::fabs(y - o.y) <= tolerance &&
               std::fabs(z - o.z) <= tolerance && std::fabs(w - o.w) <= tolerance;
    }

    T x;
    T y;
    T z;
    T w;

protected:
    Point4(T xx, T yy, T zz, T ww) : x(xx), y(yy), z(zz), w(ww) {}
    P &self() { return static_cast<P &>(*this); }
    const P &self() const { return static_cast<const P &>(*this); }
    template <class U> MStatus copyTo(U d[4]) const {
        d[0] = static_cast<U>(x);
        d[1] = static_cast<U>(y);
        d[2] = static_cast<U>(z);
        d[3] = static_cast<U>(w);
        return MStatus::kSuccess;
    }
};

} // namespace kelphost

#endif
