// Entry points of the test plug-in: the node "doubler" and the command "doublerMake".
#include "DoublerCmd.h"
#include "DoublerNode.h"

#include <maya/MFnPlugin.h>
#include <maya/MGlobal.h>

MStatus initializePlugin(MObject obj) {
    MFnPlugin plugin(obj, "KelpTest", "1.0", "Any");
    MStatus st = plugin.registerNode("doubler", DoublerNode::id, DoublerNode::creator,
                                     DoublerNode::initialize);
    if (!st) {
        MGlobal::displayError("registerNode failed: " + st.errorString());
        return st;
    }
    st = plugin.registerCommand("doublerMake", DoublerCmd::creator, DoublerCmd::newSyntax);
    if (!st) {
        MGlobal::displayError("registerCommand failed: " + st.errorString());
        return st;
    }
    return MS::kSuccess;
}

MStatus uninitializePlugin(MObject obj) {
    MFnPlugin plugin(obj);
    MStatus st = plugin.deregisterCommand("doublerMake");
    if (!st)
        return st;
    return plugin.deregisterNode(DoublerNode::id);
}
