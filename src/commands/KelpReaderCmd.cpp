#include "KelpReaderCmd.h"

#include "CommandNames.h"
#include "KelpReaderNode.h"

#include <maya/MArgDatabase.h>
#include <maya/MGlobal.h>
#include <maya/MPlug.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>

namespace {
const char *const nameFlag = "-n";
const char *const nameLongFlag = "-name";
const char *const outputParticleFlag = "-op";
const char *const outputParticleLongFlag = "-outputParticle";
const char *const mayaChannelsFlag = "-mc";
const char *const mayaChannelsLongFlag = "-mayaChannels";
} // namespace

KelpReaderCmd::KelpReaderCmd() : particleSwitch(0) {}

KelpReaderCmd::~KelpReaderCmd() {}

void *KelpReaderCmd::creator() {
    return new KelpReaderCmd();
}

MSyntax KelpReaderCmd::newSyntax() {
    MSyntax syntax;
    syntax.addFlag(nameFlag, nameLongFlag, MSyntax::kString);
    syntax.addFlag(outputParticleFlag, outputParticleLongFlag, MSyntax::kLong);
    syntax.addFlag(mayaChannelsFlag, mayaChannelsLongFlag);
    syntax.enableQuery(false);
    syntax.enableEdit(false);
    return syntax;
}

MStatus KelpReaderCmd::parseArguments(const MArgList &args, MString &baseName, bool &mayaChannels) {
    MStatus status;
    MArgDatabase argData(syntax(), args, &status);
    if (!status)
        return status;
    particleSwitch = 0;
    if (argData.isFlagSet(nameFlag)) {
        status = argData.getFlagArgument(nameFlag, 0, baseName);
        if (!status)
            return status;
    }
    if (argData.isFlagSet(outputParticleFlag)) {
        status = argData.getFlagArgument(outputParticleFlag, 0, particleSwitch);
        if (!status)
            return status;
    }
    mayaChannels = argData.isFlagSet(mayaChannelsFlag);
    // Refused before anything is made: an empty name would give nodes named
    // only by their suffixes, and a switch other than 0 or 1 means nothing.
    if (baseName.length() == 0) {
        MGlobal::displayError("KelpReader: -name must not be empty");
        return MS::kInvalidParameter;
    }
    if (particleSwitch != 0 && particleSwitch != 1) {
        MGlobal::displayError(MString("KelpReader: -outputParticle takes 0 (mesh) or 1 "
                                      "(particles), not ") +
                              particleSwitch);
        return MS::kInvalidParameter;
    }
    return MS::kSuccess;
}

void KelpReaderCmd::createNodes(const MString &baseName, MObject &reader, MObject &shape,
                                MObject &transform) {
    // The reader is a plain dependency node: created through the DG form of
    // createNode, which the DAG modifier's own overloads hide.
    reader = nodeModifier.MDGModifier::createNode(KelpReaderNode::id);
    readerNodes.append(reader);

    const MString readerName = baseName + "InputNode";
    MString shapeName;
    transform = nodeModifier.createNode("transform");
    if (particleSwitch != 0) {
        shape = nodeModifier.createNode("particle", transform);
        particleShapes.append(shape);
        shapeName = baseName + "ParticleShape";
    } else {
        shape = nodeModifier.createNode("mesh", transform);
        meshShapes.append(shape);
        shapeName = baseName + "Shape";
    }
    nodeModifier.renameNode(transform, baseName);
    // The shape is given the name the result reports, so that the result
    // names nodes that exist.
    nodeModifier.renameNode(shape, shapeName);
    nodeModifier.renameNode(reader, readerName);
    if (particleSwitch == 0)
        nodeModifier.connect(namedPlug(reader, "outMesh"), namedPlug(shape, "inMesh"));
    nodeModifier.doIt();
}

// The scripts use the names the host actually gave.
void KelpReaderCmd::connectByScript(bool mayaChannels) {
    for (unsigned int i = 0; i < meshShapes.length(); ++i) {
        const MString meshName = currentNodeName(meshShapes[i]);
        const MString node = currentNodeName(readerNodes[i]);
        scriptModifier.commandToExecute("sets -e -fe initialShadingGroup " + meshName + ";" +
                                        "connectAttr -f time1.outTime " + node + ".frame;");
    }
    for (unsigned int i = 0; i < particleShapes.length(); ++i) {
        const MString particleName = currentNodeName(particleShapes[i]);
        const MString node = currentNodeName(readerNodes[i]);
        scriptModifier.commandToExecute("sets -e -fe initialShadingGroup " + particleName + ";" +
                                        "connectAttr -f time1.outTime " + particleName +
                                        ".currentTime;" + "connectAttr -f time1.outTime " + node +
                                        ".frame;" + "connectAttr -f " + node + ".outParticles " +
                                        particleName + ".newParticles[0];");
    }
    // -mayaChannels: the new readers give particle channels the host's names.
    if (mayaChannels)
        for (unsigned int i = 0; i < readerNodes.length(); ++i)
            scriptModifier.commandToExecute("setAttr " + currentNodeName(readerNodes[i]) +
                                            ".mayaChannels 1;");
    scriptModifier.commandToExecute(selectCommand(readerNodes));
    scriptModifier.doIt();
}

MStatus KelpReaderCmd::doIt(const MArgList &args) {
    MString baseName("KelpReader");
    bool mayaChannels = false;
    const MStatus status = parseArguments(args, baseName, mayaChannels);
    if (!status)
        return status;
    MObject reader, shape, transform;
    createNodes(baseName, reader, shape, transform);
    connectByScript(mayaChannels);

    // The result names the nodes as the host finally named them.
    MStringArray result;
    result.append(currentNodeName(reader));
    result.append(currentNodeName(shape));
    result.append(currentNodeName(transform));
    clearResult();
    setResult(result);
    return MS::kSuccess;
}
