// Points, vectors and matrices, in double and float: conversions between the
// two precisions, arithmetic, homogeneous points and the products with
// matrices (row vectors: p * M).
#include <maya/MFloatMatrix.h>
#include <maya/MFloatPoint.h>
#include <maya/MFloatVector.h>
#include <maya/MMatrix.h>
#include <maya/MPoint.h>
#include <maya/MVector.h>

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <type_traits>

namespace {

// The double and float classes stay distinct types: overloads on them pick
// the one written for the argument's precision.
const char *precisionOf(const MPoint &) {
    return "double point";
}
const char *precisionOf(const MFloatPoint &) {
    return "float point";
}
const char *precisionOf(const MVector &) {
    return "double vector";
}
const char *precisionOf(const MFloatVector &) {
    return "float vector";
}

template <class T> std::string printed(const T &value) {
    std::ostringstream os;
    os << value;
    return os.str();
}

MMatrix translation(double x, double y, double z) {
    double rows[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {x, y, z, 1}};
    return MMatrix(rows);
}

} // namespace

TEST(PointVector, DoubleAndFloatClassesAreDistinctTypes) {
    static_assert(!std::is_same<MPoint, MFloatPoint>::value, "points differ by precision");
    static_assert(!std::is_same<MVector, MFloatVector>::value, "vectors differ by precision");
    static_assert(std::is_same<decltype(MPoint().x), double>::value, "double components");
    static_assert(std::is_same<decltype(MFloatPoint().x), float>::value, "float components");
    static_assert(std::is_same<decltype(MVector().length()), double>::value, "double length");
    static_assert(std::is_same<decltype(MFloatVector().length()), float>::value, "float length");
    static_assert(std::is_same<decltype(MPoint() - MPoint()), MVector>::value,
                  "a point difference is a vector of the same precision");
    static_assert(std::is_same<decltype(MFloatPoint() - MFloatPoint()), MFloatVector>::value,
                  "a float point difference is a float vector");
    static_assert(std::is_same<decltype(MPoint() + MVector()), MPoint>::value, "point + vector");
    static_assert(std::is_same<decltype(MVector() * MVector()), double>::value, "dot product");
    static_assert(std::is_same<decltype(MVector() ^ MVector()), MVector>::value, "cross product");
    static_assert(sizeof(MPoint) == 4 * sizeof(double), "x y z w and nothing else");
    static_assert(sizeof(MFloatVector) == 3 * sizeof(float), "x y z and nothing else");
    EXPECT_STREQ(precisionOf(MPoint(1, 2, 3)), "double point");
    EXPECT_STREQ(precisionOf(MFloatPoint(1, 2, 3)), "float point");
    EXPECT_STREQ(precisionOf(MVector(1, 2, 3)), "double vector");
    EXPECT_STREQ(precisionOf(MFloatVector(1, 2, 3)), "float vector");
}

TEST(PointVector, DefaultsAndConstants) {
    MPoint p;
    EXPECT_EQ(p.x, 0.0);
    EXPECT_EQ(p.y, 0.0);
    EXPECT_EQ(p.z, 0.0);
    EXPECT_EQ(p.w, 1.0); // a point, not a direction
    MFloatPoint fp;
    EXPECT_EQ(fp.w, 1.0f);
    EXPECT_EQ(MPoint(1, 2).z, 0.0);
    EXPECT_EQ(MPoint(1, 2).w, 1.0);
    EXPECT_EQ(MFloatPoint(1, 2, 3).w, 1.0f);
    EXPECT_EQ(MVector(), MVector::zero);
    EXPECT_EQ(MVector(4, 5).z, 0.0);
    EXPECT_EQ(MPoint::origin, MPoint(0, 0, 0, 1));
    EXPECT_EQ(MFloatPoint::origin, MFloatPoint(0, 0, 0, 1));
    EXPECT_EQ(MVector::xAxis ^ MVector::yAxis, MVector::zAxis);
    EXPECT_EQ(MVector::yAxis ^ MVector::zAxis, MVector::xAxis);
    EXPECT_EQ(MVector::zAxis ^ MVector::xAxis, MVector::yAxis);
    EXPECT_EQ(MFloatVector::xAxis ^ MFloatVector::yAxis, MFloatVector::zAxis);
    EXPECT_EQ(-MVector::xAxis, MVector::xNegAxis);
    EXPECT_EQ(-MVector::yAxis, MVector::yNegAxis);
    EXPECT_EQ(-MVector::zAxis, MVector::zNegAxis);
    EXPECT_EQ(MVector::one, MVector(1, 1, 1));
    EXPECT_EQ(MFloatVector::one, MFloatVector(1, 1, 1));
}

TEST(PointVector, ConversionsBetweenPrecisionsAndKinds) {
    const double third = 1.0 / 3.0;
    MPoint p(third, -2.5, 1e-40, 2.0);
    MFloatPoint fp(p); // rounds each component to float
    EXPECT_EQ(fp.x, static_cast<float>(third));
    EXPECT_EQ(fp.y, -2.5f);
    EXPECT_EQ(fp.w, 2.0f);
    MPoint back(fp);
    EXPECT_EQ(back.x, static_cast<double>(static_cast<float>(third)));
    EXPECT_NE(back.x, third); // the float trip loses precision
    EXPECT_EQ(back.w, 2.0);

    // Vectors become points at w = 1; points become vectors by dropping w.
    EXPECT_EQ(MPoint(MVector(1, 2, 3)), MPoint(1, 2, 3, 1));
    EXPECT_EQ(MPoint(MFloatVector(1, 2, 3)), MPoint(1, 2, 3, 1));
    EXPECT_EQ(MFloatPoint(MVector(1, 2, 3)), MFloatPoint(1, 2, 3, 1));
    EXPECT_EQ(MFloatPoint(MFloatVector(1, 2, 3)), MFloatPoint(1, 2, 3, 1));
    EXPECT_EQ(MVector(MPoint(4, 5, 6, 2)), MVector(4, 5, 6)); // not divided by w
    EXPECT_EQ(MVector(MFloatPoint(4, 5, 6, 2)), MVector(4, 5, 6));
    EXPECT_EQ(MFloatVector(MFloatPoint(4, 5, 6, 2)), MFloatVector(4, 5, 6));
    EXPECT_EQ(
        MFloatVector(MVector(0.1, 0.2, 0.3)),
        MFloatVector(static_cast<float>(0.1), static_cast<float>(0.2), static_cast<float>(0.3)));
    EXPECT_EQ(MVector(MFloatVector(0.5f, 0.25f, 8.0f)), MVector(0.5, 0.25, 8.0));

    // From C arrays: points read four values, vectors three.
    const double d4[4] = {1, 2, 3, 4};
    const float f4[4] = {5, 6, 7, 8};
    const double d3[3] = {9, 10, 11};
    const float f3[3] = {12, 13, 14};
    EXPECT_EQ(MPoint(d4), MPoint(1, 2, 3, 4));
    EXPECT_EQ(MPoint(f4), MPoint(5, 6, 7, 8));
    EXPECT_EQ(MFloatPoint(f4), MFloatPoint(5, 6, 7, 8));
    EXPECT_EQ(MFloatPoint(d4), MFloatPoint(1, 2, 3, 4));
    EXPECT_EQ(MVector(d3), MVector(9, 10, 11));
    EXPECT_EQ(MVector(f3), MVector(12, 13, 14));
    EXPECT_EQ(MFloatVector(f3), MFloatVector(12, 13, 14));

    // setCast replaces every component, w included.
    MFloatPoint c(9, 9, 9, 9);
    ASSERT_TRUE(c.setCast(MPoint(1, 2, 3, 4)));
    EXPECT_EQ(c, MFloatPoint(1, 2, 3, 4));
    ASSERT_TRUE(c.setCast(MVector(5, 6, 7)));
    EXPECT_EQ(c, MFloatPoint(5, 6, 7, 1));
    ASSERT_TRUE(c.setCast(d4));
    EXPECT_EQ(c, MFloatPoint(1, 2, 3, 4));
}

TEST(PointVector, GetWritesEveryComponentInEitherPrecision) {
    double d[4] = {-1, -1, -1, -1};
    float f[4] = {-1, -1, -1, -1};
    MPoint p(0.1, 0.2, 0.3, 0.4);
    ASSERT_TRUE(p.get(d));
    ASSERT_TRUE(p.get(f));
    EXPECT_EQ(d[3], 0.4);
    EXPECT_EQ(f[0], static_cast<float>(0.1));
    EXPECT_EQ(f[3], static_cast<float>(0.4));
    MFloatPoint fp(1.5f, 2.5f, 3.5f, 4.5f);
    ASSERT_TRUE(fp.get(d));
    EXPECT_EQ(d[0], 1.5);
    EXPECT_EQ(d[3], 4.5);
    double v[3] = {0, 0, 0};
    ASSERT_TRUE(MVector(7, 8, 9).get(v));
    EXPECT_EQ(v[2], 9.0);
    float fv[3] = {0, 0, 0};
    ASSERT_TRUE(MFloatVector(7, 8, 9).get(fv));
    EXPECT_EQ(fv[1], 8.0f);
}

TEST(PointVector, IndexingReachesEachComponent) {
    MPoint p(1, 2, 3, 4);
    for (unsigned int i = 0; i < 4; ++i) {
        EXPECT_EQ(p[i], i + 1.0);
        EXPECT_EQ(p(i), i + 1.0);
    }
    p[3] = 8;
    EXPECT_EQ(p.w, 8.0);
    p[0] = -1;
    EXPECT_EQ(p.x, -1.0);
    MFloatVector v(1, 2, 3);
    v[1] = 20;
    EXPECT_EQ(v.y, 20.0f);
    EXPECT_EQ(v(2), 3.0f);
    MVector dv(1, 2, 3);
    dv[2] += 1;
    EXPECT_EQ(dv.z, 4.0);
}

TEST(PointVector, VectorArithmetic) {
    MVector a(1, 2, 3), b(4, -5, 6);
    EXPECT_EQ(a + b, MVector(5, -3, 9));
    EXPECT_EQ(a - b, MVector(-3, 7, -3));
    EXPECT_EQ(-a, MVector(-1, -2, -3));
    EXPECT_EQ(a * 2.0, MVector(2, 4, 6));
    EXPECT_EQ(2.0 * a, MVector(2, 4, 6));
    EXPECT_EQ(2 * a, MVector(2, 4, 6));
    EXPECT_EQ(2.0f * a, MVector(2, 4, 6));
    EXPECT_EQ(2u * a, MVector(2, 4, 6));
    EXPECT_EQ(a / 2.0, MVector(0.5, 1, 1.5));
    EXPECT_EQ(a * b, 4.0 - 10.0 + 18.0);    // dot
    EXPECT_EQ(a ^ b, MVector(27, 6, -13));  // cross, right-handed
    EXPECT_EQ(b ^ a, MVector(-27, -6, 13)); // and anticommutative
    EXPECT_DOUBLE_EQ((a ^ b) * a, 0.0);     // perpendicular to both
    EXPECT_DOUBLE_EQ(MVector(3, 4, 12).length(), 13.0);

    MVector c = a;
    c += b;
    EXPECT_EQ(c, MVector(5, -3, 9));
    c -= b;
    EXPECT_EQ(c, a);
    c *= 3;
    EXPECT_EQ(c, MVector(3, 6, 9));
    c /= 3;
    EXPECT_EQ(c, a);

    MFloatVector fa(1, 2, 3), fb(4, -5, 6);
    EXPECT_EQ(fa + fb, MFloatVector(5, -3, 9));
    EXPECT_EQ(fa - fb, MFloatVector(-3, 7, -3));
    EXPECT_EQ(fa ^ fb, MFloatVector(27, 6, -13));
    EXPECT_EQ(fa * fb, 12.0f);
    EXPECT_EQ(fa * 0.5f, MFloatVector(0.5f, 1, 1.5f));
    EXPECT_EQ(fa / 2.0f, MFloatVector(0.5f, 1, 1.5f));
    MFloatVector fc = fa;
    fc += fb;
    EXPECT_EQ(fc, MFloatVector(5, -3, 9));
}

TEST(PointVector, NormalsAnglesAndEquivalence) {
    MVector v(0, 3, 4);
    EXPECT_TRUE(v.normal().isEquivalent(MVector(0, 0.6, 0.8)));
    EXPECT_EQ(v, MVector(0, 3, 4)); // normal() leaves the vector alone
    ASSERT_TRUE(v.normalize());
    EXPECT_NEAR(v.length(), 1.0, 1e-15);
    EXPECT_NEAR(v.y, 0.6, 1e-15);
    // The zero vector has no direction: it stays zero instead of becoming NaN.
    MVector zero;
    EXPECT_EQ(zero.normal(), MVector::zero);
    ASSERT_TRUE(zero.normalize());
    EXPECT_EQ(zero, MVector::zero);
    MFloatVector fzero;
    EXPECT_EQ(fzero.normal(), MFloatVector::zero);
    MFloatVector fv(0, 0, 2);
    ASSERT_TRUE(fv.normalize());
    EXPECT_EQ(fv, MFloatVector(0, 0, 1));

    EXPECT_NEAR(MVector::xAxis.angle(MVector::yAxis), M_PI / 2, 1e-12);
    EXPECT_NEAR(MVector(1, 1, 0).angle(MVector(-1, -1, 0)), M_PI, 1e-7);
    EXPECT_EQ(MVector::zero.angle(MVector::xAxis), 0.0);
    EXPECT_TRUE(MVector(2, 0, 0).isParallel(MVector(5, 0, 0)));
    EXPECT_TRUE(MVector(2, 0, 0).isParallel(MVector(-5, 0, 0)));
    EXPECT_FALSE(MVector(2, 0, 0).isParallel(MVector(5, 0.1, 0)));

    // The default tolerance follows the precision: 1e-10 for doubles, 1e-5 for floats.
    EXPECT_TRUE(MVector(1, 0, 0).isEquivalent(MVector(1 + 1e-11, 0, 0)));
    EXPECT_FALSE(MVector(1, 0, 0).isEquivalent(MVector(1 + 1e-8, 0, 0)));
    EXPECT_TRUE(MVector(1, 0, 0).isEquivalent(MVector(1 + 1e-8, 0, 0), 1e-6));
    EXPECT_TRUE(MFloatVector(1, 0, 0).isEquivalent(MFloatVector(1.000001f, 0, 0)));
    EXPECT_FALSE(MFloatVector(1, 0, 0).isEquivalent(MFloatVector(1.001f, 0, 0)));
    EXPECT_TRUE(MPoint(1, 2, 3).isEquivalent(MPoint(1, 2, 3 + 1e-11)));
    EXPECT_FALSE(MPoint(1, 2, 3).isEquivalent(MPoint(1, 2, 3 + 1e-8)));
    EXPECT_FALSE(MPoint(1, 2, 3).isEquivalent(MPoint(1, 2, 3, 1.001), 1e-6)); // w counts
    EXPECT_TRUE(MFloatPoint(1, 2, 3).isEquivalent(MFloatPoint(1, 2, 3.000001f)));
    EXPECT_FALSE(MFloatPoint(1, 2, 3).isEquivalent(MFloatPoint(1, 2, 3.001f)));
    // Exact comparison sees every component.
    EXPECT_NE(MPoint(1, 2, 3, 1), MPoint(1, 2, 3, 2));
    EXPECT_NE(MFloatPoint(1, 2, 3, 1), MFloatPoint(1, 2, 3, 2));
    EXPECT_NE(MVector(1, 2, 3), MVector(1, 2, 4));
    EXPECT_TRUE(MVector(1, 2, 3) != MVector(0, 2, 3));
    EXPECT_FALSE(MFloatVector(1, 2, 3) != MFloatVector(1, 2, 3));
}

TEST(PointVector, PointArithmeticKeepsW) {
    MPoint p(1, 2, 3, 2);
    EXPECT_EQ(p + MVector(1, 1, 1), MPoint(2, 3, 4, 2));
    EXPECT_EQ(p - MVector(1, 1, 1), MPoint(0, 1, 2, 2));
    EXPECT_EQ(p * 2.0, MPoint(2, 4, 6, 2));
    EXPECT_EQ(p / 2.0, MPoint(0.5, 1, 1.5, 2));
    MPoint q = p;
    q += MVector(0, 0, 1);
    EXPECT_EQ(q, MPoint(1, 2, 4, 2));
    q -= MVector(0, 0, 1);
    EXPECT_EQ(q, p);
    q *= 4.0;
    EXPECT_EQ(q, MPoint(4, 8, 12, 2));
    q /= 4.0;
    EXPECT_EQ(q, p);
    MFloatPoint fp(1, 2, 3, 2);
    EXPECT_EQ(fp + MFloatVector(1, 1, 1), MFloatPoint(2, 3, 4, 2));
    EXPECT_EQ(fp - MFloatVector(1, 1, 1), MFloatPoint(0, 1, 2, 2));
    EXPECT_EQ(fp * 2.0f, MFloatPoint(2, 4, 6, 2));
    EXPECT_EQ(fp / 2.0f, MFloatPoint(0.5f, 1, 1.5f, 2));
    MFloatPoint fq = fp;
    fq += MFloatVector(1, 0, 0);
    fq -= MFloatVector(0, 1, 0);
    EXPECT_EQ(fq, MFloatPoint(2, 1, 3, 2));
}

TEST(PointVector, HomogeneousPoints) {
    // (2, 4, 6, 2) stands for the place (1, 2, 3).
    MPoint p(2, 4, 6, 2);
    MPoint c = p;
    c.cartesianize();
    EXPECT_EQ(c, MPoint(1, 2, 3, 1));
    MPoint r = p;
    r.rationalize(); // divides but keeps w
    EXPECT_EQ(r, MPoint(1, 2, 3, 2));
    r.homogenize(); // and back
    EXPECT_EQ(r, p);
    MPoint atInfinity(1, 2, 3, 0);
    atInfinity.cartesianize(); // w = 0 has no cartesian form: left alone
    EXPECT_EQ(atInfinity, MPoint(1, 2, 3, 0));
    atInfinity.rationalize();
    EXPECT_EQ(atInfinity, MPoint(1, 2, 3, 0));

    // Differences and distances are between the places the points stand for.
    EXPECT_EQ(p - MPoint(0, 0, 0), MVector(1, 2, 3));
    EXPECT_EQ(MPoint(4, 4, 4, 4) - MPoint(3, 3, 3, 3), MVector(0, 0, 0));
    EXPECT_DOUBLE_EQ(MPoint(0, 0, 0).distanceTo(MPoint(6, 8, 0, 2)), 5.0);
    EXPECT_DOUBLE_EQ(MPoint(1, 1, 1).distanceTo(MPoint(4, 5, 1)), 5.0);
    MFloatPoint fp(2, 4, 6, 2);
    EXPECT_EQ(fp - MFloatPoint(0, 0, 0), MFloatVector(1, 2, 3));
    EXPECT_FLOAT_EQ(MFloatPoint(0, 0, 0).distanceTo(MFloatPoint(6, 8, 0, 2)), 5.0f);
    MFloatPoint fc = fp;
    fc.cartesianize();
    EXPECT_EQ(fc, MFloatPoint(1, 2, 3, 1));
    fc.homogenize();
    EXPECT_EQ(fc, MFloatPoint(1, 2, 3, 1));
    MFloatPoint fr(3, 6, 9, 3);
    fr.rationalize();
    EXPECT_EQ(fr, MFloatPoint(1, 2, 3, 3));
}

TEST(PointVector, MatricesMultiplyRowVectors) {
    MMatrix t = translation(10, 20, 30);
    // Points move with the translation row; vectors (directions) do not.
    EXPECT_EQ(MPoint(1, 2, 3) * t, MPoint(11, 22, 33, 1));
    EXPECT_EQ(MVector(1, 2, 3) * t, MVector(1, 2, 3));
    MPoint p(1, 2, 3);
    p *= t;
    EXPECT_EQ(p, MPoint(11, 22, 33));
    // A column-vector product uses the transpose: M * p is not p * M.
    EXPECT_EQ(t * MPoint(1, 2, 3), MPoint(1, 2, 3, 10 + 40 + 90 + 1));
    double scale[4][4] = {{2, 0, 0, 0}, {0, 3, 0, 0}, {0, 0, 4, 0}, {0, 0, 0, 1}};
    MMatrix s(scale);
    EXPECT_EQ(MVector(1, 1, 1) * s, MVector(2, 3, 4));
    MVector v(1, 1, 1);
    v *= s;
    EXPECT_EQ(v, MVector(2, 3, 4));
    // A point carries its w through the product.
    EXPECT_EQ(MPoint(1, 1, 1, 2) * t, MPoint(21, 41, 61, 2));
    // Scale then translate: order matters.
    EXPECT_EQ(MPoint(1, 1, 1) * (s * t), MPoint(12, 23, 34));
    EXPECT_EQ(MPoint(1, 1, 1) * (t * s), MPoint(22, 63, 124));
    // The inverse undoes the product.
    MMatrix st = s * t;
    EXPECT_TRUE((MPoint(12, 23, 34) * st.inverse()).isEquivalent(MPoint(1, 1, 1)));
    EXPECT_TRUE((st * st.inverse()).isEquivalent(MMatrix::identity));
    EXPECT_DOUBLE_EQ(st.det4x4(), 24.0);
    EXPECT_DOUBLE_EQ(st.det3x3(), 24.0);
    EXPECT_FALSE(st.isSingular());
    EXPECT_EQ(st.transpose()(0, 3), 10.0);
    EXPECT_EQ(st.transpose()(3, 0), 0.0);
}

TEST(PointVector, FloatMatrixMatchesTheDoubleOne) {
    float rows[4][4] = {{0, 1, 0, 0}, {-1, 0, 0, 0}, {0, 0, 1, 0}, {5, 6, 7, 1}};
    MFloatMatrix f(rows);
    double drows[4][4];
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            drows[r][c] = rows[r][c];
    MMatrix d(drows);
    MFloatMatrix fi = f.inverse();
    MMatrix di = d.inverse();
    for (unsigned int r = 0; r < 4; ++r)
        for (unsigned int c = 0; c < 4; ++c) {
            EXPECT_NEAR(fi(r, c), di(r, c), 1e-6) << r << "," << c;
            EXPECT_EQ(f.transpose()(r, c), f(c, r));
            EXPECT_EQ(f[r][c], rows[r][c]);
        }
    MFloatMatrix product = f * fi;
    MFloatMatrix identity;
    for (unsigned int r = 0; r < 4; ++r)
        for (unsigned int c = 0; c < 4; ++c)
            EXPECT_NEAR(product(r, c), identity(r, c), 1e-6);
    EXPECT_TRUE(MFloatMatrix().setToIdentity() == identity);
    EXPECT_TRUE(f != identity);
    float back[4][4];
    ASSERT_TRUE(f.get(back));
    EXPECT_EQ(back[3][1], 6.0f);
}

TEST(PointVector, PrintsComponentsInBrackets) {
    EXPECT_EQ(printed(MVector(1, 2.5, -3)), "[1, 2.5, -3]");
    EXPECT_EQ(printed(MFloatVector(1, 2.5f, -3)), "[1, 2.5, -3]");
    EXPECT_EQ(printed(MPoint(1, 2, 3)), "[1, 2, 3, 1]");
    EXPECT_EQ(printed(MFloatPoint(1, 2, 3, 0)), "[1, 2, 3, 0]");
}
