#include "NodeType.h"

#include "../core/Access.h"
#include "../core/StatusText.h"

namespace kelphost {

Attribute *NodeType::find(const std::string &attrName) const {
    for (const MObject &o : attributes) {
        Attribute *a = Access::as<Attribute>(o);
        if (a && (a->name == attrName || a->shortName == attrName))
            return a;
    }
    return nullptr;
}

int NodeType::indexOf(const Attribute *attr) const {
    auto it = index_.find(attr);
    return it == index_.end() ? -1 : it->second;
}

MStatus NodeType::add(const MObject &attrObj) {
    Attribute *a = Access::as<Attribute>(attrObj);
    if (!a)
        return fail(MStatus::kInvalidParameter, kIncompatibleObject);
    if (indexOf(a) >= 0)
        return fail(MStatus::kInvalidParameter, kAlreadyAdded);
    if (find(a->name) || (!a->shortName.empty() && find(a->shortName)))
        return fail(MStatus::kInvalidParameter, kAlreadyAdded);
    index_[a] = static_cast<int>(attributes.size());
    attributes.push_back(attrObj);
    for (const MObject &child : a->children)
        if (indexOf(Access::as<Attribute>(child)) < 0)
            add(child);
    return MStatus::kSuccess;
}

MStatus NodeType::addAffects(const Attribute *from, const Attribute *to) {
    if (indexOf(from) < 0 || indexOf(to) < 0)
        return fail(MStatus::kInvalidParameter, kAttributeNotFound);
    if (to->keyable)
        return fail(MStatus::kInvalidParameter, kKeyableOutput);
    std::vector<const Attribute *> &list = affects_[from];
    for (const Attribute *x : list)
        if (x == to)
            return MStatus::kSuccess;
    list.push_back(to);
    affected_.insert(to);
    return MStatus::kSuccess;
}

const std::vector<const Attribute *> &NodeType::affectedBy(const Attribute *from) const {
    static const std::vector<const Attribute *> none;
    auto it = affects_.find(from);
    return it == affects_.end() ? none : it->second;
}

bool NodeType::isAffected(const Attribute *attr) const {
    return affected_.count(attr) != 0;
}

} // namespace kelphost
