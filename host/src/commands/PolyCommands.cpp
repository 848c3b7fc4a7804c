// polyCube, polyPlane, polySphere, polyEvaluate and exactWorldBoundingBox.
//
// A primitive is a transform ("pCube1") with a mesh shape ("pCubeShape1") in
// initialShadingGroup, fed by a history node ("polyCube1") through
// output -> inMesh; the result is the transform's and the history node's
// names. With -ch 0 (no construction history) the mesh keeps the geometry
// and the history node is deleted; the result is the transform's name only.
#include "BuiltinArgs.h"
#include "CommandHelpers.h"
#include "PolyCreatorNode.h"
#include "UndoRecorder.h"

#include <maya/MFnMesh.h>
#include <maya/MIntArray.h>
#include <maya/MObjectArray.h>
#include <maya/MPointArray.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <set>

namespace kelphost {

namespace {

struct NumberFlag {
    const char *flag; // long name in the command
    const char *attr; // attribute of the history node
    bool integer;
};

// What a primitive command's flags ask for.
struct PrimitiveRequest {
    std::string name;
    bool history = true;
    std::vector<std::pair<std::string, double>> values; // creator attribute, value
};

// A number flag's value: integers at least 1, other numbers above 0.
bool readNumberFlag(BuiltinContext &ctx, const BuiltinArgs &a, const NumberFlag &nf, double &v) {
    int iv = 0;
    const std::string text = a.arg(nf.flag);
    if (nf.integer ? !parseScriptInt(text, iv) : !parseScriptDouble(text, v)) {
        ctx.error = std::string("Invalid value for -") + nf.flag + ": " + text;
        return false;
    }
    if (nf.integer && iv < 1) {
        ctx.error = std::string("-") + nf.flag + " must be at least 1";
        return false;
    }
    if (nf.integer)
        v = iv;
    else if (v <= 0) {
        ctx.error = std::string("-") + nf.flag + " must be greater than 0";
        return false;
    }
    return true;
}

bool parsePrimitiveArgs(BuiltinContext &ctx, const char *baseName,
                        const std::vector<NumberFlag> &numbers, PrimitiveRequest &req) {
    std::vector<FlagSpec> specs = {{"n", "name", 1},
                                   {"ch", "constructionHistory", 1},
                                   {"cuv", "createUVs", 1},
                                   {"ax", "axis", 3},
                                   {"o", "object", 1}};
    static const FlagSpec all[] = {{"w", "width", 1},          {"h", "height", 1},
                                   {"d", "depth", 1},          {"r", "radius", 1},
                                   {"sx", "subdivisionsX", 1}, {"sy", "subdivisionsY", 1},
                                   {"sz", "subdivisionsZ", 1}};
    for (const NumberFlag &nf : numbers)
        for (const FlagSpec &s : all)
            if (std::string(s.longName) == nf.flag)
                specs.push_back(s);
    BuiltinArgs a;
    if (!parseBuiltinArgs(ctx.args, specs, a, ctx.error))
        return false;
    if (!a.positional.empty()) {
        ctx.error = std::string("Too many arguments: ") + a.positional[0];
        return false;
    }
    if (a.has("constructionHistory") &&
        !parseScriptBool(a.arg("constructionHistory"), req.history)) {
        ctx.error = "Invalid value for -constructionHistory: " + a.arg("constructionHistory");
        return false;
    }
    for (const NumberFlag &nf : numbers) {
        double v = 0;
        if (a.has(nf.flag) && !readNumberFlag(ctx, a, nf, v))
            return false;
        if (a.has(nf.flag))
            req.values.push_back({nf.attr, v});
    }
    req.name = a.has("name") ? a.arg("name") : std::string(baseName) + "1";
    return true;
}

// "pCube2" gets the shape "pCubeShape2", "box" gets "boxShape".
std::string shapeNameFor(const std::string &xformName) {
    size_t digits = xformName.size();
    while (digits > 0 && std::isdigit(static_cast<unsigned char>(xformName[digits - 1])))
        --digits;
    return xformName.substr(0, digits) + "Shape" + xformName.substr(digits);
}

void removeNodes(const std::vector<MObject> &made) {
    for (auto it = made.rbegin(); it != made.rend(); ++it)
        if (!it->isNull() && scene::isInScene(*it))
            scene::removeNode(*it);
}

// The creator's values set and its output connected to the shape's input.
bool wireCreator(BuiltinContext &ctx, const PrimitiveRequest &req, const MObject &creator,
                 const MObject &shape) {
    for (const auto &v : req.values) {
        MPlug p = scene::findPlug(MString((nameOf(creator) + "." + v.first).c_str()));
        if (p.isNull() || !p.setValue(v.second)) {
            ctx.error = "Cannot set " + v.first;
            return false;
        }
    }
    MPlug out = scene::findPlug(MString((nameOf(creator) + ".output").c_str()));
    MPlug in = scene::findPlug(MString((nameOf(shape) + ".inMesh").c_str()));
    if (out.isNull() || in.isNull() || !scene::connect(out, in)) {
        ctx.error = "Cannot connect the primitive's history";
        return false;
    }
    return true;
}

// The transform, its mesh shape and the creator node, wired; made[] holds
// them in that order. On failure nothing is left in the scene.
bool createPrimitiveNodes(BuiltinContext &ctx, PolyKind kind, const PrimitiveRequest &req,
                          std::vector<MObject> &made) {
    MStatus st;
    MObject xform = scene::createNode(MString("transform"), MString(req.name.c_str()),
                                      MObject::kNullObj, nullptr, &st);
    if (!st) {
        ctx.error = std::string("Cannot create the transform: ") + st.errorString().asChar();
        return false;
    }
    MObject shape = scene::createNode(MString("mesh"), MString(shapeNameFor(nameOf(xform)).c_str()),
                                      xform, nullptr, &st);
    MObject creator =
        scene::createNode(MString(polyCreatorTypeName(kind)), MString(), MObject(), nullptr, &st);
    made = {xform, shape, creator};
    if (shape.isNull() || creator.isNull()) {
        removeNodes(made);
        ctx.error = "Cannot create the primitive's nodes";
        return false;
    }
    if (!wireCreator(ctx, req, creator, shape)) {
        removeNodes(made);
        return false;
    }
    return true;
}

// Undo takes the nodes out (newest first); redo puts them back.
void recordPrimitiveUndo(const std::vector<MObject> &made) {
    auto records = std::make_shared<std::vector<scene::RemovedNode>>();
    recordUndo(
        [made, records]() {
            records->clear();
            for (auto it = made.rbegin(); it != made.rend(); ++it) {
                scene::RemovedNode r;
                if (scene::removeNode(*it, &r))
                    records->push_back(r);
            }
        },
        [records]() {
            for (auto it = records->rbegin(); it != records->rend(); ++it)
                scene::restoreNode(*it);
        });
}

bool makePrimitive(BuiltinContext &ctx, PolyKind kind, const char *baseName,
                   const std::vector<NumberFlag> &numbers) {
    PrimitiveRequest req;
    if (!parsePrimitiveArgs(ctx, baseName, numbers, req))
        return false;
    if (!ensurePolyCreatorTypes()) {
        ctx.error = "The primitive node types cannot be registered";
        return false;
    }
    std::vector<MObject> made;
    if (!createPrimitiveNodes(ctx, kind, req, made))
        return false;
    const MObject xform = made[0], shape = made[1], creator = made[2];
    MObject sg = scene::findNode(MString("initialShadingGroup"));
    if (!sg.isNull())
        scene::addToSet(sg, shape, true);
    if (!req.history) {
        // Pull the geometry into the shape, then drop the history node: a
        // broken connection leaves the destination its last value.
        scene::evaluate(scene::findPlug(MString((nameOf(shape) + ".inMesh").c_str())));
        scene::removeNode(creator);
        made.pop_back();
    }
    recordPrimitiveUndo(made);
    replaceSelection({itemForNode(xform)});
    std::vector<std::string> result = {nameOf(xform)};
    if (req.history)
        result.push_back(nameOf(creator));
    ctx.result.setStrings(result);
    return true;
}

bool polyCubeCommand(BuiltinContext &ctx) {
    return makePrimitive(ctx, PolyKind::kCube, "pCube",
                         {{"width", "width", false},
                          {"height", "height", false},
                          {"depth", "depth", false},
                          {"subdivisionsX", "subdivisionsX", true},
                          {"subdivisionsY", "subdivisionsY", true},
                          {"subdivisionsZ", "subdivisionsZ", true}});
}

bool polyPlaneCommand(BuiltinContext &ctx) {
    return makePrimitive(ctx, PolyKind::kPlane, "pPlane",
                         {{"width", "width", false},
                          {"height", "height", false},
                          {"subdivisionsX", "subdivisionsX", true},
                          {"subdivisionsY", "subdivisionsY", true}});
}

bool polySphereCommand(BuiltinContext &ctx) {
    return makePrimitive(ctx, PolyKind::kSphere, "pSphere",
                         {{"radius", "radius", false},
                          {"subdivisionsX", "subdivisionsX", true},
                          {"subdivisionsY", "subdivisionsY", true}});
}

// polyEvaluate [-v] [-f] [-e] [-uv] [-fv] object: counts of a mesh (a
// transform stands for its shape). One flag gives a number, several a list
// in the order given; no flag gives vertex, edge, face and UV counts.
bool polyEvaluateCommand(BuiltinContext &ctx) {
    const std::vector<FlagSpec> specs = {{"v", "vertex", 0},
                                         {"e", "edge", 0},
                                         {"f", "face", 0},
                                         {"uv", "uvcoord", 0},
                                         {"fv", "faceVertex", 0}};
    BuiltinArgs a;
    if (!parseBuiltinArgs(ctx.args, specs, a, ctx.error))
        return false;
    std::vector<SelectionItem> items;
    if (!objectsOrSelection(ctx, a.positional, items))
        return false;
    if (items.size() != 1) {
        ctx.error = "polyEvaluate needs one mesh";
        return false;
    }
    MDagPath path = items[0].path;
    if (items[0].kind != SelectionItem::kDag ||
        (!path.hasFn(MFn::kMesh) && !path.extendToShape()) || !path.hasFn(MFn::kMesh)) {
        ctx.error = items[0].name() + " is not a polygon mesh";
        return false;
    }
    MStatus st;
    MFnMesh mesh(path, &st);
    if (!st) {
        ctx.error = "Cannot read the mesh of " + items[0].name();
        return false;
    }
    // Flags in the order they were written.
    std::vector<std::string> wanted;
    for (const ScriptWord &w : ctx.args) {
        if (!isFlagWord(w))
            continue;
        const std::string n = w.text.substr(1);
        for (const FlagSpec &s : specs)
            if (n == s.shortName || n == s.longName)
                wanted.push_back(s.longName);
    }
    if (wanted.empty())
        wanted = {"vertex", "edge", "face", "uvcoord"};
    std::vector<int> counts;
    for (const std::string &w : wanted) {
        if (w == "vertex")
            counts.push_back(mesh.numVertices());
        else if (w == "face")
            counts.push_back(mesh.numPolygons());
        else if (w == "uvcoord")
            counts.push_back(mesh.numUVs());
        else if (w == "faceVertex")
            counts.push_back(mesh.numFaceVertices());
        else {
            MIntArray c, v;
            mesh.getVertices(c, v);
            std::set<std::pair<int, int>> edges;
            unsigned int k = 0;
            for (unsigned int f = 0; f < c.length(); ++f) {
                const int n = c[f];
                for (int i = 0; i < n; ++i) {
                    int p = v[k + i], q = v[k + (i + 1) % n];
                    edges.insert({std::min(p, q), std::max(p, q)});
                }
                k += n;
            }
            counts.push_back(static_cast<int>(edges.size()));
        }
    }
    if (counts.size() == 1)
        ctx.result.setInt(counts[0]);
    else
        ctx.result.setInts(counts);
    return true;
}

// exactWorldBoundingBox [objects]: the box around the world-space points of
// the meshes named (or selected), as xmin ymin zmin xmax ymax zmax; six
// zeros when they have no points.
bool exactWorldBoundingBoxCommand(BuiltinContext &ctx) {
    BuiltinArgs a;
    if (!parseBuiltinArgs(ctx.args, {}, a, ctx.error))
        return false;
    std::vector<SelectionItem> items;
    if (!objectsOrSelection(ctx, a.positional, items))
        return false;
    if (items.empty()) {
        ctx.error = "exactWorldBoundingBox needs an object";
        return false;
    }
    double low[3] = {0, 0, 0}, high[3] = {0, 0, 0};
    bool any = false;
    for (const SelectionItem &item : items) {
        MDagPath path = item.path;
        if (item.kind != SelectionItem::kDag ||
            (!path.hasFn(MFn::kMesh) && !path.extendToShape()) || !path.hasFn(MFn::kMesh)) {
            ctx.error = item.name() + " is not a polygon mesh";
            return false;
        }
        MStatus st;
        MFnMesh mesh(path, &st);
        MPointArray points;
        if (!st || !mesh.getPoints(points, MSpace::kWorld)) {
            ctx.error = "Cannot read the mesh of " + item.name();
            return false;
        }
        for (unsigned i = 0; i < points.length(); ++i) {
            const double p[3] = {points[i].x, points[i].y, points[i].z};
            for (int c = 0; c < 3; ++c) {
                low[c] = any ? std::min(low[c], p[c]) : p[c];
                high[c] = any ? std::max(high[c], p[c]) : p[c];
            }
            any = true;
        }
    }
    ctx.result.setDoubles({low[0], low[1], low[2], high[0], high[1], high[2]});
    return true;
}

} // namespace

void registerPolyCommands(Interpreter &in) {
    in.addBuiltin("exactWorldBoundingBox", exactWorldBoundingBoxCommand);
    in.addBuiltin("polyCube", polyCubeCommand);
    in.addBuiltin("polyPlane", polyPlaneCommand);
    in.addBuiltin("polySphere", polySphereCommand);
    in.addBuiltin("polyEvaluate", polyEvaluateCommand);
}

} // namespace kelphost
