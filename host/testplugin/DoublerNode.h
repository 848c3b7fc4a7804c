// Test plug-in node: output = 2 * input (floats), plus a free string "label".
#pragma once

#include <maya/MPxNode.h>
#include <maya/MTypeId.h>

class DoublerNode : public MPxNode {
public:
    static void *creator();
    static MStatus initialize();
    MStatus compute(const MPlug &plug, MDataBlock &data) override;

    static MTypeId id;
    static MObject input;
    static MObject output;
    static MObject label;
};
