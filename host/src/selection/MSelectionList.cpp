// MSelectionList: an ordered list of nodes, DAG paths and plugs.
#include "SelectionData.h"
#include "NameLookup.h"

#include <maya/MFnDependencyNode.h>
#include <maya/MSelectionList.h>
#include <maya/MStringArray.h>

namespace kelphost {

bool SelectionItem::sameAs(const SelectionItem &other) const {
    if (kind != other.kind)
        return false;
    switch (kind) {
    case kDag:
        return path == other.path;
    case kPlug:
        return plug == other.plug;
    default:
        return node == other.node;
    }
}

std::string SelectionItem::name() const {
    switch (kind) {
    case kDag:
        return path.partialPathName().asChar();
    case kPlug:
        return plug.name().asChar();
    default: {
        MFnDependencyNode fn(node);
        return fn.name().asChar();
    }
    }
}

void addSelectionItem(SelectionData &data, const SelectionItem &item, bool merge) {
    if (merge) {
        for (const SelectionItem &i : data.items)
            if (i.sameAs(item))
                return;
    }
    data.items.push_back(item);
}

} // namespace kelphost

using kelphost::SelectionData;
using kelphost::SelectionItem;

MSelectionList::MSelectionList() : fData(new SelectionData) {}

MSelectionList::MSelectionList(const MSelectionList &src) : fData(new SelectionData(*src.fData)) {}

MSelectionList::~MSelectionList() {
    delete fData;
}

MSelectionList &MSelectionList::operator=(const MSelectionList &other) {
    if (this != &other)
        *fData = *other.fData;
    return *this;
}

MStatus MSelectionList::clear() {
    fData->items.clear();
    return MS::kSuccess;
}

bool MSelectionList::isEmpty(MStatus *ReturnStatus) const {
    if (ReturnStatus)
        *ReturnStatus = MS::kSuccess;
    return fData->items.empty();
}

unsigned int MSelectionList::length(MStatus *ReturnStatus) const {
    if (ReturnStatus)
        *ReturnStatus = MS::kSuccess;
    return static_cast<unsigned int>(fData->items.size());
}

MStatus MSelectionList::getDependNode(unsigned int index, MObject &depNode) const {
    if (index >= fData->items.size())
        return MS::kInvalidParameter;
    depNode = fData->items[index].node;
    return MS::kSuccess;
}

MStatus MSelectionList::getDagPath(unsigned int index, MDagPath &dagPath, MObject &) const {
    if (index >= fData->items.size())
        return MS::kInvalidParameter;
    const SelectionItem &item = fData->items[index];
    if (item.kind != SelectionItem::kDag)
        return MS::kFailure;
    dagPath = item.path;
    return MS::kSuccess;
}

MStatus MSelectionList::getPlug(unsigned int index, MPlug &plug) const {
    if (index >= fData->items.size())
        return MS::kInvalidParameter;
    const SelectionItem &item = fData->items[index];
    if (item.kind != SelectionItem::kPlug)
        return MS::kFailure;
    plug = item.plug;
    return MS::kSuccess;
}

MStatus MSelectionList::add(const MObject &object, const bool mergeWithExisting) {
    if (object.isNull() || !object.hasFn(MFn::kDependencyNode))
        return MS::kInvalidParameter;
    SelectionItem item;
    item.node = object;
    if (object.hasFn(MFn::kDagNode)) {
        MDagPath path;
        if (MDagPath::getAPathTo(object, path)) {
            item.kind = SelectionItem::kDag;
            item.path = path;
        }
    }
    kelphost::addSelectionItem(*fData, item, mergeWithExisting);
    return MS::kSuccess;
}

MStatus MSelectionList::add(const MDagPath &object, const MObject &, const bool mergeWithExisting) {
    MStatus st;
    MObject node = object.node(&st);
    if (!st || node.isNull())
        return MS::kInvalidParameter;
    SelectionItem item;
    item.kind = SelectionItem::kDag;
    item.node = node;
    item.path = object;
    kelphost::addSelectionItem(*fData, item, mergeWithExisting);
    return MS::kSuccess;
}

MStatus MSelectionList::add(const MString &matchString, const bool) {
    std::vector<SelectionItem> found;
    if (!kelphost::lookupSelectionItems(matchString.asChar(), found) || found.empty())
        return MS::kInvalidParameter;
    for (const SelectionItem &item : found)
        kelphost::addSelectionItem(*fData, item, true);
    return MS::kSuccess;
}

MStatus MSelectionList::add(const MPlug &plug, const bool mergeWithExisting) {
    if (plug.isNull())
        return MS::kInvalidParameter;
    SelectionItem item;
    item.kind = SelectionItem::kPlug;
    item.node = plug.node();
    item.plug = plug;
    kelphost::addSelectionItem(*fData, item, mergeWithExisting);
    return MS::kSuccess;
}

MStatus MSelectionList::remove(unsigned int index) {
    if (index >= fData->items.size())
        return MS::kInvalidParameter;
    fData->items.erase(fData->items.begin() + index);
    return MS::kSuccess;
}

MStatus MSelectionList::merge(const MSelectionList &other, const MergeStrategy strategy) {
    const std::vector<SelectionItem> incoming = other.fData->items; // other may be *this
    for (const SelectionItem &item : incoming) {
        auto &items = fData->items;
        auto it = items.begin();
        for (; it != items.end(); ++it)
            if (it->sameAs(item))
                break;
        const bool present = it != items.end();
        switch (strategy) {
        case kMergeNormal:
            if (!present)
                items.push_back(item);
            break;
        case kXORWithList:
            if (present)
                items.erase(it);
            else
                items.push_back(item);
            break;
        case kRemoveFromList:
            if (present)
                items.erase(it);
            break;
        }
    }
    return MS::kSuccess;
}

bool MSelectionList::hasItem(const MObject &item, MStatus *ReturnStatus) const {
    if (ReturnStatus)
        *ReturnStatus = MS::kSuccess;
    for (const SelectionItem &i : fData->items)
        if (i.kind != SelectionItem::kPlug && i.node == item)
            return true;
    return false;
}

bool MSelectionList::hasItem(const MDagPath &item, const MObject &, MStatus *ReturnStatus) const {
    if (ReturnStatus)
        *ReturnStatus = MS::kSuccess;
    for (const SelectionItem &i : fData->items)
        if (i.kind == SelectionItem::kDag && i.path == item)
            return true;
    return false;
}

MStatus MSelectionList::getSelectionStrings(MStringArray &array) const {
    array.clear();
    for (const SelectionItem &i : fData->items)
        array.append(MString(i.name().c_str()));
    return MS::kSuccess;
}

MStatus MSelectionList::getSelectionStrings(unsigned int index, MStringArray &array) const {
    if (index >= fData->items.size())
        return MS::kInvalidParameter;
    array.clear();
    array.append(MString(fData->items[index].name().c_str()));
    return MS::kSuccess;
}
