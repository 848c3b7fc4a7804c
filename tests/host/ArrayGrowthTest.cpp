// The host's arrays: growth and shrinking, insert and remove at the edges,
// the C-array constructors and get() in either precision, copies that own
// their data, and the refusals (an index past the end changes nothing).
#include <maya/MColorArray.h>
#include <maya/MDoubleArray.h>
#include <maya/MFloatArray.h>
#include <maya/MFloatPointArray.h>
#include <maya/MFloatVectorArray.h>
#include <maya/MIntArray.h>
#include <maya/MPointArray.h>
#include <maya/MStringArray.h>
#include <maya/MUintArray.h>
#include <maya/MVectorArray.h>

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

template <class A> std::string printed(const A &a) {
    std::ostringstream os;
    os << a;
    return os.str();
}

} // namespace

TEST(ArrayGrowth, SetLengthGrowsWithDefaultsAndShrinksFromTheEnd) {
    MIntArray ints;
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(ints.append(i * 10));
    ASSERT_TRUE(ints.setLength(8));
    ASSERT_EQ(ints.length(), 8u);
    EXPECT_EQ(ints[4], 40);
    EXPECT_EQ(ints[5], 0);
    EXPECT_EQ(ints[7], 0);
    ASSERT_TRUE(ints.setLength(2));
    ASSERT_EQ(ints.length(), 2u);
    EXPECT_EQ(ints[1], 10);
    ASSERT_TRUE(ints.setLength(4)); // regrown elements are zero again, not the old values
    EXPECT_EQ(ints[2], 0);
    EXPECT_EQ(ints[3], 0);

    MPointArray points(2, MPoint(1, 2, 3));
    ASSERT_TRUE(points.setLength(3));
    EXPECT_EQ(points[2], MPoint::origin); // new points are the origin, w = 1
    EXPECT_EQ(points[2].w, 1.0);
    MFloatPointArray fpoints;
    ASSERT_TRUE(fpoints.setLength(1));
    EXPECT_EQ(fpoints[0], MFloatPoint::origin);
    MVectorArray vectors;
    ASSERT_TRUE(vectors.setLength(2));
    EXPECT_EQ(vectors[1], MVector::zero);
    MStringArray strings;
    ASSERT_TRUE(strings.setLength(2));
    EXPECT_EQ(strings[1], MString());
    ASSERT_TRUE(ints.setLength(0));
    EXPECT_EQ(ints.length(), 0u);
}

TEST(ArrayGrowth, AppendingManyKeepsOrderAndEarlierReferencesSeeTheirElement) {
    MDoubleArray d;
    const unsigned n = 100000;
    for (unsigned i = 0; i < n; ++i)
        d.append(i * 0.5);
    ASSERT_EQ(d.length(), n);
    EXPECT_EQ(d[0], 0.0);
    EXPECT_EQ(d[n - 1], (n - 1) * 0.5);
    double sum = 0;
    for (unsigned i = 0; i < n; ++i)
        sum += d[i];
    EXPECT_DOUBLE_EQ(sum, 0.5 * n * (n - 1) / 2.0);
    // The size increment is accepted and reported, and changes nothing stored.
    d.setSizeIncrement(64);
    EXPECT_GE(d.sizeIncrement(), 1u);
    EXPECT_EQ(d.length(), n);
}

TEST(ArrayGrowth, InsertAndRemoveAtTheEdgesAndRefuseBeyond) {
    MIntArray a;
    ASSERT_TRUE(a.insert(2, 0)); // into an empty array
    ASSERT_TRUE(a.insert(1, 0)); // at the front
    ASSERT_TRUE(a.insert(4, 2)); // at the end (index == length)
    ASSERT_TRUE(a.insert(3, 2)); // in the middle
    ASSERT_EQ(a.length(), 4u);
    for (unsigned i = 0; i < 4; ++i)
        EXPECT_EQ(a[i], static_cast<int>(i + 1));
    EXPECT_FALSE(a.insert(9, 5)); // past the end: refused
    EXPECT_EQ(a.length(), 4u);
    ASSERT_TRUE(a.remove(0));
    ASSERT_TRUE(a.remove(2)); // the last
    ASSERT_EQ(a.length(), 2u);
    EXPECT_EQ(a[0], 2);
    EXPECT_EQ(a[1], 3);
    EXPECT_FALSE(a.remove(2));
    EXPECT_EQ(a.length(), 2u);
    EXPECT_FALSE(a.set(7, 2)); // set does not grow
    EXPECT_EQ(a.length(), 2u);
    ASSERT_TRUE(a.set(7, 1));
    EXPECT_EQ(a[1], 7);

    MPointArray p;
    EXPECT_FALSE(p.set(MPoint(1, 1, 1), 0));
    EXPECT_FALSE(p.remove(0));
    ASSERT_TRUE(p.insert(MPoint(1, 0, 0), 0));
    ASSERT_TRUE(p.insert(MPoint(0, 1, 0), 0));
    EXPECT_EQ(p[0], MPoint(0, 1, 0));
    EXPECT_EQ(p[1], MPoint(1, 0, 0));
    MStringArray s;
    ASSERT_TRUE(s.append("b"));
    ASSERT_TRUE(s.insert("a", 0));
    EXPECT_FALSE(s.insert("z", 3));
    EXPECT_EQ(printed(s), "[a, b]");
}

TEST(ArrayGrowth, ConstructorsFromCArraysAndSizes) {
    const int ci[3] = {5, -6, 7};
    MIntArray ints(ci, 3);
    EXPECT_EQ(printed(ints), "[5, -6, 7]");
    MIntArray filled(3, 9);
    EXPECT_EQ(printed(filled), "[9, 9, 9]");
    MIntArray zeros(2);
    EXPECT_EQ(printed(zeros), "[0, 0]");
    const unsigned int cu[2] = {4000000000u, 1};
    MUintArray uints(cu, 2);
    EXPECT_EQ(uints[0], 4000000000u);

    const double cd[2] = {0.1, 1e300};
    MFloatArray floats(cd, 2); // rounds to float
    EXPECT_EQ(floats[0], static_cast<float>(0.1));
    const float cf[2] = {0.5f, 0.25f};
    MDoubleArray fromFloats(cf, 2);
    EXPECT_EQ(fromFloats[1], 0.25);

    const double p4[2][4] = {{1, 2, 3, 1}, {4, 5, 6, 2}};
    MPointArray points(p4, 2);
    EXPECT_EQ(points[1], MPoint(4, 5, 6, 2));
    const float fp4[1][4] = {{7, 8, 9, 1}};
    MPointArray fromFloatRows(fp4, 1);
    EXPECT_EQ(fromFloatRows[0], MPoint(7, 8, 9));
    MFloatPointArray fpoints(p4, 2);
    EXPECT_EQ(fpoints[1], MFloatPoint(4, 5, 6, 2));
    const double v3[2][3] = {{1, 0, 0}, {0, 0, -1}};
    MVectorArray vectors(v3, 2);
    EXPECT_EQ(vectors[1], MVector(0, 0, -1));
    const float fv3[1][3] = {{0, 2, 0}};
    MFloatVectorArray fvectors(fv3, 1);
    EXPECT_EQ(fvectors[0], MFloatVector(0, 2, 0));
    const MPoint objects[2] = {MPoint(1, 1), MPoint(2, 2)};
    MPointArray fromObjects(objects, 2);
    EXPECT_EQ(fromObjects[1], MPoint(2, 2));
    MStringArray strings(2, "x");
    EXPECT_EQ(printed(strings), "[x, x]");
}

TEST(ArrayGrowth, GetFillsCArraysInEitherPrecision) {
    MPointArray points;
    points.append(1.5, 2.5);
    points.append(MPoint(0.1, 0.2, 0.3, 0.4));
    double d[2][4];
    float f[2][4];
    ASSERT_TRUE(points.get(d));
    ASSERT_TRUE(points.get(f));
    EXPECT_EQ(d[0][2], 0.0); // z defaults to 0 and w to 1
    EXPECT_EQ(d[0][3], 1.0);
    EXPECT_EQ(d[1][3], 0.4);
    EXPECT_EQ(f[1][0], static_cast<float>(0.1));
    ASSERT_TRUE(points.set(1u, 9.0, 8.0));
    EXPECT_EQ(points[1], MPoint(9, 8, 0, 1));

    MVectorArray vectors;
    vectors.append(MVector(0.1, 0.2, 0.3));
    float fv[1][3];
    double dv[1][3];
    ASSERT_TRUE(vectors.get(fv));
    ASSERT_TRUE(vectors.get(dv));
    EXPECT_EQ(fv[0][2], static_cast<float>(0.3));
    EXPECT_EQ(dv[0][2], 0.3);
    double row[3] = {4, 5, 6};
    ASSERT_TRUE(vectors.set(row, 0));
    EXPECT_EQ(vectors[0], MVector(4, 5, 6));

    MDoubleArray doubles;
    doubles.append(1.0 / 3.0);
    float asFloat[1];
    double asDouble[1];
    ASSERT_TRUE(doubles.get(asFloat));
    ASSERT_TRUE(doubles.get(asDouble));
    EXPECT_EQ(asFloat[0], static_cast<float>(1.0 / 3.0));
    EXPECT_EQ(asDouble[0], 1.0 / 3.0);
    MFloatArray floats;
    floats.append(0.75f);
    ASSERT_TRUE(floats.set(0.125, 0)); // a double goes in as float
    double back[1];
    ASSERT_TRUE(floats.get(back));
    EXPECT_EQ(back[0], 0.125);

    MFloatPointArray fpoints;
    fpoints.append(1, 2, 3);
    ASSERT_TRUE(fpoints.set(0u, 4.0f, 5.0f, 6.0f, 2.0f));
    float fout[1][4];
    ASSERT_TRUE(fpoints.get(fout));
    EXPECT_EQ(fout[0][3], 2.0f);
}

TEST(ArrayGrowth, CopiesAndAssignmentsAreIndependent) {
    MVectorArray a(3, MVector(1, 1, 1));
    MVectorArray b(a);
    b[0] = MVector(2, 2, 2);
    b.append(MVector::xAxis);
    EXPECT_EQ(a.length(), 3u);
    EXPECT_EQ(a[0], MVector(1, 1, 1));
    MVectorArray c;
    c = b;
    c.clear();
    EXPECT_EQ(b.length(), 4u);
    ASSERT_TRUE(c.copy(a));
    EXPECT_EQ(c.length(), 3u);
    c[2] = MVector::zero;
    EXPECT_EQ(a[2], MVector(1, 1, 1));
    ASSERT_TRUE(c.copy(c)); // copying onto itself keeps the contents
    EXPECT_EQ(c.length(), 3u);
    c = c;
    EXPECT_EQ(c.length(), 3u);
    MFloatVectorArray f;
    f.append(MFloatVector(1, 2, 3));
    MFloatVectorArray g = f;
    g[0].x = 10;
    EXPECT_EQ(f[0].x, 1.0f);
    ASSERT_TRUE(f.clear());
    EXPECT_EQ(f.length(), 0u);
    EXPECT_EQ(g.length(), 1u);
}

TEST(ArrayGrowth, PrintsItsElements) {
    MDoubleArray d;
    EXPECT_EQ(printed(d), "[]");
    d.append(0.5);
    d.append(-2);
    EXPECT_EQ(printed(d), "[0.5, -2]");
    MPointArray p;
    p.append(MPoint(1, 2, 3));
    EXPECT_EQ(printed(p), "[[1, 2, 3, 1]]");
    MFloatVectorArray v;
    v.append(MFloatVector(0, 1, 0));
    v.append(MFloatVector(1, 0, 0));
    EXPECT_EQ(printed(v), "[[0, 1, 0], [1, 0, 0]]");
}

TEST(ArrayGrowth, ColoursAreOpaqueUnlessGivenAnAlpha) {
    EXPECT_EQ(MColor(), MColor(0, 0, 0, 1));
    EXPECT_EQ(MColor(0.5f, 0.25f).b, 0.0f);
    EXPECT_EQ(MColor(0.5f, 0.25f).a, 1.0f);
    const float rgb[3] = {0.1f, 0.2f, 0.3f};
    MColor c(rgb);
    EXPECT_EQ(c.a, 1.0f);
    EXPECT_EQ(c[2], 0.3f);
    EXPECT_EQ(c(3), 1.0f);
    c[3] = 0.5f;
    EXPECT_EQ(c.a, 0.5f);
    EXPECT_NE(c, MColor(rgb));
    float back[3];
    ASSERT_TRUE(c.get(back));
    EXPECT_EQ(back[1], 0.2f);

    MColorArray colors(2, MColor(1, 0, 0));
    ASSERT_TRUE(colors.setLength(3));
    EXPECT_EQ(colors[0], MColor(1, 0, 0, 1));
    EXPECT_EQ(colors[2], MColor()); // grown colours are opaque black
    ASSERT_TRUE(colors.insert(MColor(0, 1, 0, 0.5f), 1));
    EXPECT_EQ(colors[1].a, 0.5f);
    EXPECT_EQ(colors.length(), 4u);
    ASSERT_TRUE(colors.remove(0));
    EXPECT_EQ(colors[0], MColor(0, 1, 0, 0.5f));
}
