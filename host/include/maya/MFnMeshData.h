#ifndef _MFnMeshData
#define _MFnMeshData
// Mesh data objects: create one, pass it to MFnMesh::create as the owner,
// then set it on an output handle.
#include <maya/MFnGeometryData.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MFnMeshData : public MFnGeometryData {
    declareMFn(MFnMeshData, MFnGeometryData);
    declareMFnConstConstructor(MFnMeshData, MFnGeometryData);

public:
    MObject create(MStatus *ReturnStatus = nullptr);
};

OPENMAYA_NAMESPACE_CLOSE

#endif
