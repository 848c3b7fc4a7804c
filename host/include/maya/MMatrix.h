#ifndef _MMatrix
#define _MMatrix
// 4x4 double matrix, row vectors (points multiply on the left: p * M).
#include <maya/MTypes.h>
#include <maya/MStatus.h>

#define MMatrix_kTol 1.0e-10

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MMatrix {
public:
    MMatrix();
    MMatrix(const MMatrix &src);
    MMatrix(const double m[4][4]);
    MMatrix(const float m[4][4]);
    ~MMatrix();
    MMatrix &operator=(const MMatrix &);
    double operator()(unsigned int row, unsigned int col) const;
    const double *operator[](unsigned int row) const;
    MStatus get(double dest[4][4]) const;
    MStatus get(float dest[4][4]) const;
    MMatrix transpose() const;
    MMatrix &setToIdentity();
    MMatrix &setToProduct(const MMatrix &left, const MMatrix &right);
    MMatrix &operator+=(const MMatrix &right);
    MMatrix operator+(const MMatrix &right) const;
    MMatrix &operator-=(const MMatrix &right);
    MMatrix operator-(const MMatrix &right) const;
    MMatrix &operator*=(const MMatrix &right);
    MMatrix operator*(const MMatrix &right) const;
    MMatrix &operator*=(double);
    MMatrix operator*(double) const;
    bool operator==(const MMatrix &other) const;
    bool operator!=(const MMatrix &other) const;
    MMatrix inverse() const;
    MMatrix adjoint() const;
    MMatrix homogenize() const;
    double det4x4() const;
    double det3x3() const;
    bool isEquivalent(const MMatrix &other, double tolerance = MMatrix_kTol) const;
    bool isSingular() const;
    friend OPENMAYA_EXPORT MMatrix operator*(double, const MMatrix &right);
    friend OPENMAYA_EXPORT std::ostream &operator<<(std::ostream &os, const MMatrix &m);

    static const MMatrix identity;
    double matrix[4][4];
};

OPENMAYA_NAMESPACE_CLOSE

#endif
