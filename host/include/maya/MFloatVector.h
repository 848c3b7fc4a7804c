#ifndef _MFloatVector
#define _MFloatVector
// Single-precision 3D vector.
#include <maya/MTypes.h>
#include <maya/MStatus.h>

#define MFloatVector_kTol 1.0e-5F

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MVector;
class MFloatPoint;
class MPoint;

class OPENMAYA_EXPORT MFloatVector {
public:
    MFloatVector();
    MFloatVector(const MFloatVector &);
    MFloatVector(const MVector &);
    MFloatVector(const MFloatPoint &);
    MFloatVector(float xx, float yy, float zz = 0.0);
    MFloatVector(const float d[3]);
    ~MFloatVector();
    MFloatVector &operator=(const MFloatVector &src);
    float operator()(unsigned int i) const;
    float operator[](unsigned int i) const;
    float &operator[](unsigned int i);
    MFloatVector operator^(const MFloatVector &right) const;
    MFloatVector operator/(float scalar) const;
    MFloatVector operator*(float scalar) const;
    MFloatVector operator+(const MFloatVector &other) const;
    MFloatVector &operator+=(const MFloatVector &other);
    MFloatVector operator-() const;
    MFloatVector operator-(const MFloatVector &other) const;
    float operator*(const MFloatVector &right) const;
    bool operator!=(const MFloatVector &other) const;
    bool operator==(const MFloatVector &other) const;
    MStatus get(float[3]) const;
    float length() const;
    MFloatVector normal() const;
    MStatus normalize();
    bool isEquivalent(const MFloatVector &other, float tolerance = MFloatVector_kTol) const;
    friend OPENMAYA_EXPORT std::ostream &operator<<(std::ostream &os, const MFloatVector &v);

    static const MFloatVector zero;
    static const MFloatVector one;
    static const MFloatVector xAxis;
    static const MFloatVector yAxis;
    static const MFloatVector zAxis;
    float x;
    float y;
    float z;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
