// The plain tables of an imported mesh, filled from a loaded detail: each is
// sized once and written in one pass.
#ifndef KELP_BRIDGE_MESHTABLES_H
#define KELP_BRIDGE_MESHTABLES_H

#include "bridge/ReadBgeo.h"

#include <Kelp>

#include <cstddef>
#include <cstdlib>
#include <optional>
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

// Storage reused for every table of one frame: a table is filled here and
// copied into its host array in one go, so one buffer (the largest table)
// serves them all. Its contents are unspecified after each request.
class TableScratch {
public:
    TableScratch() = default;
    TableScratch(const TableScratch &) = delete;
    TableScratch &operator=(const TableScratch &) = delete;
    ~TableScratch() { std::free(m_storage); }

    // Room for n rows; throws std::bad_alloc when there is no memory.
    template <class Row> Row *rows(std::size_t n) {
        return static_cast<Row *>(room(n * sizeof(Row)));
    }

private:
    void *room(std::size_t bytes);
    void *m_storage = nullptr;
    std::size_t m_bytes = 0;
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

// Positions as host points.
void fillPoints(const AttributeData &positions, unsigned int count, TableScratch &scratch,
                ImportedMesh &mesh);
// Vertex counts and point ids of the kept polygons; false when an id names
// no point with a position.
bool fillPolygons(const MeshShape &shape, TableScratch &scratch, ImportedMesh &mesh);
// One UV set from `source` (a vector attribute), shared per point.
void fillUvSet(const MeshShape &shape, const Source &source, TableScratch &scratch,
               std::optional<MFloatArray> &u, std::optional<MFloatArray> &v,
               std::optional<MIntArray> &uvIds);
// Colours from "Cd" and "Alpha" (alpha may be empty), shared per point.
void fillColors(const MeshShape &shape, const Source &cd, const Source &alpha,
                TableScratch &scratch, ImportedMesh &mesh);
// Point "N" as one normal per point.
void fillPointNormals(const AttributeData &n, unsigned int count, bool invertNormals,
                      TableScratch &scratch, ImportedMesh &mesh);
// Vertex "N" as one normal per host face-vertex.
void fillFaceVertexNormals(const MeshShape &shape, const AttributeData &n, TableScratch &scratch,
                           ImportedMesh &mesh);

#endif
