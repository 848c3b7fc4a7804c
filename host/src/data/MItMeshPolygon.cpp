// MItMeshPolygon: walks the polygons of a mesh shape, mesh data or geometry.
// getUV on a face without UVs in the set fails and leaves its output alone.
#include <maya/MItMeshPolygon.h>

#include "../core/Access.h"
#include "../core/StatusText.h"
#include "MeshGeom.h"

#include <string>

using kelphost::Access;
using kelphost::MeshGeom;
using kelphost::UVSetData;

namespace {

MStatus bad() {
    return kelphost::fail(MStatus::kInvalidParameter, kelphost::kIndexOutOfRange);
}

UVSetData *setOf(MeshGeom *g, const MString *name) {
    if (!name)
        return g->uvSet(nullptr);
    std::string n = name->asChar();
    return g->uvSet(&n);
}

} // namespace

OPENMAYA_MAJOR_NAMESPACE_OPEN

MItMeshPolygon::MItMeshPolygon(const MObject &polyObject, MStatus *rs)
    : fGeom(), fPath(nullptr), fIndex(0) {
    if (!kelphost::geometryOf(polyObject)) {
        kelphost::report(rs,
                         kelphost::fail(MStatus::kInvalidParameter, kelphost::kIncompatibleObject));
        return;
    }
    fGeom = polyObject;
    kelphost::report(rs, MStatus::kSuccess);
}

MItMeshPolygon::MItMeshPolygon(const MDagPath &path, MObject &, MStatus *rs)
    : fGeom(), fPath(nullptr), fIndex(0) {
    MObject node = path.node();
    if (!kelphost::geometryOf(node)) {
        kelphost::report(rs,
                         kelphost::fail(MStatus::kInvalidParameter, kelphost::kIncompatibleObject));
        return;
    }
    fGeom = node;
    fPath = new MDagPath(path);
    kelphost::report(rs, MStatus::kSuccess);
}

MItMeshPolygon::~MItMeshPolygon() {
    delete static_cast<MDagPath *>(fPath);
}

#define GEOM_OR(RET)                                                                               \
    MeshGeom *g = kelphost::geometryOf(fGeom);                                                     \
    if (!g) {                                                                                      \
        kelphost::report(rs, MStatus(MStatus::kFailure));                                          \
        return RET;                                                                                \
    }

bool MItMeshPolygon::isDone(MStatus *rs) {
    GEOM_OR(true)
    kelphost::report(rs, MStatus::kSuccess);
    return fIndex >= g->counts.size();
}
MStatus MItMeshPolygon::next() {
    ++fIndex;
    return MStatus::kSuccess;
}
MStatus MItMeshPolygon::reset() {
    fIndex = 0;
    return MStatus::kSuccess;
}
unsigned int MItMeshPolygon::count(MStatus *rs) {
    GEOM_OR(0)
    kelphost::report(rs, MStatus::kSuccess);
    return static_cast<unsigned>(g->counts.size());
}
unsigned int MItMeshPolygon::polygonVertexCount(MStatus *rs) {
    GEOM_OR(0)
    if (fIndex >= g->counts.size()) {
        kelphost::report(rs, bad());
        return 0;
    }
    kelphost::report(rs, MStatus::kSuccess);
    return static_cast<unsigned>(g->counts[fIndex]);
}
unsigned int MItMeshPolygon::index(MStatus *rs) {
    kelphost::report(rs, MStatus::kSuccess);
    return fIndex;
}
MStatus MItMeshPolygon::setIndex(int index, int &prevIndex) {
    MeshGeom *g = kelphost::geometryOf(fGeom);
    if (!g || index < 0 || static_cast<size_t>(index) >= g->counts.size())
        return bad();
    prevIndex = static_cast<int>(fIndex);
    fIndex = static_cast<unsigned>(index);
    return MStatus::kSuccess;
}
unsigned int MItMeshPolygon::vertexIndex(int i, MStatus *rs) {
    GEOM_OR(0)
    if (fIndex >= g->counts.size() || i < 0 || i >= g->counts[fIndex]) {
        kelphost::report(rs, bad());
        return 0;
    }
    kelphost::report(rs, MStatus::kSuccess);
    return static_cast<unsigned>(g->connects[static_cast<size_t>(g->offsets[fIndex] + i)]);
}
MStatus MItMeshPolygon::getVertices(MIntArray &vertices) {
    vertices.clear();
    MeshGeom *g = kelphost::geometryOf(fGeom);
    if (!g || fIndex >= g->counts.size())
        return bad();
    for (int k = 0; k < g->counts[fIndex]; ++k)
        vertices.append(g->connects[static_cast<size_t>(g->offsets[fIndex] + k)]);
    return MStatus::kSuccess;
}

static MMatrix worldOf(const MObject &geom, void *path) {
    if (path)
        return static_cast<MDagPath *>(path)->inclusiveMatrix();
    if (kelphost::MeshData *d = Access::as<kelphost::MeshData>(geom))
        return d->matrix;
    return MMatrix();
}

MPoint MItMeshPolygon::point(int i, MSpace::Space space, MStatus *rs) {
    MStatus st;
    unsigned id = vertexIndex(i, &st);
    kelphost::report(rs, st);
    if (!st)
        return MPoint();
    MeshGeom *g = kelphost::geometryOf(fGeom);
    MPoint p = g->points[id];
    if (space == MSpace::kWorld)
        p = (p * worldOf(fGeom, fPath)).cartesianize();
    return p;
}
MPoint MItMeshPolygon::center(MSpace::Space space, MStatus *rs) {
    GEOM_OR(MPoint())
    if (fIndex >= g->counts.size()) {
        kelphost::report(rs, bad());
        return MPoint();
    }
    MVector sum;
    int n = g->counts[fIndex];
    for (int k = 0; k < n; ++k)
        sum += MVector(point(k, space));
    kelphost::report(rs, MStatus::kSuccess);
    return MPoint(sum / n);
}
unsigned int MItMeshPolygon::normalIndex(int vertex, MStatus *rs) const {
    GEOM_OR(0)
    if (fIndex >= g->counts.size() || vertex < 0 || vertex >= g->counts[fIndex]) {
        kelphost::report(rs, bad());
        return 0;
    }
    kelphost::report(rs, MStatus::kSuccess);
    return static_cast<unsigned>(g->offsets[fIndex] + vertex);
}
MStatus MItMeshPolygon::getNormal(MVector &normal, MSpace::Space space) const {
    MeshGeom *g = kelphost::geometryOf(fGeom);
    if (!g || fIndex >= g->counts.size())
        return bad();
    normal = g->faceNormal(static_cast<int>(fIndex));
    if (space == MSpace::kWorld)
        normal = (normal * worldOf(fGeom, fPath).inverse().transpose()).normal();
    return MStatus::kSuccess;
}
MStatus MItMeshPolygon::getNormal(unsigned int vertex, MVector &normal, MSpace::Space space) const {
    MeshGeom *g = kelphost::geometryOf(fGeom);
    if (!g || fIndex >= g->counts.size() || vertex >= static_cast<unsigned>(g->counts[fIndex]))
        return bad();
    size_t fv = static_cast<size_t>(g->offsets[fIndex]) + vertex;
    normal = g->faceVertexNormal(static_cast<int>(fv));
    if (space == MSpace::kWorld)
        normal = (normal * worldOf(fGeom, fPath).inverse().transpose()).normal();
    return MStatus::kSuccess;
}
bool MItMeshPolygon::hasUVs(MStatus *rs) const {
    GEOM_OR(false)
    UVSetData *s = setOf(g, nullptr);
    kelphost::report(rs, MStatus::kSuccess);
    return s && fIndex < g->counts.size() &&
           s->faceUVIds[static_cast<size_t>(g->offsets[fIndex])] >= 0;
}
bool MItMeshPolygon::hasUVs(const MString &uvSet, MStatus *rs) const {
    GEOM_OR(false)
    UVSetData *s = setOf(g, &uvSet);
    kelphost::report(rs, s ? MStatus(MStatus::kSuccess) : bad());
    return s && fIndex < g->counts.size() &&
           s->faceUVIds[static_cast<size_t>(g->offsets[fIndex])] >= 0;
}
MStatus MItMeshPolygon::getUV(int vertex, float2 &uvPoint, const MString *uvSet) const {
    MeshGeom *g = kelphost::geometryOf(fGeom);
    if (!g || fIndex >= g->counts.size() || vertex < 0 || vertex >= g->counts[fIndex])
        return bad();
    UVSetData *s = setOf(g, uvSet);
    if (!s)
        return bad();
    int id = s->faceUVIds[static_cast<size_t>(g->offsets[fIndex] + vertex)];
    if (id < 0 || static_cast<size_t>(id) >= s->u.size())
        return MStatus(MStatus::kFailure);
    uvPoint[0] = s->u[static_cast<size_t>(id)];
    uvPoint[1] = s->v[static_cast<size_t>(id)];
    return MStatus::kSuccess;
}
MStatus MItMeshPolygon::getUVs(MFloatArray &u, MFloatArray &v, const MString *uvSet) const {
    u.clear();
    v.clear();
    MeshGeom *g = kelphost::geometryOf(fGeom);
    if (!g || fIndex >= g->counts.size())
        return bad();
    for (int k = 0; k < g->counts[fIndex]; ++k) {
        float2 uv = {0, 0};
        MStatus st = getUV(k, uv, uvSet);
        if (!st)
            return st;
        u.append(uv[0]);
        v.append(uv[1]);
    }
    return MStatus::kSuccess;
}
MStatus MItMeshPolygon::getUVIndex(int vertex, int &index, const MString *uvSet) {
    MeshGeom *g = kelphost::geometryOf(fGeom);
    if (!g || fIndex >= g->counts.size() || vertex < 0 || vertex >= g->counts[fIndex])
        return bad();
    UVSetData *s = setOf(g, uvSet);
    if (!s)
        return bad();
    int id = s->faceUVIds[static_cast<size_t>(g->offsets[fIndex] + vertex)];
    if (id < 0)
        return MStatus(MStatus::kFailure);
    index = id;
    return MStatus::kSuccess;
}

OPENMAYA_NAMESPACE_CLOSE
