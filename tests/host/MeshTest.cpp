// Mesh data: creation and its refusals, UV sets and assignment, normals,
// world space, the polygon iterator.
#include <maya/MDagPath.h>
#include <maya/MFnMesh.h>
#include <maya/MFnMeshData.h>
#include <maya/MItMeshPolygon.h>
#include <maya/MPointArray.h>

#include "../../host/src/Scene.h"

#include <StandIn.h>
#include <gtest/gtest.h>

namespace st = kelphost::testing;
namespace sc = kelphost::scene;

namespace {

// A unit quad in the xy plane and a triangle beside it.
struct Input {
    MPointArray points;
    MIntArray counts, connects;
    MFloatArray u, v;
    Input() {
        points.append(0, 0, 0);
        points.append(1, 0, 0);
        points.append(1, 1, 0);
        points.append(0, 1, 0);
        points.append(2, 0, 0);
        counts.append(4);
        counts.append(3);
        for (int i : {0, 1, 2, 3, 1, 4, 2})
            connects.append(i);
        for (float x : {0.0f, 1.0f, 1.0f, 0.0f}) {
            u.append(x);
            v.append(x > 0 ? 0.5f : 0.25f);
        }
    }
};

class Mesh : public ::testing::Test {
protected:
    void SetUp() override { st::resetHost(); }
    void TearDown() override { st::resetHost(); }
    Input in;
};

} // namespace

TEST_F(Mesh, CreateRefusesInconsistentInput) {
    MFnMeshData dataFn;
    MObject data = dataFn.create();
    MFnMesh fn;
    MStatus s;

    fn.create(6, 2, in.points, in.counts, in.connects, data, &s); // count vs points
    EXPECT_EQ(s, MS::kInvalidParameter);
    fn.create(5, 3, in.points, in.counts, in.connects, data, &s); // count vs counts
    EXPECT_EQ(s, MS::kInvalidParameter);
    MIntArray shortConnects(in.connects);
    shortConnects.remove(6);
    fn.create(5, 2, in.points, in.counts, shortConnects, data, &s); // sum of counts
    EXPECT_EQ(s, MS::kInvalidParameter);
    MIntArray badIds(in.connects);
    badIds[6] = 5;
    fn.create(5, 2, in.points, in.counts, badIds, data, &s); // point id out of range
    EXPECT_EQ(s, MS::kInvalidParameter);
    badIds[6] = -1;
    fn.create(5, 2, in.points, in.counts, badIds, data, &s);
    EXPECT_EQ(s, MS::kInvalidParameter);
    MFloatArray shortV(in.v);
    shortV.remove(0);
    fn.create(5, 2, in.points, in.counts, in.connects, in.u, shortV, data, &s);
    EXPECT_EQ(s, MS::kInvalidParameter);
    MObject notAnOwner = sc::createNode("time", "t");
    fn.create(5, 2, in.points, in.counts, in.connects, notAnOwner, &s);
    EXPECT_EQ(s, MS::kInvalidParameter);
    EXPECT_FALSE(st::meshOf(data).valid); // nothing was built
    EXPECT_TRUE(st::nodesOfType("mesh").empty());

    // Zero points and zero polygons make a valid empty mesh.
    MPointArray none;
    MIntArray empty;
    MObject geom = fn.create(0, 0, none, empty, empty, data, &s);
    EXPECT_TRUE(s);
    EXPECT_TRUE(geom.hasFn(MFn::kMeshGeom));
    EXPECT_EQ(fn.numVertices(), 0);
    EXPECT_TRUE(st::meshOf(data).valid);
}

TEST_F(Mesh, CreateIntoDataWithUVs) {
    MFnMeshData dataFn;
    MObject data = dataFn.create();
    MFnMesh fn;
    MStatus s;
    MObject geom = fn.create(5, 2, in.points, in.counts, in.connects, in.u, in.v, data, &s);
    ASSERT_TRUE(s);
    EXPECT_TRUE(geom.hasFn(MFn::kMeshGeom));
    EXPECT_EQ(fn.numPolygons(), 2);
    EXPECT_EQ(fn.numFaceVertices(), 7);
    MStringArray sets;
    fn.getUVSetNames(sets);
    ASSERT_EQ(sets.length(), 1u);
    EXPECT_STREQ(sets[0].asChar(), "map1");
    MString current;
    EXPECT_TRUE(fn.getCurrentUVSetName(current));
    EXPECT_STREQ(current.asChar(), "map1");
    EXPECT_EQ(fn.numUVs(), 4);

    // assignUVs: counts per face, each 0 or the face size, ids below numUVs.
    MIntArray uvCounts, uvIds;
    uvCounts.append(4);
    uvCounts.append(3);
    for (int i : {0, 1, 2, 3, 1, 3, 2})
        uvIds.append(i);
    MIntArray wrongCount(uvCounts);
    wrongCount[1] = 2;
    EXPECT_EQ(fn.assignUVs(wrongCount, uvIds), MS::kInvalidParameter);
    MIntArray tooHigh(uvIds);
    tooHigh[0] = 4;
    EXPECT_EQ(fn.assignUVs(uvCounts, tooHigh), MS::kInvalidParameter);
    MIntArray fewIds(uvIds);
    fewIds.remove(0);
    EXPECT_EQ(fn.assignUVs(uvCounts, fewIds), MS::kInvalidParameter);
    ASSERT_TRUE(fn.assignUVs(uvCounts, uvIds));

    // Leave the triangle unmapped: getUV fails there and leaves its output alone.
    MIntArray partCounts, partIds;
    partCounts.append(4);
    partCounts.append(0);
    for (int i : {3, 2, 1, 0})
        partIds.append(i);
    ASSERT_TRUE(fn.assignUVs(partCounts, partIds));
    MItMeshPolygon it(data);
    ASSERT_FALSE(it.isDone());
    float2 uv = {9, 9};
    EXPECT_TRUE(it.hasUVs());
    EXPECT_TRUE(it.getUV(0, uv));
    EXPECT_FLOAT_EQ(uv[0], 0.0f);
    EXPECT_FLOAT_EQ(uv[1], 0.25f);
    EXPECT_EQ(it.vertexIndex(1), 1u);
    it.next();
    EXPECT_EQ(it.index(), 1u);
    EXPECT_EQ(it.polygonVertexCount(), 3u);
    EXPECT_FALSE(it.hasUVs());
    uv[0] = 7;
    uv[1] = 8;
    EXPECT_FALSE(it.getUV(0, uv));
    EXPECT_EQ(uv[0], 7.0f);
    EXPECT_EQ(uv[1], 8.0f);
    it.next();
    EXPECT_TRUE(it.isDone());
}

TEST_F(Mesh, NormalsComeFromFacesUnlessSet) {
    MFnMeshData dataFn;
    MObject data = dataFn.create();
    MFnMesh fn;
    ASSERT_FALSE(fn.create(5, 2, in.points, in.counts, in.connects, data).isNull());
    MVector n;
    ASSERT_TRUE(fn.getVertexNormal(0, true, n));
    EXPECT_TRUE(n.isEquivalent(MVector(0, 0, 1), 1e-9)); // counter-clockwise faces face +z

    MVectorArray normals;
    MIntArray ids;
    normals.append(MVector(1, 0, 0));
    ids.append(4);
    // World space needs a DAG path: refused on mesh data, nothing set.
    EXPECT_EQ(fn.setVertexNormals(normals, ids, MSpace::kWorld), MS::kInvalidParameter);
    ASSERT_TRUE(fn.getVertexNormal(4, false, n));
    EXPECT_TRUE(n.isEquivalent(MVector(0, 0, 1), 1e-9));
    ASSERT_TRUE(fn.setVertexNormals(normals, ids, MSpace::kObject));
    ASSERT_TRUE(fn.getVertexNormal(4, false, n));
    EXPECT_TRUE(n.isEquivalent(MVector(1, 0, 0)));
    MIntArray mismatch;
    EXPECT_EQ(fn.setVertexNormals(normals, mismatch), MS::kInvalidParameter);

    // setFaceVertexNormals is all or nothing.
    MVectorArray fvn(2, MVector(0, 1, 0));
    MIntArray faces, verts;
    faces.append(0);
    verts.append(0);
    faces.append(1);
    verts.append(0); // point 0 is not on face 1
    EXPECT_EQ(fn.setFaceVertexNormals(fvn, faces, verts), MS::kInvalidParameter);
    ASSERT_TRUE(fn.getFaceVertexNormal(0, 0, n));
    EXPECT_TRUE(n.isEquivalent(MVector(0, 0, 1), 1e-9));
    auto snap = st::meshOf(data);
    ASSERT_EQ(snap.vertexNormalSet.size(), 5u);
    EXPECT_TRUE(snap.vertexNormalSet[4]);
    EXPECT_FALSE(snap.vertexNormalSet[0]);
}

TEST_F(Mesh, ShapesLiveUnderTransformsInWorldSpace) {
    MFnMesh fn;
    MStatus s;
    MObject xform = fn.create(5, 2, in.points, in.counts, in.connects, MObject::kNullObj, &s);
    ASSERT_TRUE(s);
    EXPECT_TRUE(xform.hasFn(MFn::kTransform)); // a null owner returns the new transform
    std::string t = sc::nodeName(xform).asChar();
    ASSERT_EQ(st::childrenOf(t).size(), 1u);
    std::string shape = st::childrenOf(t)[0];
    EXPECT_EQ(st::typeOf(shape), "mesh");
    st::setDouble(t + ".translateZ", 3.0);

    auto snap = st::mesh(shape);
    ASSERT_TRUE(snap.valid);
    EXPECT_TRUE(snap.points[2].isEquivalent(MPoint(1, 1, 0)));
    EXPECT_TRUE(snap.worldPoints[2].isEquivalent(MPoint(1, 1, 3)));

    MDagPath path;
    ASSERT_TRUE(MDagPath::getAPathTo(st::node(shape), path));
    MFnMesh shapeFn(path);
    MPointArray world;
    ASSERT_TRUE(shapeFn.getPoints(world, MSpace::kWorld));
    EXPECT_TRUE(world[4].isEquivalent(MPoint(2, 0, 3)));

    // worldMesh[0] carries the world matrix; asMeshTransformed data is in world space.
    auto wm = st::mesh(shape + ".worldMesh[0]");
    ASSERT_TRUE(wm.valid);
    EXPECT_TRUE(wm.worldPoints[4].isEquivalent(MPoint(2, 0, 3)));
    EXPECT_TRUE(wm.points[4].isEquivalent(MPoint(2, 0, 0)));

    // A second shape fed from the first through inMesh evaluates its input when asked.
    MObject copyParent;
    MObject copy = sc::createNode("mesh", "copyShape", MObject::kNullObj, &copyParent);
    ASSERT_TRUE(sc::connect(st::plug(shape + ".outMesh"), st::plug("copyShape.inMesh")));
    auto copied = st::mesh("copyShape");
    ASSERT_TRUE(copied.valid);
    EXPECT_EQ(copied.polygonConnects, std::vector<int>({0, 1, 2, 3, 1, 4, 2}));
    (void)copy;
}
