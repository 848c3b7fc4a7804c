// The reader node: the current frame's geometry file as a mesh or as
// particle channels.
#ifndef KELP_NODES_KELPREADERNODE_H
#define KELP_NODES_KELPREADERNODE_H

#include <maya/MDataBlock.h>
#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MPxNode.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MTypeId.h>

#include "bridge/ReadBgeo.h"

#include <memory>

class Kelp;

class KelpReaderNode : public MPxNode {
public:
    KelpReaderNode();
    ~KelpReaderNode() override;

    MStatus compute(const MPlug &plug, MDataBlock &data) override;

    static void *creator();
    static MStatus initialize();

    static MTypeId id;

    static MObject bgeoPath;
    static MObject verbosity;
    static MObject frame;
    static MObject invertNormals;
    static MObject outMesh;
    static MObject outParticles;
    static MObject mayaChannels;
    static MObject missingFrame;

    // missingFrame values
    enum MissingFrame { kEmpty = 0, kHoldLast = 1 };

private:
    // The inputs that say what a frame shows.
    struct FrameInputs {
        MString path;
        float frame = 0.0f;
        int verbosity = 0;
        bool invertNormals = false;
        bool mayaNames = false;
        bool holdLast = false;
    };
    MStatus readInputs(MDataBlock &data, FrameInputs &in);
    MStatus computeMesh(const MPlug &plug, MDataBlock &data);
    MStatus computeParticles(const MPlug &plug, MDataBlock &data);
    const Kelp *particlesToShow(std::unique_ptr<Kelp> &geo, const FrameInputs &in);

    // With missingFrame "holdLast": the last frame each output read, and the
    // path pattern it was read through, shown again while the current
    // frame's file of that pattern is missing or unreadable.
    std::unique_ptr<ImportedMesh> m_heldMesh;
    float m_heldMeshFrame = 0.0f;
    MString m_heldMeshPath;
    std::unique_ptr<Kelp> m_heldParticles;
    float m_heldParticlesFrame = 0.0f;
    MString m_heldParticlesPath;
};

#endif
