#ifndef KELPHOST_NODETYPE_H
#define KELPHOST_NODETYPE_H
// A registered node type: built in, or registered by a plug-in.
#include <maya/MObject.h>
#include <maya/MPxNode.h>
#include <maya/MTypeId.h>

#include "Attribute.h"

#include <set>
#include <string>
#include <unordered_map>
#include <vector>

namespace kelphost {

class Node;

class NodeType {
public:
    std::string name;
    MTypeId id;
    MPxNode::Type kind = MPxNode::kDependNode;
    MCreatorFunction creator = nullptr;
    MInitializeFunction initialize = nullptr;
    MObject plugin; // null for built-in types
    MFn::Type apiType = MFn::kPluginDependNode;
    bool dag = false;   // transform or shape
    bool shape = false; // needs a transform above it
    bool registered = true;
    std::string defaultName; // base of new nodes' names

    std::vector<MObject> attributes;                    // in the order added
    Attribute *find(const std::string &attrName) const; // long or short name, children too
    int indexOf(const Attribute *attr) const;           // -1 when not an attribute of the type
    MStatus add(const MObject &attr);
    MStatus addAffects(const Attribute *from, const Attribute *to);
    const std::vector<const Attribute *> &affectedBy(const Attribute *from) const;
    bool isAffected(const Attribute *attr) const; // an output: something affects it

    std::set<Node *> instances; // live nodes of this type

private:
    std::unordered_map<const Attribute *, int> index_;
    std::unordered_map<const Attribute *, std::vector<const Attribute *>> affects_;
    std::set<const Attribute *> affected_;
};

} // namespace kelphost

#endif
