// Built-in commands that act on the interpreter itself: undo, redo, print.
#include "BuiltinArgs.h"
#include "Interpreter.h"
#include "UndoRecorder.h"

#include <maya/MGlobal.h>
#include <maya/MString.h>

namespace kelphost {

namespace {

bool undoCommand(BuiltinContext &ctx) {
    BuiltinArgs args;
    if (!parseBuiltinArgs(ctx.args, {}, args, ctx.error))
        return false;
    std::string label;
    UndoRecordScope notRecorded(nullptr); // what undoing does is not itself undoable
    if (!UndoHistory::instance().undo(label)) {
        MGlobal::displayWarning("There are no more commands to undo.");
        return true;
    }
    Interpreter::instance().print("// Undo: " + label + " //");
    return true;
}

bool redoCommand(BuiltinContext &ctx) {
    BuiltinArgs args;
    if (!parseBuiltinArgs(ctx.args, {}, args, ctx.error))
        return false;
    std::string label;
    UndoRecordScope notRecorded(nullptr);
    if (!UndoHistory::instance().redo(label)) {
        MGlobal::displayWarning("There are no more commands to redo.");
        return true;
    }
    Interpreter::instance().print("// Redo: " + label + " //");
    return true;
}

bool flushUndoCommand(BuiltinContext &ctx) {
    BuiltinArgs args;
    if (!parseBuiltinArgs(ctx.args, {}, args, ctx.error))
        return false;
    UndoHistory::instance().flush();
    return true;
}

// print "text"; shows the text as one line of script output (one line end
// at its end is dropped, as the output adds its own).
bool printCommand(BuiltinContext &ctx) {
    if (ctx.args.size() != 1) {
        ctx.error = "print takes exactly one argument";
        return false;
    }
    std::string text = ctx.args[0].text;
    if (!text.empty() && text.back() == '\n')
        text.pop_back();
    Interpreter::instance().print(text);
    return true;
}

} // namespace

void registerHistoryCommands(Interpreter &in) {
    in.addBuiltin("undo", undoCommand);
    in.addBuiltin("redo", redoCommand);
    in.addBuiltin("flushUndo", flushUndoCommand);
    in.addBuiltin("print", printCommand);
}

} // namespace kelphost
