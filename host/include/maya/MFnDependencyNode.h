#ifndef _MFnDependencyNode
#define _MFnDependencyNode
// Function set for any dependency node.
#include <maya/MFnBase.h>
#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MString.h>
#include <maya/MTypeId.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MPxNode;
class MPlugArray;

class OPENMAYA_EXPORT MFnDependencyNode : public MFnBase {
    declareMFn(MFnDependencyNode, MFnBase);
    declareMFnConstConstructor(MFnDependencyNode, MFnBase);

public:
    enum MAttrClass { kLocalDynamicAttr = 1, kNormalAttr, kExtensionAttr, kInvalidAttr };

    MObject create(const MTypeId &typeId, MStatus *ReturnStatus = nullptr);
    MObject create(const MTypeId &typeId, const MString &name, MStatus *ReturnStatus = nullptr);
    MObject create(const MString &type, MStatus *ReturnStatus = nullptr);
    MObject create(const MString &type, const MString &name, MStatus *ReturnStatus = nullptr);
    MTypeId typeId(MStatus *ReturnStatus = nullptr) const;
    MString typeName(MStatus *ReturnStatus = nullptr) const;
    MString name(MStatus *ReturnStatus = nullptr) const;
    MString absoluteName(MStatus *ReturnStatus = nullptr) const;
    MString setName(const MString &name, bool createNamespace = false,
                    MStatus *ReturnStatus = nullptr);
    MStatus getConnections(MPlugArray &array) const;
    unsigned int attributeCount(MStatus *ReturnStatus = nullptr) const;
    MObject attribute(unsigned int index, MStatus *ReturnStatus = nullptr) const;
    MObject attribute(const MString &attrName, MStatus *ReturnStatus = nullptr) const;
    MAttrClass attributeClass(const MObject &attr, MStatus *ReturnStatus = nullptr) const;
    bool hasAttribute(const MString &name, MStatus *ReturnStatus = nullptr) const;
    MPlug findPlug(const MObject &attr, bool wantNetworkedPlug,
                   MStatus *ReturnStatus = nullptr) const;
    MPlug findPlug(const MString &attrName, bool wantNetworkedPlug,
                   MStatus *ReturnStatus = nullptr) const;
    MPxNode *userNode(MStatus *ReturnStatus = nullptr) const;
    bool isFromReferencedFile(MStatus *ReturnStatus = nullptr) const;
    bool isLocked(MStatus *ReturnStatus = nullptr) const;
    bool isShared(MStatus *ReturnStatus = nullptr) const;
    bool isDefaultNode(MStatus *ReturnStatus = nullptr) const;
    MString pluginName(MStatus *ReturnStatus = nullptr) const;

    OPENMAYA_DEPRECATED(2019, "Use MFnDependencyNode::findPlug(attr, wantNetworkedPlug) instead")
    MPlug findPlug(const MObject &attr, MStatus *ReturnStatus = nullptr) const;
    OPENMAYA_DEPRECATED(2019, "Use MFnDependencyNode::findPlug(name, wantNetworkedPlug) instead")
    MPlug findPlug(const MString &attrName, MStatus *ReturnStatus = nullptr) const;
    OPENMAYA_DEPRECATED(2019, "Use MFnDependencyNode::setName(name, createNamespace) instead")
    MString setName(const MString &name, MStatus *ReturnStatus);
};

OPENMAYA_NAMESPACE_CLOSE

#endif
