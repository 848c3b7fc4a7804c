#ifndef KELPHOST_BUILTINS_H
#define KELPHOST_BUILTINS_H
// The node types every scene has: "time", "transform", "mesh", "particle",
// "objectSet", "shadingEngine".
#include <maya/MMatrix.h>
#include <maya/MObject.h>

namespace kelphost {

class Node;
class Registry;

void registerTimeType(Registry &r);
void registerTransformType(Registry &r);
void registerMeshType(Registry &r);
void registerParticleType(Registry &r);
void registerSetTypes(Registry &r);

// A transform's local matrix from its translate, rotate (degrees, xyz order)
// and scale; identity for any other node.
MMatrix localMatrix(Node *node);
// The geometry a mesh shape holds now (evaluates the shape); null if none.
MObject meshShapeData(Node *shape);
// The data of a mesh shape that MFnMesh edits in place (made if missing).
MObject editableMeshData(Node *shape);
// Give a mesh shape its own geometry (mesh data), as MFnMesh::create does.
void setMeshShapeData(Node *shape, const MObject &meshData);
// The channels a particle shape last received (array-attributes data; null if none).
MObject particleChannels(Node *particleShape);
int particleCount(Node *particleShape);

} // namespace kelphost

#endif
