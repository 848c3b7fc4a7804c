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

class OPENMAYA_EXPORT MFloatPoint : public ::kelphost::Point4<MFloatPoint, MFloatVector, float> {
public:
    MFloatPoint();
    MFloatPoint(const MFloatPoint &srcpt) = default;
    MFloatPoint(const MPoint &srcpt);
    MFloatPoint(const MFloatVector &src);
    MFloatPoint(const MVector &src);
    MFloatPoint(float xx, float yy, float zz = 0.0, float ww = 1.0);
    MFloatPoint(const float d[4]);
    MFloatPoint(const double d[4]);
    ~MFloatPoint() = default;
    MFloatPoint &operator=(const MFloatPoint &src) = default;
    MStatus setCast(const MPoint &srcpt);
    MStatus setCast(const MVector &src);
    MStatus setCast(const double d[4]);
    friend OPENMAYA_EXPORT std::ostream &operator<<(std::ostream &os, const MFloatPoint &p);

    static const MFloatPoint origin;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
