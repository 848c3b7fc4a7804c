// Large host arrays and meshes: the bulk paths (tables of several MiB, built
// in one pass) keep the values the element-by-element paths give.
#include <maya/MFloatArray.h>
#include <maya/MFloatPointArray.h>
#include <maya/MFnMesh.h>
#include <maya/MFnMeshData.h>
#include <maya/MIntArray.h>
#include <maya/MPointArray.h>
#include <maya/MVectorArray.h>

#include <StandIn.h>
#include <gtest/gtest.h>

#include <cmath>

namespace st = kelphost::testing;

namespace {

constexpr unsigned kBig = 3u << 20; // elements: well past the huge-page threshold

// A strip of `quads` quads (two rows of points), every other quad unmapped.
struct Strip {
    MPointArray points;
    MIntArray counts, connects, uvCounts, uvIds;
    MFloatArray u, v;
    explicit Strip(unsigned quads) {
        points.setLength(2 * (quads + 1));
        for (unsigned i = 0; i <= quads; ++i) {
            points[2 * i] = MPoint(i + 0.1, 0.0, 1.0 / 3.0);
            points[2 * i + 1] = MPoint(i + 0.1, 1.0, 1.0 / 3.0);
        }
        counts.setLength(quads);
        connects.setLength(4 * quads);
        uvCounts.setLength(quads);
        for (unsigned f = 0; f < quads; ++f) {
            counts[f] = 4;
            const int a = static_cast<int>(2 * f);
            const int ids[4] = {a, a + 2, a + 3, a + 1};
            for (int k = 0; k < 4; ++k)
                connects[4 * f + static_cast<unsigned>(k)] = ids[k];
            uvCounts[f] = f % 2 ? 0 : 4;
            if (f % 2 == 0)
                for (int k = 0; k < 4; ++k)
                    uvIds.append(ids[k]);
        }
        u.setLength(points.length());
        v.setLength(points.length());
        for (unsigned i = 0; i < points.length(); ++i) {
            u[i] = static_cast<float>(i);
            v[i] = 0.5f;
        }
    }
};

class BulkMesh : public ::testing::Test {
protected:
    void SetUp() override { st::resetHost(); }
    void TearDown() override { st::resetHost(); }
};

} // namespace

TEST_F(BulkMesh, RegrownArraysHoldDefaultValues) {
    MIntArray ints;
    ints.setLength(64);
    for (unsigned i = 0; i < 64; ++i)
        ints[i] = 7;
    ints.setLength(10);
    ints.setLength(kBig);
    ASSERT_EQ(ints.length(), kBig);
    unsigned wrong = 0;
    for (unsigned i = 0; i < kBig; ++i)
        wrong += ints[i] != (i < 10 ? 7 : 0);
    EXPECT_EQ(wrong, 0u);

    MVectorArray vectors(5, MVector(1, 2, 3));
    vectors.setLength(1);
    vectors.setLength(kBig / 4);
    EXPECT_EQ(vectors[0], MVector(1, 2, 3));
    EXPECT_EQ(vectors[1], MVector::zero);
    EXPECT_EQ(vectors[kBig / 4 - 1], MVector::zero);

    MPointArray points;
    points.setLength(kBig / 8);
    EXPECT_EQ(points[kBig / 8 - 1], MPoint::origin);
}

TEST_F(BulkMesh, LargeMeshKeepsPointsUVsAndNormals) {
    const unsigned quads = 200000; // 800k face-vertices
    Strip in(quads);
    MFnMeshData dataFn;
    MObject data = dataFn.create();
    MFnMesh fn;
    MStatus s;
    fn.create(static_cast<int>(in.points.length()), static_cast<int>(quads), in.points, in.counts,
              in.connects, in.u, in.v, data, &s);
    ASSERT_EQ(s, MS::kSuccess);

    MPointArray back;
    ASSERT_TRUE(fn.getPoints(back));
    ASSERT_EQ(back.length(), in.points.length());
    const unsigned last = back.length() - 1;
    EXPECT_EQ(back[last].x, static_cast<double>(static_cast<float>(quads + 0.1)));
    EXPECT_EQ(back[last].z, static_cast<double>(static_cast<float>(1.0 / 3.0)));
    EXPECT_EQ(back[last].w, 1.0);

    // One id out of range refuses the whole assignment and changes nothing.
    MIntArray badIds(in.uvIds);
    badIds[badIds.length() - 1] = static_cast<int>(in.u.length());
    EXPECT_EQ(fn.assignUVs(in.uvCounts, badIds), MS::kInvalidParameter);
    int id = 0;
    EXPECT_FALSE(fn.getPolygonUVid(0, 0, id));

    ASSERT_EQ(fn.assignUVs(in.uvCounts, in.uvIds), MS::kSuccess);
    MIntArray gotCounts, gotIds;
    ASSERT_TRUE(fn.getAssignedUVs(gotCounts, gotIds));
    ASSERT_EQ(gotIds.length(), in.uvIds.length());
    unsigned wrong = 0;
    for (unsigned f = 0; f < quads; ++f)
        wrong += gotCounts[f] != in.uvCounts[f];
    for (unsigned i = 0; i < gotIds.length(); ++i)
        wrong += gotIds[i] != in.uvIds[i];
    EXPECT_EQ(wrong, 0u);
    EXPECT_FALSE(fn.getPolygonUVid(static_cast<int>(quads - 1), 0, id)); // odd face: unmapped
    ASSERT_TRUE(fn.getPolygonUVid(static_cast<int>(quads - 2), 1, id));
    EXPECT_EQ(id, static_cast<int>(2 * (quads - 2) + 2));

    // Unset normals come from the faces; a set one is kept; the copy keeps both.
    MVector n;
    ASSERT_TRUE(fn.getVertexNormal(static_cast<int>(last), false, n, MSpace::kObject));
    EXPECT_NEAR(std::fabs(n.z), 1.0, 1e-9);
    MVectorArray normals(1, MVector(0, 0, 2));
    MIntArray which(1, 5);
    ASSERT_TRUE(fn.setVertexNormals(normals, which, MSpace::kObject));
    MFnMeshData copyData;
    MObject copied = copyData.create();
    MFnMesh copyFn;
    copyFn.copy(data, copied, &s);
    ASSERT_EQ(s, MS::kSuccess);
    ASSERT_TRUE(copyFn.getVertexNormal(5, false, n, MSpace::kObject));
    EXPECT_EQ(n, MVector(0, 0, 1));
    ASSERT_TRUE(copyFn.getVertexNormal(6, false, n, MSpace::kObject));
    EXPECT_NEAR(std::fabs(n.z), 1.0, 1e-9);
}

TEST_F(BulkMesh, FloatPointsAreTakenAsGiven) {
    MFloatPointArray points;
    points.append(MFloatPoint(0, 0, 0, 2));
    points.append(MFloatPoint(1, 0, 0, 2));
    points.append(MFloatPoint(1, 1, 0, 2));
    points.append(MFloatPoint(0, 1, 0, 2));
    MIntArray counts(1, 4);
    MIntArray connects;
    for (int i : {0, 1, 2, 3})
        connects.append(i);
    MFnMeshData dataFn;
    MObject data = dataFn.create();
    MFnMesh fn;
    MStatus s;
    fn.create(4, 1, points, counts, connects, data, &s);
    ASSERT_EQ(s, MS::kSuccess);
    MPoint p;
    ASSERT_TRUE(fn.getPoint(2, p));
    EXPECT_EQ(p, MPoint(1, 1, 0, 1)); // w is dropped, not divided through
}
