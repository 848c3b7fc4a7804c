// "particle": takes array-attributes data on newParticles[] and keeps the
// channels (and their count) it last received; count is its output, pulled
// whenever currentTime or newParticles change and the shape is evaluated.
#include <maya/MDataBlock.h>
#include <maya/MFnArrayAttrsData.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MFnUnitAttribute.h>
#include <maya/MPxNode.h>

#include "../core/Access.h"
#include "../graph/Graph.h"
#include "BuiltinType.h"
#include "Builtins.h"

namespace kelphost {
namespace {

class ParticleNode : public MPxNode {
public:
    static MObject currentTime, newParticles, count;
    MObject received;
    int receivedCount = 0;

    static void *creator() { return new ParticleNode; }
    static MStatus initialize() {
        MFnUnitAttribute u;
        currentTime = u.create("currentTime", "cti", MFnUnitAttribute::kTime, 1.0);
        MFnTypedAttribute t;
        newParticles = t.create("newParticles", "npt", MFnData::kDynArrayAttrs, MObject::kNullObj);
        t.setArray(true);
        t.setStorable(false);
        MFnNumericAttribute n;
        count = n.create("count", "cnt", MFnNumericData::kInt, 0);
        n.setWritable(false);
        n.setStorable(false);
        addAttribute(currentTime);
        addAttribute(newParticles);
        addAttribute(count);
        attributeAffects(currentTime, count);
        attributeAffects(newParticles, count);
        return MStatus::kSuccess;
    }
    MStatus compute(const MPlug &plug, MDataBlock &block) override {
        if (plug != count)
            return MStatus::kUnknownParameter;
        block.inputValue(currentTime);
        MArrayDataHandle in = block.inputArrayValue(newParticles);
        for (unsigned i = 0; i < in.elementCount(); ++i) {
            in.jumpToArrayElement(i);
            MObject d = in.inputValue().data();
            if (d.hasFn(MFn::kDynArrayAttrsData)) {
                received = d;
                MFnArrayAttrsData fn(d);
                receivedCount = static_cast<int>(fn.count());
            }
        }
        block.outputValue(count).set(receivedCount);
        block.setClean(plug);
        return MStatus::kSuccess;
    }
};

MObject ParticleNode::currentTime, ParticleNode::newParticles, ParticleNode::count;

ParticleNode *particleUser(Node *n) {
    return n && n->type->name == "particle" ? static_cast<ParticleNode *>(n->user) : nullptr;
}

} // namespace

MObject particleChannels(Node *shape) {
    ParticleNode *user = particleUser(shape);
    if (!user)
        return MObject();
    graph::pull(graph::PlugRef{shape, Access::as<Attribute>(ParticleNode::count), -1});
    return user->received;
}

int particleCount(Node *shape) {
    ParticleNode *user = particleUser(shape);
    if (!user)
        return 0;
    graph::pull(graph::PlugRef{shape, Access::as<Attribute>(ParticleNode::count), -1});
    return user->receivedCount;
}

void registerParticleType(Registry &r) {
    registerBuiltin(r, "particle", 0x4b500004, MFn::kParticle, true, true, "particleShape",
                    ParticleNode::creator, ParticleNode::initialize);
}

} // namespace kelphost
