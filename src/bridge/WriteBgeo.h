// Mesh export: one host mesh into one frame's geometry file.
#ifndef KELP_BRIDGE_WRITEBGEO_H
#define KELP_BRIDGE_WRITEBGEO_H

#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

// Writes `mesh` to the file of `frame` (the pattern `path` expanded by
// buildFileName); the file name picks binary or ASCII, plain or gzip.
//
// The file holds "P" (world-space positions) and, unless pointsOnly is set,
// the polygons, "N" and the UVs. "N" is the host's vertex normal, one per
// point, while every point shows one normal on all its face-vertices; where
// any point's face-vertex normals differ (hard edges, locked normals) "N" is
// a vertex attribute holding each face-vertex's normal. The UVs are
// "uv" from the current UV set, or with exportAllUvs every set, the first as
// "uv" and the others under their own names. With invertNormals each polygon
// is written in reverse (Houdini's winding) and the normals keep their sign;
// without it the winding is kept and the normals are negated. A face-vertex
// with no UV in a set is written as (0, 0). With exportColors the current
// colour set becomes vertex "Cd" (face-vertices without a colour white) and,
// when any alpha is not 1, vertex "Alpha" (one float).
//
// verbosity 0 shows nothing; 1 shows "wrote bgeo:  (<file>)"; 2 adds a trace
// of what was read from the mesh (built only then); 3 also traces the bytes.
// A failed save prints "KelpWriterNode:: unable to write bgeo" through
// MStatus::perror and returns a failure; `failureLine`, when given, then
// receives the saver's own line saying why.
//
// format 0 writes the classic format for .bgeo/.bgeo.gz/.geo/.geo.gz, 1 the
// JSON-based one; .bgeo.sc is always JSON in the Blosc container.
MStatus writeBgeo(MObject &mesh, const MString &path, float frame, int pointsOnly, int verbosity,
                  bool invertNormals, bool exportAllUvs, bool exportColors = false, int format = 0,
                  MString *failureLine = nullptr);

#endif
