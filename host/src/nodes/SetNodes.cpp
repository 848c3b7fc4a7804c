// "objectSet" and "shadingEngine": membership is kept by the scene
// (scene::addToSet); shading engines partition geometry (forceElement).
#include <maya/MPxNode.h>

#include "BuiltinType.h"
#include "Builtins.h"

namespace kelphost {
namespace {

class SetNode : public MPxNode {
public:
    static void *creator() { return new SetNode; }
    static MStatus initialize() { return MStatus::kSuccess; }
};

} // namespace

void registerSetTypes(Registry &r) {
    registerBuiltin(r, "objectSet", 0x4b500005, MFn::kSet, false, false, "set", SetNode::creator,
                    SetNode::initialize);
    registerBuiltin(r, "shadingEngine", 0x4b500006, MFn::kShadingEngine, false, false,
                    "shadingEngine", SetNode::creator, SetNode::initialize);
}

} // namespace kelphost
