#ifndef KELPHOST_GRAPH_H
#define KELPHOST_GRAPH_H
// The evaluation engine behind MPlug, MDataBlock and the scene API: plug
// resolution, connections, dirty propagation and pull evaluation.
#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MTime.h>

#include "Attribute.h"
#include "Node.h"
#include "Slot.h"

#include <vector>

namespace kelphost {
namespace graph {

struct PlugRef {
    Node *node = nullptr;
    const Attribute *attr = nullptr;
    int index = -1; // logical index of an array element
    bool valid() const { return node && attr; }
    bool operator==(const PlugRef &o) const {
        return node == o.node && attr == o.attr && index == o.index;
    }
};

struct Connection {
    MPlug source;
    MPlug destination;
};

struct State {
    std::vector<MObject> nodes; // in scene order
    std::vector<Connection> connections;
    MTime time{1.0, MTime::kFilm};
    unsigned long nextOrder = 1;
    std::vector<void (*)()> resetHooks;
};
State &state();

PlugRef resolve(const MPlug &plug);
MPlug makePlug(const PlugRef &ref);
MPlug makePlug(Node *node, const Attribute *attr, int index = -1);
MObject nodeObject(Node *node);

// The connection feeding a plug (exact plug), or null.
const Connection *incoming(const PlugRef &dst);
bool hasIncoming(const PlugRef &dst);

// Evaluated value of a plug (null when the plug is invalid).
Slot *pull(const PlugRef &plug);
// Stored value without evaluation.
Slot *peek(const PlugRef &plug);
// The value of `plug` was just set: it is clean, everything downstream dirty.
void changed(const PlugRef &plug);
// Mark a plug and everything downstream dirty.
void dirty(const PlugRef &plug);
bool isDirty(const PlugRef &plug);
// DAG structure changed under `node`: world-space values below it are dirty.
void worldChanged(Node *node);

// Existing logical indices of an array attribute (elements with values or connections).
std::vector<unsigned> elementIndices(Node *node, const Attribute *attr);

} // namespace graph
} // namespace kelphost

#endif
