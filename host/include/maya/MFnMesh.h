#ifndef _MFnMesh
#define _MFnMesh
// Function set for polygon meshes: mesh shapes, mesh data and the geometry in it.
// create() checks its input: counts that disagree with the arrays, negative
// counts and point ids out of range give kInvalidParameter and no mesh.
#include <maya/MFnDagNode.h>
#include <maya/MColorArray.h>
#include <maya/MFloatArray.h>
#include <maya/MFloatPointArray.h>
#include <maya/MFloatVectorArray.h>
#include <maya/MIntArray.h>
#include <maya/MPointArray.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>
#include <maya/MUintArray.h>
#include <maya/MVector.h>
#include <maya/MVectorArray.h>

#define kMFnMeshInstanceUnspecified -1

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MDGModifier;
class MSelectionList;

class OPENMAYA_EXPORT MFnMesh : public MFnDagNode {
    declareMFn(MFnMesh, MFnDagNode);
    declareMFnConstConstructor(MFnMesh, MFnDagNode);

public:
    enum MColorRepresentation { kAlpha = 1, kRGB = 3, kRGBA = 4 };

    MFnMesh(const MDagPath &object, MStatus *ReturnStatus = nullptr);

    MObject create(int numVertices, int numPolygons, const MFloatPointArray &vertexArray,
                   const MIntArray &polygonCounts, const MIntArray &polygonConnects,
                   MObject parentOrOwner = MObject::kNullObj, MStatus *ReturnStatus = nullptr);
    MObject create(int numVertices, int numPolygons, const MPointArray &vertexArray,
                   const MIntArray &polygonCounts, const MIntArray &polygonConnects,
                   MObject parentOrOwner = MObject::kNullObj, MStatus *ReturnStatus = nullptr);
    MObject create(int numVertices, int numPolygons, const MFloatPointArray &vertexArray,
                   const MIntArray &polygonCounts, const MIntArray &polygonConnects,
                   const MFloatArray &uArray, const MFloatArray &vArray,
                   MObject parentOrOwner = MObject::kNullObj, MStatus *ReturnStatus = nullptr);
    MObject create(int numVertices, int numPolygons, const MPointArray &vertexArray,
                   const MIntArray &polygonCounts, const MIntArray &polygonConnects,
                   const MFloatArray &uArray, const MFloatArray &vArray,
                   MObject parentOrOwner = MObject::kNullObj, MStatus *ReturnStatus = nullptr);
    MStatus createInPlace(int numVertices, int numPolygons, const MFloatPointArray &vertexArray,
                          const MIntArray &polygonCounts, const MIntArray &polygonConnects);
    MStatus copyInPlace(const MObject &source);
    MObject copy(const MObject &source, MObject parentOrOwner = MObject::kNullObj,
                 MStatus *ReturnStatus = nullptr);

    int numVertices(MStatus *ReturnStatus = nullptr) const;
    int numEdges(MStatus *ReturnStatus = nullptr) const;
    int numPolygons(MStatus *ReturnStatus = nullptr) const;
    int numFaceVertices(MStatus *ReturnStatus = nullptr) const;
    int polygonVertexCount(int polygonId, MStatus *ReturnStatus = nullptr) const;
    int numNormals(MStatus *ReturnStatus = nullptr) const;
    int numUVs(MStatus *ReturnStatus = nullptr) const;
    int numUVs(const MString &uvSet, MStatus *ReturnStatus = nullptr) const;
    int numUVSets(MStatus *ReturnStatus = nullptr) const;
    MStatus updateSurface();

    MStatus getPoints(MFloatPointArray &vertexArray, MSpace::Space space = MSpace::kObject) const;
    MStatus getPoints(MPointArray &vertexArray, MSpace::Space space = MSpace::kObject) const;
    MStatus setPoints(MFloatPointArray &vertexArray, MSpace::Space space = MSpace::kObject);
    MStatus setPoints(MPointArray &vertexArray, MSpace::Space space = MSpace::kObject);
    MStatus getPoint(int vertexId, MPoint &pos, MSpace::Space space = MSpace::kObject) const;
    MStatus setPoint(int vertexId, const MPoint &pos, MSpace::Space space = MSpace::kObject);
    MStatus getVertices(MIntArray &vertexCount, MIntArray &vertexList) const;
    MStatus getPolygonVertices(int polygonId, MIntArray &vertexList) const;

    MStatus getNormals(MFloatVectorArray &normals, MSpace::Space space = MSpace::kObject) const;
    MStatus getFaceVertexNormal(int faceIndex, int vertexIndex, MVector &normal,
                                MSpace::Space space = MSpace::kObject) const;
    MStatus getNormalIds(MIntArray &normalIdCounts, MIntArray &normalIds) const;
    MStatus getPolygonNormal(int polygonId, MVector &normal,
                             MSpace::Space space = MSpace::kObject) const;
    MStatus setFaceVertexNormals(MVectorArray &normalArray, MIntArray &faceList,
                                 MIntArray &vertexList, MSpace::Space space = MSpace::kObject);
    MStatus setVertexNormals(MVectorArray &normalArray, MIntArray &vertexList,
                             MSpace::Space space = MSpace::kObject);
    OPENMAYA_DEPRECATED(2019, "Use MFnMesh::getVertexNormal(int, bool, MVector&, MSpace::Space)")
    MStatus getVertexNormal(int vertexId, MVector &normal,
                            MSpace::Space space = MSpace::kObject) const;
    MStatus getVertexNormal(int vertexId, bool angleWeighted, MVector &normal,
                            MSpace::Space space = MSpace::kObject) const;
    MStatus getVertexNormals(bool angleWeighted, MFloatVectorArray &normals,
                             MSpace::Space space = MSpace::kObject) const;

    MStatus setUVs(const MFloatArray &uArray, const MFloatArray &vArray,
                   const MString *uvSet = nullptr);
    MStatus getUVs(MFloatArray &uArray, MFloatArray &vArray, const MString *uvSet = nullptr) const;
    MStatus getUV(int uvId, float &u, float &v, const MString *uvSet = nullptr) const;
    MStatus getPolygonUV(int polygonId, int vertexIndex, float &u, float &v,
                         const MString *uvSet = nullptr) const;
    MStatus getPolygonUVid(int polygonId, int vertexIndex, int &uvId,
                           const MString *uvSet = nullptr) const;
    MStatus assignUVs(const MIntArray &uvCounts, const MIntArray &uvIds,
                      const MString *uvSet = nullptr);
    MStatus getAssignedUVs(MIntArray &uvCounts, MIntArray &uvIds,
                           const MString *uvSet = nullptr) const;
    MStatus clearUVs(const MString *uvSet = nullptr);
    MStatus getUVSetNames(MStringArray &setNames) const;
    MStatus getCurrentUVSetName(MString &setName, int instance = kMFnMeshInstanceUnspecified) const;
    MString currentUVSetName(MStatus *ReturnStatus = nullptr,
                             int instance = kMFnMeshInstanceUnspecified) const;
    MStatus setCurrentUVSetName(const MString &setName, MDGModifier *modifier = nullptr,
                                MSelectionList *currentSelection = nullptr);
    MStatus createUVSet(MString &uvSetName, MDGModifier *modifier = nullptr,
                        const MUintArray *instances = nullptr);
    MString createUVSetWithName(const MString &uvSetName, MDGModifier *modifier = nullptr,
                                MStatus *ReturnStatus = nullptr,
                                const MUintArray *instances = nullptr);
    MString createUVSetDataMeshWithName(const MString &uvSetName, MStatus *ReturnStatus = nullptr);
    MStatus deleteUVSet(const MString &setName, MDGModifier *modifier = nullptr,
                        MSelectionList *currentSelection = nullptr);

    int numColorSets(MStatus *ReturnStatus = nullptr) const;
    int numColors(MStatus *ReturnStatus = nullptr) const;
    int numColors(const MString &colorSet, MStatus *ReturnStatus = nullptr) const;
    MStatus getColorSetNames(MStringArray &setNames) const;
    MStatus getCurrentColorSetName(MString &setName,
                                   int instance = kMFnMeshInstanceUnspecified) const;
    MStatus setCurrentColorSetName(const MString &setName, MDGModifier *modifier = nullptr,
                                   MSelectionList *currentSelection = nullptr);
    MStatus createColorSet(MString &colorSetName, MDGModifier *modifier = nullptr,
                           const MUintArray *instances = nullptr);
    MString createColorSetWithName(const MString &colorSetName, MDGModifier *modifier = nullptr,
                                   MUintArray *instances = nullptr,
                                   MStatus *ReturnStatus = nullptr);
    MStatus setColors(const MColorArray &colors, const MString *colorSet = nullptr,
                      MColorRepresentation rep = kRGBA);
    MStatus assignColors(const MIntArray &colorIds, const MString *colorSet = nullptr);
    MStatus getColors(MColorArray &colors, const MString *colorSet = nullptr,
                      const MColor *defaultUnsetColor = nullptr) const;
    MStatus getFaceVertexColors(MColorArray &colors, const MString *colorSet = nullptr,
                                const MColor *defaultUnsetColor = nullptr) const;
    MStatus setFaceVertexColors(MColorArray &colors, MIntArray &faceList, MIntArray &vertexList,
                                MDGModifier *modifier = nullptr);
    MStatus setVertexColors(MColorArray &colors, MIntArray &vertexList,
                            MDGModifier *modifier = nullptr);

    virtual MStatus setObject(const MDagPath &path) override;
    virtual MStatus setObject(MObject &object) override;
    virtual MStatus setObject(const MObject &object) override;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
