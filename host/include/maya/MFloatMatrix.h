#ifndef _MFloatMatrix
#define _MFloatMatrix
// 4x4 float matrix.
#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/detail/Matrix4.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MFloatMatrix : public ::kelphost::Matrix4<MFloatMatrix, float> {
public:
    MFloatMatrix() = default;
    MFloatMatrix(const MFloatMatrix &src) = default;
    MFloatMatrix(const float m[4][4]) : Matrix4(m) {}
    MFloatMatrix(const double m[4][4]) : Matrix4(m) {}
    ~MFloatMatrix() = default;
    MFloatMatrix &operator=(const MFloatMatrix &) = default;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
