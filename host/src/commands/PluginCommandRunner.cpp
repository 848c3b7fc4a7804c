// Runs the commands plug-ins register: creates the command object, hands it
// the words as an MArgList, and keeps it for undo when it is undoable.
#include "CommandData.h"
#include "Interpreter.h"
#include "UndoRecorder.h"
#include "../Scene.h"

#include <maya/MArgList.h>
#include <maya/MPxCommand.h>

namespace kelphost {

namespace {

class CommandUndoAction : public UndoAction {
public:
    explicit CommandUndoAction(MPxCommand *cmd) : cmd_(cmd) {}
    ~CommandUndoAction() override { delete cmd_; }
    void undo() override { cmd_->undoIt(); }
    void redo() override { cmd_->redoIt(); }

private:
    MPxCommand *cmd_;
};

} // namespace

bool runPluginCommand(const std::string &name, BuiltinContext &ctx, bool &ok) {
    const scene::CommandEntry *entry = scene::findCommand(MString(name.c_str()));
    if (!entry)
        return false;
    ok = false;
    MSyntax syntax;
    if (entry->syntax)
        syntax = entry->syntax();
    void *raw = nullptr;
    {
        PendingCommandScope scope(syntax, MString(ctx.statement.text.c_str()),
                                  entry->syntax != nullptr);
        raw = entry->creator ? entry->creator() : nullptr;
    }
    MPxCommand *cmd = static_cast<MPxCommand *>(raw);
    if (!cmd) {
        ctx.error = "the plug-in made no command object";
        return true;
    }
    MArgList args;
    for (const ScriptWord &w : ctx.args)
        args.addArg(MString(w.text.c_str()));
    ctx.result.clear();
    MStatus st = cmd->doIt(args);
    if (!st) {
        delete cmd;
        ctx.error = st.errorString().asChar();
        return true;
    }
    if (cmd->isUndoable())
        recordUndo(std::make_unique<CommandUndoAction>(cmd));
    else
        delete cmd;
    ok = true;
    return true;
}

} // namespace kelphost
