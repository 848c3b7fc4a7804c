// Geometry import: one frame's geometry file into the host's mesh arrays.
#ifndef KELP_BRIDGE_READBGEO_H
#define KELP_BRIDGE_READBGEO_H

#include <maya/MFloatArray.h>
#include <maya/MIntArray.h>
#include <maya/MPointArray.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MVectorArray.h>

// Loads the file of `frame` (the pattern `path` expanded by buildFileName) and
// fills the arrays from which a host mesh is built. Every array is emptied
// first; a file that cannot be read leaves them all empty and numPolygons 0.
//
// - points: one per geometry point, from the position attribute.
// - polygonCounts, polygonConnects: the polygons, point ids in file order, or
//   each polygon reversed when invertNormals is set (Houdini and Maya wind
//   polygons in opposite directions).
// - uArray, vArray, uvIds: when the vertex attribute "uv" holds three floats
//   for every vertex, uArray and vArray hold the file's values in file vertex
//   order and uvIds has one entry per face-vertex of polygonConnects naming
//   the file vertex that face-vertex came from, so every face-vertex keeps
//   its own UV whichever way the polygons are wound. Otherwise, when the
//   point attribute "uv" is a vector with a value for every point (as
//   Houdini's JSON files often carry it), one UV per point and uvIds naming
//   each face-vertex's point.
// - normals, normalIds, normalFaces: when the point attribute "N" is a vector
//   with a value for every point: one normal per point, normalIds[p] == p,
//   normalFaces empty (the host's vertex normals). Otherwise, when the vertex
//   attribute "N" is a vector with a value for every vertex: one normal per
//   face-vertex of polygonConnects, normalFaces naming its polygon and
//   normalIds its point (the host's face-vertex normals); each face-vertex
//   keeps the normal of the file vertex it came from. With invertNormals the
//   file's normals are kept as they are; without it they are negated, as the
//   writer negates them when it keeps the host's winding.
//
// verbosity 0 shows nothing; 1 shows "read bgeo:  (<file>)" or the error
// line; 2 adds a listing of everything read; 3 also traces the load. The
// listing is built only at verbosity 2 or more. Always returns success.
MStatus readBgeo(unsigned int &numPolygons, MPointArray &points, MIntArray &polygonCounts,
                 MIntArray &polygonConnects, MFloatArray &uArray, MFloatArray &vArray,
                 MIntArray &uvIds, MVectorArray &normals, MIntArray &normalIds,
                 MIntArray &normalFaces, const MString &path, float frame, int verbosity,
                 bool invertNormals);

#endif
