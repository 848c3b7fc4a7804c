#ifndef _MFnTypedAttribute
#define _MFnTypedAttribute
// Attributes that hold a data object (string, mesh, array-attributes, ...).
#include <maya/MFnAttribute.h>
#include <maya/MFnData.h>
#include <maya/MTypeId.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MFnTypedAttribute : public MFnAttribute {
    declareMFn(MFnTypedAttribute, MFnAttribute);
    declareMFnConstConstructor(MFnTypedAttribute, MFnAttribute);

public:
    MObject create(const MString &fullName, const MString &briefName, const MTypeId &id,
                   MObject defaultData = MObject::kNullObj, MStatus *ReturnStatus = nullptr);
    MObject create(const MString &fullName, const MString &briefName, MFnData::Type type,
                   MObject defaultData = MObject::kNullObj, MStatus *ReturnStatus = nullptr);
    MFnData::Type attrType(MStatus *ReturnStatus = nullptr) const;
    MStatus getDefault(MObject &defaultCustomData);
    MStatus setDefault(const MObject &defaultCustomData);

    OPENMAYA_DEPRECATED(2019, "Use the other MFnTypedAttribute::create")
    MObject create(const MString &fullName, const MString &briefName, MFnData::Type type,
                   MStatus *ReturnStatus);
};

OPENMAYA_NAMESPACE_CLOSE

#endif
