// MFnMesh: normals. Vertex normals not set explicitly are computed from the
// faces around the vertex (plain or angle-weighted average of face normals);
// a face-vertex normal not set explicitly is its vertex's normal.
#include <maya/MFnMesh.h>
#include <maya/MIntArray.h>
#include <maya/MVectorArray.h>

#include "../core/Access.h"
#include "../core/StatusText.h"
#include "MeshFn.h"

#include <vector>

using kelphost::badParameter;
using kelphost::MeshGeom;
using kelphost::noMesh;

namespace {

// Face-vertex index of point `vertexId` in polygon `face`, -1 when not there.
int faceVertexOf(const MeshGeom &g, int face, int vertexId) {
    if (face < 0 || static_cast<size_t>(face) >= g.counts.size())
        return -1;
    int o = g.offsets[static_cast<size_t>(face)];
    for (int k = 0; k < g.counts[static_cast<size_t>(face)]; ++k)
        if (g.connects[static_cast<size_t>(o + k)] == vertexId)
            return o + k;
    return -1;
}

MVector faceVertexNormal(const MeshGeom &g, int fv) {
    return g.faceVertexNormal(fv);
}

MVector toWorld(const MVector &n, const MMatrix &m) {
    return (n * m.inverse().transpose()).normal();
}

} // namespace

OPENMAYA_MAJOR_NAMESPACE_OPEN

int MFnMesh::numNormals(MStatus *rs) const {
    MeshGeom *g = kelphost::readGeom(*this);
    kelphost::report(rs, g ? MStatus(MStatus::kSuccess) : noMesh());
    return g ? g->faceVertexCount() : 0;
}

MStatus MFnMesh::getNormals(MFloatVectorArray &normals, MSpace::Space space) const {
    normals.clear();
    MeshGeom *g = kelphost::readGeom(*this);
    if (!g)
        return noMesh();
    MMatrix m = space == MSpace::kWorld ? kelphost::worldMatrixOf(*this) : MMatrix();
    for (int fv = 0; fv < g->faceVertexCount(); ++fv) {
        MVector n = faceVertexNormal(*g, fv);
        normals.append(MFloatVector(space == MSpace::kWorld ? toWorld(n, m) : n));
    }
    return MStatus::kSuccess;
}

MStatus MFnMesh::getFaceVertexNormal(int face, int vertexId, MVector &normal,
                                     MSpace::Space space) const {
    MeshGeom *g = kelphost::readGeom(*this);
    if (!g)
        return noMesh();
    int fv = faceVertexOf(*g, face, vertexId);
    if (fv < 0)
        return badParameter(kelphost::kIndexOutOfRange);
    normal = faceVertexNormal(*g, fv);
    if (space == MSpace::kWorld)
        normal = toWorld(normal, kelphost::worldMatrixOf(*this));
    return MStatus::kSuccess;
}

MStatus MFnMesh::getNormalIds(MIntArray &counts, MIntArray &ids) const {
    counts.clear();
    ids.clear();
    MeshGeom *g = kelphost::readGeom(*this);
    if (!g)
        return noMesh();
    for (int c : g->counts)
        counts.append(c);
    for (int fv = 0; fv < g->faceVertexCount(); ++fv)
        ids.append(fv);
    return MStatus::kSuccess;
}

MStatus MFnMesh::getPolygonNormal(int polygonId, MVector &normal, MSpace::Space space) const {
    MeshGeom *g = kelphost::readGeom(*this);
    if (!g)
        return noMesh();
    if (polygonId < 0 || static_cast<size_t>(polygonId) >= g->counts.size())
        return badParameter(kelphost::kIndexOutOfRange);
    normal = g->faceNormal(polygonId);
    if (space == MSpace::kWorld)
        normal = toWorld(normal, kelphost::worldMatrixOf(*this));
    return MStatus::kSuccess;
}

MStatus MFnMesh::setFaceVertexNormals(MVectorArray &normalArray, MIntArray &faceList,
                                      MIntArray &vertexList, MSpace::Space space) {
    if (space == MSpace::kWorld && !kelphost::canWriteWorld(*this))
        return badParameter(kelphost::kWorldSpace);
    MeshGeom *g = kelphost::editGeom(*this);
    if (!g)
        return noMesh();
    unsigned n = normalArray.length();
    if (faceList.length() != n || vertexList.length() != n)
        return badParameter(kelphost::kArrayLengthMismatch);
    std::vector<int> fvs(n);
    for (unsigned i = 0; i < n; ++i) { // all or nothing: check every pair first
        fvs[i] = faceVertexOf(*g, faceList[i], vertexList[i]);
        if (fvs[i] < 0)
            return badParameter(kelphost::kIndexOutOfRange);
    }
    MMatrix back = space == MSpace::kWorld ? kelphost::worldMatrixOf(*this).inverse() : MMatrix();
    for (unsigned i = 0; i < n; ++i) {
        MVector v = space == MSpace::kWorld ? toWorld(normalArray[i], back) : normalArray[i];
        g->faceVertexNormals[static_cast<size_t>(fvs[i])] = v;
        g->faceVertexNormalSet[static_cast<size_t>(fvs[i])] = true;
    }
    kelphost::geometryChanged(*this);
    return MStatus::kSuccess;
}

MStatus MFnMesh::setVertexNormals(MVectorArray &normalArray, MIntArray &vertexList,
                                  MSpace::Space space) {
    if (space == MSpace::kWorld && !kelphost::canWriteWorld(*this))
        return badParameter(kelphost::kWorldSpace);
    MeshGeom *g = kelphost::editGeom(*this);
    if (!g)
        return noMesh();
    if (normalArray.length() != vertexList.length())
        return badParameter(kelphost::kArrayLengthMismatch);
    // Whole-array passes over the arrays' storage: a large mesh sets a
    // normal on millions of points at once.
    const std::vector<MVector> &normals =
        *kelphost::Access::vec<MVectorArray, std::vector<MVector>>(normalArray);
    const std::vector<int> &points =
        *kelphost::Access::vec<MIntArray, std::vector<int>>(vertexList);
    const size_t pointCount = g->points.size();
    bool outside = false;
    for (int p : points)
        outside |= static_cast<size_t>(static_cast<unsigned>(p)) >= pointCount;
    if (outside)
        return badParameter(kelphost::kIndexOutOfRange);
    const bool world = space == MSpace::kWorld;
    MMatrix back = world ? kelphost::worldMatrixOf(*this).inverse() : MMatrix();
    MVector *out = g->vertexNormals.data();
    for (size_t i = 0; i < points.size(); ++i) {
        const size_t v = static_cast<size_t>(points[i]);
        out[v] = world ? toWorld(normals[i], back) : normals[i];
        g->vertexNormalSet[v] = true;
    }
    g->touch();
    kelphost::geometryChanged(*this);
    return MStatus::kSuccess;
}

MStatus MFnMesh::getVertexNormal(int vertexId, MVector &normal, MSpace::Space space) const {
    return getVertexNormal(vertexId, false, normal, space);
}

MStatus MFnMesh::getVertexNormal(int vertexId, bool angleWeighted, MVector &normal,
                                 MSpace::Space space) const {
    MeshGeom *g = kelphost::readGeom(*this);
    if (!g)
        return noMesh();
    if (vertexId < 0 || static_cast<size_t>(vertexId) >= g->points.size())
        return badParameter(kelphost::kIndexOutOfRange);
    normal = g->vertexNormal(vertexId, angleWeighted);
    if (space == MSpace::kWorld)
        normal = toWorld(normal, kelphost::worldMatrixOf(*this));
    return MStatus::kSuccess;
}

MStatus MFnMesh::getVertexNormals(bool angleWeighted, MFloatVectorArray &normals,
                                  MSpace::Space space) const {
    normals.clear();
    MeshGeom *g = kelphost::readGeom(*this);
    if (!g)
        return noMesh();
    MMatrix m = space == MSpace::kWorld ? kelphost::worldMatrixOf(*this) : MMatrix();
    for (size_t i = 0; i < g->points.size(); ++i) {
        MVector n = g->vertexNormal(static_cast<int>(i), angleWeighted);
        normals.append(MFloatVector(space == MSpace::kWorld ? toWorld(n, m) : n));
    }
    return MStatus::kSuccess;
}

OPENMAYA_NAMESPACE_CLOSE
