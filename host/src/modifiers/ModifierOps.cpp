#include "ModifierOps.h"

#include "Interpreter.h"

namespace kelphost {

ModifierOp::~ModifierOp() = default;

void ModifierData::queue(std::unique_ptr<ModifierOp> op) {
    Entry e;
    e.op = std::move(op);
    entries.push_back(std::move(e));
}

MStatus ModifierData::doIt() {
    MStatus result;
    for (Entry &e : entries) {
        if (e.state == kPending) {
            MStatus st = e.op->doIt();
            e.state = st || e.op->keepsPartialWork() ? kDone : kFailed;
            if (!st && result)
                result = st;
        } else if (e.state == kUndone) {
            e.op->redoIt();
            e.state = kDone;
        }
    }
    return result;
}

MStatus ModifierData::undoIt() {
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        if (it->state == kDone) {
            it->op->undoIt();
            it->state = kUndone;
        }
    }
    return MS::kSuccess;
}

ModifierData::~ModifierData() {
    while (!entries.empty())
        entries.pop_back();
}

namespace {

class CreateOp : public ModifierOp {
public:
    CreateOp(const MObject &node, const MObject &parent, const MString &name)
        : node_(node), parent_(parent), name_(name) {}
    MStatus doIt() override {
        MStatus st = scene::addNode(node_, name_);
        if (!st)
            return st;
        if (!parent_.isNull()) {
            st = scene::setParent(node_, parent_);
            if (!st) {
                scene::removeNode(node_);
                return st;
            }
        }
        return MS::kSuccess;
    }
    void undoIt() override { scene::removeNode(node_, &record_); }
    void redoIt() override { scene::restoreNode(record_); }

private:
    MObject node_, parent_;
    MString name_;
    scene::RemovedNode record_;
};

class DeleteOp : public ModifierOp {
public:
    explicit DeleteOp(const MObject &node) : node_(node) {}
    MStatus doIt() override {
        if (!scene::isInScene(node_))
            return MS::kInvalidParameter;
        records_.clear();
        removeTree(node_);
        return MS::kSuccess;
    }
    void undoIt() override {
        for (auto it = records_.rbegin(); it != records_.rend(); ++it)
            scene::restoreNode(*it);
    }
    void redoIt() override {
        std::vector<scene::RemovedNode> again;
        for (const scene::RemovedNode &r : records_) {
            scene::RemovedNode n;
            scene::removeNode(r.node, &n);
            again.push_back(n);
        }
        records_ = again;
    }

private:
    // Children that have no other parent go with the node, deepest first.
    void removeTree(const MObject &node) {
        MObjectArray children = scene::dagChildren(node);
        for (unsigned int i = 0; i < children.length(); ++i)
            if (scene::dagParents(children[i]).length() <= 1)
                removeTree(children[i]);
        scene::RemovedNode r;
        if (scene::removeNode(node, &r))
            records_.push_back(r);
    }
    MObject node_;
    std::vector<scene::RemovedNode> records_;
};

class RenameOp : public ModifierOp {
public:
    RenameOp(const MObject &node, const MString &name) : node_(node), name_(name) {}
    MStatus doIt() override {
        old_ = scene::nodeName(node_);
        return scene::renameNode(node_, name_, &given_);
    }
    void undoIt() override { scene::renameNode(node_, old_); }
    void redoIt() override { scene::renameNode(node_, given_); }

private:
    MObject node_;
    MString name_, old_, given_;
};

class ConnectOp : public ModifierOp {
public:
    ConnectOp(const MPlug &src, const MPlug &dst, bool connect)
        : src_(src), dst_(dst), connect_(connect) {}
    MStatus doIt() override {
        return connect_ ? scene::connect(src_, dst_) : scene::disconnect(src_, dst_);
    }
    void undoIt() override {
        if (connect_)
            scene::disconnect(src_, dst_);
        else
            scene::connect(src_, dst_);
    }
    void redoIt() override { doIt(); }

private:
    MPlug src_, dst_;
    bool connect_;
};

class ScriptOp : public ModifierOp {
public:
    explicit ScriptOp(const MString &script) : script_(script.asChar()) {}
    MStatus doIt() override {
        UndoRecordScope scope(&chunk_);
        const bool ok = Interpreter::instance().run(script_, Interpreter::Undo::kCurrent, false);
        return ok ? MS::kSuccess : MS::kFailure;
    }
    void undoIt() override { chunk_.undo(); }
    void redoIt() override { chunk_.redo(); }
    bool keepsPartialWork() const override { return true; }

private:
    std::string script_;
    UndoChunk chunk_;
};

class ReparentOp : public ModifierOp {
public:
    ReparentOp(const MObject &node, const MObject &parent) : node_(node), parent_(parent) {}
    MStatus doIt() override {
        MObjectArray old = scene::dagParents(node_);
        old_.clear();
        for (unsigned int i = 0; i < old.length(); ++i)
            old_.push_back(old[i]);
        return scene::setParent(node_, parent_);
    }
    void undoIt() override {
        scene::setParent(node_, old_.empty() ? MObject::kNullObj : old_[0]);
        for (size_t i = 1; i < old_.size(); ++i)
            scene::addParent(node_, old_[i]);
    }
    void redoIt() override { scene::setParent(node_, parent_); }

private:
    MObject node_, parent_;
    std::vector<MObject> old_;
};

MStatus readValue(const MPlug &plug, PlugValue &v) {
    switch (v.kind) {
    case PlugValue::kString:
        return plug.getValue(v.text);
    case PlugValue::kTime:
        return plug.getValue(v.time);
    case PlugValue::kObject:
        return plug.getValue(v.object);
    default:
        return plug.getValue(v.number);
    }
}

MStatus writeValue(MPlug &plug, PlugValue &v) {
    switch (v.kind) {
    case PlugValue::kBool:
        return plug.setValue(v.number != 0);
    case PlugValue::kShort:
        return plug.setValue(static_cast<short>(v.number));
    case PlugValue::kInt:
        return plug.setValue(static_cast<int>(v.number));
    case PlugValue::kFloat:
        return plug.setValue(static_cast<float>(v.number));
    case PlugValue::kDouble:
        return plug.setValue(v.number);
    case PlugValue::kString:
        return plug.setValue(v.text);
    case PlugValue::kTime:
        return plug.setValue(v.time);
    case PlugValue::kObject:
        return plug.setValue(v.object);
    }
    return MS::kFailure;
}

class PlugValueOp : public ModifierOp {
public:
    PlugValueOp(const MPlug &plug, const PlugValue &value) : plug_(plug), new_(value) {
        old_.kind = value.kind == PlugValue::kBool || value.kind == PlugValue::kShort ||
                            value.kind == PlugValue::kInt || value.kind == PlugValue::kFloat
                        ? PlugValue::kDouble
                        : value.kind;
    }
    MStatus doIt() override {
        hadOld_ = readValue(plug_, old_);
        return writeValue(plug_, new_);
    }
    void undoIt() override {
        if (hadOld_)
            writeValue(plug_, old_);
    }
    void redoIt() override { writeValue(plug_, new_); }

private:
    MPlug plug_;
    PlugValue new_, old_;
    bool hadOld_ = false;
};

} // namespace

std::unique_ptr<ModifierOp> makeCreateOp(const MObject &node, const MObject &parent,
                                         const MString &name) {
    return std::make_unique<CreateOp>(node, parent, name);
}
std::unique_ptr<ModifierOp> makeDeleteOp(const MObject &node) {
    return std::make_unique<DeleteOp>(node);
}
std::unique_ptr<ModifierOp> makeRenameOp(const MObject &node, const MString &name) {
    return std::make_unique<RenameOp>(node, name);
}
std::unique_ptr<ModifierOp> makeConnectOp(const MPlug &src, const MPlug &dst, bool connect) {
    return std::make_unique<ConnectOp>(src, dst, connect);
}
std::unique_ptr<ModifierOp> makeScriptOp(const MString &script) {
    return std::make_unique<ScriptOp>(script);
}
std::unique_ptr<ModifierOp> makeReparentOp(const MObject &node, const MObject &parent) {
    return std::make_unique<ReparentOp>(node, parent);
}
std::unique_ptr<ModifierOp> makePlugValueOp(const MPlug &plug, const PlugValue &value) {
    return std::make_unique<PlugValueOp>(plug, value);
}

} // namespace kelphost
