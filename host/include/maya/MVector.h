#ifndef _MVector
#define _MVector
// Double-precision 3D vector.
#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/detail/Vector3.h>

#define MVector_kTol 1.0e-10

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MFloatVector;
class MPoint;
class MFloatPoint;
class MMatrix;

class OPENMAYA_EXPORT MVector : public ::kelphost::Vector3<MVector, double> {
public:
    enum Axis { kXaxis, kYaxis, kZaxis, kWaxis };
    MVector();
    MVector(const MVector &) = default;
    MVector(const MFloatVector &);
    MVector(const MPoint &);
    MVector(const MFloatPoint &);
    MVector(double xx, double yy, double zz = 0.0);
    MVector(const double d[3]);
    MVector(const float f[3]);
    ~MVector() = default;
    MVector &operator=(const MVector &src) = default;
    using Vector3::operator*;
    MVector &operator/=(double scalar);
    MVector &operator*=(double scalar);
    MVector &operator-=(const MVector &other);
    MVector operator*(const MMatrix &) const;
    MVector &operator*=(const MMatrix &);
    double angle(const MVector &other) const;
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
};

OPENMAYA_NAMESPACE_CLOSE

#endif
