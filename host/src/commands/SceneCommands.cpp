// Built-in commands on the scene: currentTime, dgeval, select, sets.
#include "BuiltinArgs.h"
#include "CommandHelpers.h"
#include "UndoRecorder.h"

#include <maya/MGlobal.h>
#include <maya/MObjectArray.h>
#include <maya/MSelectionList.h>
#include <maya/MTime.h>

#include <memory>

namespace kelphost {

namespace {

// currentTime [-q] [frame]: sets the current time (in frames) and returns it.
// Time changes are not entered into the undo queue.
bool currentTimeCommand(BuiltinContext &ctx) {
    BuiltinArgs a;
    if (!parseBuiltinArgs(ctx.args, {{"q", "query", 0}, {"e", "edit", 0}, {"u", "update", 1}}, a,
                          ctx.error))
        return false;
    if (a.has("query")) {
        if (!a.positional.empty()) {
            ctx.error = "currentTime -q takes no value";
            return false;
        }
        ctx.result.setDouble(scene::currentTime().as(MTime::uiUnit()));
        return true;
    }
    if (a.positional.size() != 1) {
        ctx.error = "currentTime takes one time value";
        return false;
    }
    double frame = 0;
    if (!parseScriptDouble(a.positional[0], frame)) {
        ctx.error = "Invalid time value: " + a.positional[0];
        return false;
    }
    MStatus st = scene::setCurrentTime(MTime(frame, MTime::uiUnit()));
    if (!st) {
        ctx.error = std::string("Cannot set the time: ") + st.errorString().asChar();
        return false;
    }
    ctx.result.setDouble(scene::currentTime().as(MTime::uiUnit()));
    return true;
}

// dgeval node|plug...: evaluates plugs, or every output of nodes.
bool dgevalCommand(BuiltinContext &ctx) {
    BuiltinArgs a;
    if (!parseBuiltinArgs(ctx.args, {{"v", "verbose", 0}}, a, ctx.error))
        return false;
    if (a.positional.empty()) {
        ctx.error = "dgeval needs nodes or attributes";
        return false;
    }
    for (const std::string &name : a.positional) {
        std::vector<SelectionItem> items;
        if (!lookupSelectionItems(name, items)) {
            ctx.error = "No object matches name: " + name;
            return false;
        }
        for (const SelectionItem &i : items) {
            MStatus st = i.kind == SelectionItem::kPlug ? scene::evaluate(i.plug)
                                                        : scene::evaluateNode(i.node);
            if (!st) {
                ctx.error = "Evaluation of " + i.name() + " failed: " + st.errorString().asChar();
                return false;
            }
        }
    }
    return true;
}

bool selectCommand(BuiltinContext &ctx) {
    BuiltinArgs a;
    if (!parseBuiltinArgs(ctx.args,
                          {{"r", "replace", 0},
                           {"add", "add", 0},
                           {"af", "addFirst", 0},
                           {"d", "deselect", 0},
                           {"tgl", "toggle", 0},
                           {"cl", "clear", 0},
                           {"ne", "noExpand", 0}},
                          a, ctx.error))
        return false;
    std::vector<SelectionItem> items;
    for (const std::string &n : a.positional) {
        if (!lookupSelectionItems(n, items)) {
            ctx.error = "No object matches name: " + n;
            return false;
        }
    }
    MSelectionList before;
    MGlobal::getActiveSelectionList(before);
    MSelectionList list;
    for (const SelectionItem &item : items) {
        if (item.kind == SelectionItem::kDag)
            list.add(item.path, MObject::kNullObj, true);
        else if (item.kind == SelectionItem::kPlug)
            list.add(item.plug, true);
        else
            list.add(item.node, true);
    }
    MGlobal::ListAdjustment mode = MGlobal::kReplaceList;
    if (a.has("clear")) {
        list.clear();
    } else if (a.has("add")) {
        mode = MGlobal::kAddToList;
    } else if (a.has("addFirst")) {
        mode = MGlobal::kAddToHeadOfList;
    } else if (a.has("deselect")) {
        mode = MGlobal::kRemoveFromList;
    } else if (a.has("toggle")) {
        mode = MGlobal::kXORWithList;
    }
    MGlobal::setActiveSelectionList(list, mode);
    MSelectionList after;
    MGlobal::getActiveSelectionList(after);
    recordUndo([before]() { MGlobal::setActiveSelectionList(before); },
               [after]() { MGlobal::setActiveSelectionList(after); });
    return true;
}

// sets: -e with -fe/-forceElement, -add/-addElement or -rm/-remove SET and
// members; -q SET lists members; otherwise makes an objectSet of the members.
// sets -q SET: the set's members.
bool querySet(BuiltinContext &ctx, const BuiltinArgs &a) {
    if (a.positional.size() != 1) {
        ctx.error = "sets -q takes one set";
        return false;
    }
    MObject set;
    if (!findNodeOrFail(ctx, a.positional[0], set))
        return false;
    MObjectArray members = scene::setMembers(set);
    std::vector<std::string> names;
    for (unsigned int i = 0; i < members.length(); ++i)
        names.push_back(nameOf(members[i]));
    if (!names.empty())
        ctx.result.setStrings(names);
    return true;
}

void removeSetMember(const MObject &set, const MObject &member) {
    if (!scene::isSetMember(set, member))
        return;
    scene::removeFromSet(set, member);
    recordUndo([set, member]() { scene::addToSet(set, member); },
               [set, member]() { scene::removeFromSet(set, member); });
}

// Adds a member; with force it leaves the sets it may not share with this one.
bool addSetMember(BuiltinContext &ctx, const MObject &set, const std::string &setName,
                  const SelectionItem &item, bool force) {
    const MObject member = item.node;
    const bool wasMember = scene::isSetMember(set, member);
    MObjectArray left;
    MStatus st = scene::addToSet(set, member, force, &left);
    if (!st) {
        ctx.error =
            "Cannot add " + item.name() + " to " + setName + ": " + st.errorString().asChar();
        return false;
    }
    std::vector<MObject> leftSets;
    for (unsigned int i = 0; i < left.length(); ++i)
        leftSets.push_back(left[i]);
    recordUndo(
        [set, member, wasMember, leftSets]() {
            if (!wasMember)
                scene::removeFromSet(set, member);
            for (const MObject &s : leftSets)
                scene::addToSet(s, member);
        },
        [set, member, force]() { scene::addToSet(set, member, force); });
    return true;
}

// sets -e -forceElement|-addElement|-remove SET members...
bool editSet(BuiltinContext &ctx, const BuiltinArgs &a) {
    std::string setName;
    int mode = 0; // 0 force, 1 add, 2 remove
    if (a.has("forceElement"))
        setName = a.arg("forceElement");
    else if (a.has("addElement")) {
        setName = a.arg("addElement");
        mode = 1;
    } else if (a.has("remove")) {
        setName = a.arg("remove");
        mode = 2;
    } else {
        ctx.error = "sets -e needs -forceElement, -addElement or -remove";
        return false;
    }
    MObject set;
    if (!findNodeOrFail(ctx, setName, set))
        return false;
    if (!set.hasFn(MFn::kSet)) {
        ctx.error = setName + " is not a set";
        return false;
    }
    std::vector<SelectionItem> items;
    if (!objectsOrSelection(ctx, a.positional, items))
        return false;
    for (const SelectionItem &item : items) {
        if (mode == 2)
            removeSetMember(set, item.node);
        else if (!addSetMember(ctx, set, setName, item, mode == 0))
            return false;
    }
    return true;
}

// sets [-n NAME] [-em] members...: a new objectSet.
bool createSet(BuiltinContext &ctx, const BuiltinArgs &a) {
    std::vector<SelectionItem> items;
    if (!a.has("empty") && !objectsOrSelection(ctx, a.positional, items))
        return false;
    MStatus st;
    MObject set = scene::createNode(MString("objectSet"), MString(a.arg("name").c_str()),
                                    MObject::kNullObj, nullptr, &st);
    if (!st) {
        ctx.error = std::string("Cannot create a set: ") + st.errorString().asChar();
        return false;
    }
    for (const SelectionItem &item : items)
        scene::addToSet(set, item.node);
    auto record = std::make_shared<scene::RemovedNode>();
    recordUndo([set, record]() { scene::removeNode(set, record.get()); },
               [record]() { scene::restoreNode(*record); });
    ctx.result.setString(nameOf(set));
    return true;
}

bool setsCommand(BuiltinContext &ctx) {
    BuiltinArgs a;
    if (!parseBuiltinArgs(ctx.args,
                          {{"e", "edit", 0},
                           {"q", "query", 0},
                           {"fe", "forceElement", 1},
                           {"add", "addElement", 1},
                           {"rm", "remove", 1},
                           {"n", "name", 1},
                           {"em", "empty", 0}},
                          a, ctx.error))
        return false;
    if (a.has("query"))
        return querySet(ctx, a);
    if (a.has("edit"))
        return editSet(ctx, a);
    return createSet(ctx, a);
}

} // namespace

void registerSceneCommands(Interpreter &in) {
    in.addBuiltin("currentTime", currentTimeCommand);
    in.addBuiltin("dgeval", dgevalCommand);
    in.addBuiltin("select", selectCommand);
    in.addBuiltin("sets", setsCommand);
}

} // namespace kelphost
