#ifndef _MPxNode
#define _MPxNode
// Base class of the dependency nodes a plug-in defines.
#include <maya/MTypes.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MTypeId.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MPlug;
class MPlugArray;
class MDataBlock;

class OPENMAYA_EXPORT MPxNode {
public:
    enum Type {
        kDependNode,
        kLocatorNode,
        kDeformerNode,
        kManipContainer,
        kSurfaceShape,
        kFieldNode,
        kEmitterNode,
        kSpringNode,
        kIkSolverNode,
        kHardwareShader,
        kHwShaderNode,
        kTransformNode,
        kObjectSet,
        kFluidEmitterNode,
        kImagePlaneNode,
        kParticleAttributeMapperNode,
        kCameraSetNode,
        kConstraintNode,
        kManipulatorNode,
        kMotionPathNode,
        kClientDeviceNode,
        kThreadedDeviceNode,
        kAssembly,
        kSkinCluster,
        kGeometryFilter,
        kBlendShape,
        kLast
    };
    enum SchedulingType {
        kParallel,
        kSerialize,
        kGloballySerialize,
        kUntrusted,
        kDefaultScheduling
    };

    MPxNode();
    virtual ~MPxNode();
    virtual void postConstructor();
    virtual MStatus compute(const MPlug &plug, MDataBlock &dataBlock);
    virtual MStatus setDependentsDirty(const MPlug &plug, MPlugArray &plugArray);
    virtual MStatus connectionMade(const MPlug &plug, const MPlug &otherPlug, bool asSrc);
    virtual MStatus connectionBroken(const MPlug &plug, const MPlug &otherPlug, bool asSrc);
    virtual MStatus shouldSave(const MPlug &plug, bool &isSaving);
    virtual SchedulingType schedulingType() const;
    virtual Type type() const;
    virtual MTypeId typeId() const;
    virtual MString typeName() const;
    virtual MString name() const;
    virtual MObject thisMObject() const;

    static MStatus addAttribute(const MObject &attr);
    static MStatus inheritAttributesFrom(const MString &parentClassName);
    static MStatus attributeAffects(const MObject &whenChanges, const MObject &isAffected);

    static MObject message;
    static MObject isHistoricallyInteresting;
    static MObject caching;
    static MObject state;
    static MObject frozen;

private:
    friend class ::kelphost::Access;
    MPxNode(const MPxNode &);
    MPxNode &operator=(const MPxNode &);
    ::kelphost::Object *instance; // the scene node this object implements
};

OPENMAYA_NAMESPACE_CLOSE

#endif
