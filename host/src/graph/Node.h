#ifndef KELPHOST_NODE_H
#define KELPHOST_NODE_H
// A node of the scene: its type, name, values, DAG links and the plug-in
// object (MPxNode) that computes it.
#include <maya/MObject.h>
#include <maya/MPxNode.h>

#include "../core/Object.h"
#include "NodeType.h"
#include "Slot.h"

#include <map>
#include <string>
#include <vector>

namespace kelphost {

class Node : public Object {
public:
    explicit Node(NodeType *type);
    ~Node() override;
    MFn::Type apiType() const override;

    struct Value {
        Slot slot;                         // the value (or, for arrays, the array's own state)
        std::map<unsigned, Slot> elements; // array elements by logical index
    };

    NodeType *type;
    std::string name;
    bool inScene = false;
    MPxNode *user = nullptr;   // the computing object; null once its type is gone
    std::vector<Value> values; // one per attribute of the type
    std::vector<Node *> parents;
    std::vector<Node *> children;
    std::vector<MObject> members; // sets: their members
    int computeCount = 0;
    unsigned long order = 0; // when it entered the scene

    // The slot of an attribute, or of element `index` of an array attribute
    // (made on demand); a numeric child attribute gives its parent's slot.
    // Null when the attribute is not one of the type's.
    Slot *slot(const Attribute *attr, int index = -1);
    Value *value(const Attribute *attr);
    // Drop the plug-in object (its type is being deregistered).
    void releaseUser();
};

// Fill a slot with its attribute's default, including typed defaults.
void setSlotDefault(Slot &slot);

} // namespace kelphost

#endif
