// Undo records for interpreted commands.
//
// Every command that changes the scene records what it did as UndoActions into
// the innermost open UndoChunk. The interpreter opens one chunk per top-level
// statement and keeps it in the UndoHistory; a modifier's commandToExecute opens
// its own chunk and keeps it for its undoIt. Actions recorded while no chunk is
// open are dropped (not undoable).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kelphost {

class UndoAction {
public:
    virtual ~UndoAction();
    virtual void undo() = 0;
    virtual void redo() = 0;
};

// An action made of two functions.
class FunctionUndoAction : public UndoAction {
public:
    FunctionUndoAction(std::function<void()> undoFn, std::function<void()> redoFn)
        : undoFn_(std::move(undoFn)), redoFn_(std::move(redoFn)) {}
    void undo() override { undoFn_(); }
    void redo() override { redoFn_(); }

private:
    std::function<void()> undoFn_;
    std::function<void()> redoFn_;
};

class UndoChunk {
public:
    UndoChunk() = default;
    UndoChunk(UndoChunk &&) = default;
    UndoChunk &operator=(UndoChunk &&) = default;
    ~UndoChunk();

    std::string label; // the statement text
    void add(std::unique_ptr<UndoAction> action) { actions_.push_back(std::move(action)); }
    bool empty() const { return actions_.empty(); }
    size_t size() const { return actions_.size(); }
    void undo(); // last action first
    void redo(); // first action first
    void clear();

private:
    std::vector<std::unique_ptr<UndoAction>> actions_;
};

// Opens `chunk` as the innermost recording target for its lifetime. A null
// chunk suspends recording (actions are dropped) for its lifetime.
class UndoRecordScope {
public:
    explicit UndoRecordScope(UndoChunk *chunk);
    ~UndoRecordScope();
    UndoRecordScope(const UndoRecordScope &) = delete;
    UndoRecordScope &operator=(const UndoRecordScope &) = delete;
};

// Records an action into the innermost open chunk, or drops it.
void recordUndo(std::unique_ptr<UndoAction> action);
void recordUndo(std::function<void()> undoFn, std::function<void()> redoFn);
// True while some chunk is open for recording.
bool isRecordingUndo();

// The host's undo queue of top-level statements.
class UndoHistory {
public:
    static UndoHistory &instance();
    void add(UndoChunk chunk); // clears what could be redone
    // Undo/redo the latest entry; false when there is none. `label` gets its text.
    bool undo(std::string &label);
    bool redo(std::string &label);
    size_t undoCount() const { return done_.size(); }
    size_t redoCount() const { return undone_.size(); }
    void flush();

private:
    std::vector<UndoChunk> done_;
    std::vector<UndoChunk> undone_;
};

} // namespace kelphost
