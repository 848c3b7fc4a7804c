#ifndef _MFloatMatrix
#define _MFloatMatrix
// 4x4 float matrix.
#include <maya/MTypes.h>
#include <maya/MStatus.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MFloatMatrix {
public:
    MFloatMatrix();
    MFloatMatrix(const MFloatMatrix &src);
    MFloatMatrix(const float m[4][4]);
    MFloatMatrix(const double m[4][4]);
    ~MFloatMatrix();
    MFloatMatrix &operator=(const MFloatMatrix &);
    float operator()(unsigned int row, unsigned int col) const;
    const float *operator[](unsigned int row) const;
    MStatus get(float dest[4][4]) const;
    MFloatMatrix &setToIdentity();
    MFloatMatrix operator*(const MFloatMatrix &right) const;
    bool operator==(const MFloatMatrix &other) const;
    bool operator!=(const MFloatMatrix &other) const;
    MFloatMatrix inverse() const;
    MFloatMatrix transpose() const;
    float matrix[4][4];
};

OPENMAYA_NAMESPACE_CLOSE

#endif
