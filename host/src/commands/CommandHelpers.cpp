#include "CommandHelpers.h"

#include "ActiveSelection.h"
#include "UndoRecorder.h"

#include <maya/MGlobal.h>
#include <maya/MSelectionList.h>
#include <maya/MStringArray.h>

namespace kelphost {

bool findNodeOrFail(BuiltinContext &ctx, const std::string &name, MObject &node) {
    std::vector<SelectionItem> items;
    if (name.find('.') == std::string::npos && lookupSelectionItems(name, items) &&
        items.size() == 1) {
        node = items[0].node;
        return true;
    }
    ctx.error = "No object matches name: " + name;
    return false;
}

bool findPlugOrFail(BuiltinContext &ctx, const std::string &path, MPlug &plug) {
    MStatus st;
    plug = scene::findPlug(MString(path.c_str()), &st);
    if (st && !plug.isNull())
        return true;
    ctx.error = "No object matches name: " + path;
    return false;
}

bool objectsOrSelection(BuiltinContext &ctx, const std::vector<std::string> &names,
                        std::vector<SelectionItem> &items) {
    if (names.empty()) {
        MSelectionList active;
        MGlobal::getActiveSelectionList(active);
        MStringArray strings;
        active.getSelectionStrings(strings);
        for (unsigned int i = 0; i < strings.length(); ++i)
            lookupSelectionItems(strings[i].asChar(), items);
        return true;
    }
    for (const std::string &n : names) {
        if (!lookupSelectionItems(n, items)) {
            ctx.error = "No object matches name: " + n;
            return false;
        }
    }
    return true;
}

void replaceSelection(const std::vector<SelectionItem> &items) {
    MSelectionList before;
    MGlobal::getActiveSelectionList(before);
    MSelectionList after;
    for (const SelectionItem &item : items) {
        if (item.kind == SelectionItem::kDag)
            after.add(item.path, MObject::kNullObj, true);
        else if (item.kind == SelectionItem::kPlug)
            after.add(item.plug, true);
        else
            after.add(item.node, true);
    }
    MGlobal::setActiveSelectionList(after);
    recordUndo([before]() { MGlobal::setActiveSelectionList(before); },
               [after]() { MGlobal::setActiveSelectionList(after); });
}

std::string nameOf(const MObject &node) {
    return scene::nodeName(node).asChar();
}

std::string plugName(const MPlug &plug) {
    return plug.name().asChar();
}

} // namespace kelphost
