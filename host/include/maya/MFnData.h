#ifndef _MFnData
#define _MFnData
// Function set common to data objects.
#include <maya/MFnBase.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MFnData : public MFnBase {
    declareMFn(MFnData, MFnBase);
    declareMFnConstConstructor(MFnData, MFnBase);

public:
    enum Type {
        kInvalid,
        kNumeric,
        kPlugin,
        kPluginGeometry,
        kString,
        kMatrix,
        kStringArray,
        kDoubleArray,
        kFloatArray,
        kIntArray,
        kPointArray,
        kVectorArray,
        kMatrixArray,
        kComponentList,
        kMesh,
        kLattice,
        kNurbsCurve,
        kNurbsSurface,
        kSphere,
        kDynArrayAttrs,
        kDynSweptGeometry,
        kSubdSurface,
        kNObject,
        kNId,
        kAny,
        kLast
    };
};

OPENMAYA_NAMESPACE_CLOSE

#endif
