// The selection side of MGlobal: the active selection list.
#include "ActiveSelection.h"
#include "NameLookup.h"
#include "UndoRecorder.h"
#include "../Scene.h"

#include <maya/MGlobal.h>

namespace kelphost {

MSelectionList &activeSelection() {
    hookCommandSideReset();
    static auto *list = new MSelectionList; // never destroyed, like the scene's nodes
    return *list;
}

void resetCommandSide() {
    activeSelection().clear();
    UndoHistory::instance().flush();
}

void hookCommandSideReset() {
    static bool hooked = false;
    if (!hooked) {
        hooked = true;
        scene::addResetHook(&resetCommandSide);
    }
}

} // namespace kelphost

namespace {

// Drops items whose nodes have left the scene (deleted since they were selected).
void pruneActive() {
    MSelectionList &active = kelphost::activeSelection();
    for (unsigned int i = active.length(); i-- > 0;) {
        MObject node;
        active.getDependNode(i, node);
        if (!kelphost::scene::isInScene(node))
            active.remove(i);
    }
}

} // namespace

MStatus MGlobal::getActiveSelectionList(MSelectionList &dest, bool) {
    pruneActive();
    dest = kelphost::activeSelection();
    return MS::kSuccess;
}

MStatus MGlobal::setActiveSelectionList(const MSelectionList &src, ListAdjustment mode) {
    MSelectionList &active = kelphost::activeSelection();
    switch (mode) {
    case kReplaceList:
        active = src;
        break;
    case kXORWithList:
        active.merge(src, MSelectionList::kXORWithList);
        break;
    case kAddToList:
        active.merge(src, MSelectionList::kMergeNormal);
        break;
    case kRemoveFromList:
        active.merge(src, MSelectionList::kRemoveFromList);
        break;
    case kAddToHeadOfList: {
        MSelectionList merged(src);
        merged.merge(active, MSelectionList::kMergeNormal);
        active = merged;
        break;
    }
    }
    return MS::kSuccess;
}

MStatus MGlobal::getSelectionListByName(const MString &name, MSelectionList &list) {
    list.clear();
    return list.add(name);
}

MStatus MGlobal::selectByName(const MString &name, ListAdjustment mode) {
    MSelectionList list;
    MStatus st = list.add(name);
    if (!st)
        return st;
    return setActiveSelectionList(list, mode);
}

MStatus MGlobal::clearSelectionList() {
    kelphost::activeSelection().clear();
    return MS::kSuccess;
}
