// Small plug-in node types the graph tests register through MFnPlugin.
#ifndef KELP_TESTS_HOST_TESTNODES_H
#define KELP_TESTS_HOST_TESTNODES_H

#include <maya/MDataBlock.h>
#include <maya/MFnEnumAttribute.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnStringData.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MPlug.h>
#include <maya/MPxNode.h>
#include <maya/MTypeId.h>

// output = 2 * input (+ 100 when mode is 1); label passes through to echo.
class TestDoubler : public MPxNode {
public:
    static MTypeId id;
    static MObject input, mode, label, output, echo;
    static void *creator() { return new TestDoubler; }
    static MStatus initialize() {
        MFnNumericAttribute n;
        input = n.create("input", "in", MFnNumericData::kFloat, 1.5);
        n.setKeyable(true);
        output = n.create("output", "out", MFnNumericData::kFloat, 0.0);
        n.setWritable(false);
        n.setStorable(false);
        MFnEnumAttribute e;
        mode = e.create("mode", "md", 0);
        e.addField("plain", 0);
        e.addField("offset", 1);
        MFnStringData sd;
        MObject def = sd.create("default label");
        MFnTypedAttribute t;
        label = t.create("label", "lb", MFnData::kString, def);
        echo = t.create("echo", "ec", MFnData::kString, MObject::kNullObj);
        t.setWritable(false);
        for (MObject *a : {&input, &mode, &label, &output, &echo})
            addAttribute(*a);
        attributeAffects(input, output);
        attributeAffects(mode, output);
        attributeAffects(label, echo);
        return MS::kSuccess;
    }
    MStatus compute(const MPlug &plug, MDataBlock &block) override {
        if (plug == output) {
            float in = block.inputValue(input).asFloat();
            short m = block.inputValue(mode).asShort();
            block.outputValue(output).set(2.0f * in + (m == 1 ? 100.0f : 0.0f));
            block.setClean(plug);
            return MS::kSuccess;
        }
        if (plug == echo) {
            MString text = block.inputValue(label).asString();
            block.outputValue(echo).set(MString("echo: ") + text);
            block.setClean(plug);
            return MS::kSuccess;
        }
        return MS::kUnknownParameter;
    }
};

#endif
