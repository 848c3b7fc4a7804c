#ifndef _MDataBlock
#define _MDataBlock
// A node's data during compute. inputValue evaluates dirty connections first;
// outputValue never evaluates anything.
#include <maya/MTypes.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MDataHandle.h>
#include <maya/MArrayDataHandle.h>
#include <maya/MDGContext.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MPlug;

class OPENMAYA_EXPORT MDataBlock {
public:
    ~MDataBlock();
    MDataHandle inputValue(const MPlug &plug, MStatus *ReturnStatus = nullptr);
    MDataHandle inputValue(const MObject &attribute, MStatus *ReturnStatus = nullptr);
    MDataHandle outputValue(const MPlug &plug, MStatus *ReturnStatus = nullptr);
    MDataHandle outputValue(const MObject &attribute, MStatus *ReturnStatus = nullptr);
    MArrayDataHandle inputArrayValue(const MPlug &plug, MStatus *ReturnStatus = nullptr);
    MArrayDataHandle inputArrayValue(const MObject &attribute, MStatus *ReturnStatus = nullptr);
    MArrayDataHandle outputArrayValue(const MPlug &plug, MStatus *ReturnStatus = nullptr);
    MArrayDataHandle outputArrayValue(const MObject &attribute, MStatus *ReturnStatus = nullptr);
    MStatus setClean(const MPlug &plug);
    MStatus setClean(const MObject &attribute);
    bool isClean(const MPlug &plug);
    bool isClean(const MObject &attribute, MStatus *ReturnStatus = nullptr);
    MDGContext context(MStatus *ReturnStatus = nullptr);
    MStatus setContext(const MDGContext &ctx);

private:
    friend class ::kelphost::Access;
    MDataBlock(void *ptr);
    MDataBlock(const MDataBlock &);
    MDataBlock &operator=(const MDataBlock &);
    ::kelphost::Object *fNode;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
