#ifndef _MDagPath
#define _MDagPath
// A path through the DAG from the world to one node (one instance of it).
// Defined by the graph side (MDagPath.cpp) except extendToShape,
// extendToShapeDirectlyBelow, numberOfShapesDirectlyBelow, isInstanced and
// instanceNumber (the selection side).
#include <maya/MTypes.h>
#include <maya/MFn.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MMatrix.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MDagPathArray;

class OPENMAYA_EXPORT MDagPath {
public:
    MDagPath();
    MDagPath(const MDagPath &src);
    virtual ~MDagPath();
    static MStatus getAPathTo(const MObject &node, MDagPath &path);
    static MStatus getAllPathsTo(const MObject &node, MDagPathArray &paths);
    bool hasFn(MFn::Type type, MStatus *ReturnStatus = nullptr) const;
    MFn::Type apiType(MStatus *ReturnStatus = nullptr) const;
    bool isValid(MStatus *ReturnStatus = nullptr) const;
    MObject node(MStatus *ReturnStatus = nullptr) const;
    MObject transform(MStatus *ReturnStatus = nullptr) const;
    unsigned int length(MStatus *ReturnStatus = nullptr) const;
    MStatus extendToShape();
    MStatus extendToShapeDirectlyBelow(unsigned int);
    MStatus numberOfShapesDirectlyBelow(unsigned int &) const;
    MStatus push(const MObject &child);
    MStatus pop(unsigned int num = 1);
    unsigned int childCount(MStatus *ReturnStatus = nullptr) const;
    MObject child(unsigned int i, MStatus *ReturnStatus = nullptr) const;
    MMatrix inclusiveMatrix(MStatus *ReturnStatus = nullptr) const;
    MMatrix exclusiveMatrix(MStatus *ReturnStatus = nullptr) const;
    MMatrix inclusiveMatrixInverse(MStatus *ReturnStatus = nullptr) const;
    MString fullPathName(MStatus *ReturnStatus = nullptr) const;
    MString partialPathName(MStatus *ReturnStatus = nullptr) const;
    bool isInstanced(MStatus *ReturnStatus = nullptr) const;
    unsigned int instanceNumber(MStatus *ReturnStatus = nullptr) const;
    MDagPath &operator=(const MDagPath &src);
    bool operator==(const MDagPath &src) const;
    MStatus set(const MDagPath &src);

private:
    friend class ::kelphost::Access;
    void *fNodes; // std::vector<MObject>: the nodes from the top of the DAG down
};

OPENMAYA_NAMESPACE_CLOSE

#endif
