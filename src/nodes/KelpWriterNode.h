// The writer node: writes its input mesh to the current frame's geometry
// file each time its output is pulled.
#ifndef KELP_NODES_KELPWRITERNODE_H
#define KELP_NODES_KELPWRITERNODE_H

#include <maya/MDataBlock.h>
#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MPxNode.h>
#include <maya/MStatus.h>
#include <maya/MTypeId.h>

class KelpWriterNode : public MPxNode {
public:
    KelpWriterNode();
    ~KelpWriterNode() override;

    MStatus compute(const MPlug &plug, MDataBlock &data) override;

    static void *creator();
    static MStatus initialize();

    static MTypeId id;

    static MObject bgeoPath;
    static MObject frame;
    static MObject inMesh;
    static MObject write;
    static MObject pointsOnly;
    static MObject verbosity;
    static MObject outMesh;
    static MObject invertNormals;
    static MObject exportAllUvs;
    static MObject exportColors;
    static MObject format;

private:
    MStatus computeOutput(const MPlug &plug, MDataBlock &data);
};

#endif
