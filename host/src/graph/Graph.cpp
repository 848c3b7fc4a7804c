// Connections, dirty propagation and pull evaluation.
//
// A plug is dirty when something it depends on changed since it was last
// evaluated. Setting a value or changing a connection dirties everything
// downstream: the attributes the changed one affects on its node
// (attributeAffects), the destinations of its connections, and, for an
// attribute flagged affectsWorldSpace, the world-space attributes of every DAG
// node below. Reading a plug pulls: a dirty destination copies its source's
// (evaluated) value; a dirty output runs the node's compute; after compute the
// plug counts as clean whatever compute did.
#include "Graph.h"

#include <maya/MDataBlock.h>

#include "../core/Access.h"

#include <algorithm>
#include <set>
#include <utility>

namespace kelphost {
namespace graph {

State &state() {
    static State s;
    return s;
}

MObject nodeObject(Node *node) {
    return Access::wrap(node);
}

PlugRef resolve(const MPlug &plug) {
    PlugRef r;
    Node *n = Access::as<Node>(Access::plugNode(plug));
    Attribute *a = Access::as<Attribute>(Access::plugAttr(plug));
    if (!n || !a || n->type->indexOf(a) < 0)
        return r;
    r.node = n;
    r.attr = a;
    r.index = a->array || (a->parent && a->parent->array) ? Access::plugIndex(plug) : -1;
    return r;
}

MPlug makePlug(Node *node, const Attribute *attr, int index) {
    return Access::plug(Access::wrap(node), Access::wrap(const_cast<Attribute *>(attr)), index);
}

MPlug makePlug(const PlugRef &r) {
    return makePlug(r.node, r.attr, r.index);
}

const Connection *incoming(const PlugRef &dst) {
    for (const Connection &c : state().connections)
        if (resolve(c.destination) == dst)
            return &c;
    return nullptr;
}

bool hasIncoming(const PlugRef &dst) {
    return incoming(dst) != nullptr;
}

Slot *peek(const PlugRef &p) {
    if (!p.valid())
        return nullptr;
    return p.node->slot(p.attr, p.index);
}

std::vector<unsigned> elementIndices(Node *node, const Attribute *attr) {
    std::vector<unsigned> out;
    if (Node::Value *v = node->value(attr))
        for (const auto &e : v->elements)
            out.push_back(e.first);
    for (const Connection &c : state().connections) {
        for (const MPlug *p : {&c.source, &c.destination}) {
            PlugRef r = resolve(*p);
            if (r.node == node && r.attr == attr && r.index >= 0)
                out.push_back(static_cast<unsigned>(r.index));
        }
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

namespace {

bool isOutput(const PlugRef &p) {
    return p.node->type->isAffected(p.attr) || p.attr->worldSpace;
}

void compute(const PlugRef &p) {
    Node *n = p.node;
    if (!n->user)
        return;
    static std::set<std::pair<Node *, const Attribute *>> running;
    std::pair<Node *, const Attribute *> key(n, p.attr);
    if (running.count(key))
        return; // a cycle: use what is stored
    running.insert(key);
    n->ref();
    ++n->computeCount;
    {
        MDataBlock block = Access::block(n);
        MPlug plug = makePlug(p);
        n->user->compute(plug, block); // kUnknownParameter: nothing to compute
    }
    running.erase(key);
    n->unref();
}

// Read a source plug's numbers (a numeric child gives its component).
int readNumbers(const PlugRef &src, Slot *slot, double out[4]) {
    int n = slot->get(out);
    if (src.attr->parent) {
        int k = src.attr->childIndex;
        out[0] = k >= 0 && k < 4 ? out[k] : 0;
        return 1;
    }
    return n;
}

void applyChildInput(const PlugRef &child);

void copyIncoming(const PlugRef &p, Slot *slot, const Connection &c) {
    PlugRef s = resolve(c.source);
    Slot *v = pull(s);
    if (!v)
        return;
    if (s.attr->parent && slot->numeric()) {
        double num[4];
        readNumbers(s, v, num);
        slot->set(num, 1);
    } else {
        slot->assign(*v);
    }
    (void)p;
}

void applyChildInput(const PlugRef &child) {
    const Connection *c = incoming(child);
    if (!c)
        return;
    Slot *parentSlot = child.node->slot(child.attr->parent, child.index);
    PlugRef s = resolve(c->source);
    Slot *v = pull(s);
    if (!v || !parentSlot)
        return;
    double num[4];
    readNumbers(s, v, num);
    double all[4];
    int n = parentSlot->get(all);
    if (child.attr->childIndex >= 0 && child.attr->childIndex < 4)
        all[child.attr->childIndex] = num[0];
    parentSlot->set(all, n);
}

void markSelf(const PlugRef &p) {
    Node::Value *v = p.node->value(p.attr->parent ? p.attr->parent : p.attr);
    if (!v)
        return;
    if (p.attr->array && p.index < 0) {
        v->slot.dirty = true;
        for (auto &e : v->elements)
            e.second.dirty = true;
        return;
    }
    if (Slot *s = p.node->slot(p.attr, p.index))
        s->dirty = true;
}

void collectDescendants(Node *n, std::vector<Node *> &out) {
    for (Node *c : n->children) {
        if (std::find(out.begin(), out.end(), c) != out.end())
            continue;
        out.push_back(c);
        collectDescendants(c, out);
    }
}

void propagate(const PlugRef &p, bool self, std::vector<PlugRef> &visited) {
    for (const PlugRef &v : visited)
        if (v == p)
            return;
    visited.push_back(p);
    Node *n = p.node;
    if (self)
        markSelf(p);
    const Attribute *a = p.attr;
    for (const Attribute *b : n->type->affectedBy(a))
        propagate(PlugRef{n, b, -1}, true, visited);
    if (a->parent) {
        for (const Attribute *b : n->type->affectedBy(a->parent))
            propagate(PlugRef{n, b, -1}, true, visited);
        propagate(PlugRef{n, a->parent, p.index}, true, visited);
    }
    for (const MObject &c : a->children)
        propagate(PlugRef{n, Access::as<Attribute>(c), p.index}, true, visited);
    // Copy: propagation may not change the list, but be safe against reentry.
    std::vector<Connection> conns = state().connections;
    for (const Connection &c : conns) {
        PlugRef s = resolve(c.source);
        if (s.node == n && s.attr == a && (s.index == p.index || p.index < 0 || s.index < 0))
            propagate(resolve(c.destination), true, visited);
    }
    if (a->affectsWorldSpace)
        worldChanged(n);
}

} // namespace

void worldChanged(Node *node) {
    std::vector<Node *> nodes{node};
    collectDescendants(node, nodes);
    std::vector<PlugRef> visited;
    for (Node *d : nodes)
        for (const MObject &o : d->type->attributes) {
            Attribute *a = Access::as<Attribute>(o);
            if (a && a->worldSpace)
                propagate(PlugRef{d, a, -1}, true, visited);
        }
}

Slot *pull(const PlugRef &p) {
    Slot *slot = peek(p);
    if (!slot || !p.node->inScene)
        return slot;
    if (p.attr->parent) {
        pull(PlugRef{p.node, p.attr->parent, p.index});
        applyChildInput(p);
        return slot;
    }
    for (const MObject &c : p.attr->children)
        applyChildInput(PlugRef{p.node, Access::as<Attribute>(c), p.index});
    if (p.attr->array && p.index < 0) {
        for (unsigned i : elementIndices(p.node, p.attr))
            pull(PlugRef{p.node, p.attr, static_cast<int>(i)});
        if (slot->dirty && p.node->type->isAffected(p.attr))
            compute(p);
        slot->dirty = false;
        return slot;
    }
    if (const Connection *c = incoming(p)) {
        if (slot->dirty) {
            Connection copy = *c;
            slot->dirty = false; // before pulling: a cycle reads the stored value
            copyIncoming(p, slot, copy);
        }
        return slot;
    }
    if (slot->dirty) {
        if (isOutput(p))
            compute(p);
        slot = peek(p); // compute may have made the element
        if (slot)
            slot->dirty = false;
    }
    return slot;
}

void changed(const PlugRef &p) {
    if (!p.valid())
        return;
    if (Slot *s = peek(p))
        s->dirty = false;
    std::vector<PlugRef> visited;
    propagate(p, false, visited);
}

void dirty(const PlugRef &p) {
    if (!p.valid())
        return;
    std::vector<PlugRef> visited;
    propagate(p, true, visited);
}

bool isDirty(const PlugRef &p) {
    Slot *s = peek(p);
    return s && s->dirty;
}

} // namespace graph
} // namespace kelphost
