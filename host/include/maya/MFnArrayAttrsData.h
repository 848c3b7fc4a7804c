#ifndef _MFnArrayAttrsData
#define _MFnArrayAttrsData
// Named channels of per-particle arrays. vectorArray/doubleArray/intArray/
// stringArray create the channel when missing and return an editable view:
// initialise a new array from the result (MVectorArray a = fn.vectorArray(..))
// to keep the link; assigning into an existing array copies.
#include <maya/MFnData.h>
#include <maya/MDoubleArray.h>
#include <maya/MIntArray.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>
#include <maya/MVectorArray.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MFnArrayAttrsData : public MFnData {
    declareMFn(MFnArrayAttrsData, MFnData);
    declareMFnConstConstructor(MFnArrayAttrsData, MFnData);

public:
    enum Type { kInvalid, kVectorArray, kDoubleArray, kIntArray, kStringArray, kLast };

    MStatus clear();
    unsigned int count() const;
    MStringArray list(MStatus *ReturnStatus = nullptr) const;
    bool checkArrayExist(const MString attrName, MFnArrayAttrsData::Type &arrayType,
                         MStatus *ReturnStatus = nullptr);
    MVectorArray vectorArray(const MString attrName, MStatus *ReturnStatus = nullptr);
    MDoubleArray doubleArray(const MString attrName, MStatus *ReturnStatus = nullptr);
    MIntArray intArray(const MString attrName, MStatus *ReturnStatus = nullptr);
    MStringArray stringArray(const MString attrName, MStatus *ReturnStatus = nullptr);
    MObject create(MStatus *ReturnStatus = nullptr);
    MVectorArray getVectorData(const MString attrName, MStatus *ReturnStatus = nullptr);
    MDoubleArray getDoubleData(const MString attrName, MStatus *ReturnStatus = nullptr);
    MIntArray getIntData(const MString attrName, MStatus *ReturnStatus = nullptr);
    MStringArray getStringData(const MString attrName, MStatus *ReturnStatus = nullptr);
};

OPENMAYA_NAMESPACE_CLOSE

#endif
