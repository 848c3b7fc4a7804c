#ifndef _MFnGeometryData
#define _MFnGeometryData
// Function set common to geometry data objects.
#include <maya/MFnData.h>
#include <maya/MMatrix.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MFnGeometryData : public MFnData {
    declareMFn(MFnGeometryData, MFnData);
    declareMFnConstConstructor(MFnGeometryData, MFnData);

public:
    MStatus setMatrix(const MMatrix &);
    MStatus getMatrix(MMatrix &) const;
    bool matrixIsNotIdentity(MStatus *ReturnStatus = nullptr) const;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
