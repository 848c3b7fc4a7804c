#include "KelpWriterCmd.h"

#include "CommandNames.h"
#include "KelpWriterNode.h"

#include <maya/MArgDatabase.h>
#include <maya/MDagPath.h>
#include <maya/MFn.h>
#include <maya/MFnDagNode.h>
#include <maya/MGlobal.h>
#include <maya/MItSelectionList.h>
#include <maya/MPlug.h>
#include <maya/MSelectionList.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>

namespace {
const char *const wnameFlag = "-n";
const char *const wnameLongFlag = "-name";
} // namespace

KelpWriterCmd::KelpWriterCmd() {}

KelpWriterCmd::~KelpWriterCmd() {}

void *KelpWriterCmd::creator() {
    return new KelpWriterCmd();
}

MSyntax KelpWriterCmd::newSyntax() {
    MSyntax syntax;
    syntax.addFlag(wnameFlag, wnameLongFlag, MSyntax::kString);
    syntax.enableQuery(false);
    syntax.enableEdit(false);
    return syntax;
}

MStatus KelpWriterCmd::parseArguments(const MArgList &args, MString &baseName) {
    MStatus status;
    MArgDatabase argData(syntax(), args, &status);
    if (!status)
        return status;
    if (argData.isFlagSet(wnameFlag)) {
        status = argData.getFlagArgument(wnameFlag, 0, baseName);
        if (!status)
            return status;
    }
    if (baseName.length() == 0) {
        MGlobal::displayError("KelpWriter: -name must not be empty");
        return MS::kInvalidParameter;
    }
    return MS::kSuccess;
}

// A writer fed by the mesh at path, and a transform with a mesh shape fed by
// the writer.
void KelpWriterCmd::createWriter(MDagPath path, const MString &baseName) {
    if (!path.node().hasFn(MFn::kMesh))
        path.extendToShape();
    const unsigned int instance = path.instanceNumber();

    MFnDagNode shapeFn;
    shapeFn.setObject(path);
    MPlug source = shapeFn.findPlug("worldMesh", true).elementByLogicalIndex(instance);

    MObject writer = nodeModifier.MDGModifier::createNode(KelpWriterNode::id);
    writerNodes.append(writer);
    nodeModifier.connect(source, namedPlug(writer, "inMesh"));

    MObject transform = nodeModifier.createNode("transform");
    MObject mesh = nodeModifier.createNode("mesh", transform);
    meshShapes.append(mesh);

    const MString writerName = baseName + "OutputNode";
    nodeModifier.renameNode(writer, writerName);
    nodeModifier.renameNode(transform, baseName);
    nodeModifier.connect(namedPlug(writer, "outMesh"), namedPlug(mesh, "inMesh"));
    nodeModifier.doIt();
}

MStatus KelpWriterCmd::doIt(const MArgList &args) {
    MString baseName("KelpWriter");
    writerNodes.clear();
    meshShapes.clear();
    const MStatus status = parseArguments(args, baseName);
    if (!status)
        return status;

    MSelectionList selection;
    MGlobal::getActiveSelectionList(selection);
    unsigned int found = 0;
    // The mesh filter also yields the mesh shape below a selected transform.
    for (MItSelectionList item(selection, MFn::kMesh); !item.isDone(); item.next()) {
        MDagPath path;
        if (!item.getDagPath(path))
            continue;
        createWriter(path, baseName);
        ++found;
    }
    if (found == 0) {
        MGlobal::displayWarning("Select one or more meshes");
        return MS::kFailure;
    }

    // The scripts use the names the host actually gave.
    for (unsigned int i = 0; i < meshShapes.length(); ++i)
        scriptModifier.commandToExecute(
            "sets -e -fe initialShadingGroup " + currentNodeName(meshShapes[i]) + ";" +
            "connectAttr -f time1.outTime " + currentNodeName(writerNodes[i]) + ".frame;");
    scriptModifier.commandToExecute(selectCommand(writerNodes));
    scriptModifier.doIt();

    // The result names the writers as the host finally named them.
    MStringArray result;
    for (unsigned int i = 0; i < writerNodes.length(); ++i)
        result.append(currentNodeName(writerNodes[i]));
    clearResult();
    setResult(result);
    return MS::kSuccess;
}
