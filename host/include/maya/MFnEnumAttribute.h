#ifndef _MFnEnumAttribute
#define _MFnEnumAttribute
// Enumeration attributes; the value is stored as a short.
#include <maya/MFnAttribute.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MFnEnumAttribute : public MFnAttribute {
    declareMFn(MFnEnumAttribute, MFnAttribute);
    declareMFnConstConstructor(MFnEnumAttribute, MFnAttribute);

public:
    MObject create(const MString &fullName, const MString &briefName, short defaultValue = 0,
                   MStatus *ReturnStatus = nullptr);
    MStatus addField(const MString &fieldString, short index);
    MString fieldName(short index, MStatus *ReturnStatus = nullptr) const;
    short fieldIndex(const MString &fieldString, MStatus *ReturnStatus = nullptr) const;
    MStatus getMin(short &minValue) const;
    MStatus getMax(short &maxValue) const;
    MStatus setDefault(short index);
    MStatus setDefault(const MString &fieldString);
    MStatus getDefault(short &index) const;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
