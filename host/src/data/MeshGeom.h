#ifndef KELPHOST_MESHGEOM_H
#define KELPHOST_MESHGEOM_H
// Polygon mesh geometry and the mesh data object that carries it.
#include <maya/MColor.h>
#include <maya/MMatrix.h>
#include <maya/MObject.h>
#include <maya/MPoint.h>
#include <maya/MVector.h>

#include "../core/Object.h"

#include <cstdlib>
#include <new>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace kelphost {

// Allocator for tables of zero vectors that are mostly never written (user
// normals): storage comes zeroed from calloc and value-initialisation leaves
// it alone, so the pages of a large table are touched only where a value is
// set. Only for types whose value-initialised state is all zero bytes; the
// tables are always built fresh (never resized over used storage).
template <class T> struct ZeroTableAllocator {
    using value_type = T;
    ZeroTableAllocator() = default;
    template <class U> ZeroTableAllocator(const ZeroTableAllocator<U> &) {}
    T *allocate(std::size_t n) {
        void *p = std::calloc(n ? n : 1, sizeof(T));
        if (!p)
            throw std::bad_alloc();
        return static_cast<T *>(p);
    }
    void deallocate(T *p, std::size_t) { std::free(p); }
    template <class U> void construct(U *) {} // already zero bytes
    template <class U, class... A> void construct(U *p, A &&...args) {
        ::new (static_cast<void *>(p)) U(std::forward<A>(args)...);
    }
    template <class U> bool operator==(const ZeroTableAllocator<U> &) const { return true; }
    template <class U> bool operator!=(const ZeroTableAllocator<U> &) const { return false; }
};
using ZeroVectorTable = std::vector<MVector, ZeroTableAllocator<MVector>>;

struct UVSetData {
    std::string name;
    std::vector<float> u, v;
    std::vector<int> faceUVIds; // per face-vertex; -1 where the face has no UVs
};

struct ColorSetData {
    std::string name;
    std::vector<MColor> colors;
    std::vector<int> faceColorIds; // per face-vertex; -1 where no colour is assigned
};

class MeshGeom : public Object {
public:
    MFn::Type apiType() const override { return MFn::kMeshGeom; }

    std::vector<MPoint> points;
    std::vector<int> counts;       // vertices per polygon
    std::vector<int> connects;     // point ids, polygon after polygon
    std::vector<int> offsets;      // first face-vertex of each polygon
    std::vector<UVSetData> uvSets; // "map1" first for new meshes
    int currentUVSet = 0;          // index into uvSets, -1 when there is none
    ZeroVectorTable vertexNormals; // user normals per point (vertexNormalSet)
    std::vector<bool> vertexNormalSet;
    ZeroVectorTable faceVertexNormals; // user normals per face-vertex
    std::vector<bool> faceVertexNormalSet;
    std::vector<ColorSetData> colorSets;
    int currentColorSet = -1;                // index into colorSets, -1 when there is none
    std::set<std::pair<int, int>> hardEdges; // point pairs (lower id first); others are soft

    // Fresh topology: offsets, normal tables and UV assignments resized.
    void setTopology(std::vector<MPoint> pts, std::vector<int> polygonCounts,
                     std::vector<int> polygonConnects);
    // The same, for points already in the host's single precision with w 1.
    void setRoundedTopology(std::vector<MPoint> pts, std::vector<int> polygonCounts,
                            std::vector<int> polygonConnects);
    UVSetData *uvSet(const std::string *name);       // null name: the current set
    ColorSetData *colorSet(const std::string *name); // null name: the current set
    // The normal a face-vertex shows: its user normal, else its point's user
    // normal, else the average of the faces around its point that meet it
    // across soft edges.
    MVector faceVertexNormal(int faceVertex) const;
    int faceOf(int faceVertex) const; // polygon holding a face-vertex
    int faceVertexCount() const { return static_cast<int>(connects.size()); }
    MVector faceNormal(int polygon) const;                     // unit, Newell's method
    MVector vertexNormal(int point, bool angleWeighted) const; // user normal or from faces
    MeshGeom *clone() const;
    // Call after changing points, topology or normals: drops cached normals.
    void touch() {
        normalsCached_[0] = normalsCached_[1] = false;
        facesAround_.clear();
    }

private:
    mutable std::vector<MVector> normalCache_[2]; // computed vertex normals (plain, angle-weighted)
    mutable bool normalsCached_[2] = {false, false};
    mutable std::vector<std::vector<int>> facesAround_; // per point, built when edges are hard
};

class MeshData : public Object {
public:
    MFn::Type apiType() const override { return MFn::kMeshData; }
    MObject geom;   // MeshGeom, null until a mesh is built into it
    MMatrix matrix; // world transformation carried with the data
};

// The geometry behind a mesh shape, mesh data or geometry object (null if none).
MeshGeom *geometryOf(const MObject &object);
// New mesh data holding a copy of `data`'s geometry with its matrix applied.
MObject transformedMeshData(const MObject &data);

} // namespace kelphost

#endif
