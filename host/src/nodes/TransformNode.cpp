// "transform": translate, rotate (degrees, xyz order), scale; matrix and
// worldMatrix[] (one element per instance, in the order of the DAG paths).
#include <maya/MDagPathArray.h>
#include <maya/MDataBlock.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MPxNode.h>

#include "../core/Access.h"
#include "../graph/Graph.h"
#include "BuiltinType.h"
#include "Builtins.h"

#include <cmath>

namespace kelphost {
namespace {

MObject triple(const char *name, const char *brief, double def) {
    MFnNumericAttribute n;
    MObject kids[3];
    const char *axes[3] = {"X", "Y", "Z"};
    const char *low[3] = {"x", "y", "z"};
    for (int i = 0; i < 3; ++i) {
        kids[i] = n.create(MString(name) + axes[i], MString(brief) + low[i],
                           MFnNumericData::kDouble, def);
        n.setKeyable(true);
        n.setAffectsWorldSpace(true);
    }
    MObject parent = n.create(name, brief, kids[0], kids[1], kids[2]);
    n.setKeyable(true);
    n.setAffectsWorldSpace(true);
    return parent;
}

class TransformNode : public MPxNode {
public:
    static MObject translate, rotate, scale, visibility, matrix, worldMatrix;
    static void *creator() { return new TransformNode; }
    static MStatus initialize() {
        translate = triple("translate", "t", 0.0);
        rotate = triple("rotate", "r", 0.0);
        scale = triple("scale", "s", 1.0);
        MFnNumericAttribute n;
        visibility = n.create("visibility", "v", MFnNumericData::kBoolean, 1);
        n.setKeyable(true);
        MFnTypedAttribute t;
        matrix = t.create("matrix", "m", MFnData::kMatrix, MObject::kNullObj);
        t.setWritable(false);
        t.setStorable(false);
        worldMatrix = t.create("worldMatrix", "wm", MFnData::kMatrix, MObject::kNullObj);
        t.setWritable(false);
        t.setStorable(false);
        t.setArray(true);
        t.setWorldSpace(true);
        for (MObject *a : {&translate, &rotate, &scale, &visibility, &matrix, &worldMatrix})
            addAttribute(*a);
        for (MObject *a : {&translate, &rotate, &scale}) {
            attributeAffects(*a, matrix);
            attributeAffects(*a, worldMatrix);
        }
        return MStatus::kSuccess;
    }
    MStatus compute(const MPlug &plug, MDataBlock &block) override {
        Node *self = static_cast<Node *>(Access::nodeOf(*this));
        if (plug == matrix) {
            block.outputValue(matrix).set(localMatrix(self));
            block.setClean(plug);
            return MStatus::kSuccess;
        }
        if (plug == worldMatrix && plug.isElement()) {
            MDagPathArray paths;
            MDagPath::getAllPathsTo(thisMObject(), paths);
            unsigned i = plug.logicalIndex();
            MMatrix m = i < paths.length() ? paths[i].inclusiveMatrix() : localMatrix(self);
            block.outputValue(plug).set(m);
            block.setClean(plug);
            return MStatus::kSuccess;
        }
        return MStatus::kUnknownParameter;
    }
};

MObject TransformNode::translate, TransformNode::rotate, TransformNode::scale,
    TransformNode::visibility, TransformNode::matrix, TransformNode::worldMatrix;

void read3(Node *n, const MObject &attr, double out[3]) {
    graph::PlugRef r{n, Access::as<Attribute>(attr), -1};
    Slot *s = graph::pull(r);
    double v[4] = {0, 0, 0, 0};
    if (s)
        s->get(v);
    out[0] = v[0];
    out[1] = v[1];
    out[2] = v[2];
}

} // namespace

MMatrix localMatrix(Node *n) {
    if (!n || n->type->name != "transform")
        return MMatrix();
    double t[3], r[3], s[3];
    read3(n, TransformNode::translate, t);
    read3(n, TransformNode::rotate, r);
    read3(n, TransformNode::scale, s);
    const double k = 3.14159265358979323846 / 180.0;
    double S[4][4] = {{s[0], 0, 0, 0}, {0, s[1], 0, 0}, {0, 0, s[2], 0}, {0, 0, 0, 1}};
    double cx = std::cos(r[0] * k), sx = std::sin(r[0] * k);
    double cy = std::cos(r[1] * k), sy = std::sin(r[1] * k);
    double cz = std::cos(r[2] * k), sz = std::sin(r[2] * k);
    double RX[4][4] = {{1, 0, 0, 0}, {0, cx, sx, 0}, {0, -sx, cx, 0}, {0, 0, 0, 1}};
    double RY[4][4] = {{cy, 0, -sy, 0}, {0, 1, 0, 0}, {sy, 0, cy, 0}, {0, 0, 0, 1}};
    double RZ[4][4] = {{cz, sz, 0, 0}, {-sz, cz, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    double T[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {t[0], t[1], t[2], 1}};
    return MMatrix(S) * MMatrix(RX) * MMatrix(RY) * MMatrix(RZ) * MMatrix(T);
}

void registerTransformType(Registry &r) {
    registerBuiltin(r, "transform", 0x4b500002, MFn::kTransform, true, false, "transform",
                    TransformNode::creator, TransformNode::initialize);
}

} // namespace kelphost
