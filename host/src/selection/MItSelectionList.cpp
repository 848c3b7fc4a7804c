// MItSelectionList: walks a copy of a selection list. With a type filter, an
// item that does not match is replaced by the matching nodes below it in the
// DAG (a selected transform yields its mesh shape for MFn::kMesh); items with
// nothing matching are skipped.
#include "SelectionData.h"

#include <maya/MFnDagNode.h>
#include <maya/MItSelectionList.h>
#include <maya/MSelectionList.h>
#include <maya/MStringArray.h>

namespace kelphost {

struct SelectionIterData {
    MSelectionList list;
    MFn::Type filter = MFn::kInvalid;
    std::vector<SelectionItem> entries;
    size_t pos = 0;
};

namespace {

void addMatchingBelow(const MDagPath &path, MFn::Type filter, std::vector<SelectionItem> &out) {
    MFnDagNode fn(path.node());
    const unsigned int n = fn.childCount();
    for (unsigned int i = 0; i < n; ++i) {
        MDagPath child(path);
        if (!child.push(fn.child(i)))
            continue;
        MObject node = child.node();
        if (node.hasFn(filter)) {
            SelectionItem item;
            item.kind = SelectionItem::kDag;
            item.node = node;
            item.path = child;
            out.push_back(item);
        } else {
            addMatchingBelow(child, filter, out);
        }
    }
}

void build(SelectionIterData &d) {
    d.entries.clear();
    d.pos = 0;
    const unsigned int n = d.list.length();
    for (unsigned int i = 0; i < n; ++i) {
        SelectionItem item;
        MDagPath path;
        MPlug plug;
        if (d.list.getDagPath(i, path)) {
            item.kind = SelectionItem::kDag;
            item.path = path;
            item.node = path.node();
        } else if (d.list.getPlug(i, plug)) {
            item.kind = SelectionItem::kPlug;
            item.plug = plug;
            item.node = plug.node();
        } else {
            d.list.getDependNode(i, item.node);
        }
        if (d.filter == MFn::kInvalid || item.node.hasFn(d.filter)) {
            d.entries.push_back(item);
        } else if (item.kind == SelectionItem::kDag) {
            addMatchingBelow(item.path, d.filter, d.entries);
        }
    }
}

} // namespace

} // namespace kelphost

using kelphost::SelectionItem;

MItSelectionList::MItSelectionList(const MSelectionList &list, MFn::Type filter,
                                   MStatus *ReturnStatus)
    : fData(new kelphost::SelectionIterData) {
    fData->list = list;
    fData->filter = filter;
    kelphost::build(*fData);
    if (ReturnStatus)
        *ReturnStatus = MS::kSuccess;
}

MItSelectionList::~MItSelectionList() {
    delete fData;
}

bool MItSelectionList::isDone(MStatus *ReturnStatus) {
    if (ReturnStatus)
        *ReturnStatus = MS::kSuccess;
    return fData->pos >= fData->entries.size();
}

MStatus MItSelectionList::next() {
    if (fData->pos >= fData->entries.size())
        return MS::kFailure;
    ++fData->pos;
    return MS::kSuccess;
}

MStatus MItSelectionList::reset() {
    fData->pos = 0;
    return MS::kSuccess;
}

MStatus MItSelectionList::getDependNode(MObject &depNode) {
    if (isDone())
        return MS::kFailure;
    depNode = fData->entries[fData->pos].node;
    return MS::kSuccess;
}

MStatus MItSelectionList::getDagPath(MDagPath &dagPath, MObject &component) {
    component = MObject::kNullObj;
    return getDagPath(dagPath);
}

MStatus MItSelectionList::getDagPath(MDagPath &dagPath) {
    if (isDone())
        return MS::kFailure;
    const SelectionItem &item = fData->entries[fData->pos];
    if (item.kind != SelectionItem::kDag)
        return MS::kFailure;
    dagPath = item.path;
    return MS::kSuccess;
}

MStatus MItSelectionList::getPlug(MPlug &plug) {
    if (isDone())
        return MS::kFailure;
    const SelectionItem &item = fData->entries[fData->pos];
    if (item.kind != SelectionItem::kPlug)
        return MS::kFailure;
    plug = item.plug;
    return MS::kSuccess;
}

MStatus MItSelectionList::getStrings(MStringArray &array) {
    if (isDone())
        return MS::kFailure;
    array.clear();
    array.append(MString(fData->entries[fData->pos].name().c_str()));
    return MS::kSuccess;
}

MStatus MItSelectionList::setFilter(MFn::Type filter) {
    fData->filter = filter;
    kelphost::build(*fData);
    return MS::kSuccess;
}

MItSelectionList::selItemType MItSelectionList::itemType(MStatus *ReturnStatus) {
    if (isDone()) {
        if (ReturnStatus)
            *ReturnStatus = MS::kFailure;
        return kUnknownItem;
    }
    if (ReturnStatus)
        *ReturnStatus = MS::kSuccess;
    switch (fData->entries[fData->pos].kind) {
    case SelectionItem::kDag:
        return kDagSelectionItem;
    case SelectionItem::kPlug:
        return kPlugSelectionItem;
    default:
        return kDNselectionItem;
    }
}

bool MItSelectionList::hasComponents(MStatus *ReturnStatus) const {
    if (ReturnStatus)
        *ReturnStatus = MS::kSuccess;
    return false;
}
