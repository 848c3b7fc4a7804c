// MMatrix: what the shared matrix template leaves to the double matrix
// (row-vector convention: p' = p * M).
#include <maya/MFloatMatrix.h>
#include <maya/MMatrix.h>

#include <cmath>

namespace {

double det3(const double m[4][4]) {
    return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
           m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
           m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

} // namespace

OPENMAYA_MAJOR_NAMESPACE_OPEN

const MMatrix MMatrix::identity;

MStatus MMatrix::get(float d[4][4]) const {
    copy(matrix, d);
    return MStatus::kSuccess;
}
MMatrix &MMatrix::setToProduct(const MMatrix &l, const MMatrix &r) {
    return *this = l * r;
}
MMatrix &MMatrix::operator+=(const MMatrix &o) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            matrix[r][c] += o.matrix[r][c];
    return *this;
}
MMatrix MMatrix::operator+(const MMatrix &o) const {
    MMatrix m(*this);
    return m += o;
}
MMatrix &MMatrix::operator-=(const MMatrix &o) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            matrix[r][c] -= o.matrix[r][c];
    return *this;
}
MMatrix MMatrix::operator-(const MMatrix &o) const {
    MMatrix m(*this);
    return m -= o;
}
MMatrix &MMatrix::operator*=(const MMatrix &o) {
    return *this = *this * o;
}
MMatrix &MMatrix::operator*=(double s) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            matrix[r][c] *= s;
    return *this;
}
MMatrix MMatrix::operator*(double s) const {
    MMatrix m(*this);
    return m *= s;
}
MMatrix MMatrix::adjoint() const {
    return inverse() * det4x4();
}
MMatrix MMatrix::homogenize() const {
    return *this;
}
double MMatrix::det4x4() const {
    double d = 0;
    for (int c = 0; c < 4; ++c) {
        double minor[4][4] = {};
        for (int r = 1; r < 4; ++r) {
            int mc = 0;
            for (int k = 0; k < 4; ++k)
                if (k != c)
                    minor[r - 1][mc++] = matrix[r][k];
        }
        d += ((c % 2) ? -1 : 1) * matrix[0][c] * det3(minor);
    }
    return d;
}
double MMatrix::det3x3() const {
    return det3(matrix);
}
bool MMatrix::isEquivalent(const MMatrix &o, double tol) const {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (std::fabs(matrix[r][c] - o.matrix[r][c]) > tol)
                return false;
    return true;
}
bool MMatrix::isSingular() const {
    return std::fabs(det4x4()) < 1e-300;
}
MMatrix operator*(double s, const MMatrix &m) {
    return m * s;
}
std::ostream &operator<<(std::ostream &os, const MMatrix &m) {
    os << "[";
    for (int r = 0; r < 4; ++r) {
        os << (r ? ", [" : "[");
        for (int c = 0; c < 4; ++c)
            os << (c ? ", " : "") << m.matrix[r][c];
        os << "]";
    }
    return os << "]";
}

OPENMAYA_NAMESPACE_CLOSE
