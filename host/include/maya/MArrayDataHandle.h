#ifndef _MArrayDataHandle
#define _MArrayDataHandle
// Handle to the elements of an array attribute in a data block.
#include <maya/MTypes.h>
#include <maya/MDataHandle.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MArrayDataBuilder;

class OPENMAYA_EXPORT MArrayDataHandle {
public:
    MArrayDataHandle(const MDataHandle &in, MStatus *ReturnStatus = nullptr);
    MArrayDataHandle(const MArrayDataHandle &other);
    MArrayDataHandle &operator=(const MArrayDataHandle &other);
    ~MArrayDataHandle();
    MDataHandle inputValue(MStatus *ReturnStatus = nullptr);
    MDataHandle outputValue(MStatus *ReturnStatus = nullptr);
    MStatus jumpToElement(unsigned int index);
    MStatus jumpToArrayElement(unsigned int position);
    MStatus next();
    unsigned int elementCount(MStatus *ReturnStatus = nullptr);
    unsigned int elementIndex(MStatus *ReturnStatus = nullptr);
    MStatus setAllClean();
    MStatus setClean();

private:
    friend class ::kelphost::Access;
    MArrayDataHandle();
    ::kelphost::Object *fNode;
    ::kelphost::Object *fAttr;
    unsigned int fPosition;
    bool fInput;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
