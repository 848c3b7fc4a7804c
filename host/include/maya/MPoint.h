#ifndef _MPoint
#define _MPoint
// Double-precision homogeneous point; default (0, 0, 0, 1).
#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/MVector.h>

#define MPoint_kTol 1.0e-10

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MFloatPoint;
class MFloatVector;
class MMatrix;

class OPENMAYA_EXPORT MPoint {
public:
    MPoint();
    MPoint(const MPoint &srcpt);
    MPoint(const MFloatPoint &srcpt);
    MPoint(const MVector &src);
    MPoint(const MFloatVector &src);
    MPoint(double xx, double yy, double zz = 0.0, double ww = 1.0);
    MPoint(const double d[4]);
    MPoint(const float d[4]);
    ~MPoint();
    MPoint &operator=(const MPoint &src);
    MStatus get(double[4]) const;
    MStatus get(float[4]) const;
    double operator()(unsigned int i) const;
    double operator[](unsigned int i) const;
    double &operator[](unsigned int i);
    MVector operator-(const MPoint &other) const;
    MPoint operator+(const MVector &other) const;
    MPoint operator-(const MVector &other) const;
    MPoint &operator+=(const MVector &vector);
    MPoint &operator-=(const MVector &vector);
    MPoint operator*(const double scale) const;
    MPoint operator/(const double scale) const;
    MPoint &operator*=(const double scale);
    MPoint &operator/=(const double scale);
    MPoint operator*(const MMatrix &) const;
    MPoint &operator*=(const MMatrix &);
    bool operator==(const MPoint &other) const;
    bool operator!=(const MPoint &other) const;
    MPoint &cartesianize();
    MPoint &rationalize();
    MPoint &homogenize();
    double distanceTo(const MPoint &other) const;
    bool isEquivalent(const MPoint &other, double tolerance = MPoint_kTol) const;
    friend OPENMAYA_EXPORT MPoint operator*(const MMatrix &, const MPoint &);
    friend OPENMAYA_EXPORT std::ostream &operator<<(std::ostream &os, const MPoint &p);

    static const MPoint origin;
    double x;
    double y;
    double z;
    double w;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
