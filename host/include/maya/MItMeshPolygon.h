#ifndef _MItMeshPolygon
#define _MItMeshPolygon
// Iterator over the polygons of a mesh (shape, mesh data or geometry).
#include <maya/MTypes.h>
#include <maya/MDagPath.h>
#include <maya/MFloatArray.h>
#include <maya/MIntArray.h>
#include <maya/MObject.h>
#include <maya/MPoint.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MVector.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MItMeshPolygon {
public:
    MItMeshPolygon(const MObject &polyObject, MStatus *ReturnStatus = nullptr);
    MItMeshPolygon(const MDagPath &polyObject, MObject &component = MObject::kNullObj,
                   MStatus *ReturnStatus = nullptr);
    virtual ~MItMeshPolygon();
    bool isDone(MStatus *ReturnStatus = nullptr);
    MStatus next();
    MStatus reset();
    unsigned int count(MStatus *ReturnStatus = nullptr);
    unsigned int polygonVertexCount(MStatus *ReturnStatus = nullptr);
    unsigned int index(MStatus *ReturnStatus = nullptr);
    MStatus setIndex(int index, int &prevIndex);
    unsigned int vertexIndex(int index, MStatus *ReturnStatus = nullptr);
    MStatus getVertices(MIntArray &vertices);
    MPoint point(int index, MSpace::Space space = MSpace::kObject, MStatus *ReturnStatus = nullptr);
    MPoint center(MSpace::Space space = MSpace::kObject, MStatus *ReturnStatus = nullptr);
    unsigned int normalIndex(int vertex, MStatus *ReturnStatus = nullptr) const;
    MStatus getNormal(MVector &normal, MSpace::Space space = MSpace::kObject) const;
    MStatus getNormal(unsigned int vertexIndex, MVector &normal,
                      MSpace::Space space = MSpace::kObject) const;
    bool hasUVs(MStatus *ReturnStatus = nullptr) const;
    bool hasUVs(const MString &uvSet, MStatus *ReturnStatus = nullptr) const;
    MStatus getUV(int vertex, float2 &uvPoint, const MString *uvSet = nullptr) const;
    MStatus getUVs(MFloatArray &uArray, MFloatArray &vArray, const MString *uvSet = nullptr) const;
    MStatus getUVIndex(int vertex, int &index, const MString *uvSet = nullptr);

private:
    friend class ::kelphost::Access;
    MItMeshPolygon(const MItMeshPolygon &);
    MItMeshPolygon &operator=(const MItMeshPolygon &);
    MObject fGeom; // the mesh geometry walked
    void *fPath;   // MDagPath when made from a path, for world space
    unsigned int fIndex;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
