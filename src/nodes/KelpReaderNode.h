// The reader node: the current frame's geometry file as a mesh or as
// particle channels.
#ifndef KELP_NODES_KELPREADERNODE_H
#define KELP_NODES_KELPREADERNODE_H

#include <maya/MDataBlock.h>
#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MPxNode.h>
#include <maya/MStatus.h>
#include <maya/MTypeId.h>

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

private:
    MStatus computeMesh(const MPlug &plug, MDataBlock &data);
    MStatus computeParticles(const MPlug &plug, MDataBlock &data);
};

#endif
