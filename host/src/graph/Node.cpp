#include "Node.h"

#include "../core/Access.h"
#include <maya/MFnStringData.h>

namespace kelphost {

void setSlotDefault(Slot &slot) {
    slot.setDefault();
    const Attribute *a = slot.attr;
    if (a && a->kind == AttrKind::Typed && !a->defaultData.isNull()) {
        if (slot.canonical == Field::String) {
            MFnStringData fn(a->defaultData);
            slot.str = fn.string();
        }
    }
}

Node::Node(NodeType *t) : type(t) {
    values.reserve(t->attributes.size());
    for (const MObject &o : t->attributes) {
        Attribute *a = Access::as<Attribute>(o);
        values.push_back(Value{Slot(a), {}});
        setSlotDefault(values.back().slot);
    }
    t->instances.insert(this);
}

Node::~Node() {
    releaseUser();
    type->instances.erase(this);
}

MFn::Type Node::apiType() const {
    return type->apiType;
}

Node::Value *Node::value(const Attribute *attr) {
    int i = type->indexOf(attr);
    if (i < 0 || static_cast<size_t>(i) >= values.size())
        return nullptr;
    return &values[static_cast<size_t>(i)];
}

Slot *Node::slot(const Attribute *attr, int index) {
    if (!attr)
        return nullptr;
    if (attr->parent)
        return slot(attr->parent, index);
    Value *v = value(attr);
    if (!v)
        return nullptr;
    if (index < 0 || !attr->array)
        return &v->slot;
    auto it = v->elements.find(static_cast<unsigned>(index));
    if (it == v->elements.end()) {
        it = v->elements.emplace(static_cast<unsigned>(index), Slot(attr)).first;
        setSlotDefault(it->second);
        it->second.dirty = v->slot.dirty;
    }
    return &it->second;
}

void Node::releaseUser() {
    if (user) {
        MPxNode *u = user;
        user = nullptr;
        Access::nodeOf(*u) = nullptr;
        delete u;
    }
}

} // namespace kelphost
