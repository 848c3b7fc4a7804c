// Geometry import: one frame's geometry file into the host's mesh arrays.
#ifndef KELP_BRIDGE_READBGEO_H
#define KELP_BRIDGE_READBGEO_H

#include "bridge/ReadPast.h"

#include <maya/MStatus.h>
#include <maya/MString.h>

#include <cstddef>
#include <cstring>
#include <memory>
#include <vector>

// A table of `count` rows that is written once after it is made: unlike a
// std::vector it leaves its storage unwritten until filled, and its rows are
// the C arrays the host's bulk array constructors take (an int, a float, a
// float[3] or a float[4] per element).
template <class Row> class BulkTable {
public:
    BulkTable() = default;
    BulkTable(const BulkTable &other) { *this = other; }
    BulkTable(BulkTable &&) noexcept = default;
    BulkTable &operator=(BulkTable &&) noexcept = default;
    BulkTable &operator=(const BulkTable &other) {
        if (this != &other) {
            resize(other.m_count);
            if (m_count)
                std::memcpy(m_rows.get(), other.m_rows.get(), m_count * sizeof(Row));
        }
        return *this;
    }
    // Fresh storage for n rows, contents unspecified until written.
    void resize(std::size_t n) {
        m_rows.reset(n ? new Row[n] : nullptr);
        m_count = n;
    }
    std::size_t size() const { return m_count; }
    bool empty() const { return m_count == 0; }
    Row *data() { return m_rows.get(); }
    const Row *data() const { return m_rows.get(); }
    Row &operator[](std::size_t i) { return m_rows[i]; }
    const Row &operator[](std::size_t i) const { return m_rows[i]; }

private:
    std::unique_ptr<Row[]> m_rows;
    std::size_t m_count = 0;
};

// One UV set: its values and, per face-vertex of polygonConnects, the UV id.
struct ImportedUvSet {
    MString name;
    std::vector<float> u, v;
    BulkTable<int> uvIds;
};

// One colour: red, green, blue, alpha.
struct ImportedColor {
    float r, g, b, a;
};

// Everything a host mesh is built from, for one frame, as plain tables that
// the host arrays are made from in one copy each.
//
// - points: one per geometry point (x, y, z, 1), from the position attribute.
// - polygonCounts, polygonConnects: the polygons of three or more vertices,
//   point ids in file order, or each polygon reversed when invertNormals is
//   set (Houdini and Maya wind polygons in opposite directions). Shorter
//   polygons are left out and counted in readPast.
// - uArray, vArray, uvIds: the set "map1", from the attribute "uv";
//   extraUvSets: one set per further texture attribute "uv2", "uv3", ... in
//   that order, under the attribute's name. Each comes from the vertex
//   attribute of that name (a vector with a value for every vertex) or else
//   the point attribute (a value for every point). Face-vertices that share a
//   point and carry equal values share one UV id, so the mesh has seams only
//   where the file has them; ids are numbered in the file's vertex order.
// - colors, colorIds: when "Cd" (vertex, else point) covers the geometry, one
//   colour per face-vertex, alpha from "Alpha" (vertex, else point) or 1,
//   shared like the UVs; colorIds names each face-vertex's colour.
// - normals, normalIds, normalFaces: point "N" as one normal per point
//   (normalIds[p] == p, normalFaces empty), else vertex "N" as one normal per
//   face-vertex (normalFaces its polygon, normalIds its point). With
//   invertNormals the file's normals are kept as they are; without it they
//   are negated, as the writer negates them when it keeps the host's winding.
struct ImportedMesh {
    MString fileName;
    unsigned int numPolygons = 0;
    BulkTable<float[4]> points;
    BulkTable<int> polygonCounts, polygonConnects;
    std::vector<float> uArray, vArray;
    BulkTable<int> uvIds;
    std::vector<ImportedUvSet> extraUvSets;
    std::vector<ImportedColor> colors;
    BulkTable<int> colorIds;
    BulkTable<float[3]> normals;
    BulkTable<int> normalIds, normalFaces;
    ReadPastCounts readPast;
};

// Loads the file of `frame` (the pattern `path` expanded by buildFileName)
// into `mesh`, which is emptied first.
//
// verbosity 0 shows nothing; 1 shows "read bgeo:  (<file>)" or the error
// line, and after a read that left primitives out, the read-past line; 2 adds
// a listing of everything read to the confirmation; 3 also traces the load.
// The listing is built only at verbosity 2 or more. A file that could not be
// read (its reason shown as above) leaves `mesh` empty but for its file name
// and returns failure.
MStatus readBgeo(ImportedMesh &mesh, const MString &path, float frame, int verbosity,
                 bool invertNormals);

#endif
