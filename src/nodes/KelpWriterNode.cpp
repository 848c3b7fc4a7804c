#include "nodes/KelpWriterNode.h"

#include "bridge/WriteBgeo.h"
#include "nodes/NodeAttributes.h"

#include <maya/MDataHandle.h>
#include <maya/MFnData.h>
#include <maya/MFnEnumAttribute.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnNumericData.h>
#include <maya/MFnStringData.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MGlobal.h>
#include <maya/MString.h>

#include <exception>
#include <new>

MTypeId KelpWriterNode::id(0x667);

MObject KelpWriterNode::bgeoPath;
MObject KelpWriterNode::frame;
MObject KelpWriterNode::inMesh;
MObject KelpWriterNode::write;
MObject KelpWriterNode::pointsOnly;
MObject KelpWriterNode::verbosity;
MObject KelpWriterNode::outMesh;
MObject KelpWriterNode::invertNormals;
MObject KelpWriterNode::exportAllUvs;
MObject KelpWriterNode::exportColors;
MObject KelpWriterNode::format;

KelpWriterNode::KelpWriterNode() {}

KelpWriterNode::~KelpWriterNode() {}

void *KelpWriterNode::creator() {
    return new KelpWriterNode();
}

MStatus KelpWriterNode::initialize() {
    KELP_RETURN_IF_FAILED_SAY(createPathAttribute(bgeoPath, "/home/Kelp/bgeos/KelpWritten.#.bgeo"),
                              "create bgeo path attribute");
    outMesh = createMeshAttribute("outMesh", "om");
    frame = createFrameAttribute(10.0);
    write = createSwitch("write", "wr", false);
    pointsOnly = createSwitch("pointsOnly", "po", false);
    invertNormals = createSwitch("invertNormals", "invn", true);
    exportAllUvs = createSwitch("exportAllUvMaps", "eaum", false);
    exportColors = createSwitch("exportColors", "ec", false);
    KELP_RETURN_IF_FAILED_SAY(createVerbosityAttribute(verbosity, "writeConfirm"),
                              "create verbosity attribute");

    // 0 classic, 1 Houdini's JSON-based format (.bgeo.sc is JSON either way).
    MStatus status;
    MFnEnumAttribute enumAttr;
    format = enumAttr.create("format", "fmt", 0, &status);
    enumAttr.addField("classic", 0);
    enumAttr.addField("json", 1);
    KELP_RETURN_IF_FAILED_SAY(status, "create format attribute");
    inMesh = createMeshAttribute("inMesh", "im");

    const MObject *inputs[] = {&inMesh,    &bgeoPath,      &pointsOnly,   &write,        &frame,
                               &verbosity, &invertNormals, &exportAllUvs, &exportColors, &format};
    for (const MObject *attribute : {&outMesh, &inMesh, &bgeoPath, &frame, &write, &pointsOnly,
                                     &invertNormals, &exportAllUvs, &exportColors})
        addAttribute(*attribute);
    KELP_RETURN_IF_FAILED_SAY(addAttribute(verbosity), "verbosity attr not added");
    KELP_RETURN_IF_FAILED_SAY(addAttribute(format), "format attr not added");
    for (const MObject *input : inputs)
        attributeAffects(*input, outMesh);
    return MS::kSuccess;
}

MStatus KelpWriterNode::compute(const MPlug &plug, MDataBlock &data) {
    if (!(plug == outMesh))
        return MS::kUnknownParameter;
    // The last guard: nothing a frame does reaches the host as an exception.
    try {
        return computeOutput(plug, data);
    } catch (const std::bad_alloc &) {
        MGlobal::displayError("KelpWriterNode: not enough memory to write the frame");
    } catch (const std::exception &e) {
        MGlobal::displayError(MString("KelpWriterNode: unexpected failure (") + e.what() + ")");
    }
    return MS::kFailure;
}

MStatus KelpWriterNode::computeOutput(const MPlug &plug, MDataBlock &data) {
    MDataHandle pathHandle, frameHandle, writeHandle, pointsOnlyHandle, verbosityHandle,
        invertHandle, allUvsHandle, colorsHandle, formatHandle, meshHandle;
    const struct {
        const MObject &attribute;
        MDataHandle &handle;
        const char *failure;
    } inputs[] = {
        {bgeoPath, pathHandle, "Kelp:: compute get bgeoPath attr error"},
        {frame, frameHandle, "Kelp:: compute get frame attr error"},
        {write, writeHandle, "Kelp:: compute get write attr error"},
        {pointsOnly, pointsOnlyHandle, "Kelp:: compute get pointsOnly attr error"},
        {verbosity, verbosityHandle, "Kelp:: compute get verbosity attr error"},
        {invertNormals, invertHandle, "Kelp:: compute get invertNormals attr error"},
        {exportAllUvs, allUvsHandle, "Kelp:: compute get exportAllUvs attr error"},
        {exportColors, colorsHandle, "Kelp:: compute get exportColors attr error"},
        {format, formatHandle, "Kelp:: compute get format attr error"},
        {inMesh, meshHandle, "Kelp:: compute get inMesh error"},
    };
    for (const auto &input : inputs)
        KELP_RETURN_IF_FAILED_SAY(inputHandle(data, input.attribute, input.handle), input.failure);

    data.outputValue(outMesh);
    if (writeHandle.asBool()) {
        MObject mesh = meshHandle.asMeshTransformed();
        writeBgeo(mesh, pathHandle.asString(), frameHandle.asFloat(),
                  pointsOnlyHandle.asBool() ? 1 : 0, verbosityHandle.asShort(),
                  invertHandle.asBool(), allUvsHandle.asBool(), colorsHandle.asBool(),
                  formatHandle.asShort());
    }
    data.setClean(plug);
    return MS::kSuccess;
}
