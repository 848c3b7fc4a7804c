#ifndef _MDGModifier
#define _MDGModifier
// Queued, undoable graph edits (command side).
#include <maya/MTypes.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MTypeId.h>
#include <maya/MTime.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MPlug;

class OPENMAYA_EXPORT MDGModifier {
public:
    MDGModifier();
    virtual ~MDGModifier();
    MObject createNode(const MTypeId &typeId, MStatus *ReturnStatus = nullptr);
    MObject createNode(const MString &type, MStatus *ReturnStatus = nullptr);
    MStatus deleteNode(const MObject &node);
    MStatus renameNode(const MObject &node, const MString &newName);
    MStatus connect(const MObject &sourceNode, const MObject &sourceAttr, const MObject &destNode,
                    const MObject &destAttr);
    MStatus connect(const MPlug &source, const MPlug &dest);
    MStatus disconnect(const MObject &sourceNode, const MObject &sourceAttr,
                       const MObject &destNode, const MObject &destAttr);
    MStatus disconnect(const MPlug &source, const MPlug &dest);
    MStatus commandToExecute(const MString &command);
    MStatus pythonCommandToExecute(const MString &command);
    MStatus newPlugValue(const MPlug &plug, MObject &plugValue);
    MStatus newPlugValueBool(const MPlug &plug, bool plugValue);
    MStatus newPlugValueShort(const MPlug &plug, short plugValue);
    MStatus newPlugValueInt(const MPlug &plug, int plugValue);
    MStatus newPlugValueFloat(const MPlug &plug, float plugValue);
    MStatus newPlugValueDouble(const MPlug &plug, double plugValue);
    MStatus newPlugValueString(const MPlug &plug, const MString &plugValue);
    MStatus newPlugValueMTime(const MPlug &plug, const MTime &plugValue);
    MStatus doIt();
    MStatus undoIt();

protected:
    MDGModifier(const MDGModifier &other);
    MDGModifier &operator=(const MDGModifier &rhs);

private:
    friend class ::kelphost::Access;
    ::kelphost::ModifierData *fData;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
