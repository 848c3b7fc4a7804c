#include "UndoRecorder.h"

namespace kelphost {

namespace {
std::vector<UndoChunk *> &openChunks() {
    static auto *chunks = new std::vector<UndoChunk *>;
    return *chunks;
}
} // namespace

UndoAction::~UndoAction() = default;

UndoChunk::~UndoChunk() {
    clear();
}

void UndoChunk::undo() {
    for (auto it = actions_.rbegin(); it != actions_.rend(); ++it)
        (*it)->undo();
}

void UndoChunk::redo() {
    for (auto &a : actions_)
        a->redo();
}

void UndoChunk::clear() {
    // Later actions may refer to what earlier ones made: release newest first.
    while (!actions_.empty())
        actions_.pop_back();
}

UndoRecordScope::UndoRecordScope(UndoChunk *chunk) {
    openChunks().push_back(chunk);
}

UndoRecordScope::~UndoRecordScope() {
    openChunks().pop_back();
}

void recordUndo(std::unique_ptr<UndoAction> action) {
    auto &chunks = openChunks();
    if (!chunks.empty() && chunks.back())
        chunks.back()->add(std::move(action));
}

void recordUndo(std::function<void()> undoFn, std::function<void()> redoFn) {
    if (isRecordingUndo())
        recordUndo(std::make_unique<FunctionUndoAction>(std::move(undoFn), std::move(redoFn)));
}

bool isRecordingUndo() {
    auto &chunks = openChunks();
    return !chunks.empty() && chunks.back();
}

// The queue is never destroyed: at exit its records would reach into a scene
// and plug-ins that may already be gone.
UndoHistory &UndoHistory::instance() {
    static auto *history = new UndoHistory;
    return *history;
}

void UndoHistory::add(UndoChunk chunk) {
    while (!undone_.empty())
        undone_.pop_back();
    done_.push_back(std::move(chunk));
}

bool UndoHistory::undo(std::string &label) {
    if (done_.empty())
        return false;
    UndoChunk chunk = std::move(done_.back());
    done_.pop_back();
    label = chunk.label;
    chunk.undo();
    undone_.push_back(std::move(chunk));
    return true;
}

bool UndoHistory::redo(std::string &label) {
    if (undone_.empty())
        return false;
    UndoChunk chunk = std::move(undone_.back());
    undone_.pop_back();
    label = chunk.label;
    chunk.redo();
    done_.push_back(std::move(chunk));
    return true;
}

void UndoHistory::flush() {
    while (!undone_.empty())
        undone_.pop_back();
    while (!done_.empty())
        done_.pop_back();
}

} // namespace kelphost
