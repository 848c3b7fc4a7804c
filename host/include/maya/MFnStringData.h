#ifndef _MFnStringData
#define _MFnStringData
// String data objects (defaults of string attributes).
#include <maya/MFnData.h>
#include <maya/MString.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MFnStringData : public MFnData {
    declareMFn(MFnStringData, MFnData);
    declareMFnConstConstructor(MFnStringData, MFnData);

public:
    MString string(MStatus *ReturnStatus = nullptr) const;
    MStatus set(const MString &newString);
    MObject create(const MString &str, MStatus *ReturnStatus = nullptr);
    MObject create(MStatus *ReturnStatus = nullptr);
};

OPENMAYA_NAMESPACE_CLOSE

#endif
