#ifndef KELPHOST_DETAIL_MATRIX4_H
#define KELPHOST_DETAIL_MATRIX4_H
// The 4x4 matrix operations that the double and float matrix classes share,
// written once. M is the public class, T its element type (row vectors:
// p' = p * M). Not part of the interface: include <maya/MMatrix.h> instead.
#include <maya/MStatus.h>

#include <cmath>

namespace kelphost {

template <class M, class T> class Matrix4 {
public:
    T operator()(unsigned int row, unsigned int col) const { return matrix[row][col]; }
    const T *operator[](unsigned int row) const { return matrix[row]; }
    MStatus get(T dest[4][4]) const {
        copy(matrix, dest);
        return MStatus::kSuccess;
    }
    M transpose() const {
        M t;
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c)
                t.matrix[r][c] = matrix[c][r];
        return t;
    }
    M &setToIdentity() {
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c)
                matrix[r][c] = r == c ? T(1) : T(0);
        return self();
    }
    M operator*(const M &o) const {
        M m;
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c) {
                T s = 0;
                for (int k = 0; k < 4; ++k)
                    s += matrix[r][k] * o.matrix[k][c];
                m.matrix[r][c] = s;
            }
        return m;
    }
    bool operator==(const M &o) const {
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c)
                if (matrix[r][c] != o.matrix[r][c])
                    return false;
        return true;
    }
    bool operator!=(const M &o) const { return !(*this == o); }
    // Gauss-Jordan with partial pivoting, in double; a singular matrix gives
    // the identity.
    M inverse() const {
        double a[4][8];
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 8; ++c)
                a[r][c] = c < 4 ? matrix[r][c] : (c - 4 == r ? 1.0 : 0.0);
        for (int col = 0; col < 4; ++col)
            if (!eliminate(a, col))
                return M();
        M inv;
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c)
                inv.matrix[r][c] = static_cast<T>(a[r][c + 4]);
        return inv;
    }

    T matrix[4][4];

protected:
    Matrix4() { setToIdentity(); }
    template <class U> explicit Matrix4(const U m[4][4]) { copy(m, matrix); }
    M &self() { return static_cast<M &>(*this); }
    template <class U, class V> static void copy(const U from[4][4], V to[4][4]) {
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c)
                to[r][c] = static_cast<V>(from[r][c]);
    }
    // One column of the elimination: false when no pivot is left.
    static bool eliminate(double a[4][8], int col) {
        int pivot = col;
        for (int r = col + 1; r < 4; ++r)
            if (std::fabs(a[r][col]) > std::fabs(a[pivot][col]))
                pivot = r;
        if (std::fabs(a[pivot][col]) < 1e-300)
            return false;
        for (int c = 0; pivot != col && c < 8; ++c) {
            double t = a[col][c];
            a[col][c] = a[pivot][c];
            a[pivot][c] = t;
        }
        const double d = a[col][col];
        for (int c = 0; c < 8; ++c)
            a[col][c] /= d;
        for (int r = 0; r < 4; ++r) {
            const double f = r == col ? 0.0 : a[r][col];
            for (int c = 0; f != 0.0 && c < 8; ++c)
                a[r][c] -= f * a[col][c];
        }
        return true;
    }
};

} // namespace kelphost

#endif
