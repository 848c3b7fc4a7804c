#ifndef _MFloatVector
#define _MFloatVector
// Single-precision 3D vector.
#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/detail/Vector3.h>

#define MFloatVector_kTol 1.0e-5F

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MVector;
class MFloatPoint;
class MPoint;

class OPENMAYA_EXPORT MFloatVector : public ::kelphost::Vector3<MFloatVector, float> {
public:
    MFloatVector();
    MFloatVector(const MFloatVector &) = default;
    MFloatVector(const MVector &);
    MFloatVector(const MFloatPoint &);
    MFloatVector(float xx, float yy, float zz = 0.0);
    MFloatVector(const float d[3]);
    ~MFloatVector() = default;
    MFloatVector &operator=(const MFloatVector &src) = default;
    friend OPENMAYA_EXPORT std::ostream &operator<<(std::ostream &os, const MFloatVector &v);

    static const MFloatVector zero;
    static const MFloatVector one;
    static const MFloatVector xAxis;
    static const MFloatVector yAxis;
    static const MFloatVector zAxis;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
