#ifndef _MFnDagNode
#define _MFnDagNode
// Function set for DAG nodes (transforms and shapes).
#include <maya/MFnDependencyNode.h>
#include <maya/MDagPath.h>
#include <maya/MMatrix.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MDagPathArray;

class OPENMAYA_EXPORT MFnDagNode : public MFnDependencyNode {
    declareMFn(MFnDagNode, MFnDependencyNode);
    declareMFnConstConstructor(MFnDagNode, MFnDependencyNode);

public:
    MFnDagNode(const MDagPath &object, MStatus *ReturnStatus = nullptr);
    MObject create(const MTypeId &typeId, MObject &parent = MObject::kNullObj,
                   MStatus *ReturnStatus = nullptr);
    MObject create(const MTypeId &typeId, const MString &name, MObject &parent = MObject::kNullObj,
                   MStatus *ReturnStatus = nullptr);
    MObject create(const MString &type, MObject &parent = MObject::kNullObj,
                   MStatus *ReturnStatus = nullptr);
    MObject create(const MString &type, const MString &name, MObject &parent = MObject::kNullObj,
                   MStatus *ReturnStatus = nullptr);
    unsigned int parentCount(MStatus *ReturnStatus = nullptr) const;
    MObject parent(unsigned int i, MStatus *ReturnStatus = nullptr) const;
    MStatus addChild(MObject &child, unsigned int index = kNextPos,
                     bool keepExistingParents = false);
    MStatus removeChild(MObject &child);
    unsigned int childCount(MStatus *ReturnStatus = nullptr) const;
    MObject child(unsigned int i, MStatus *ReturnStatus = nullptr) const;
    bool hasChild(MObject &node, MStatus *ReturnStatus = nullptr) const;
    bool hasParent(MObject &node, MStatus *ReturnStatus = nullptr) const;
    bool isInstanced(bool indirect = true, MStatus *ReturnStatus = nullptr) const;
    unsigned int instanceCount(bool total, MStatus *ReturnStatus = nullptr) const;
    bool isIntermediateObject(MStatus *ReturnStatus = nullptr) const;
    MStatus getPath(MDagPath &path) const;
    MDagPath dagPath(MStatus *ReturnStatus = nullptr) const;
    MString fullPathName(MStatus *ReturnStatus = nullptr) const;
    MString partialPathName(MStatus *ReturnStatus = nullptr) const;
    MMatrix transformationMatrix(MStatus *ReturnStatus = nullptr) const;

    virtual MStatus setObject(const MDagPath &path);
    virtual MStatus setObject(MObject &object) override;
    virtual MStatus setObject(const MObject &object) override;

    static const unsigned int kNextPos;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
