// The plain tables of an imported mesh, filled from a loaded detail: each is
// sized once and written in one pass.
#ifndef KELP_BRIDGE_MESHTABLES_H
#define KELP_BRIDGE_MESHTABLES_H

#include "bridge/ReadBgeo.h"

#include <Kelp>

#include <cstddef>
#include <vector>

// One per-element value source: a vertex attribute (indexed by file vertex)
// or a point attribute (indexed by point), used only when it has a value for
// every element it must cover.
struct Source {
    const AttributeData *attr = nullptr;
    bool perVertex = false;
    bool firstOfVector = false; // a float wanted from a vector: its first component
    explicit operator bool() const { return attr != nullptr; }
};

// What the tables are filled from: the kept polygons (three or more
// vertices), the point count, the vertices of all polygons in the file and
// of the kept ones, and the winding.
struct MeshShape {
    const std::vector<PolygonData> &polys;
    unsigned int pointCount;
    unsigned int fileVertices;
    unsigned int hostVertices;
    unsigned int keptPolygons;
    bool invertNormals;
};

// Positions as (x, y, z, 1).
void fillPoints(const AttributeData &positions, unsigned int count, BulkTable<float[4]> &points);
// Vertex counts and point ids of the kept polygons.
void fillPolygons(const MeshShape &shape, ImportedMesh &mesh);
// One UV set from `source` (a vector attribute), shared per point.
void fillUvSet(const MeshShape &shape, const Source &source, const BulkTable<int> &polygonConnects,
               std::vector<float> &u, std::vector<float> &v, BulkTable<int> &uvIds);
// Colours from "Cd" and "Alpha" (alpha may be empty), shared per point.
void fillColors(const MeshShape &shape, const Source &cd, const Source &alpha,
                std::vector<ImportedColor> &colors, BulkTable<int> &colorIds);
// Point "N" as one normal per point.
void fillPointNormals(const AttributeData &n, unsigned int count, bool invertNormals,
                      ImportedMesh &mesh);
// Vertex "N" as one normal per host face-vertex.
void fillFaceVertexNormals(const MeshShape &shape, const AttributeData &n, ImportedMesh &mesh);

#endif
