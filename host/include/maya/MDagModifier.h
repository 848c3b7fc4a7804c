#ifndef _MDagModifier
#define _MDagModifier
// Queued, undoable DAG edits; createNode makes a parent transform when needed
// and then returns the transform (command side).
#include <maya/MDGModifier.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MDagModifier : public MDGModifier {
public:
    MDagModifier();
    virtual ~MDagModifier();
    MObject createNode(const MTypeId &typeId, const MObject &parent = MObject::kNullObj,
                       MStatus *ReturnStatus = nullptr);
    MObject createNode(const MString &type, const MObject &parent = MObject::kNullObj,
                       MStatus *ReturnStatus = nullptr);
    MStatus reparentNode(const MObject &node, const MObject &newParent = MObject::kNullObj);

protected:
    MDagModifier(const MDagModifier &other);
    MDagModifier &operator=(const MDagModifier &rhs);
};

OPENMAYA_NAMESPACE_CLOSE

#endif
