#include "NameLookup.h"

#include "../Scene.h"

#include <maya/MObjectArray.h>

namespace kelphost {

bool wildcardMatch(const std::string &p, const std::string &t) {
    size_t pi = 0, ti = 0, star = std::string::npos, mark = 0;
    while (ti < t.size()) {
        if (pi < p.size() && (p[pi] == '?' || p[pi] == t[ti])) {
            ++pi;
            ++ti;
        } else if (pi < p.size() && p[pi] == '*') {
            star = pi++;
            mark = ti;
        } else if (star != std::string::npos) {
            pi = star + 1;
            ti = ++mark;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == '*')
        ++pi;
    return pi == p.size();
}

SelectionItem itemForNode(const MObject &node) {
    SelectionItem item;
    item.node = node;
    if (node.hasFn(MFn::kDagNode)) {
        MDagPath path;
        if (MDagPath::getAPathTo(node, path)) {
            item.kind = SelectionItem::kDag;
            item.path = path;
        }
    }
    return item;
}

namespace {

bool lookupPath(const std::string &pattern, std::vector<SelectionItem> &out) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= pattern.size()) {
        size_t bar = pattern.find('|', start);
        if (bar == std::string::npos)
            bar = pattern.size();
        if (bar > start)
            parts.push_back(pattern.substr(start, bar - start));
        start = bar + 1;
    }
    if (parts.empty())
        return false;
    MObject first = scene::findNode(MString(parts[0].c_str()));
    if (first.isNull() || !first.hasFn(MFn::kDagNode))
        return false;
    // A leading '|' names a node at world level.
    if (pattern[0] == '|' && scene::dagParents(first).length() != 0)
        return false;
    MDagPath path;
    if (!MDagPath::getAPathTo(first, path))
        return false;
    for (size_t i = 1; i < parts.size(); ++i) {
        MObjectArray children = scene::dagChildren(path.node());
        MObject next;
        for (unsigned int c = 0; c < children.length(); ++c)
            if (scene::nodeName(children[c]) == MString(parts[i].c_str()))
                next = children[c];
        if (next.isNull() || !path.push(next))
            return false;
    }
    SelectionItem item;
    item.kind = SelectionItem::kDag;
    item.node = path.node();
    item.path = path;
    out.push_back(item);
    return true;
}

} // namespace

bool lookupSelectionItems(const std::string &pattern, std::vector<SelectionItem> &out) {
    if (pattern.empty())
        return false;
    if (pattern.find('.') != std::string::npos) {
        MStatus st;
        MPlug plug = scene::findPlug(MString(pattern.c_str()), &st);
        if (!st || plug.isNull())
            return false;
        SelectionItem item;
        item.kind = SelectionItem::kPlug;
        item.plug = plug;
        item.node = plug.node();
        out.push_back(item);
        return true;
    }
    if (pattern.find_first_of("*?") != std::string::npos) {
        MObjectArray all = scene::allNodes();
        bool any = false;
        for (unsigned int i = 0; i < all.length(); ++i) {
            if (wildcardMatch(pattern, scene::nodeName(all[i]).asChar())) {
                out.push_back(itemForNode(all[i]));
                any = true;
            }
        }
        return any;
    }
    if (pattern.find('|') != std::string::npos)
        return lookupPath(pattern, out);
    MObject node = scene::findNode(MString(pattern.c_str()));
    if (node.isNull())
        return false;
    out.push_back(itemForNode(node));
    return true;
}

} // namespace kelphost
