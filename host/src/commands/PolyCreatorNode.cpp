#include "PolyCreatorNode.h"

#include "PolyPrimitives.h"
#include "../Scene.h"

#include <maya/MDataBlock.h>
#include <maya/MDataHandle.h>
#include <maya/MFloatArray.h>
#include <maya/MFloatPointArray.h>
#include <maya/MFnMesh.h>
#include <maya/MFnMeshData.h>
#include <maya/MFnNumericAttribute.h>
#define MNoVersionString
#include <maya/MFnPlugin.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MIntArray.h>
#include <maya/MPlug.h>
#include <maya/MPxNode.h>
#include <maya/MTypeId.h>

#include <algorithm>

namespace kelphost {

namespace {

template <PolyKind K> class PolyCreator : public MPxNode {
public:
    static void *creator() { return new PolyCreator<K>; }

    static MStatus initialize() {
        MFnNumericAttribute n;
        const bool sphere = K == PolyKind::kSphere;
        width = n.create("width", "w", MFnNumericData::kDouble, 1.0);
        height = n.create("height", "h", MFnNumericData::kDouble, 1.0);
        depth = n.create("depth", "d", MFnNumericData::kDouble, 1.0);
        radius = n.create("radius", "r", MFnNumericData::kDouble, 1.0);
        const int defSub = K == PolyKind::kCube ? 1 : K == PolyKind::kPlane ? 10 : 20;
        subX = n.create("subdivisionsX", "sx", MFnNumericData::kInt, defSub);
        subY = n.create("subdivisionsY", "sy", MFnNumericData::kInt, defSub);
        subZ = n.create("subdivisionsZ", "sz", MFnNumericData::kInt, defSub);
        MFnTypedAttribute t;
        output = t.create("output", "out", MFnData::kMesh, MObject::kNullObj);
        t.setStorable(false);
        t.setWritable(false);
        MObject inputs[] = {width, height, depth, radius, subX, subY, subZ};
        for (MObject &a : inputs)
            addAttribute(a);
        addAttribute(output);
        for (MObject &a : inputs)
            attributeAffects(a, output);
        (void)sphere;
        return MS::kSuccess;
    }

    MStatus compute(const MPlug &plug, MDataBlock &data) override {
        if (plug != output)
            return MS::kUnknownParameter;
        const double w = data.inputValue(width).asDouble();
        const double h = data.inputValue(height).asDouble();
        const double d = data.inputValue(depth).asDouble();
        const double r = data.inputValue(radius).asDouble();
        const int sx = data.inputValue(subX).asInt();
        const int sy = data.inputValue(subY).asInt();
        const int sz = data.inputValue(subZ).asInt();
        PolyPrimitive p;
        switch (K) {
        case PolyKind::kCube:
            p = makePolyCube(w, h, d, std::max(1, sx), std::max(1, sy), std::max(1, sz));
            break;
        case PolyKind::kPlane:
            p = makePolyPlane(w, h, std::max(1, sx), std::max(1, sy));
            break;
        case PolyKind::kSphere:
            p = makePolySphere(r, std::max(3, sx), std::max(2, sy));
            break;
        }
        MFloatPointArray points;
        for (int i = 0; i < p.numVertices(); ++i)
            points.append(p.points[3 * i], p.points[3 * i + 1], p.points[3 * i + 2]);
        MIntArray counts, connects, uvCounts, uvIds;
        for (int c : p.counts) {
            counts.append(c);
            uvCounts.append(c);
        }
        for (int c : p.connects)
            connects.append(c);
        for (int c : p.uvIds)
            uvIds.append(c);
        MFloatArray u, v;
        for (size_t i = 0; i < p.u.size(); ++i) {
            u.append(p.u[i]);
            v.append(p.v[i]);
        }
        MFnMeshData dataFn;
        MObject meshData = dataFn.create();
        MFnMesh meshFn;
        MStatus st;
        meshFn.create(p.numVertices(), p.numFaces(), points, counts, connects, u, v, meshData, &st);
        if (!st)
            return st;
        st = meshFn.assignUVs(uvCounts, uvIds);
        if (!st)
            return st;
        data.outputValue(output).set(meshData);
        data.setClean(plug);
        return MS::kSuccess;
    }

    static MObject width, height, depth, radius, subX, subY, subZ, output;
};

template <PolyKind K> MObject PolyCreator<K>::width;
template <PolyKind K> MObject PolyCreator<K>::height;
template <PolyKind K> MObject PolyCreator<K>::depth;
template <PolyKind K> MObject PolyCreator<K>::radius;
template <PolyKind K> MObject PolyCreator<K>::subX;
template <PolyKind K> MObject PolyCreator<K>::subY;
template <PolyKind K> MObject PolyCreator<K>::subZ;
template <PolyKind K> MObject PolyCreator<K>::output;

// Type ids from the range kept for in-house nodes, clear of the plug-ins' ids.
const unsigned int kCubeId = 0x7ff10, kPlaneId = 0x7ff11, kSphereId = 0x7ff12;

} // namespace

const char *polyCreatorTypeName(PolyKind kind) {
    switch (kind) {
    case PolyKind::kCube:
        return "polyCube";
    case PolyKind::kPlane:
        return "polyPlane";
    default:
        return "polySphere";
    }
}

bool ensurePolyCreatorTypes() {
    if (scene::typeExists(MString("polyCube")) && scene::typeExists(MString("polyPlane")) &&
        scene::typeExists(MString("polySphere")))
        return true;
    MObject plugin = scene::findPluginObject(MString("kelpHostPrimitives"));
    if (plugin.isNull())
        plugin = scene::createPluginObject(MString("kelpHostPrimitives"), MString());
    MFnPlugin fn(plugin, "Kelp stand-in host", "1.0", "Any");
    bool ok = true;
    if (!scene::typeExists(MString("polyCube")))
        ok = fn.registerNode("polyCube", MTypeId(kCubeId), PolyCreator<PolyKind::kCube>::creator,
                             PolyCreator<PolyKind::kCube>::initialize) &&
             ok;
    if (!scene::typeExists(MString("polyPlane")))
        ok = fn.registerNode("polyPlane", MTypeId(kPlaneId), PolyCreator<PolyKind::kPlane>::creator,
                             PolyCreator<PolyKind::kPlane>::initialize) &&
             ok;
    if (!scene::typeExists(MString("polySphere")))
        ok = fn.registerNode("polySphere", MTypeId(kSphereId),
                             PolyCreator<PolyKind::kSphere>::creator,
                             PolyCreator<PolyKind::kSphere>::initialize) &&
             ok;
    return ok;
}

} // namespace kelphost
