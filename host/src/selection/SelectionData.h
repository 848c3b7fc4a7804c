// What an MSelectionList holds: nodes, DAG paths and plugs, in order.
#pragma once

#include <maya/MDagPath.h>
#include <maya/MObject.h>
#include <maya/MPlug.h>

#include <string>
#include <vector>

namespace kelphost {

struct SelectionItem {
    enum Kind { kNode, kDag, kPlug };
    Kind kind = kNode;
    MObject node; // the node (the end node for a DAG path, the plug's node for a plug)
    MDagPath path;
    MPlug plug;

    bool sameAs(const SelectionItem &other) const;
    std::string name() const; // as selection strings show it
};

struct SelectionData {
    std::vector<SelectionItem> items;
};

// Adds the item unless an equal one is on the list when `merge` is set.
void addSelectionItem(SelectionData &data, const SelectionItem &item, bool merge);

} // namespace kelphost
