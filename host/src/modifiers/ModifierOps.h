// The operations an MDGModifier queues. Each is done once, and can then be
// undone and redone any number of times.
#pragma once

#include "UndoRecorder.h"
#include "../Scene.h"

#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MString.h>
#include <maya/MTime.h>

#include <memory>
#include <vector>

namespace kelphost {

class ModifierOp {
public:
    virtual ~ModifierOp();
    virtual MStatus doIt() = 0; // first time
    virtual void undoIt() = 0;
    virtual void redoIt() = 0; // after undoIt
    // True when a failed doIt may still have done part of its work (which
    // undoIt then reverses).
    virtual bool keepsPartialWork() const { return false; }
};

struct ModifierData {
    enum State { kPending, kDone, kUndone, kFailed };
    struct Entry {
        std::unique_ptr<ModifierOp> op;
        State state = kPending;
    };
    std::vector<Entry> entries;

    void queue(std::unique_ptr<ModifierOp> op);
    MStatus doIt();
    MStatus undoIt();
    ~ModifierData();
};

// The data of a live modifier (MDagModifier reaches its base's this way).
ModifierData *modifierDataOf(const void *modifier);

// Node creation: the node was made when queued; doIt enters it into the scene
// (under `parent` when given).
std::unique_ptr<ModifierOp> makeCreateOp(const MObject &node, const MObject &parent,
                                         const MString &name);
std::unique_ptr<ModifierOp> makeDeleteOp(const MObject &node);
std::unique_ptr<ModifierOp> makeRenameOp(const MObject &node, const MString &name);
std::unique_ptr<ModifierOp> makeConnectOp(const MPlug &src, const MPlug &dst, bool connect);
std::unique_ptr<ModifierOp> makeScriptOp(const MString &script);
std::unique_ptr<ModifierOp> makeReparentOp(const MObject &node, const MObject &parent);

// A new plug value; `set` writes the value, `get` reads the old one.
struct PlugValue {
    enum Kind { kBool, kShort, kInt, kFloat, kDouble, kString, kTime, kObject };
    Kind kind = kDouble;
    double number = 0;
    MString text;
    MTime time;
    MObject object;
};
std::unique_ptr<ModifierOp> makePlugValueOp(const MPlug &plug, const PlugValue &value);

} // namespace kelphost
