#include "nodes/NodeAttributes.h"

#include <maya/MFnData.h>
#include <maya/MFnEnumAttribute.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnNumericData.h>
#include <maya/MFnStringData.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MString.h>

MStatus createPathAttribute(MObject &attribute, const char *defaultPath) {
    MStatus status;
    MFnStringData stringData;
    MObject defaultObject = stringData.create(MString(defaultPath));
    MFnTypedAttribute typedAttr;
    attribute = typedAttr.create("bgeoPath", "bp", MFnData::kString, MObject::kNullObj, &status);
    typedAttr.setDefault(defaultObject);
    typedAttr.setUsedAsFilename(true); // the host offers a file browser
    return status;
}

MStatus createVerbosityAttribute(MObject &attribute, const char *confirmField) {
    MStatus status;
    MFnEnumAttribute enumAttr;
    attribute = enumAttr.create("verbosity", "vb", 1, &status);
    enumAttr.addField("None", 0);
    enumAttr.addField(confirmField, 1);
    enumAttr.addField("GeoDetails", 2);
    enumAttr.addField("BgeoDetails", 3);
    return status;
}

MObject createFrameAttribute(double defaultFrame) {
    MFnNumericAttribute numericAttr;
    MObject attribute = numericAttr.create("frame", "fr", MFnNumericData::kFloat, defaultFrame);
    numericAttr.setKeyable(true);
    return attribute;
}

MObject createSwitch(const char *longName, const char *shortName, bool defaultValue) {
    MFnNumericAttribute numericAttr;
    MObject attribute =
        numericAttr.create(longName, shortName, MFnNumericData::kBoolean, defaultValue ? 1.0 : 0.0);
    numericAttr.setKeyable(true);
    return attribute;
}

MObject createMeshAttribute(const char *longName, const char *shortName) {
    MFnTypedAttribute typedAttr;
    MObject attribute = typedAttr.create(longName, shortName, MFnData::kMesh, MObject::kNullObj);
    typedAttr.setStorable(false);
    return attribute;
}
