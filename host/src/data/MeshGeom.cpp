#include "MeshGeom.h"

#include "../core/Access.h"
#include "../core/BulkStorage.h"
#include "../graph/Node.h"
#include "../nodes/Builtins.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace kelphost {

void MeshGeom::setTopology(std::vector<MPoint> pts, std::vector<int> polygonCounts,
                           std::vector<int> polygonConnects) {
    for (MPoint &p : pts) { // the host keeps single-precision points
        p.x = static_cast<float>(p.x);
        p.y = static_cast<float>(p.y);
        p.z = static_cast<float>(p.z);
        p.w = 1.0;
    }
    setRoundedTopology(std::move(pts), std::move(polygonCounts), std::move(polygonConnects));
}

void MeshGeom::setRoundedTopology(std::vector<MPoint> pts, std::vector<int> polygonCounts,
                                  std::vector<int> polygonConnects) {
    points = std::move(pts);
    counts = std::move(polygonCounts);
    connects = std::move(polygonConnects);
    const size_t faces = counts.size();
    std::vector<int> firsts;
    growTable(firsts, faces);
    int running = 0;
    const int *c = counts.data();
    int *o = firsts.data();
    for (size_t f = 0; f < faces; ++f) {
        o[f] = running;
        running += c[f];
    }
    offsets = std::move(firsts);
    // Fresh zero tables: their pages are touched only where normals are set.
    vertexNormals = ZeroVectorTable(points.size());
    vertexNormalSet.assign(points.size(), false);
    faceVertexNormals = ZeroVectorTable(connects.size());
    faceVertexNormalSet.assign(connects.size(), false);
    for (UVSetData &set : uvSets) {
        std::vector<int> unmapped;
        unmapped.reserve(connects.size());
        adviseHugePages(unmapped.data(), connects.size() * sizeof(int));
        unmapped.assign(connects.size(), -1);
        set.faceUVIds = std::move(unmapped);
    }
    for (ColorSetData &set : colorSets)
        set.faceColorIds.assign(connects.size(), -1);
    hardEdges.clear();
    touch();
}

UVSetData *MeshGeom::uvSet(const std::string *name) {
    if (!name) {
        if (currentUVSet < 0 || static_cast<size_t>(currentUVSet) >= uvSets.size())
            return nullptr;
        return &uvSets[static_cast<size_t>(currentUVSet)];
    }
    for (UVSetData &s : uvSets)
        if (s.name == *name)
            return &s;
    return nullptr;
}

ColorSetData *MeshGeom::colorSet(const std::string *name) {
    if (!name) {
        if (currentColorSet < 0 || static_cast<size_t>(currentColorSet) >= colorSets.size())
            return nullptr;
        return &colorSets[static_cast<size_t>(currentColorSet)];
    }
    for (ColorSetData &s : colorSets)
        if (s.name == *name)
            return &s;
    return nullptr;
}

int MeshGeom::faceOf(int fv) const {
    auto it = std::upper_bound(offsets.begin(), offsets.end(), fv);
    return static_cast<int>(it - offsets.begin()) - 1;
}

MVector MeshGeom::faceVertexNormal(int fv) const {
    const size_t at = static_cast<size_t>(fv);
    if (faceVertexNormalSet[at])
        return faceVertexNormals[at].normal();
    const int p = connects[at];
    if (hardEdges.empty() || vertexNormalSet[static_cast<size_t>(p)])
        return vertexNormal(p, false);
    if (facesAround_.empty()) {
        facesAround_.assign(points.size(), std::vector<int>());
        for (size_t f = 0; f < counts.size(); ++f)
            for (int k = 0; k < counts[f]; ++k)
                facesAround_[static_cast<size_t>(connects[static_cast<size_t>(offsets[f] + k)])]
                    .push_back(static_cast<int>(f));
    }
    // The faces around p reached from this one across soft edges at p.
    const std::vector<int> &around = facesAround_[static_cast<size_t>(p)];
    auto neighbours = [&](int f, int out[2]) {
        const int c = counts[static_cast<size_t>(f)], o = offsets[static_cast<size_t>(f)];
        for (int k = 0; k < c; ++k)
            if (connects[static_cast<size_t>(o + k)] == p) {
                out[0] = connects[static_cast<size_t>(o + (k + c - 1) % c)];
                out[1] = connects[static_cast<size_t>(o + (k + 1) % c)];
                return;
            }
        out[0] = out[1] = -1;
    };
    std::vector<int> group = {faceOf(fv)};
    std::vector<bool> taken(around.size(), false);
    for (size_t i = 0; i < around.size(); ++i)
        taken[i] = around[i] == group[0];
    for (size_t g = 0; g < group.size(); ++g) {
        int mine[2];
        neighbours(group[g], mine);
        for (int q : mine) {
            if (q < 0 || hardEdges.count({std::min(p, q), std::max(p, q)}))
                continue;
            for (size_t i = 0; i < around.size(); ++i) {
                if (taken[i])
                    continue;
                int theirs[2];
                neighbours(around[i], theirs);
                if (theirs[0] == q || theirs[1] == q) {
                    taken[i] = true;
                    group.push_back(around[i]);
                }
            }
        }
    }
    MVector sum;
    for (int f : group)
        sum += faceNormal(f);
    return sum.normal();
}

MVector MeshGeom::faceNormal(int f) const {
    MVector n;
    if (f < 0 || static_cast<size_t>(f) >= counts.size())
        return n;
    int c = counts[static_cast<size_t>(f)];
    int o = offsets[static_cast<size_t>(f)];
    for (int k = 0; k < c; ++k) {
        const MPoint &a = points[static_cast<size_t>(connects[static_cast<size_t>(o + k)])];
        const MPoint &b =
            points[static_cast<size_t>(connects[static_cast<size_t>(o + (k + 1) % c)])];
        n.x += (a.y - b.y) * (a.z + b.z);
        n.y += (a.z - b.z) * (a.x + b.x);
        n.z += (a.x - b.x) * (a.y + b.y);
    }
    return n.normal();
}

MVector MeshGeom::vertexNormal(int p, bool angleWeighted) const {
    if (p < 0 || static_cast<size_t>(p) >= points.size())
        return MVector();
    if (vertexNormalSet[static_cast<size_t>(p)])
        return vertexNormals[static_cast<size_t>(p)].normal();
    int w = angleWeighted ? 1 : 0;
    if (!normalsCached_[w]) {
        std::vector<MVector> &cache = normalCache_[w];
        cache.assign(points.size(), MVector());
        for (size_t f = 0; f < counts.size(); ++f) {
            MVector fn = faceNormal(static_cast<int>(f));
            int c = counts[f];
            int o = offsets[f];
            for (int k = 0; k < c; ++k) {
                int id = connects[static_cast<size_t>(o + k)];
                double weight = 1.0;
                if (angleWeighted) {
                    const MPoint &prev = points[static_cast<size_t>(
                        connects[static_cast<size_t>(o + (k + c - 1) % c)])];
                    const MPoint &next =
                        points[static_cast<size_t>(connects[static_cast<size_t>(o + (k + 1) % c)])];
                    const MPoint &here = points[static_cast<size_t>(id)];
                    weight = (prev - here).angle(next - here);
                }
                cache[static_cast<size_t>(id)] += fn * weight;
            }
        }
        for (MVector &v : cache)
            v = v.normal();
        normalsCached_[w] = true;
    }
    return normalCache_[w][static_cast<size_t>(p)];
}

MeshGeom *MeshGeom::clone() const {
    // Owned until whole: a copy that runs out of memory frees what it made.
    std::unique_ptr<MeshGeom> g(new MeshGeom);
    g->points = points;
    g->counts = counts;
    g->connects = connects;
    g->offsets = offsets;
    g->uvSets = uvSets;
    g->currentUVSet = currentUVSet;
    g->vertexNormals = vertexNormals;
    g->vertexNormalSet = vertexNormalSet;
    g->faceVertexNormals = faceVertexNormals;
    g->faceVertexNormalSet = faceVertexNormalSet;
    g->colorSets = colorSets;
    g->currentColorSet = currentColorSet;
    g->hardEdges = hardEdges;
    return g.release();
}

MeshGeom *geometryOf(const MObject &object) {
    if (MeshGeom *g = Access::as<MeshGeom>(object))
        return g;
    if (MeshData *d = Access::as<MeshData>(object))
        return Access::as<MeshGeom>(d->geom);
    if (object.hasFn(MFn::kMesh)) {
        MObject data = meshShapeData(static_cast<Node *>(Access::get(object)));
        return geometryOf(data);
    }
    return nullptr;
}

MObject transformedMeshData(const MObject &dataObj) {
    MeshData *src = Access::as<MeshData>(dataObj);
    MeshData *out = new MeshData;
    MObject result = Access::wrap(out);
    if (!src)
        return result;
    MeshGeom *g = Access::as<MeshGeom>(src->geom);
    if (!g)
        return result;
    MeshGeom *copy = g->clone();
    out->geom = Access::wrap(copy);
    const MMatrix &m = src->matrix;
    if (m.isEquivalent(MMatrix::identity, 0.0))
        return result;
    for (MPoint &p : copy->points) {
        p = p * m;
        p.cartesianize();
        p.x = static_cast<float>(p.x);
        p.y = static_cast<float>(p.y);
        p.z = static_cast<float>(p.z);
    }
    MMatrix nm = m.inverse().transpose();
    for (MVector &n : copy->vertexNormals)
        n = (n * nm).normal();
    for (MVector &n : copy->faceVertexNormals)
        n = (n * nm).normal();
    copy->touch();
    return result;
}

} // namespace kelphost
