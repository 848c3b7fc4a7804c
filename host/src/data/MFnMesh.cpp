// MFnMesh: attaching, creating meshes, points and topology.
// create() refuses inconsistent input with kInvalidParameter and builds
// nothing: counts that disagree with the array lengths, negative counts,
// polygons of fewer than three vertices, point ids out of range, UV arrays of
// different lengths.
#include <maya/MFloatArray.h>
#include <maya/MFloatPointArray.h>
#include <maya/MFnMesh.h>
#include <maya/MIntArray.h>
#include <maya/MPointArray.h>

#include "../Scene.h"
#include "../core/Access.h"
#include "../core/BulkStorage.h"
#include "../core/FnSet.h"
#include "../core/StatusText.h"
#include "../graph/Graph.h"
#include "../nodes/Builtins.h"
#include "MeshFn.h"

#include <set>
#include <utility>
#include <vector>

using kelphost::Access;
using kelphost::MeshData;
using kelphost::MeshGeom;

namespace kelphost {

MStatus noMesh() {
    return fail(MStatus::kFailure, kNoObject);
}
MStatus badParameter(unsigned char why) {
    return fail(MStatus::kInvalidParameter, static_cast<InternalStatus>(why));
}

MeshGeom *readGeom(const MFnMesh &fn) {
    return geometryOf(Access::fnObject(fn));
}

MeshGeom *editGeom(MFnMesh &fn) {
    const MObject &o = Access::fnObject(fn);
    if (o.hasFn(MFn::kMesh))
        return geometryOf(editableMeshData(static_cast<Node *>(Access::get(o))));
    return geometryOf(o);
}

void geometryChanged(MFnMesh &fn) {
    const MObject &o = Access::fnObject(fn);
    if (!o.hasFn(MFn::kMesh))
        return;
    Node *n = static_cast<Node *>(Access::get(o));
    if (Attribute *out = n->type->find("outMesh"))
        graph::changed(graph::PlugRef{n, out, -1});
}

MMatrix worldMatrixOf(const MFnMesh &fn) {
    if (const MDagPath *p = Access::fnPath(fn))
        return p->inclusiveMatrix();
    if (MeshData *d = Access::as<MeshData>(Access::fnObject(fn)))
        return d->matrix;
    return MMatrix();
}

bool canWriteWorld(const MFnMesh &fn) {
    return Access::fnPath(fn) != nullptr;
}

} // namespace kelphost

namespace {

using kelphost::badParameter;
using kelphost::canWriteWorld;
using kelphost::editGeom;
using kelphost::geometryChanged;
using kelphost::noMesh;
using kelphost::readGeom;
using kelphost::worldMatrixOf;

bool meshObject(const MObject &o) {
    return o.hasFn(MFn::kMesh) || o.hasFn(MFn::kMeshData) || o.hasFn(MFn::kMeshGeom);
}

// The storage behind the host arrays, for bulk reads.
const std::vector<int> &ints(const MIntArray &a) {
    return *Access::vec<MIntArray, std::vector<int>>(a);
}
const std::vector<float> &floats(const MFloatArray &a) {
    return *Access::vec<MFloatArray, std::vector<float>>(a);
}
const std::vector<MPoint> &pointStore(const MPointArray &a) {
    return *Access::vec<MPointArray, std::vector<MPoint>>(a);
}
const std::vector<MFloatPoint> &pointStore(const MFloatPointArray &a) {
    return *Access::vec<MFloatPointArray, std::vector<MFloatPoint>>(a);
}

// A fresh copy of a host array's values.
template <class T> std::vector<T> copyOf(const std::vector<T> &src) {
    return kelphost::bulkCopy<T>(src.begin(), src.end());
}

// Host points in single precision with w 1, built in one pass.
template <class Point> std::vector<MPoint> roundedPoints(const std::vector<Point> &src) {
    std::vector<MPoint> out;
    out.reserve(src.size());
    kelphost::adviseHugePages(out.data(), src.size() * sizeof(MPoint));
    for (const Point &p : src)
        out.emplace_back(static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z),
                         1.0);
    return out;
}

template <class PointArray>
MStatus validate(int numVertices, int numPolygons, const PointArray &pts, const MIntArray &counts,
                 const MIntArray &connects) {
    if (numVertices < 0 || numPolygons < 0 || static_cast<unsigned>(numVertices) != pts.length() ||
        static_cast<unsigned>(numPolygons) != counts.length())
        return badParameter(kelphost::kArrayLengthMismatch);
    const std::vector<int> &c = ints(counts);
    const std::vector<int> &k = ints(connects);
    long long total = 0;
    bool small = false;
    for (int n : c) {
        small |= n < 3;
        total += n;
    }
    if (small)
        return badParameter(kelphost::kBadTopology);
    if (total != static_cast<long long>(k.size()))
        return badParameter(kelphost::kArrayLengthMismatch);
    const unsigned limit = static_cast<unsigned>(numVertices);
    bool outside = false;
    for (int id : k)
        outside |= static_cast<unsigned>(id) >= limit;
    if (outside)
        return badParameter(kelphost::kIndexOutOfRange);
    return MStatus::kSuccess;
}

template <class PointArray>
MObject build(MFnMesh &fn, int numVertices, int numPolygons, const PointArray &pts,
              const MIntArray &counts, const MIntArray &connects, const MFloatArray *u,
              const MFloatArray *v, MObject owner, MStatus *rs) {
    MStatus st = validate(numVertices, numPolygons, pts, counts, connects);
    if (st && u && v && u->length() != v->length())
        st = badParameter(kelphost::kArrayLengthMismatch);
    bool ownerIsData = owner.hasFn(MFn::kMeshData);
    bool ownerIsTransform = owner.hasFn(MFn::kTransform) && kelphost::scene::isInScene(owner);
    if (st && !owner.isNull() && !ownerIsData && !ownerIsTransform)
        st = badParameter(kelphost::kInvalidOwner);
    if (!st) {
        kelphost::report(rs, st);
        return MObject();
    }
    MeshGeom *g = new MeshGeom;
    MObject geomObj = Access::wrap(g);
    kelphost::UVSetData map1;
    map1.name = "map1";
    g->uvSets.push_back(map1);
    g->currentUVSet = 0;
    g->setRoundedTopology(roundedPoints(pointStore(pts)), copyOf(ints(counts)),
                          copyOf(ints(connects)));
    if (u && v) {
        g->uvSets[0].u = copyOf(floats(*u));
        g->uvSets[0].v = copyOf(floats(*v));
    }
    MObject result;
    if (ownerIsData) {
        Access::as<MeshData>(owner)->geom = geomObj;
        Access::fnObject(fn) = geomObj;
        delete Access::fnPath(fn);
        Access::fnPath(fn) = nullptr;
        result = geomObj;
    } else {
        MObject data = Access::wrap(new MeshData);
        Access::as<MeshData>(data)->geom = geomObj;
        MObject made;
        MObject shape = kelphost::scene::createNode("mesh", MString(), owner, &made);
        kelphost::setMeshShapeData(static_cast<kelphost::Node *>(Access::get(shape)), data);
        fn.setObject(shape);
        result = owner.isNull() ? made : shape;
    }
    kelphost::report(rs, MStatus::kSuccess);
    return result;
}

} // namespace

OPENMAYA_MAJOR_NAMESPACE_OPEN

MFn::Type MFnMesh::type() const {
    return MFn::kMesh;
}
MFnMesh::~MFnMesh() = default;
const char *MFnMesh::className() {
    return "MFnMesh";
}
MFnMesh::MFnMesh(MObject &o, MStatus *rs) {
    MStatus st = setObject(o);
    kelphost::report(rs, st);
}
MFnMesh::MFnMesh(const MObject &o, MStatus *rs) {
    MStatus st = setObject(o);
    kelphost::report(rs, st);
}
MFnMesh::MFnMesh(const MDagPath &path, MStatus *rs) {
    MStatus st = setObject(path);
    kelphost::report(rs, st);
}

MStatus MFnMesh::setObject(const MDagPath &path) {
    MObject node = path.node();
    MStatus st = setObject(node);
    if (st && node.hasFn(MFn::kMesh))
        Access::fnPath(*this) = new MDagPath(path);
    return st;
}
MStatus MFnMesh::setObject(MObject &o) {
    return setObject(static_cast<const MObject &>(o));
}
MStatus MFnMesh::setObject(const MObject &o) {
    delete Access::fnPath(*this);
    Access::fnPath(*this) = nullptr;
    if (!meshObject(o)) {
        Access::fnObject(*this) = MObject();
        return kelphost::fail(MStatus::kInvalidParameter, kelphost::kIncompatibleObject);
    }
    Access::fnObject(*this) = o;
    return MStatus::kSuccess;
}

MObject MFnMesh::create(int nv, int np, const MFloatPointArray &pts, const MIntArray &counts,
                        const MIntArray &connects, MObject owner, MStatus *rs) {
    return build(*this, nv, np, pts, counts, connects, nullptr, nullptr, owner, rs);
}
MObject MFnMesh::create(int nv, int np, const MPointArray &pts, const MIntArray &counts,
                        const MIntArray &connects, MObject owner, MStatus *rs) {
    return build(*this, nv, np, pts, counts, connects, nullptr, nullptr, owner, rs);
}
MObject MFnMesh::create(int nv, int np, const MFloatPointArray &pts, const MIntArray &counts,
                        const MIntArray &connects, const MFloatArray &u, const MFloatArray &v,
                        MObject owner, MStatus *rs) {
    return build(*this, nv, np, pts, counts, connects, &u, &v, owner, rs);
}
MObject MFnMesh::create(int nv, int np, const MPointArray &pts, const MIntArray &counts,
                        const MIntArray &connects, const MFloatArray &u, const MFloatArray &v,
                        MObject owner, MStatus *rs) {
    return build(*this, nv, np, pts, counts, connects, &u, &v, owner, rs);
}

MStatus MFnMesh::createInPlace(int nv, int np, const MFloatPointArray &pts, const MIntArray &counts,
                               const MIntArray &connects) {
    MeshGeom *g = editGeom(*this);
    if (!g)
        return noMesh();
    MStatus st = validate(nv, np, pts, counts, connects);
    if (!st)
        return st;
    for (kelphost::UVSetData &s : g->uvSets) {
        s.u.clear();
        s.v.clear();
    }
    g->setRoundedTopology(roundedPoints(pointStore(pts)), copyOf(ints(counts)),
                          copyOf(ints(connects)));
    geometryChanged(*this);
    return MStatus::kSuccess;
}

MStatus MFnMesh::copyInPlace(const MObject &source) {
    MeshGeom *src = kelphost::geometryOf(source);
    MeshGeom *g = editGeom(*this);
    if (!src || !g)
        return noMesh();
    MeshGeom *copy = src->clone();
    MObject keep = Access::wrap(copy);
    g->points = copy->points;
    g->counts = copy->counts;
    g->connects = copy->connects;
    g->offsets = copy->offsets;
    g->uvSets = copy->uvSets;
    g->currentUVSet = copy->currentUVSet;
    g->vertexNormals = copy->vertexNormals;
    g->vertexNormalSet = copy->vertexNormalSet;
    g->faceVertexNormals = copy->faceVertexNormals;
    g->faceVertexNormalSet = copy->faceVertexNormalSet;
    g->colorSets = copy->colorSets;
    g->currentColorSet = copy->currentColorSet;
    g->hardEdges = copy->hardEdges;
    g->touch();
    geometryChanged(*this);
    return MStatus::kSuccess;
}

MObject MFnMesh::copy(const MObject &source, MObject owner, MStatus *rs) {
    MeshGeom *src = kelphost::geometryOf(source);
    if (!src) {
        kelphost::report(rs, badParameter(kelphost::kIncompatibleObject));
        return MObject();
    }
    MPointArray pts;
    for (const MPoint &p : src->points)
        pts.append(p);
    MIntArray counts, connects;
    for (int c : src->counts)
        counts.append(c);
    for (int c : src->connects)
        connects.append(c);
    MStatus st;
    MObject result = create(static_cast<int>(pts.length()), static_cast<int>(counts.length()), pts,
                            counts, connects, owner, &st);
    if (st)
        st = copyInPlace(source);
    kelphost::report(rs, st);
    return result;
}

int MFnMesh::numVertices(MStatus *rs) const {
    MeshGeom *g = readGeom(*this);
    kelphost::report(rs, g ? MStatus(MStatus::kSuccess) : noMesh());
    return g ? static_cast<int>(g->points.size()) : 0;
}
int MFnMesh::numEdges(MStatus *rs) const {
    MeshGeom *g = readGeom(*this);
    kelphost::report(rs, g ? MStatus(MStatus::kSuccess) : noMesh());
    if (!g)
        return 0;
    std::set<std::pair<int, int>> edges;
    for (size_t f = 0; f < g->counts.size(); ++f)
        for (int k = 0; k < g->counts[f]; ++k) {
            int a = g->connects[static_cast<size_t>(g->offsets[f] + k)];
            int b = g->connects[static_cast<size_t>(g->offsets[f] + (k + 1) % g->counts[f])];
            edges.insert(a < b ? std::make_pair(a, b) : std::make_pair(b, a));
        }
    return static_cast<int>(edges.size());
}
int MFnMesh::numPolygons(MStatus *rs) const {
    MeshGeom *g = readGeom(*this);
    kelphost::report(rs, g ? MStatus(MStatus::kSuccess) : noMesh());
    return g ? static_cast<int>(g->counts.size()) : 0;
}
int MFnMesh::numFaceVertices(MStatus *rs) const {
    MeshGeom *g = readGeom(*this);
    kelphost::report(rs, g ? MStatus(MStatus::kSuccess) : noMesh());
    return g ? g->faceVertexCount() : 0;
}
int MFnMesh::polygonVertexCount(int f, MStatus *rs) const {
    MeshGeom *g = readGeom(*this);
    if (!g || f < 0 || static_cast<size_t>(f) >= g->counts.size()) {
        kelphost::report(rs, g ? badParameter(kelphost::kIndexOutOfRange) : noMesh());
        return 0;
    }
    kelphost::report(rs, MStatus::kSuccess);
    return g->counts[static_cast<size_t>(f)];
}
MStatus MFnMesh::updateSurface() {
    if (!readGeom(*this) && Access::fnObject(*this).isNull())
        return MStatus::kFailure;
    geometryChanged(*this);
    return MStatus::kSuccess;
}

template <class Arr> static MStatus fillPoints(const MFnMesh &fn, Arr &out, MSpace::Space space) {
    out.clear();
    MeshGeom *g = kelphost::readGeom(fn);
    if (!g)
        return noMesh();
    MMatrix m = space == MSpace::kWorld ? kelphost::worldMatrixOf(fn) : MMatrix();
    out.setLength(static_cast<unsigned>(g->points.size()));
    for (size_t i = 0; i < g->points.size(); ++i) {
        MPoint p = space == MSpace::kWorld ? g->points[i] * m : g->points[i];
        p.cartesianize();
        out.set(p, static_cast<unsigned>(i));
    }
    return MStatus::kSuccess;
}

MStatus MFnMesh::getPoints(MFloatPointArray &out, MSpace::Space space) const {
    return fillPoints(*this, out, space);
}
MStatus MFnMesh::getPoints(MPointArray &out, MSpace::Space space) const {
    return fillPoints(*this, out, space);
}

template <class Arr> static MStatus storePoints(MFnMesh &fn, const Arr &in, MSpace::Space space) {
    if (space == MSpace::kWorld && !kelphost::canWriteWorld(fn))
        return badParameter(kelphost::kWorldSpace);
    MeshGeom *g = kelphost::editGeom(fn);
    if (!g)
        return noMesh();
    if (in.length() != g->points.size())
        return badParameter(kelphost::kArrayLengthMismatch);
    MMatrix inv = space == MSpace::kWorld ? kelphost::worldMatrixOf(fn).inverse() : MMatrix();
    for (unsigned i = 0; i < in.length(); ++i) {
        MPoint p = MPoint(in[i]) * inv;
        p.cartesianize();
        g->points[i] =
            MPoint(static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z));
    }
    g->touch();
    kelphost::geometryChanged(fn);
    return MStatus::kSuccess;
}

MStatus MFnMesh::setPoints(MFloatPointArray &in, MSpace::Space space) {
    return storePoints(*this, in, space);
}
MStatus MFnMesh::setPoints(MPointArray &in, MSpace::Space space) {
    return storePoints(*this, in, space);
}
MStatus MFnMesh::getPoint(int id, MPoint &pos, MSpace::Space space) const {
    MeshGeom *g = readGeom(*this);
    if (!g)
        return noMesh();
    if (id < 0 || static_cast<size_t>(id) >= g->points.size())
        return badParameter(kelphost::kIndexOutOfRange);
    pos = space == MSpace::kWorld ? g->points[static_cast<size_t>(id)] * worldMatrixOf(*this)
                                  : g->points[static_cast<size_t>(id)];
    pos.cartesianize();
    return MStatus::kSuccess;
}
MStatus MFnMesh::setPoint(int id, const MPoint &pos, MSpace::Space space) {
    if (space == MSpace::kWorld && !canWriteWorld(*this))
        return badParameter(kelphost::kWorldSpace);
    MeshGeom *g = editGeom(*this);
    if (!g)
        return noMesh();
    if (id < 0 || static_cast<size_t>(id) >= g->points.size())
        return badParameter(kelphost::kIndexOutOfRange);
    MPoint p = space == MSpace::kWorld ? pos * worldMatrixOf(*this).inverse() : pos;
    p.cartesianize();
    g->points[static_cast<size_t>(id)] =
        MPoint(static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z));
    g->touch();
    geometryChanged(*this);
    return MStatus::kSuccess;
}
MStatus MFnMesh::getVertices(MIntArray &vertexCount, MIntArray &vertexList) const {
    vertexCount.clear();
    vertexList.clear();
    MeshGeom *g = readGeom(*this);
    if (!g)
        return noMesh();
    for (int c : g->counts)
        vertexCount.append(c);
    for (int c : g->connects)
        vertexList.append(c);
    return MStatus::kSuccess;
}
MStatus MFnMesh::getPolygonVertices(int f, MIntArray &vertexList) const {
    vertexList.clear();
    MeshGeom *g = readGeom(*this);
    if (!g)
        return noMesh();
    if (f < 0 || static_cast<size_t>(f) >= g->counts.size())
        return badParameter(kelphost::kIndexOutOfRange);
    for (int k = 0; k < g->counts[static_cast<size_t>(f)]; ++k)
        vertexList.append(g->connects[static_cast<size_t>(g->offsets[static_cast<size_t>(f)] + k)]);
    return MStatus::kSuccess;
}
MStatus MFnMesh::setFaceVertexColors(MColorArray &colors, MIntArray &faceList,
                                     MIntArray &vertexList, MDGModifier *) {
    if (!readGeom(*this))
        return noMesh();
    if (colors.length() != faceList.length() || colors.length() != vertexList.length())
        return badParameter(kelphost::kArrayLengthMismatch);
    return MStatus::kSuccess; // colours are not kept by the stand-in
}
MStatus MFnMesh::setVertexColors(MColorArray &colors, MIntArray &vertexList, MDGModifier *) {
    if (!readGeom(*this))
        return noMesh();
    if (colors.length() != vertexList.length())
        return badParameter(kelphost::kArrayLengthMismatch);
    return MStatus::kSuccess; // colours are not kept by the stand-in
}

OPENMAYA_NAMESPACE_CLOSE
