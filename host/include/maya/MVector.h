#ifndef _MVector
#define _MVector
// Double-precision 3D vector.
#include <maya/MTypes.h>
#include <maya/MStatus.h>

#define MVector_kTol 1.0e-10

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MFloatVector;
class MPoint;
class MFloatPoint;
class MMatrix;

class OPENMAYA_EXPORT MVector {
public:
    enum Axis { kXaxis, kYaxis, kZaxis, kWaxis };
    MVector();
    MVector(const MVector &);
    MVector(const MFloatVector &);
    MVector(const MPoint &);
    MVector(const MFloatPoint &);
    MVector(double xx, double yy, double zz = 0.0);
    MVector(const double d[3]);
    MVector(const float f[3]);
    ~MVector();
    MVector &operator=(const MVector &src);
    double operator()(unsigned int i) const;
    double operator[](unsigned int i) const;
    double &operator[](unsigned int i);
    MVector operator^(const MVector &right) const;
    MVector &operator/=(double scalar);
    MVector operator/(double scalar) const;
    MVector &operator*=(double scalar);
    MVector operator*(double scalar) const;
    MVector operator+(const MVector &other) const;
    MVector &operator+=(const MVector &other);
    MVector operator-() const;
    MVector operator-(const MVector &other) const;
    MVector &operator-=(const MVector &other);
    MVector operator*(const MMatrix &) const;
    MVector &operator*=(const MMatrix &);
    double operator*(const MVector &right) const;
    bool operator!=(const MVector &other) const;
    bool operator==(const MVector &other) const;
    MStatus get(double[3]) const;
    double length() const;
    MVector normal() const;
    MStatus normalize();
    double angle(const MVector &other) const;
    bool isEquivalent(const MVector &other, double tolerance = MVector_kTol) const;
    bool isParallel(const MVector &other, double tolerance = MVector_kTol) const;
    friend OPENMAYA_EXPORT MVector operator*(int, const MVector &);
    friend OPENMAYA_EXPORT MVector operator*(short, const MVector &);
    friend OPENMAYA_EXPORT MVector operator*(unsigned int, const MVector &);
    friend OPENMAYA_EXPORT MVector operator*(unsigned short, const MVector &);
    friend OPENMAYA_EXPORT MVector operator*(float, const MVector &);
    friend OPENMAYA_EXPORT MVector operator*(double, const MVector &);
    friend OPENMAYA_EXPORT MVector operator*(const MMatrix &, const MVector &);
    friend OPENMAYA_EXPORT std::ostream &operator<<(std::ostream &os, const MVector &v);

    static const MVector zero;
    static const MVector one;
    static const MVector xAxis;
    static const MVector yAxis;
    static const MVector zAxis;
    static const MVector xNegAxis;
    static const MVector yNegAxis;
    static const MVector zNegAxis;
    double x;
    double y;
    double z;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
