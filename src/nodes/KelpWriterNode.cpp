#include "nodes/KelpWriterNode.h"

#include "bridge/WriteBgeo.h"

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

namespace {

// One input's handle, or the reason it could not be had.
bool fetchInput(MDataBlock &data, const MObject &attribute, const char *failure,
                MDataHandle &handle, MStatus &status) {
    handle = data.inputValue(attribute, &status);
    if (status)
        return true;
    status.perror(failure);
    return false;
}

MObject createSwitch(MFnNumericAttribute &numericAttr, const char *longName, const char *shortName,
                     bool defaultValue) {
    MObject attribute =
        numericAttr.create(longName, shortName, MFnNumericData::kBoolean, defaultValue ? 1.0 : 0.0);
    numericAttr.setKeyable(true);
    return attribute;
}

} // namespace

KelpWriterNode::KelpWriterNode() {}

KelpWriterNode::~KelpWriterNode() {}

void *KelpWriterNode::creator() {
    return new KelpWriterNode();
}

MStatus KelpWriterNode::initialize() {
    MStatus status;
    MFnStringData stringData;
    MObject defaultPath = stringData.create(MString("/home/Kelp/bgeos/KelpWritten.#.bgeo"));

    MFnTypedAttribute typedAttr;
    bgeoPath = typedAttr.create("bgeoPath", "bp", MFnData::kString, MObject::kNullObj, &status);
    typedAttr.setDefault(defaultPath);
    typedAttr.setUsedAsFilename(true); // the host offers a file browser
    if (!status) {
        status.perror("create bgeo path attribute");
        return status;
    }

    outMesh = typedAttr.create("outMesh", "om", MFnData::kMesh, MObject::kNullObj);
    typedAttr.setStorable(false);

    MFnNumericAttribute numericAttr;
    frame = numericAttr.create("frame", "fr", MFnNumericData::kFloat, 10.0);
    numericAttr.setKeyable(true);
    write = createSwitch(numericAttr, "write", "wr", false);
    pointsOnly = createSwitch(numericAttr, "pointsOnly", "po", false);
    invertNormals = createSwitch(numericAttr, "invertNormals", "invn", true);
    exportAllUvs = createSwitch(numericAttr, "exportAllUvMaps", "eaum", false);
    exportColors = createSwitch(numericAttr, "exportColors", "ec", false);

    MFnEnumAttribute enumAttr;
    verbosity = enumAttr.create("verbosity", "vb", 1, &status);
    enumAttr.addField("None", 0);
    enumAttr.addField("writeConfirm", 1);
    enumAttr.addField("GeoDetails", 2);
    enumAttr.addField("BgeoDetails", 3);
    if (!status) {
        status.perror("create verbosity attribute");
        return status;
    }

    // 0 classic, 1 Houdini's JSON-based format (.bgeo.sc is JSON either way).
    format = enumAttr.create("format", "fmt", 0, &status);
    enumAttr.addField("classic", 0);
    enumAttr.addField("json", 1);
    if (!status) {
        status.perror("create format attribute");
        return status;
    }

    inMesh = typedAttr.create("inMesh", "im", MFnData::kMesh, MObject::kNullObj);
    typedAttr.setStorable(false);

    addAttribute(outMesh);
    addAttribute(inMesh);
    addAttribute(bgeoPath);
    addAttribute(frame);
    addAttribute(write);
    addAttribute(pointsOnly);
    addAttribute(invertNormals);
    addAttribute(exportAllUvs);
    addAttribute(exportColors);
    status = addAttribute(verbosity);
    if (!status) {
        status.perror("verbosity attr not added");
        return status;
    }
    status = addAttribute(format);
    if (!status) {
        status.perror("format attr not added");
        return status;
    }

    attributeAffects(inMesh, outMesh);
    attributeAffects(bgeoPath, outMesh);
    attributeAffects(pointsOnly, outMesh);
    attributeAffects(write, outMesh);
    attributeAffects(frame, outMesh);
    attributeAffects(verbosity, outMesh);
    attributeAffects(invertNormals, outMesh);
    attributeAffects(exportAllUvs, outMesh);
    attributeAffects(exportColors, outMesh);
    attributeAffects(format, outMesh);
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

    MStatus status;
    MDataHandle pathHandle, frameHandle, writeHandle, pointsOnlyHandle, verbosityHandle,
        invertHandle, allUvsHandle, colorsHandle, formatHandle, meshHandle;
    if (!fetchInput(data, bgeoPath, "Kelp:: compute get bgeoPath attr error", pathHandle, status) ||
        !fetchInput(data, frame, "Kelp:: compute get frame attr error", frameHandle, status) ||
        !fetchInput(data, write, "Kelp:: compute get write attr error", writeHandle, status) ||
        !fetchInput(data, pointsOnly, "Kelp:: compute get pointsOnly attr error", pointsOnlyHandle,
                    status) ||
        !fetchInput(data, verbosity, "Kelp:: compute get verbosity attr error", verbosityHandle,
                    status) ||
        !fetchInput(data, invertNormals, "Kelp:: compute get invertNormals attr error",
                    invertHandle, status) ||
        !fetchInput(data, exportAllUvs, "Kelp:: compute get exportAllUvs attr error", allUvsHandle,
                    status) ||
        !fetchInput(data, exportColors, "Kelp:: compute get exportColors attr error", colorsHandle,
                    status) ||
        !fetchInput(data, format, "Kelp:: compute get format attr error", formatHandle, status) ||
        !fetchInput(data, inMesh, "Kelp:: compute get inMesh error", meshHandle, status))
        return status;

    data.outputValue(outMesh);

    const MString path = pathHandle.asString();
    const bool writeOn = writeHandle.asBool();
    const float frameValue = frameHandle.asFloat();
    const bool pointsOnlyOn = pointsOnlyHandle.asBool();
    const bool invert = invertHandle.asBool();
    const bool allUvs = allUvsHandle.asBool();
    const bool colors = colorsHandle.asBool();
    const int verbosityValue = verbosityHandle.asShort();

    if (writeOn) {
        MObject mesh = meshHandle.asMeshTransformed();
        writeBgeo(mesh, path, frameValue, pointsOnlyOn ? 1 : 0, verbosityValue, invert, allUvs,
                  colors, formatHandle.asShort());
    }

    data.setClean(plug);
    return status;
}
