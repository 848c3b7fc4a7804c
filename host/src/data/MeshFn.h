#ifndef KELPHOST_MESHFN_H
#define KELPHOST_MESHFN_H
// Helpers shared by the MFnMesh implementation files.
#include <maya/MFnMesh.h>
#include <maya/MMatrix.h>

#include "MeshGeom.h"

namespace kelphost {

// Geometry to read (evaluates a shape); null when there is none.
MeshGeom *readGeom(const MFnMesh &fn);
// Geometry to change (a shape's own copy); null when there is none.
MeshGeom *editGeom(MFnMesh &fn);
// After a change: a shape's downstream becomes dirty.
void geometryChanged(MFnMesh &fn);
// The matrix to world space: the DAG path's, the mesh data's, or identity.
MMatrix worldMatrixOf(const MFnMesh &fn);
// World-space writes need a function set attached through a DAG path.
bool canWriteWorld(const MFnMesh &fn);
MStatus noMesh();
MStatus badParameter(unsigned char why);

} // namespace kelphost

#endif
