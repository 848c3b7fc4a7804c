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
#include <vector>

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

TEST_F(BulkMesh, ArraysFromCArraysHoldWhatElementByElementGives) {
    const unsigned n = kBig / 4;
    std::vector<int> ints(n);
    std::vector<float> floats(n);
    std::vector<float> rows4(4 * static_cast<std::size_t>(n));
    std::vector<float> rows3(3 * static_cast<std::size_t>(n));
    for (unsigned i = 0; i < n; ++i) {
        ints[i] = static_cast<int>(i * 7u) - 5;
        floats[i] = static_cast<float>(i) / 3.0f;
        for (unsigned k = 0; k < 4; ++k)
            rows4[4 * i + k] = static_cast<float>(i) + 0.25f * static_cast<float>(k + 1);
        for (unsigned k = 0; k < 3; ++k)
            rows3[3 * i + k] = -static_cast<float>(i) / 7.0f - static_cast<float>(k);
    }
    const MIntArray bulkInts(ints.data(), n);
    const MFloatArray bulkFloats(floats.data(), n);
    const MFloatPointArray bulkPoints(reinterpret_cast<const float(*)[4]>(rows4.data()), n);
    const MVectorArray bulkVectors(reinterpret_cast<const float(*)[3]>(rows3.data()), n);
    ASSERT_EQ(bulkInts.length(), n);
    ASSERT_EQ(bulkFloats.length(), n);
    ASSERT_EQ(bulkPoints.length(), n);
    ASSERT_EQ(bulkVectors.length(), n);
    unsigned wrong = 0;
    for (unsigned i = 0; i < n; ++i) {
        const float *p = &rows4[4 * i];
        const float *v = &rows3[3 * i];
        wrong += bulkInts[i] != ints[i];
        wrong += bulkFloats[i] != floats[i];
        wrong += !(bulkPoints[i] == MFloatPoint(p[0], p[1], p[2], p[3]));
        wrong += !(bulkVectors[i] == MVector(v[0], v[1], v[2]));
    }
    EXPECT_EQ(wrong, 0u);
    EXPECT_EQ(MIntArray(ints.data(), 0).length(), 0u);
}

TEST_F(BulkMesh, MeshFromBulkArraysTakesBulkNormalsAndUVs) {
    const unsigned quads = kBig / 8;
    Strip strip(quads);
    const unsigned count = strip.points.length();
    std::vector<float> rows(4 * static_cast<std::size_t>(count));
    for (unsigned i = 0; i < count; ++i)
        for (unsigned k = 0; k < 4; ++k)
            rows[4 * i + k] = static_cast<float>(strip.points[i][k]);
    const MFloatPointArray points(reinterpret_cast<const float(*)[4]>(rows.data()), count);
    MFnMeshData dataFn;
    MObject data = dataFn.create();
    MFnMesh fn;
    MStatus s;
    fn.create(static_cast<int>(count), static_cast<int>(quads), points, strip.counts,
              strip.connects, strip.u, strip.v, data, &s);
    ASSERT_EQ(s, MS::kSuccess);

    // A normal on every point in one call, all of them kept.
    std::vector<float> normalRows(3 * static_cast<std::size_t>(count));
    std::vector<int> ids(count);
    for (unsigned i = 0; i < count; ++i) {
        normalRows[3 * i] = 1.0f;
        normalRows[3 * i + 1] = static_cast<float>(i % 5);
        normalRows[3 * i + 2] = 0.0f;
        ids[i] = static_cast<int>(count - 1 - i);
    }
    MVectorArray normals(reinterpret_cast<const float(*)[3]>(normalRows.data()), count);
    MIntArray which(ids.data(), count);
    ASSERT_TRUE(fn.setVertexNormals(normals, which, MSpace::kObject));
    MVector n;
    for (unsigned i : {0u, 1u, count / 2, count - 1}) {
        ASSERT_TRUE(fn.getVertexNormal(static_cast<int>(count - 1 - i), false, n, MSpace::kObject));
        EXPECT_TRUE(n.isEquivalent(MVector(1, i % 5, 0).normal(), 1e-6)) << i;
    }

    // One point out of range refuses the whole call.
    which[count / 2] = static_cast<int>(count);
    normals[0] = MVector(0, 0, 1);
    EXPECT_EQ(fn.setVertexNormals(normals, which, MSpace::kObject), MS::kInvalidParameter);
    ASSERT_TRUE(fn.getVertexNormal(static_cast<int>(count - 1), false, n, MSpace::kObject));
    EXPECT_TRUE(n.isEquivalent(MVector(1, 0, 0), 1e-6));

    // New UV values for "map1" in one call; the ids stay assigned.
    ASSERT_TRUE(fn.assignUVs(strip.uvCounts, strip.uvIds));
    std::vector<float> us(count), vs(count);
    for (unsigned i = 0; i < count; ++i) {
        us[i] = 0.5f * static_cast<float>(i);
        vs[i] = -static_cast<float>(i);
    }
    ASSERT_TRUE(fn.setUVs(MFloatArray(us.data(), count), MFloatArray(vs.data(), count)));
    EXPECT_EQ(fn.numUVs(), static_cast<int>(count));
    float u = 0, v = 0;
    ASSERT_TRUE(fn.getPolygonUV(static_cast<int>(quads - 2), 2, u, v));
    const unsigned corner = 2 * (quads - 2) + 3;
    EXPECT_EQ(u, us[corner]);
    EXPECT_EQ(v, vs[corner]);
}
