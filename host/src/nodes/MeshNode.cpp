// "mesh": inMesh -> outMesh -> worldMesh[] (one element per instance, carrying
// the instance's world matrix). Without geometry on inMesh the shape keeps the
// geometry it was given (MFnMesh::create, or edits through MFnMesh).
#include <maya/MDagPathArray.h>
#include <maya/MDataBlock.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MPxNode.h>

#include "../core/Access.h"
#include "../data/MeshGeom.h"
#include "../graph/Graph.h"
#include "BuiltinType.h"
#include "Builtins.h"

namespace kelphost {
namespace {

class MeshNode : public MPxNode {
public:
    static MObject inMesh, outMesh, worldMesh;
    MObject own; // the data this shape may edit in place

    static void *creator() { return new MeshNode; }
    static MStatus initialize() {
        MFnTypedAttribute t;
        inMesh = t.create("inMesh", "i", MFnData::kMesh, MObject::kNullObj);
        t.setStorable(true);
        outMesh = t.create("outMesh", "o", MFnData::kMesh, MObject::kNullObj);
        t.setWritable(true);
        worldMesh = t.create("worldMesh", "w", MFnData::kMesh, MObject::kNullObj);
        t.setArray(true);
        t.setWritable(false);
        t.setStorable(false);
        t.setWorldSpace(true);
        addAttribute(inMesh);
        addAttribute(outMesh);
        addAttribute(worldMesh);
        attributeAffects(inMesh, outMesh);
        attributeAffects(inMesh, worldMesh);
        attributeAffects(outMesh, worldMesh);
        return MStatus::kSuccess;
    }
    MStatus compute(const MPlug &plug, MDataBlock &block) override {
        if (plug == outMesh) {
            // The input's geometry when there is one (connected, or kept from a
            // connection since broken); otherwise the shape keeps its own.
            MObject data = block.inputValue(inMesh).data();
            if (!data.isNull())
                block.outputValue(outMesh).set(data);
            block.setClean(plug);
            return MStatus::kSuccess;
        }
        if (plug == worldMesh && plug.isElement()) {
            MObject local = block.inputValue(outMesh).data();
            MeshData *src = Access::as<MeshData>(local);
            if (src) {
                MDagPathArray paths;
                MDagPath::getAllPathsTo(thisMObject(), paths);
                unsigned i = plug.logicalIndex();
                MeshData *w = new MeshData;
                MObject wObj = Access::wrap(w);
                w->geom = src->geom;
                w->matrix = i < paths.length() ? paths[i].inclusiveMatrix() : MMatrix();
                block.outputValue(plug).set(wObj);
            }
            block.setClean(plug);
            return MStatus::kSuccess;
        }
        return MStatus::kUnknownParameter;
    }
};

MObject MeshNode::inMesh, MeshNode::outMesh, MeshNode::worldMesh;

MeshNode *meshUser(Node *shape) {
    return shape && shape->type->name == "mesh" ? static_cast<MeshNode *>(shape->user) : nullptr;
}

} // namespace

MObject meshShapeData(Node *shape) {
    if (!shape || shape->type->name != "mesh")
        return MObject();
    Slot *s = graph::pull(graph::PlugRef{shape, Access::as<Attribute>(MeshNode::outMesh), -1});
    return s ? s->data : MObject();
}

MObject editableMeshData(Node *shape) {
    MeshNode *user = meshUser(shape);
    if (!user)
        return MObject();
    MObject current = meshShapeData(shape);
    if (!current.isNull() && current == user->own)
        return current;
    MeshData *copy = new MeshData;
    MObject copyObj = Access::wrap(copy);
    if (MeshGeom *g = geometryOf(current))
        copy->geom = Access::wrap(g->clone());
    else
        return MObject();
    if (Slot *s = shape->slot(Access::as<Attribute>(MeshNode::outMesh)))
        s->data = copyObj;
    user->own = copyObj;
    return copyObj;
}

void setMeshShapeData(Node *shape, const MObject &data) {
    MeshNode *user = meshUser(shape);
    Attribute *out = Access::as<Attribute>(MeshNode::outMesh);
    Slot *s = shape ? shape->slot(out) : nullptr;
    if (!user || !s)
        return;
    s->data = data;
    user->own = data;
    graph::changed(graph::PlugRef{shape, out, -1});
}

void registerMeshType(Registry &r) {
    registerBuiltin(r, "mesh", 0x4b500003, MFn::kMesh, true, true, "polySurfaceShape",
                    MeshNode::creator, MeshNode::initialize);
}

} // namespace kelphost
