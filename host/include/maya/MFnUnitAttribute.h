#ifndef _MFnUnitAttribute
#define _MFnUnitAttribute
// Attributes holding a time, distance or angle.
#include <maya/MFnAttribute.h>
#include <maya/MTime.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MFnUnitAttribute : public MFnAttribute {
    declareMFn(MFnUnitAttribute, MFnAttribute);
    declareMFnConstConstructor(MFnUnitAttribute, MFnAttribute);

public:
    enum Type { kInvalid, kAngle, kDistance, kTime, kLast };
    MObject create(const MString &fullName, const MString &briefName, Type unitType,
                   double defaultValue = 0.0, MStatus *ReturnStatus = nullptr);
    MObject create(const MString &fullName, const MString &briefName, const MTime &defaultTime,
                   MStatus *ReturnStatus = nullptr);
    Type unitType(MStatus *ReturnStatus = nullptr) const;
    MStatus getDefault(MTime &defaultTime) const;
    MStatus setDefault(const MTime &defaultTime);
};

OPENMAYA_NAMESPACE_CLOSE

#endif
