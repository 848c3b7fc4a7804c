// A test plug-in that registers a node type under the reader node's type id
// (0x666), so that loading Kelp afterwards finds that id taken.
#include <maya/MFnPlugin.h>
#include <maya/MObject.h>
#include <maya/MPxNode.h>
#include <maya/MStatus.h>
#include <maya/MTypeId.h>

namespace {
class ClashNode : public MPxNode {
public:
    static void *creator() { return new ClashNode(); }
    static MStatus initialize() { return MS::kSuccess; }
};
const MTypeId clashId(0x666);
} // namespace

PLUGIN_EXPORT MStatus initializePlugin(MObject obj) {
    MFnPlugin plugin(obj, "Kelp tests", "1.0", "Any");
    return plugin.registerNode("KelpClashNode", clashId, ClashNode::creator, ClashNode::initialize);
}

PLUGIN_EXPORT MStatus uninitializePlugin(MObject obj) {
    MFnPlugin plugin(obj);
    return plugin.deregisterNode(clashId);
}
