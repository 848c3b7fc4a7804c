// MMatrix and MFloatMatrix (row-vector convention: p' = p * M).
#include <maya/MFloatMatrix.h>
#include <maya/MMatrix.h>

#include <cmath>

namespace {

bool invert4(const double m[4][4], double out[4][4]) {
    double a[4][8];
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 8; ++c)
            a[r][c] = c < 4 ? m[r][c] : (c - 4 == r ? 1.0 : 0.0);
    for (int col = 0; col < 4; ++col) {
        int pivot = col;
        for (int r = col + 1; r < 4; ++r)
            if (std::fabs(a[r][col]) > std::fabs(a[pivot][col]))
                pivot = r;
        if (std::fabs(a[pivot][col]) < 1e-300)
            return false;
        if (pivot != col)
            for (int c = 0; c < 8; ++c) {
                double t = a[col][c];
                a[col][c] = a[pivot][c];
                a[pivot][c] = t;
            }
        double d = a[col][col];
        for (int c = 0; c < 8; ++c)
            a[col][c] /= d;
        for (int r = 0; r < 4; ++r)
            if (r != col) {
                double f = a[r][col];
                for (int c = 0; c < 8; ++c)
                    a[r][c] -= f * a[col][c];
            }
    }
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            out[r][c] = a[r][c + 4];
    return true;
}

double det3(const double m[4][4]) {
    return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
           m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
           m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

} // namespace

OPENMAYA_MAJOR_NAMESPACE_OPEN

const MMatrix MMatrix::identity;

MMatrix::MMatrix() {
    setToIdentity();
}
MMatrix::MMatrix(const MMatrix &o) = default;
MMatrix::MMatrix(const double m[4][4]) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            matrix[r][c] = m[r][c];
}
MMatrix::MMatrix(const float m[4][4]) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            matrix[r][c] = m[r][c];
}
MMatrix::~MMatrix() = default;
MMatrix &MMatrix::operator=(const MMatrix &o) = default;
double MMatrix::operator()(unsigned int r, unsigned int c) const {
    return matrix[r][c];
}
const double *MMatrix::operator[](unsigned int r) const {
    return matrix[r];
}
MStatus MMatrix::get(double d[4][4]) const {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            d[r][c] = matrix[r][c];
    return MStatus::kSuccess;
}
MStatus MMatrix::get(float d[4][4]) const {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            d[r][c] = static_cast<float>(matrix[r][c]);
    return MStatus::kSuccess;
}
MMatrix MMatrix::transpose() const {
    MMatrix t;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            t.matrix[r][c] = matrix[c][r];
    return t;
}
MMatrix &MMatrix::setToIdentity() {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            matrix[r][c] = r == c ? 1.0 : 0.0;
    return *this;
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
MMatrix MMatrix::operator*(const MMatrix &o) const {
    MMatrix m;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            double s = 0;
            for (int k = 0; k < 4; ++k)
                s += matrix[r][k] * o.matrix[k][c];
            m.matrix[r][c] = s;
        }
    return m;
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
bool MMatrix::operator==(const MMatrix &o) const {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (matrix[r][c] != o.matrix[r][c])
                return false;
    return true;
}
bool MMatrix::operator!=(const MMatrix &o) const {
    return !(*this == o);
}
MMatrix MMatrix::inverse() const {
    MMatrix m;
    if (!invert4(matrix, m.matrix))
        return MMatrix();
    return m;
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

// ---- MFloatMatrix
MFloatMatrix::MFloatMatrix() {
    setToIdentity();
}
MFloatMatrix::MFloatMatrix(const MFloatMatrix &o) = default;
MFloatMatrix::MFloatMatrix(const float m[4][4]) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            matrix[r][c] = m[r][c];
}
MFloatMatrix::MFloatMatrix(const double m[4][4]) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            matrix[r][c] = static_cast<float>(m[r][c]);
}
MFloatMatrix::~MFloatMatrix() = default;
MFloatMatrix &MFloatMatrix::operator=(const MFloatMatrix &o) = default;
float MFloatMatrix::operator()(unsigned int r, unsigned int c) const {
    return matrix[r][c];
}
const float *MFloatMatrix::operator[](unsigned int r) const {
    return matrix[r];
}
MStatus MFloatMatrix::get(float d[4][4]) const {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            d[r][c] = matrix[r][c];
    return MStatus::kSuccess;
}
MFloatMatrix &MFloatMatrix::setToIdentity() {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            matrix[r][c] = r == c ? 1.0f : 0.0f;
    return *this;
}
MFloatMatrix MFloatMatrix::operator*(const MFloatMatrix &o) const {
    MFloatMatrix m;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            float s = 0;
            for (int k = 0; k < 4; ++k)
                s += matrix[r][k] * o.matrix[k][c];
            m.matrix[r][c] = s;
        }
    return m;
}
bool MFloatMatrix::operator==(const MFloatMatrix &o) const {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (matrix[r][c] != o.matrix[r][c])
                return false;
    return true;
}
bool MFloatMatrix::operator!=(const MFloatMatrix &o) const {
    return !(*this == o);
}
MFloatMatrix MFloatMatrix::inverse() const {
    double d[4][4], inv[4][4];
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            d[r][c] = matrix[r][c];
    if (!invert4(d, inv))
        return MFloatMatrix();
    return MFloatMatrix(inv);
}
MFloatMatrix MFloatMatrix::transpose() const {
    MFloatMatrix t;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            t.matrix[r][c] = matrix[c][r];
    return t;
}

OPENMAYA_NAMESPACE_CLOSE
