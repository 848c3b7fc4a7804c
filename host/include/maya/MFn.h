#ifndef _MFn
#define _MFn
// Object types. Numbers are the stand-in's; code uses the names.
#include <maya/MTypes.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MFn {
public:
    enum Type {
        kInvalid = 0,
        kBase = 1,
        kNamedObject = 2,
        kModel = 3,
        kDependencyNode = 4,
        kDagNode = 107,
        kTransform = 110,
        kShape = 248,
        kWorld = 253,
        kMesh = 296,
        kMeshGeom = 297,
        kParticle = 311,
        kShadingEngine = 320,
        kPluginDependNode = 449,
        kSet = 460,
        kTime = 513,
        kAttribute = 554,
        kNumericAttribute = 556,
        kTypedAttribute = 563,
        kEnumAttribute = 565,
        kUnitAttribute = 566,
        kCompoundAttribute = 568,
        kMessageAttribute = 569,
        kData = 571,
        kGeometryData = 575,
        kMeshData = 581,
        kPlugin = 584,
        kNumericData = 589,
        kPluginData = 592,
        kStringData = 593,
        kDynArrayAttrsData = 721,
        kNParticle = 996,
        kLast = 1100
    };
};

OPENMAYA_NAMESPACE_CLOSE

#endif
