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

class OPENMAYA_EXPORT MPoint : public ::kelphost::Point4<MPoint, MVector, double> {
public:
    MPoint();
    MPoint(const MPoint &srcpt) = default;
    MPoint(const MFloatPoint &srcpt);
    MPoint(const MVector &src);
    MPoint(const MFloatVector &src);
    MPoint(double xx, double yy, double zz = 0.0, double ww = 1.0);
    MPoint(const double d[4]);
    MPoint(const float d[4]);
    ~MPoint() = default;
    MPoint &operator=(const MPoint &src) = default;
    using Point4::operator*;
    MPoint &operator*=(const double scale);
    MPoint &operator/=(const double scale);
    MPoint operator*(const MMatrix &) const;
    MPoint &operator*=(const MMatrix &);
    friend OPENMAYA_EXPORT MPoint operator*(const MMatrix &, const MPoint &);
    friend OPENMAYA_EXPORT std::ostream &operator<<(std::ostream &os, const MPoint &p);

    static const MPoint origin;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
