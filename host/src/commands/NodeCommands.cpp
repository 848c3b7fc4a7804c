// Built-in commands on nodes: createNode, delete, rename, objExists, nodeType,
// ls, listRelatives, parent.
#include "BuiltinArgs.h"
#include "CommandHelpers.h"
#include "UndoRecorder.h"

#include <maya/MDagPath.h>
#include <maya/MObjectArray.h>

#include <memory>

namespace kelphost {

namespace {

// Undo of node creation or deletion: the nodes taken out, put back in reverse.
struct RemovedNodes {
    std::vector<scene::RemovedNode> records;
};

// Removes `node` and the DAG children that have no other parent (deepest first).
void removeTree(const MObject &node, RemovedNodes &out) {
    MObjectArray children = scene::dagChildren(node);
    for (unsigned int i = 0; i < children.length(); ++i)
        if (scene::dagParents(children[i]).length() <= 1)
            removeTree(children[i], out);
    scene::RemovedNode r;
    if (scene::removeNode(node, &r))
        out.records.push_back(r);
}

void restoreAll(RemovedNodes &r) {
    for (auto it = r.records.rbegin(); it != r.records.rend(); ++it)
        scene::restoreNode(*it);
}

void removeAgain(RemovedNodes &r) {
    RemovedNodes again;
    for (const scene::RemovedNode &rec : r.records) {
        scene::RemovedNode n;
        if (scene::removeNode(rec.node, &n))
            again.records.push_back(n);
    }
    r = again;
}

// Records the undo of nodes just created (in creation order).
void recordCreation(const std::vector<MObject> &made) {
    auto state = std::make_shared<RemovedNodes>();
    auto nodes = made;
    recordUndo(
        [state, nodes]() {
            state->records.clear();
            for (auto it = nodes.rbegin(); it != nodes.rend(); ++it) {
                scene::RemovedNode r;
                if (scene::removeNode(*it, &r))
                    state->records.push_back(r);
            }
        },
        [state]() { restoreAll(*state); });
}

bool createNodeCommand(BuiltinContext &ctx) {
    BuiltinArgs a;
    if (!parseBuiltinArgs(ctx.args, {{"n", "name", 1}, {"p", "parent", 1}, {"ss", "skipSelect", 0}},
                          a, ctx.error))
        return false;
    if (a.positional.size() != 1) {
        ctx.error = "createNode takes one node type";
        return false;
    }
    const MString type(a.positional[0].c_str());
    if (!scene::typeExists(type)) {
        ctx.error = "Unknown object type: " + a.positional[0];
        return false;
    }
    MObject parent;
    if (a.has("parent")) {
        if (!findNodeOrFail(ctx, a.arg("parent"), parent))
            return false;
        if (!scene::typeIsDag(type) || !parent.hasFn(MFn::kTransform)) {
            ctx.error = "Cannot parent a " + a.positional[0] + " under " + a.arg("parent");
            return false;
        }
    }
    MStatus st;
    MObject madeParent;
    MObject node =
        scene::createNode(type, MString(a.arg("name").c_str()), parent, &madeParent, &st);
    if (!st || node.isNull()) {
        ctx.error =
            "Cannot create a node of type " + a.positional[0] + ": " + st.errorString().asChar();
        return false;
    }
    std::vector<MObject> made;
    if (!madeParent.isNull())
        made.push_back(madeParent);
    made.push_back(node);
    recordCreation(made);
    if (!a.has("skipSelect"))
        replaceSelection({itemForNode(node)});
    ctx.result.setString(nameOf(node));
    return true;
}

bool deleteCommand(BuiltinContext &ctx) {
    BuiltinArgs a;
    if (!parseBuiltinArgs(ctx.args, {}, a, ctx.error))
        return false;
    std::vector<SelectionItem> items;
    if (!objectsOrSelection(ctx, a.positional, items))
        return false;
    if (items.empty()) {
        ctx.error = "Not enough objects or values.";
        return false;
    }
    auto state = std::make_shared<RemovedNodes>();
    for (const SelectionItem &item : items) {
        if (item.kind == SelectionItem::kPlug) {
            ctx.error = "Cannot delete an attribute: " + item.name();
            restoreAll(*state);
            return false;
        }
        if (scene::isInScene(item.node))
            removeTree(item.node, *state);
    }
    recordUndo([state]() { restoreAll(*state); }, [state]() { removeAgain(*state); });
    return true;
}

bool renameCommand(BuiltinContext &ctx) {
    BuiltinArgs a;
    if (!parseBuiltinArgs(ctx.args, {}, a, ctx.error))
        return false;
    if (a.positional.size() != 2) {
        ctx.error = "rename takes an object and a new name";
        return false;
    }
    MObject node;
    if (!findNodeOrFail(ctx, a.positional[0], node))
        return false;
    const MString old = scene::nodeName(node);
    MString given;
    MStatus st = scene::renameNode(node, MString(a.positional[1].c_str()), &given);
    if (!st) {
        ctx.error = std::string("Cannot rename ") + old.asChar() + ": " + st.errorString().asChar();
        return false;
    }
    recordUndo([node, old]() { scene::renameNode(node, old); },
               [node, given]() { scene::renameNode(node, given); });
    ctx.result.setString(given.asChar());
    return true;
}

bool objExistsCommand(BuiltinContext &ctx) {
    BuiltinArgs a;
    if (!parseBuiltinArgs(ctx.args, {}, a, ctx.error))
        return false;
    if (a.positional.size() != 1) {
        ctx.error = "objExists takes one name";
        return false;
    }
    std::vector<SelectionItem> items;
    ctx.result.setInt(lookupSelectionItems(a.positional[0], items) ? 1 : 0);
    return true;
}

bool nodeTypeCommand(BuiltinContext &ctx) {
    BuiltinArgs a;
    if (!parseBuiltinArgs(ctx.args, {}, a, ctx.error))
        return false;
    if (a.positional.size() != 1) {
        ctx.error = "nodeType takes one object";
        return false;
    }
    std::vector<SelectionItem> items;
    if (!lookupSelectionItems(a.positional[0], items) || items.size() != 1) {
        ctx.error = "No object matches name: " + a.positional[0];
        return false;
    }
    ctx.result.setString(scene::typeNameOfNode(items[0].node).asChar());
    return true;
}

std::string displayName(const MObject &node, bool longNames) {
    if (longNames && node.hasFn(MFn::kDagNode)) {
        MDagPath path;
        if (MDagPath::getAPathTo(node, path))
            return path.fullPathName().asChar();
    }
    return nameOf(node);
}

bool typeMatches(const MObject &node, const BuiltinArgs &a) {
    auto it = a.flags.find("type");
    if (it == a.flags.end())
        return true;
    for (const auto &use : it->second)
        if (scene::nodeIsType(node, MString(use[0].c_str())))
            return true;
    return false;
}

bool lsCommand(BuiltinContext &ctx) {
    BuiltinArgs a;
    if (!parseBuiltinArgs(ctx.args,
                          {{"type", "type", 1},
                           {"typ", "typ", 1},
                           {"sl", "selection", 0},
                           {"l", "long", 0},
                           {"dag", "dagObjects", 0},
                           {"tr", "transforms", 0},
                           {"s", "shapes", 0}},
                          a, ctx.error))
        return false;
    if (a.has("typ"))
        a.flags["type"].insert(a.flags["type"].end(), a.flags["typ"].begin(), a.flags["typ"].end());
    const bool longNames = a.has("long");
    std::vector<MObject> nodes;
    std::vector<std::string> names;
    if (a.has("selection")) {
        std::vector<SelectionItem> items;
        if (!objectsOrSelection(ctx, {}, items))
            return false;
        for (const SelectionItem &i : items)
            if (i.kind != SelectionItem::kPlug)
                nodes.push_back(i.node);
    } else if (!a.positional.empty()) {
        for (const std::string &p : a.positional) {
            std::vector<SelectionItem> items;
            if (!lookupSelectionItems(p, items))
                continue; // ls names nothing for a missing object
            for (const SelectionItem &i : items) {
                if (i.kind == SelectionItem::kPlug)
                    names.push_back(i.name());
                else
                    nodes.push_back(i.node);
            }
        }
    } else {
        MObjectArray all = scene::allNodes();
        for (unsigned int i = 0; i < all.length(); ++i)
            nodes.push_back(all[i]);
    }
    for (const MObject &n : nodes) {
        if (!typeMatches(n, a))
            continue;
        if (a.has("dagObjects") && !n.hasFn(MFn::kDagNode))
            continue;
        if (a.has("transforms") && !n.hasFn(MFn::kTransform))
            continue;
        if (a.has("shapes") && !n.hasFn(MFn::kShape))
            continue;
        names.push_back(displayName(n, longNames));
    }
    ctx.result.setStrings(names);
    return true;
}

void collectDescendants(const MObject &node, std::vector<MObject> &out) {
    MObjectArray children = scene::dagChildren(node);
    for (unsigned int i = 0; i < children.length(); ++i) {
        collectDescendants(children[i], out);
        out.push_back(children[i]);
    }
}

bool listRelativesCommand(BuiltinContext &ctx) {
    BuiltinArgs a;
    if (!parseBuiltinArgs(ctx.args,
                          {{"s", "shapes", 0},
                           {"p", "parent", 0},
                           {"c", "children", 0},
                           {"ad", "allDescendents", 0},
                           {"f", "fullPath", 0},
                           {"typ", "type", 1}},
                          a, ctx.error))
        return false;
    std::vector<SelectionItem> items;
    if (!objectsOrSelection(ctx, a.positional, items))
        return false;
    std::vector<std::string> names;
    for (const SelectionItem &item : items) {
        if (item.kind == SelectionItem::kPlug)
            continue;
        std::vector<MObject> found;
        if (a.has("parent")) {
            MObjectArray parents = scene::dagParents(item.node);
            for (unsigned int i = 0; i < parents.length(); ++i)
                found.push_back(parents[i]);
        } else if (a.has("allDescendents")) {
            collectDescendants(item.node, found);
        } else {
            MObjectArray children = scene::dagChildren(item.node);
            for (unsigned int i = 0; i < children.length(); ++i)
                found.push_back(children[i]);
        }
        for (const MObject &n : found) {
            if (a.has("shapes") && !n.hasFn(MFn::kShape))
                continue;
            if (!typeMatches(n, a))
                continue;
            names.push_back(displayName(n, a.has("fullPath")));
        }
    }
    if (!names.empty())
        ctx.result.setStrings(names);
    return true;
}

// parent [-add] [-w] child... parent: moves (or with -add instances) DAG nodes.
bool parentCommand(BuiltinContext &ctx) {
    BuiltinArgs a;
    if (!parseBuiltinArgs(ctx.args, {{"add", "addObject", 0}, {"w", "world", 0}}, a, ctx.error))
        return false;
    const bool toWorld = a.has("world");
    if (a.positional.size() < (toWorld ? 1u : 2u)) {
        ctx.error = "parent needs the objects and a new parent";
        return false;
    }
    MObject parent;
    const size_t nChildren = toWorld ? a.positional.size() : a.positional.size() - 1;
    if (!toWorld && !findNodeOrFail(ctx, a.positional.back(), parent))
        return false;
    if (!toWorld && !parent.hasFn(MFn::kTransform)) {
        ctx.error = a.positional.back() + " is not a transform";
        return false;
    }
    std::vector<std::string> result;
    for (size_t i = 0; i < nChildren; ++i) {
        MObject child;
        if (!findNodeOrFail(ctx, a.positional[i], child))
            return false;
        if (!child.hasFn(MFn::kDagNode)) {
            ctx.error = a.positional[i] + " is not a DAG object";
            return false;
        }
        MObjectArray oldArr = scene::dagParents(child);
        std::vector<MObject> old;
        for (unsigned int k = 0; k < oldArr.length(); ++k)
            old.push_back(oldArr[k]);
        const bool add = a.has("addObject");
        MStatus st = add ? scene::addParent(child, parent) : scene::setParent(child, parent);
        if (!st) {
            ctx.error = "Cannot parent " + a.positional[i] + ": " + st.errorString().asChar();
            return false;
        }
        auto restore = [child, old]() {
            scene::setParent(child, old.empty() ? MObject::kNullObj : old[0]);
            for (size_t k = 1; k < old.size(); ++k)
                scene::addParent(child, old[k]);
        };
        auto apply = [child, parent, add]() {
            if (add)
                scene::addParent(child, parent);
            else
                scene::setParent(child, parent);
        };
        recordUndo(restore, apply);
        result.push_back(nameOf(child));
    }
    ctx.result.setStrings(result);
    return true;
}

} // namespace

void registerNodeCommands(Interpreter &in) {
    in.addBuiltin("createNode", createNodeCommand);
    in.addBuiltin("delete", deleteCommand);
    in.addBuiltin("rename", renameCommand);
    in.addBuiltin("objExists", objExistsCommand);
    in.addBuiltin("nodeType", nodeTypeCommand);
    in.addBuiltin("ls", lsCommand);
    in.addBuiltin("listRelatives", listRelativesCommand);
    in.addBuiltin("parent", parentCommand);
}

} // namespace kelphost
