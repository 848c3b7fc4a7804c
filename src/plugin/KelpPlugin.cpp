// The plug-in's entry points: registration of the commands and the two node
// types. This is the only file that includes <maya/MFnPlugin.h>, which
// also defines the exported MApiVersion text.
#include <maya/MFnPlugin.h>
#include <maya/MGlobal.h>
#include <maya/MObject.h>
#include <maya/MPxNode.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

#include "KelpExportCmd.h"
#include "KelpReaderCmd.h"
#include "KelpReaderNode.h"
#include "KelpWriterCmd.h"
#include "KelpWriterNode.h"

#ifdef _WIN32
#include <iostream>
#endif

namespace {
#ifdef _WIN32
const char *const kVendor = "Kelp - Houdini geometry files for Maya";
const char *const kVersion = "2.0";
#else
const char *const kVendor = "Kelp";
const char *const kVersion = "1.5";
#endif

// Shows "<what> failed: <reason>" through the host's error display.
void showFailure(const char *what, const MStatus &status) {
    MGlobal::displayError(MString(what) + " failed: " + status.errorString());
}
} // namespace

PLUGIN_EXPORT MStatus initializePlugin(MObject obj) {
    MFnPlugin plugin(obj, kVendor, kVersion, "Any");

#ifdef _WIN32
    const MString banner = MString("Kelp ") + kVersion + " loaded";
    MGlobal::displayInfo(banner);
    std::cout << std::endl << std::flush;
    std::cout << banner.asChar() << std::endl << std::flush;
#endif

    MStatus status = MS::kSuccess;
    status = plugin.registerCommand("KelpReader", KelpReaderCmd::creator, KelpReaderCmd::newSyntax);
    if (!status) {
        showFailure("registerCommand", status);
        return status;
    }
    status = plugin.registerNode("KelpReaderNode", KelpReaderNode::id, KelpReaderNode::creator,
                                 KelpReaderNode::initialize, MPxNode::kDependNode, nullptr);
    if (!status) {
        showFailure("registerNode", status);
        return status;
    }
    status = plugin.registerCommand("KelpWriter", KelpWriterCmd::creator, KelpWriterCmd::newSyntax);
    if (!status) {
        showFailure("registerCommand", status);
        return status;
    }
    status = plugin.registerNode("KelpWriterNode", KelpWriterNode::id, KelpWriterNode::creator,
                                 KelpWriterNode::initialize, MPxNode::kDependNode, nullptr);
    if (!status) {
        showFailure("registerNode", status);
        return status;
    }
    status = plugin.registerCommand("KelpExport", KelpExportCmd::creator, KelpExportCmd::newSyntax);
    if (!status) {
        showFailure("registerCommand", status);
        return status;
    }
    return status;
}

PLUGIN_EXPORT MStatus uninitializePlugin(MObject obj) {
    MFnPlugin plugin(obj, "Unknown", "Unknown", "Any");

    MStatus status = plugin.deregisterCommand("KelpReader");
    if (!status) {
        showFailure("deregisterCommand", status);
        return status;
    }
    status = plugin.deregisterNode(KelpReaderNode::id);
    if (!status) {
        showFailure("deregisterNode", status);
        return status;
    }
    status = plugin.deregisterCommand("KelpWriter");
    if (!status) {
        showFailure("deregisterCommand", status);
        return status;
    }
    status = plugin.deregisterNode(KelpWriterNode::id);
    if (!status) {
        showFailure("deregisterNode", status);
        return status;
    }
    status = plugin.deregisterCommand("KelpExport");
    if (!status) {
        showFailure("deregisterCommand", status);
        return status;
    }
    return MS::kSuccess;
}
