#include "DoublerNode.h"

#include <maya/MDataBlock.h>
#include <maya/MDataHandle.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnStringData.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MPlug.h>

MTypeId DoublerNode::id(0x7f001);
MObject DoublerNode::input;
MObject DoublerNode::output;
MObject DoublerNode::label;

void *DoublerNode::creator() {
    return new DoublerNode;
}

MStatus DoublerNode::initialize() {
    MFnNumericAttribute nAttr;
    MStatus st;
    input = nAttr.create("input", "in", MFnNumericData::kFloat, 0.0, &st);
    CHECK_MSTATUS_AND_RETURN_IT(st);
    nAttr.setKeyable(true);
    output = nAttr.create("output", "out", MFnNumericData::kFloat, 0.0, &st);
    CHECK_MSTATUS_AND_RETURN_IT(st);
    nAttr.setWritable(false);
    nAttr.setStorable(false);
    MFnStringData text;
    MFnTypedAttribute tAttr;
    label = tAttr.create("label", "lb", MFnData::kString, text.create("none"), &st);
    CHECK_MSTATUS_AND_RETURN_IT(st);
    CHECK_MSTATUS_AND_RETURN_IT(addAttribute(label));
    CHECK_MSTATUS_AND_RETURN_IT(addAttribute(input));
    CHECK_MSTATUS_AND_RETURN_IT(addAttribute(output));
    return attributeAffects(input, output);
}

MStatus DoublerNode::compute(const MPlug &plug, MDataBlock &data) {
    if (plug != output)
        return MS::kUnknownParameter;
    MStatus st;
    MDataHandle in = data.inputValue(input, &st);
    CHECK_MSTATUS_AND_RETURN_IT(st);
    MDataHandle out = data.outputValue(output, &st);
    CHECK_MSTATUS_AND_RETURN_IT(st);
    out.set(2.0f * in.asFloat());
    data.setClean(plug);
    return MS::kSuccess;
}
