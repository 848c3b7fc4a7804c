// "time": outTime, driven by the current time (scene::setCurrentTime).
#include <maya/MFnUnitAttribute.h>
#include <maya/MPxNode.h>

#include "BuiltinType.h"
#include "Builtins.h"

namespace kelphost {
namespace {

class TimeNode : public MPxNode {
public:
    static void *creator() { return new TimeNode; }
    static MStatus initialize() {
        MFnUnitAttribute u;
        MObject outTime = u.create("outTime", "o", MFnUnitAttribute::kTime, 1.0);
        u.setStorable(false);
        return addAttribute(outTime);
    }
};

} // namespace

void registerTimeType(Registry &r) {
    registerBuiltin(r, "time", 0x4b500001, MFn::kTime, false, false, "time", TimeNode::creator,
                    TimeNode::initialize);
}

} // namespace kelphost
