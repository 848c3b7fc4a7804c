// Turning names into selection items: "node", "|a|b" or "a|b" (DAG paths),
// "node.attr[2]" (plugs), and '*' wildcards over node names.
#pragma once

#include "SelectionData.h"

#include <string>
#include <vector>

namespace kelphost {

// False (and nothing added) when nothing matches.
bool lookupSelectionItems(const std::string &pattern, std::vector<SelectionItem> &out);
// Shell-style match with '*' and '?'.
bool wildcardMatch(const std::string &pattern, const std::string &text);
// The item for one node: a DAG path (first instance) for DAG nodes.
SelectionItem itemForNode(const MObject &node);

} // namespace kelphost
