#ifndef _MFnNumericData
#define _MFnNumericData
// Numeric data and the numeric type enumeration.
#include <maya/MFnData.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MFnNumericData : public MFnData {
    declareMFn(MFnNumericData, MFnData);
    declareMFnConstConstructor(MFnNumericData, MFnData);

public:
    enum Type {
        kInvalid,
        kBoolean,
        kByte,
        kChar,
        kShort,
        k2Short,
        k3Short,
        kLong,
        kInt = kLong,
        k2Long,
        k2Int = k2Long,
        k3Long,
        k3Int = k3Long,
        kInt64,
        kFloat,
        k2Float,
        k3Float,
        kDouble,
        k2Double,
        k3Double,
        k4Double,
        kAddr,
        kLast
    };
    MObject create(Type dataType, MStatus *ReturnStatus = nullptr);
    Type numericType(MStatus *ReturnStatus = nullptr);
    MStatus getData(double &val1, double &val2, double &val3);
    MStatus setData(double val1, double val2, double val3);
};

OPENMAYA_NAMESPACE_CLOSE

#endif
