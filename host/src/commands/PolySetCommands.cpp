// polyUVSet, polyColorSet, polyColorPerVertex and polySoftEdge: the set
// queries and the colour and edge edits of a mesh (a transform stands for
// its shape; with no object, the selection).
//
//   polyUVSet -query -allUVSets MESH        the UV set names, in the mesh's order
//   polyColorSet -query -allColorSets MESH  the colour set names
//   polyColorPerVertex -rgb R G B [-a A] [-colorDisplayOption] MESH
//       one colour on every vertex of the current colour set, made as
//       "colorSet1" when the mesh has none
//   polySoftEdge -angle A MESH
//       edges whose faces meet at more than A degrees become hard, the others
//       soft; -angle 0 makes every edge hard, 180 every edge soft
#include "BuiltinArgs.h"
#include "CommandHelpers.h"
#include "../data/MeshFn.h"

#include <maya/MColor.h>
#include <maya/MColorArray.h>
#include <maya/MFnMesh.h>
#include <maya/MIntArray.h>
#include <maya/MStringArray.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

namespace kelphost {

namespace {

const double kDegrees = 57.29577951308232;

// The one mesh shape a command works on.
bool meshPath(BuiltinContext &ctx, const BuiltinArgs &a, const char *command, MDagPath &path) {
    std::vector<SelectionItem> items;
    if (!objectsOrSelection(ctx, a.positional, items))
        return false;
    if (items.size() != 1) {
        ctx.error = std::string(command) + " needs one mesh";
        return false;
    }
    path = items[0].path;
    if (items[0].kind != SelectionItem::kDag ||
        (!path.hasFn(MFn::kMesh) && !path.extendToShape()) || !path.hasFn(MFn::kMesh)) {
        ctx.error = items[0].name() + " is not a polygon mesh";
        return false;
    }
    return true;
}

bool setNamesQuery(BuiltinContext &ctx, const char *command, const FlagSpec &all, bool colors) {
    const std::vector<FlagSpec> specs = {{"q", "query", 0}, all};
    BuiltinArgs a;
    if (!parseBuiltinArgs(ctx.args, specs, a, ctx.error))
        return false;
    if (!a.has("query") || !a.has(all.longName)) {
        ctx.error = std::string(command) + ": only -query -" + all.longName + " is supported";
        return false;
    }
    MDagPath path;
    if (!meshPath(ctx, a, command, path))
        return false;
    MFnMesh mesh(path);
    MStringArray names;
    if (colors)
        mesh.getColorSetNames(names);
    else
        mesh.getUVSetNames(names);
    std::vector<std::string> out;
    for (unsigned i = 0; i < names.length(); ++i)
        out.push_back(names[i].asChar());
    if (!out.empty())
        ctx.result.setStrings(out);
    return true;
}

bool polyUVSetCommand(BuiltinContext &ctx) {
    return setNamesQuery(ctx, "polyUVSet", {"auv", "allUVSets", 0}, false);
}

bool polyColorSetCommand(BuiltinContext &ctx) {
    return setNamesQuery(ctx, "polyColorSet", {"acs", "allColorSets", 0}, true);
}

bool polyColorPerVertexCommand(BuiltinContext &ctx) {
    const std::vector<FlagSpec> specs = {
        {"rgb", "rgb", 3}, {"a", "alpha", 1}, {"cdo", "colorDisplayOption", 0}};
    BuiltinArgs a;
    if (!parseBuiltinArgs(ctx.args, specs, a, ctx.error))
        return false;
    double rgb[3] = {1.0, 1.0, 1.0};
    double alpha = 1.0;
    for (int i = 0; i < 3 && a.has("rgb"); ++i)
        if (!parseScriptDouble(a.arg("rgb", static_cast<size_t>(i)), rgb[i])) {
            ctx.error = "Invalid value for -rgb: " + a.arg("rgb", static_cast<size_t>(i));
            return false;
        }
    if (a.has("alpha") && !parseScriptDouble(a.arg("alpha"), alpha)) {
        ctx.error = "Invalid value for -alpha: " + a.arg("alpha");
        return false;
    }
    MDagPath path;
    if (!meshPath(ctx, a, "polyColorPerVertex", path))
        return false;
    MFnMesh mesh(path);
    MString current;
    if (!mesh.getCurrentColorSetName(current)) {
        current = mesh.createColorSetWithName("colorSet1");
        mesh.setCurrentColorSetName(current);
    }
    // Keep the colours already there for anything not given.
    MColorArray old;
    mesh.getFaceVertexColors(old, &current);
    MIntArray counts, points;
    mesh.getVertices(counts, points);
    MColorArray colors(static_cast<unsigned>(mesh.numVertices()), MColor(-1, -1, -1, -1));
    for (unsigned fv = 0; fv < points.length(); ++fv)
        if (colors[static_cast<unsigned>(points[fv])].r < 0 && old[fv].r >= 0)
            colors[static_cast<unsigned>(points[fv])] = old[fv];
    for (unsigned p = 0; p < colors.length(); ++p) {
        const float keptAlpha = colors[p].r >= 0 ? colors[p].a : 1.0f;
        MColor c = colors[p].r >= 0 ? colors[p] : MColor(1, 1, 1, 1);
        if (a.has("rgb"))
            c = MColor(static_cast<float>(rgb[0]), static_cast<float>(rgb[1]),
                       static_cast<float>(rgb[2]), keptAlpha);
        if (a.has("alpha"))
            c.a = static_cast<float>(alpha);
        colors[p] = c;
    }
    if (!mesh.setColors(colors, &current) || !mesh.assignColors(points, &current)) {
        ctx.error = "Cannot set the colours of " + std::string(path.partialPathName().asChar());
        return false;
    }
    return true;
}

bool polySoftEdgeCommand(BuiltinContext &ctx) {
    const std::vector<FlagSpec> specs = {{"a", "angle", 1}, {"ch", "constructionHistory", 1}};
    BuiltinArgs a;
    if (!parseBuiltinArgs(ctx.args, specs, a, ctx.error))
        return false;
    double angle = 30.0;
    if (a.has("angle") && !parseScriptDouble(a.arg("angle"), angle)) {
        ctx.error = "Invalid value for -angle: " + a.arg("angle");
        return false;
    }
    MDagPath path;
    if (!meshPath(ctx, a, "polySoftEdge", path))
        return false;
    MFnMesh mesh(path);
    MeshGeom *g = editGeom(mesh);
    if (!g) {
        ctx.error = "Cannot edit the mesh of " + std::string(path.partialPathName().asChar());
        return false;
    }
    // The faces on each edge, then the angle between their normals.
    std::map<std::pair<int, int>, std::vector<int>> faces;
    for (size_t f = 0; f < g->counts.size(); ++f) {
        const int n = g->counts[f], o = g->offsets[f];
        for (int k = 0; k < n; ++k) {
            const int p = g->connects[static_cast<size_t>(o + k)];
            const int q = g->connects[static_cast<size_t>(o + (k + 1) % n)];
            faces[{std::min(p, q), std::max(p, q)}].push_back(static_cast<int>(f));
        }
    }
    g->hardEdges.clear();
    for (const auto &edge : faces) {
        double worst = 0.0;
        const std::vector<int> &around = edge.second;
        for (size_t i = 0; i < around.size(); ++i)
            for (size_t j = i + 1; j < around.size(); ++j)
                worst = std::max(worst, g->faceNormal(around[i]).angle(g->faceNormal(around[j])) *
                                            kDegrees);
        if (angle <= 0.0 || worst > angle)
            g->hardEdges.insert(edge.first);
    }
    g->touch();
    geometryChanged(mesh);
    return true;
}

} // namespace

void registerPolySetCommands(Interpreter &in) {
    in.addBuiltin("polyUVSet", polyUVSetCommand);
    in.addBuiltin("polyColorSet", polyColorSetCommand);
    in.addBuiltin("polyColorPerVertex", polyColorPerVertexCommand);
    in.addBuiltin("polySoftEdge", polySoftEdgeCommand);
}

} // namespace kelphost
