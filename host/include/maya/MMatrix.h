#ifndef _MMatrix
#define _MMatrix
// 4x4 double matrix, row vectors (points multiply on the left: p * M).
#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/detail/Matrix4.h>

#define MMatrix_kTol 1.0e-10

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MMatrix : public ::kelphost::Matrix4<MMatrix, double> {
public:
    MMatrix() = default;
    MMatrix(const MMatrix &src) = default;
    MMatrix(const double m[4][4]) : Matrix4(m) {}
    MMatrix(const float m[4][4]) : Matrix4(m) {}
    ~MMatrix() = default;
    MMatrix &operator=(const MMatrix &) = default;
    using Matrix4::get;
    using Matrix4::operator*;
    MStatus get(float dest[4][4]) const;
    MMatrix &setToProduct(const MMatrix &left, const MMatrix &right);
    MMatrix &operator+=(const MMatrix &right);
    MMatrix operator+(const MMatrix &right) const;
    MMatrix &operator-=(const MMatrix &right);
    MMatrix operator-(const MMatrix &right) const;
    MMatrix &operator*=(const MMatrix &right);
    MMatrix &operator*=(double);
    MMatrix operator*(double) const;
    MMatrix adjoint() const;
    MMatrix homogenize() const;
    double det4x4() const;
    double det3x3() const;
    bool isEquivalent(const MMatrix &other, double tolerance = MMatrix_kTol) const;
    bool isSingular() const;
    friend OPENMAYA_EXPORT MMatrix operator*(double, const MMatrix &right);
    friend OPENMAYA_EXPORT std::ostream &operator<<(std::ostream &os, const MMatrix &m);

    static const MMatrix identity;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
