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
#include <maya/MStringArray.h>
#include <maya/MVectorArray.h>

#include <exception>
#include <iostream>
#include <memory>
#include <new>
#include <string>

MTypeId KelpReaderNode::id(0x666);

MObject KelpReaderNode::bgeoPath;
MObject KelpReaderNode::verbosity;
MObject KelpReaderNode::frame;
MObject KelpReaderNode::invertNormals;
MObject KelpReaderNode::outMesh;
MObject KelpReaderNode::outParticles;
MObject KelpReaderNode::mayaChannels;
MObject KelpReaderNode::missingFrame;

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

// "holding frame 11 for frame 12 (<file of frame 12>)"
void showHeld(float held, float wanted, const MString &fileName) {
    MGlobal::displayInfo(MString("holding frame ") + held + " for frame " + wanted + " (" +
                         fileName + ")");
}

// A further UV set, or the colour set "Cd" made current, on a new mesh.
MStatus addUvSet(MFnMesh &meshFn, const MIntArray &polygonCounts, const ImportedUvSet &set) {
    MStatus status;
    const MString name = meshFn.createUVSetDataMeshWithName(set.name, &status);
    if (!status)
        return status;
    status = meshFn.setUVs(set.u, set.v, &name);
    if (!status)
        return status;
    return meshFn.assignUVs(polygonCounts, set.uvIds, &name);
}

MStatus addColors(MFnMesh &meshFn, const ImportedMesh &mesh) {
    MStatus status;
    const MString name = meshFn.createColorSetWithName(MString("Cd"));
    MStringArray names;
    meshFn.getColorSetNames(names);
    bool made = false;
    for (unsigned int i = 0; i < names.length(); ++i)
        made = made || (name.length() != 0 && names[i] == name);
    if (!made)
        return MS::kFailure;
    status = meshFn.setCurrentColorSetName(name);
    if (!status)
        return status;
    status = meshFn.setColors(mesh.colors, &name);
    if (!status)
        return status;
    return meshFn.assignColors(mesh.colorIds, &name);
}

// Builds the mesh of `mesh` inside `meshData`; reports and returns the first
// host refusal.
MStatus buildMesh(const ImportedMesh &source, MObject &meshData) {
    ImportedMesh mesh = source; // the host's normal setters take non-const arrays
    MStatus status;
    MFnMesh meshFn;
    if (pointIdsInRange(mesh.polygonConnects, mesh.points.length()))
        meshFn.create(static_cast<int>(mesh.points.length()), static_cast<int>(mesh.numPolygons),
                      mesh.points, mesh.polygonCounts, mesh.polygonConnects, mesh.uArray,
                      mesh.vArray, meshData, &status);
    else
        status = MS::kInvalidParameter;
    if (!status) {
        MGlobal::displayError(MString("Unable to create mesh: ") + status.errorString());
        return status;
    }

    if (mesh.uvIds.length() != 0) {
        status = meshFn.assignUVs(mesh.polygonCounts, mesh.uvIds);
        if (!status) {
            status.perror("unable to assignUv's");
            return status;
        }
    }
    for (const ImportedUvSet &set : mesh.extraUvSets) {
        status = addUvSet(meshFn, mesh.polygonCounts, set);
        if (!status) {
            status.perror(MString("unable to add UV set ") + set.name);
            return status;
        }
    }
    if (mesh.colorIds.length() != 0) {
        status = addColors(meshFn, mesh);
        if (!status) {
            status.perror("unable to set colours");
            return status;
        }
    }

    if (mesh.normalFaces.length() != 0) {
        status = meshFn.setFaceVertexNormals(mesh.normals, mesh.normalFaces, mesh.normalIds,
                                             MSpace::kObject);
        if (!status) {
            status.perror("unable to set vertex Normals");
            return status;
        }
    } else if (mesh.normalIds.length() != 0 && mesh.normalIds.length() == mesh.points.length()) {
        status = meshFn.setVertexNormals(mesh.normals, mesh.normalIds, MSpace::kObject);
        if (!status) {
            status.perror("unable to set vertex Normals");
            return status;
        }
    }
    meshFn.updateSurface();
    return MS::kSuccess;
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

    mayaChannels = numericAttr.create("mayaChannels", "mc", MFnNumericData::kBoolean, 0.0);
    addAttribute(mayaChannels);
    missingFrame = enumAttr.create("missingFrame", "mf", kEmpty);
    enumAttr.addField("empty", kEmpty);
    enumAttr.addField("holdLast", kHoldLast);
    addAttribute(missingFrame);

    attributeAffects(bgeoPath, outMesh);
    attributeAffects(frame, outMesh);
    attributeAffects(verbosity, outMesh);
    attributeAffects(invertNormals, outMesh);
    attributeAffects(bgeoPath, outParticles);
    attributeAffects(frame, outParticles);
    attributeAffects(verbosity, outParticles);
    attributeAffects(invertNormals, outParticles);
    attributeAffects(missingFrame, outMesh);
    attributeAffects(mayaChannels, outParticles);
    attributeAffects(missingFrame, outParticles);
    return MS::kSuccess;
}

MStatus KelpReaderNode::compute(const MPlug &plug, MDataBlock &data) {
    // The last guard: nothing a frame does reaches the host as an exception.
    try {
        if (plug == outMesh)
            return computeMesh(plug, data);
        if (plug == outParticles)
            return computeParticles(plug, data);
        return MS::kUnknownParameter;
    } catch (const std::bad_alloc &) {
        MGlobal::displayError("KelpReaderNode: not enough memory to build the frame");
    } catch (const std::exception &e) {
        MGlobal::displayError(MString("KelpReaderNode: unexpected failure (") + e.what() + ")");
    }
    return MS::kFailure;
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
    const bool holdLast = data.inputValue(missingFrame, &status).asShort() == kHoldLast;
    if (!status)
        return status;
    MDataHandle outHandle = data.outputValue(outMesh, &status);
    if (!status)
        return status;

    MFnMeshData dataCreator;
    MObject meshData = dataCreator.create(&status);
    if (!status)
        return status;

    ImportedMesh mesh;
    readBgeo(mesh, path, frameValue, verbosityValue, invert);
    const ImportedMesh *shown = &mesh;
    if (mesh.loaded) {
        if (holdLast) {
            m_heldMesh.reset(new ImportedMesh(mesh));
            m_heldMeshFrame = frameValue;
            m_heldMeshPath = path;
        } else {
            m_heldMesh.reset();
        }
    } else if (holdLast && m_heldMesh && m_heldMeshPath == path) {
        shown = m_heldMesh.get();
        if (verbosityValue >= 1)
            showHeld(m_heldMeshFrame, frameValue, mesh.fileName);
    }

    status = buildMesh(*shown, meshData);
    if (!status)
        return status;
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
    const int verbosityValue = data.inputValue(verbosity, &status).asShort();
    if (!status)
        return status;
    const bool mayaNames = data.inputValue(mayaChannels, &status).asBool();
    if (!status)
        return status;
    const bool holdLast = data.inputValue(missingFrame, &status).asShort() == kHoldLast;
    if (!status)
        return status;

    MFnArrayAttrsData channels;
    MObject particleData = channels.create(&status);
    if (status.statusCode() != MS::kSuccess) {
        std::cerr << "ERROR in fnOutput.create.\n";
        return MS::kFailure;
    }

    const MString fileName = buildFileName(path, frameValue);
    std::unique_ptr<Kelp> geo(new Kelp);
    geo->setLoadFor(KelpLoadFor::Particles);
    const Kelp *shown = geo.get();
    std::string reason;
    if (loadGeometry(*geo, fileName, reason)) {
        if (holdLast) {
            m_heldParticles = std::move(geo);
            m_heldParticlesFrame = frameValue;
            m_heldParticlesPath = path;
            shown = m_heldParticles.get();
        } else {
            m_heldParticles.reset();
        }
    } else {
        // A frame never shows another frame's particles unless asked to:
        // the output gets empty channels and is clean.
        std::cout << "bgeo particle not loaded: " << fileName.asChar() << std::endl;
        MGlobal::displayError(readFailureText(fileName, reason));
        shown = nullptr;
        if (holdLast && m_heldParticles && m_heldParticlesPath == path) {
            shown = m_heldParticles.get();
            if (verbosityValue >= 1)
                showHeld(m_heldParticlesFrame, frameValue, fileName);
        }
    }

    if (shown)
        status = fillParticleChannels(*shown, channels, mayaNames);
    outHandle.set(particleData);
    data.setClean(plug);
    return status;
}
