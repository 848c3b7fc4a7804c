#ifndef _MFloatPoint
#define _MFloatPoint
// Single-precision homogeneous point; default (0, 0, 0, 1).
#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/MFloatVector.h>

#define MFloatPoint_kTol 1.0e-5F

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MPoint;
class MVector;
class MFloatMatrix;

class OPENMAYA_EXPORT MFloatPoint {
public:
    MFloatPoint();
    MFloatPoint(const MFloatPoint &srcpt);
    MFloatPoint(const MPoint &srcpt);
    MFloatPoint(const MFloatVector &src);
    MFloatPoint(const MVector &src);
    MFloatPoint(float xx, float yy, float zz = 0.0, float ww = 1.0);
    MFloatPoint(const float d[4]);
    MFloatPoint(const double d[4]);
    ~MFloatPoint();
    MFloatPoint &operator=(const MFloatPoint &src);
    MStatus get(float[4]) const;
    MStatus get(double[4]) const;
    MStatus setCast(const MPoint &srcpt);
    MStatus setCast(const MVector &src);
    MStatus setCast(const double d[4]);
    float operator()(unsigned int i) const;
    float operator[](unsigned int i) const;
    float &operator[](unsigned int i);
    MFloatVector operator-(const MFloatPoint &other) const;
    MFloatPoint operator+(const MFloatVector &other) const;
    MFloatPoint operator-(const MFloatVector &other) const;
    MFloatPoint &operator+=(const MFloatVector &vector);
    MFloatPoint &operator-=(const MFloatVector &vector);
    MFloatPoint operator*(const float scale) const;
    MFloatPoint operator/(const float scale) const;
    bool operator==(const MFloatPoint &other) const;
    bool operator!=(const MFloatPoint &other) const;
    MFloatPoint &cartesianize();
    MFloatPoint &rationalize();
    MFloatPoint &homogenize();
    float distanceTo(const MFloatPoint &other) const;
    bool isEquivalent(const MFloatPoint &other, float tolerance = MFloatPoint_kTol) const;
    friend OPENMAYA_EXPORT std::ostream &operator<<(std::ostream &os, const MFloatPoint &p);

    static const MFloatPoint origin;
    float x;
    float y;
    float z;
    float w;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
