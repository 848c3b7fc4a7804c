#include "nodes/KelpReaderNode.h"

#include "bridge/FileName.h"
#include "bridge/GeometryReason.h"
#include "bridge/ParticleChannels.h"
#include "bridge/ReadBgeo.h"
#include "nodes/NodeAttributes.h"

#include <Kelp>

#include <maya/MDataHandle.h>
#include <maya/MFloatArray.h>
#include <maya/MFloatPointArray.h>
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
#include <optional>
#include <string>
#include <utility>
#include <vector>

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

// An array the read left unset is an empty one.
template <class Array> Array &present(std::optional<Array> &array) {
    if (!array)
        array.emplace();
    return *array;
}

// "holding frame 11 for frame 12 (<file of frame 12>)"
void showHeld(float held, float wanted, const MString &fileName) {
    MGlobal::displayInfo(MString("holding frame ") + held + " for frame " + wanted + " (" +
                         fileName + ")");
}

// A further UV set, or the colour set "Cd" made current, on a new mesh.
MStatus addUvSet(MFnMesh &meshFn, const MIntArray &polygonCounts, ImportedUvSet &set) {
    MStatus status;
    const MString name = meshFn.createUVSetDataMeshWithName(set.name, &status);
    if (!status)
        return status;
    status = meshFn.setUVs(present(set.u), present(set.v), &name);
    if (!status)
        return status;
    return meshFn.assignUVs(polygonCounts, present(set.uvIds), &name);
}

MStatus addColors(MFnMesh &meshFn, ImportedMesh &mesh) {
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
    status = meshFn.setColors(present(mesh.colors), &name);
    if (!status)
        return status;
    return meshFn.assignColors(present(mesh.colorIds), &name);
}

// The new mesh's points, polygons and "map1" UV values.
MStatus createMesh(MFnMesh &meshFn, ImportedMesh &mesh, MObject &meshData) {
    const MFloatPointArray &points = present(mesh.points);
    const MIntArray &connects = present(mesh.polygonConnects);
    if (!mesh.pointIdsInRange) // the host builds meshes without checking them
        return MS::kInvalidParameter;
    MStatus status;
    meshFn.create(static_cast<int>(points.length()), static_cast<int>(mesh.numPolygons), points,
                  present(mesh.polygonCounts), connects, present(mesh.uArray), present(mesh.vArray),
                  meshData, &status);
    return status;
}

// Point normals, or face-vertex normals when the mesh has them.
MStatus setNormals(MFnMesh &meshFn, ImportedMesh &mesh) {
    MVectorArray &normals = present(mesh.normals);
    MIntArray &normalIds = present(mesh.normalIds);
    MIntArray &normalFaces = present(mesh.normalFaces);
    if (normalFaces.length() != 0)
        return meshFn.setFaceVertexNormals(normals, normalFaces, normalIds, MSpace::kObject);
    if (normalIds.length() != 0 && normalIds.length() == mesh.points->length())
        return meshFn.setVertexNormals(normals, normalIds, MSpace::kObject);
    return MS::kSuccess;
}

// Builds the mesh of `mesh` inside `meshData`; reports and returns the first
// host refusal. The arrays are handed to the host as they are (its normal
// setters take them by non-const reference but leave them unchanged).
MStatus buildMesh(ImportedMesh &mesh, MObject &meshData) {
    MFnMesh meshFn;
    MStatus status = createMesh(meshFn, mesh, meshData);
    if (!status) {
        MGlobal::displayError(MString("Unable to create mesh: ") + status.errorString());
        return status;
    }
    const MIntArray &polygonCounts = *mesh.polygonCounts;
    if (present(mesh.uvIds).length() != 0) {
        status = meshFn.assignUVs(polygonCounts, *mesh.uvIds);
        if (!status) {
            status.perror("unable to assignUv's");
            return status;
        }
    }
    for (ImportedUvSet &set : mesh.extraUvSets) {
        status = addUvSet(meshFn, polygonCounts, set);
        if (!status) {
            status.perror(MString("unable to add UV set ") + set.name);
            return status;
        }
    }
    if (present(mesh.colorIds).length() != 0) {
        status = addColors(meshFn, mesh);
        if (!status) {
            status.perror("unable to set colours");
            return status;
        }
    }
    status = setNormals(meshFn, mesh);
    if (!status) {
        status.perror("unable to set vertex Normals");
        return status;
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
    KELP_RETURN_IF_FAILED_SAY(createPathAttribute(bgeoPath, "/home/Kelp/bgeos/KelpRead.#.bgeo"),
                              "create particlePath attribute");
    KELP_RETURN_IF_FAILED_SAY(createVerbosityAttribute(verbosity, "readConfirm"),
                              "create verbosity attribute");
    KELP_RETURN_IF_FAILED_SAY(addAttribute(verbosity), "verbosity attr not added");

    frame = createFrameAttribute(6.0);
    invertNormals = createSwitch("invertNormals", "invn", true);
    outMesh = createMeshAttribute("outMesh", "om");
    for (const MObject *attribute : {&bgeoPath, &frame, &invertNormals, &outMesh})
        addAttribute(*attribute);

    MStatus status;
    MFnTypedAttribute typedAttr;
    outParticles = typedAttr.create("outParticles", "outParts", MFnData::kDynArrayAttrs,
                                    MObject::kNullObj, &status);
    if (!status) {
        std::cerr << "ERROR creating = outparticles Attr.\n";
        return MS::kFailure;
    }
    addAttribute(outParticles);

    MFnNumericAttribute numericAttr;
    mayaChannels = numericAttr.create("mayaChannels", "mc", MFnNumericData::kBoolean, 0.0);
    addAttribute(mayaChannels);
    MFnEnumAttribute enumAttr;
    missingFrame = enumAttr.create("missingFrame", "mf", kEmpty);
    enumAttr.addField("empty", kEmpty);
    enumAttr.addField("holdLast", kHoldLast);
    addAttribute(missingFrame);

    for (const MObject *output : {&outMesh, &outParticles})
        for (const MObject *input : {&bgeoPath, &frame, &verbosity, &invertNormals})
            attributeAffects(*input, *output);
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

MStatus KelpReaderNode::readInputs(MDataBlock &data, FrameInputs &in) {
    MDataHandle handle;
    KELP_RETURN_IF_FAILED(inputHandle(data, bgeoPath, handle));
    in.path = handle.asString();
    KELP_RETURN_IF_FAILED(inputHandle(data, frame, handle));
    in.frame = handle.asFloat();
    KELP_RETURN_IF_FAILED(inputHandle(data, verbosity, handle));
    in.verbosity = handle.asShort();
    KELP_RETURN_IF_FAILED(inputHandle(data, invertNormals, handle));
    in.invertNormals = handle.asBool();
    KELP_RETURN_IF_FAILED(inputHandle(data, mayaChannels, handle));
    in.mayaNames = handle.asBool();
    KELP_RETURN_IF_FAILED(inputHandle(data, missingFrame, handle));
    in.holdLast = handle.asShort() == kHoldLast;
    return MS::kSuccess;
}

MStatus KelpReaderNode::computeMesh(const MPlug &plug, MDataBlock &data) {
    FrameInputs in;
    KELP_RETURN_IF_FAILED(readInputs(data, in));
    MStatus status;
    MDataHandle outHandle = data.outputValue(outMesh, &status);
    KELP_RETURN_IF_FAILED(status);
    MFnMeshData dataCreator;
    MObject meshData = dataCreator.create(&status);
    KELP_RETURN_IF_FAILED(status);

    // A frame that could not be read (readBgeo has said why) shows as an
    // empty mesh, or as the last frame read when asked to hold it.
    std::unique_ptr<ImportedMesh> mesh(new ImportedMesh);
    const MStatus read = readBgeo(*mesh, in.path, in.frame, in.verbosity, in.invertNormals);
    ImportedMesh *shown = mesh.get();
    if (read) {
        if (in.holdLast) { // the frame just read is kept as it is
            m_heldMesh = std::move(mesh);
            m_heldMeshFrame = in.frame;
            m_heldMeshPath = in.path;
        } else {
            m_heldMesh.reset();
        }
    } else if (in.holdLast && m_heldMesh && m_heldMeshPath == in.path) {
        shown = m_heldMesh.get();
        if (in.verbosity >= 1)
            showHeld(m_heldMeshFrame, in.frame, mesh->fileName);
    }

    MStatus built;
    try {
        built = buildMesh(*shown, meshData);
    } catch (const std::bad_alloc &) {
        // Read, but too large for the memory left to build: an empty frame,
        // said as a failed read of its file.
        m_heldMesh.reset();
        if (in.verbosity > 0) {
            MGlobal::displayInfo(MString("Error: unable to read bgeo:  (") + shown->fileName + ")");
            MGlobal::displayError(readFailureText(shown->fileName, "not enough memory"));
        }
        meshData = dataCreator.create(&status);
        KELP_RETURN_IF_FAILED(status);
        ImportedMesh empty;
        built = buildMesh(empty, meshData);
    }
    KELP_RETURN_IF_FAILED(built);
    outHandle.set(meshData);
    data.setClean(plug);
    return MS::kSuccess;
}

// The detail whose channels the frame shows: the one just read into geo, or
// the held one, or none.
const Kelp *KelpReaderNode::particlesToShow(std::unique_ptr<Kelp> &geo, const FrameInputs &in) {
    const MString fileName = buildFileName(in.path, in.frame);
    std::string reason;
    if (loadGeometry(*geo, fileName, reason)) {
        if (!in.holdLast) {
            m_heldParticles.reset();
            return geo.get();
        }
        m_heldParticles = std::move(geo);
        m_heldParticlesFrame = in.frame;
        m_heldParticlesPath = in.path;
        return m_heldParticles.get();
    }
    // A frame never shows another frame's particles unless asked to: the
    // output gets empty channels and is clean.
    std::cout << "bgeo particle not loaded: " << fileName.asChar() << std::endl;
    MGlobal::displayError(readFailureText(fileName, reason));
    if (!in.holdLast || !m_heldParticles || !(m_heldParticlesPath == in.path))
        return nullptr;
    if (in.verbosity >= 1)
        showHeld(m_heldParticlesFrame, in.frame, fileName);
    return m_heldParticles.get();
}

MStatus KelpReaderNode::computeParticles(const MPlug &plug, MDataBlock &data) {
    MStatus status;
    MDataHandle outHandle = data.outputValue(outParticles, &status);
    if (status.statusCode() != MS::kSuccess) {
        std::cerr << "ERROR in hOutArray = pointAttributes.outputArrayValue.\n";
        return MS::kFailure;
    }
    FrameInputs in;
    KELP_RETURN_IF_FAILED(readInputs(data, in));

    MFnArrayAttrsData channels;
    MObject particleData = channels.create(&status);
    if (status.statusCode() != MS::kSuccess) {
        std::cerr << "ERROR in fnOutput.create.\n";
        return MS::kFailure;
    }

    std::unique_ptr<Kelp> geo(new Kelp);
    geo->setLoadFor(KelpLoadFor::Particles);
    if (const Kelp *shown = particlesToShow(geo, in))
        status = fillParticleChannels(*shown, channels, in.mayaNames);
    outHandle.set(particleData);
    data.setClean(plug);
    return status;
}
