#include "nodes/KelpReaderNode.h"

#include "bridge/FileName.h"
#include "bridge/GeometryReason.h"
#include "bridge/ParticleChannels.h"
#include "bridge/ReadBgeo.h"

#include <Kelp>

#include <maya/MDataHandle.h>
#include <maya/MFloatArray.h>
#include <maya/MFnArrayAttrsData.h>
#include <maya/MFnData.h>
#include <maya/MFnEnumAttribute.h>
#include <maya/MFnMesh.h>
#include <maya/MFnMeshData.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnNumericData.h>
#include <maya/MFnStringData.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MGlobal.h>
#include <maya/MIntArray.h>
#include <maya/MPointArray.h>
#include <maya/MString.h>
#include <maya/MVectorArray.h>

#include <iostream>
#include <string>

MTypeId KelpReaderNode::id(0x666);

MObject KelpReaderNode::bgeoPath;
MObject KelpReaderNode::verbosity;
MObject KelpReaderNode::frame;
MObject KelpReaderNode::invertNormals;
MObject KelpReaderNode::outMesh;
MObject KelpReaderNode::outParticles;

namespace {

// The host builds meshes without checking them, so every point id is checked
// here: a damaged frame must not reach the mesh.
bool pointIdsInRange(const MIntArray &polygonConnects, unsigned int numPoints) {
    for (unsigned int i = 0; i < polygonConnects.length(); ++i) {
        const int id = polygonConnects[i];
        if (id < 0 || static_cast<unsigned int>(id) >= numPoints)
            return false;
    }
    return true;
}

} // namespace

KelpReaderNode::KelpReaderNode() {}

KelpReaderNode::~KelpReaderNode() {}

void *KelpReaderNode::creator() {
    return new KelpReaderNode();
}

MStatus KelpReaderNode::initialize() {
    MStatus status;
    MFnStringData stringData;
    MObject defaultPath = stringData.create(MString("/home/Kelp/bgeos/KelpRead.#.bgeo"));

    MFnTypedAttribute typedAttr;
    bgeoPath = typedAttr.create("bgeoPath", "bp", MFnData::kString, MObject::kNullObj, &status);
    typedAttr.setDefault(defaultPath);
    typedAttr.setUsedAsFilename(true); // the host offers a file browser
    if (!status) {
        status.perror("create particlePath attribute");
        return status;
    }

    MFnEnumAttribute enumAttr;
    verbosity = enumAttr.create("verbosity", "vb", 1, &status);
    enumAttr.addField("None", 0);
    enumAttr.addField("readConfirm", 1);
    enumAttr.addField("GeoDetails", 2);
    enumAttr.addField("BgeoDetails", 3);
    if (!status) {
        status.perror("create verbosity attribute");
        return status;
    }

    status = addAttribute(verbosity);
    if (!status) {
        status.perror("verbosity attr not added");
        return status;
    }

    MFnNumericAttribute numericAttr;
    frame = numericAttr.create("frame", "fr", MFnNumericData::kFloat, 6.0);
    numericAttr.setKeyable(true);
    invertNormals = numericAttr.create("invertNormals", "invn", MFnNumericData::kBoolean, 1.0);
    numericAttr.setKeyable(true);
    outMesh = typedAttr.create("outMesh", "om", MFnData::kMesh, MObject::kNullObj);
    typedAttr.setStorable(false);

    addAttribute(bgeoPath);
    addAttribute(frame);
    addAttribute(invertNormals);
    addAttribute(outMesh);

    outParticles = typedAttr.create("outParticles", "outParts", MFnData::kDynArrayAttrs,
                                    MObject::kNullObj, &status);
    if (!status) {
        std::cerr << "ERROR creating = outparticles Attr.\n";
        return MS::kFailure;
    }
    addAttribute(outParticles);

    attributeAffects(bgeoPath, outMesh);
    attributeAffects(frame, outMesh);
    attributeAffects(verbosity, outMesh);
    attributeAffects(invertNormals, outMesh);
    attributeAffects(bgeoPath, outParticles);
    attributeAffects(frame, outParticles);
    attributeAffects(verbosity, outParticles);
    attributeAffects(invertNormals, outParticles);
    return MS::kSuccess;
}

MStatus KelpReaderNode::compute(const MPlug &plug, MDataBlock &data) {
    if (plug == outMesh)
        return computeMesh(plug, data);
    if (plug == outParticles)
        return computeParticles(plug, data);
    return MS::kUnknownParameter;
}

MStatus KelpReaderNode::computeMesh(const MPlug &plug, MDataBlock &data) {
    MStatus status;
    const MString path = data.inputValue(bgeoPath, &status).asString();
    if (!status)
        return status;
    const float frameValue = data.inputValue(frame, &status).asFloat();
    if (!status)
        return status;
    const int verbosityValue = data.inputValue(verbosity, &status).asShort();
    if (!status)
        return status;
    const bool invert = data.inputValue(invertNormals, &status).asBool();
    if (!status)
        return status;
    MDataHandle outHandle = data.outputValue(outMesh, &status);
    if (!status)
        return status;

    MFnMeshData dataCreator;
    MObject meshData = dataCreator.create(&status);
    if (!status)
        return status;

    unsigned int numPolygons = 0;
    MPointArray points;
    MIntArray polygonCounts;
    MIntArray polygonConnects;
    MFloatArray uArray;
    MFloatArray vArray;
    MIntArray uvIds;
    MVectorArray normals;
    MIntArray normalIds;
    MIntArray normalFaces;
    readBgeo(numPolygons, points, polygonCounts, polygonConnects, uArray, vArray, uvIds, normals,
             normalIds, normalFaces, path, frameValue, verbosityValue, invert);

    MFnMesh meshFn;
    if (pointIdsInRange(polygonConnects, points.length()))
        meshFn.create(static_cast<int>(points.length()), static_cast<int>(numPolygons), points,
                      polygonCounts, polygonConnects, uArray, vArray, meshData, &status);
    else
        status = MS::kInvalidParameter;
    if (!status) {
        MGlobal::displayError(MString("Unable to create mesh: ") + status.errorString());
        return status;
    }

    if (uvIds.length() != 0) {
        status = meshFn.assignUVs(polygonCounts, uvIds);
        if (!status) {
            status.perror("unable to assignUv's");
            return status;
        }
    }

    if (normalFaces.length() != 0) {
        status = meshFn.setFaceVertexNormals(normals, normalFaces, normalIds, MSpace::kObject);
        if (!status) {
            status.perror("unable to set vertex Normals");
            return status;
        }
    } else if (normalIds.length() != 0 && normalIds.length() == points.length()) {
        status = meshFn.setVertexNormals(normals, normalIds, MSpace::kObject);
        if (!status) {
            status.perror("unable to set vertex Normals");
            return status;
        }
    }

    meshFn.updateSurface();
    outHandle.set(meshData);
    data.setClean(plug);
    return MS::kSuccess;
}

MStatus KelpReaderNode::computeParticles(const MPlug &plug, MDataBlock &data) {
    MStatus status;
    MDataHandle outHandle = data.outputValue(outParticles, &status);
    if (status.statusCode() != MS::kSuccess) {
        std::cerr << "ERROR in hOutArray = pointAttributes.outputArrayValue.\n";
        return MS::kFailure;
    }
    const MString path = data.inputValue(bgeoPath, &status).asString();
    if (!status)
        return status;
    const float frameValue = data.inputValue(frame, &status).asFloat();
    if (!status)
        return status;

    MFnArrayAttrsData channels;
    MObject particleData = channels.create(&status);
    if (status.statusCode() != MS::kSuccess) {
        std::cerr << "ERROR in fnOutput.create.\n";
        return MS::kFailure;
    }

    const MString fileName = buildFileName(path, frameValue);
    Kelp geo;
    std::string reason;
    if (!loadGeometry(geo, fileName, reason)) {
        std::cout << "bgeo particle not loaded: " << fileName.asChar() << std::endl;
        MGlobal::displayError(readFailureText(fileName, reason));
        return status;
    }

    status = fillParticleChannels(geo, channels);
    outHandle.set(particleData);
    data.setClean(plug);
    return status;
}
