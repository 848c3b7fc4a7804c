#include "Object.h"

namespace kelphost {

Object::~Object() = default;

MFn::Type parentType(MFn::Type type) {
    switch (type) {
    case MFn::kNamedObject:
        return MFn::kBase;
    case MFn::kDependencyNode:
        return MFn::kNamedObject;
    case MFn::kDagNode:
    case MFn::kTime:
    case MFn::kSet:
    case MFn::kPluginDependNode:
        return MFn::kDependencyNode;
    case MFn::kTransform:
    case MFn::kShape:
        return MFn::kDagNode;
    case MFn::kMesh:
    case MFn::kParticle:
        return MFn::kShape;
    case MFn::kNParticle:
        return MFn::kParticle;
    case MFn::kShadingEngine:
        return MFn::kSet;
    case MFn::kNumericAttribute:
    case MFn::kTypedAttribute:
    case MFn::kEnumAttribute:
    case MFn::kUnitAttribute:
    case MFn::kCompoundAttribute:
    case MFn::kMessageAttribute:
        return MFn::kAttribute;
    case MFn::kGeometryData:
    case MFn::kStringData:
    case MFn::kNumericData:
    case MFn::kDynArrayAttrsData:
    case MFn::kPluginData:
        return MFn::kData;
    case MFn::kMeshData:
        return MFn::kGeometryData;
    default:
        return MFn::kBase;
    }
}

bool Object::hasFn(MFn::Type type) const {
    if (type == MFn::kBase)
        return true;
    for (MFn::Type t = apiType(); t != MFn::kBase && t != MFn::kInvalid; t = parentType(t))
        if (t == type)
            return true;
    return false;
}

const char *typeString(MFn::Type type) {
    switch (type) {
    case MFn::kInvalid:
        return "kInvalid";
    case MFn::kBase:
        return "kBase";
    case MFn::kNamedObject:
        return "kNamedObject";
    case MFn::kModel:
        return "kModel";
    case MFn::kDependencyNode:
        return "kDependencyNode";
    case MFn::kDagNode:
        return "kDagNode";
    case MFn::kTransform:
        return "kTransform";
    case MFn::kShape:
        return "kShape";
    case MFn::kWorld:
        return "kWorld";
    case MFn::kMesh:
        return "kMesh";
    case MFn::kMeshGeom:
        return "kMeshGeom";
    case MFn::kParticle:
        return "kParticle";
    case MFn::kShadingEngine:
        return "kShadingEngine";
    case MFn::kPluginDependNode:
        return "kPluginDependNode";
    case MFn::kSet:
        return "kSet";
    case MFn::kTime:
        return "kTime";
    case MFn::kAttribute:
        return "kAttribute";
    case MFn::kNumericAttribute:
        return "kNumericAttribute";
    case MFn::kTypedAttribute:
        return "kTypedAttribute";
    case MFn::kEnumAttribute:
        return "kEnumAttribute";
    case MFn::kUnitAttribute:
        return "kUnitAttribute";
    case MFn::kCompoundAttribute:
        return "kCompoundAttribute";
    case MFn::kMessageAttribute:
        return "kMessageAttribute";
    case MFn::kData:
        return "kData";
    case MFn::kGeometryData:
        return "kGeometryData";
    case MFn::kMeshData:
        return "kMeshData";
    case MFn::kPlugin:
        return "kPlugin";
    case MFn::kNumericData:
        return "kNumericData";
    case MFn::kPluginData:
        return "kPluginData";
    case MFn::kStringData:
        return "kStringData";
    case MFn::kDynArrayAttrsData:
        return "kDynArrayAttrsData";
    case MFn::kNParticle:
        return "kNParticle";
    default:
        return "kUnknown";
    }
}

} // namespace kelphost
