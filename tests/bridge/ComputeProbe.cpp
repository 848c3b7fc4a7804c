// Runs a node's compute directly for one plug, as the host would when asked
// for that plug, and returns the status compute gives back.
#include "HostFixture.h"

#include "../../host/src/core/Access.h"

#include <maya/MDataBlock.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MPxNode.h>

namespace kelptest {

MStatus computeFor(const std::string &plugPath) {
    const MPlug plug = kt::plug(plugPath);
    if (plug.isNull())
        return MStatus::kInvalidParameter;
    MObject node = plug.node();
    MFnDependencyNode fn(node);
    MPxNode *user = fn.userNode();
    if (user == nullptr)
        return MStatus::kInvalidParameter;
    MDataBlock block = kelphost::Access::block(kelphost::Access::get(node));
    return user->compute(plug, block);
}

} // namespace kelptest
