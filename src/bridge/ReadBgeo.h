// Geometry import: one frame's geometry file into the host's mesh arrays.
#ifndef KELP_BRIDGE_READBGEO_H
#define KELP_BRIDGE_READBGEO_H

#include "bridge/ReadPast.h"

#include <maya/MColorArray.h>
#include <maya/MFloatArray.h>
#include <maya/MFloatPointArray.h>
#include <maya/MIntArray.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MVectorArray.h>

#include <optional>
#include <vector>

// One UV set: its values and, per face-vertex of polygonConnects, the UV id.
struct ImportedUvSet {
    MString name;
    std::optional<MFloatArray> u, v;
    std::optional<MIntArray> uvIds;
};

// Everything a host mesh is built from, for one frame. Each host array is
// made in one bulk copy from a table filled in one pass (an array left unset
// is empty).
//
// - points: one per geometry point, from the position attribute.
// - polygonCounts, polygonConnects: the polygons of three or more vertices,
//   point ids in file order, or each polygon reversed when invertNormals is
//   set (Houdini and Maya wind polygons in opposite directions). Shorter
//   polygons are left out and counted in readPast. pointIdsInRange says
//   whether every point id names one of the points (the host builds meshes
//   without checking them; the rest of a mesh that fails is left unset).
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
    bool pointIdsInRange = true; // false: a polygon names a point without a position
    std::optional<MFloatPointArray> points;
    std::optional<MIntArray> polygonCounts, polygonConnects;
    std::optional<MFloatArray> uArray, vArray;
    std::optional<MIntArray> uvIds;
    std::vector<ImportedUvSet> extraUvSets;
    std::optional<MColorArray> colors;
    std::optional<MIntArray> colorIds;
    std::optional<MVectorArray> normals;
    std::optional<MIntArray> normalIds, normalFaces;
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
