#include "Interpreter.h"

#include "UndoRecorder.h"
#include "../Messages.h"

#include <maya/MGlobal.h>
#include <maya/MString.h>

namespace kelphost {

Interpreter &Interpreter::instance() {
    static Interpreter interp;
    return interp;
}

Interpreter::Interpreter() {
    registerHistoryCommands(*this);
    registerSceneCommands(*this);
    registerNodeCommands(*this);
    registerAttributeCommands(*this);
    registerPolyCommands(*this);
    registerPolySetCommands(*this);
    registerPluginCommands(*this);
    registerQueryCommands(*this);
}

void Interpreter::addBuiltin(const std::string &name, BuiltinCommand fn) {
    builtins_[name] = fn;
}

std::vector<std::string> Interpreter::builtinNames() const {
    std::vector<std::string> names;
    for (const auto &b : builtins_)
        names.push_back(b.first);
    return names;
}

void Interpreter::print(const std::string &line) {
    messages::emit(messages::Kind::Output, line);
}

bool Interpreter::run(const std::string &script, Undo undo, bool echo, CommandResult *last) {
    std::vector<ScriptStatement> statements;
    std::string error;
    if (!splitScript(script, statements, error)) {
        MGlobal::displayError(MString(("Syntax error: " + error).c_str()));
        return false;
    }
    const bool nested = depth_ > 0;
    CommandResult saved;
    if (nested)
        saved = result_;
    const bool ok = runAll(statements, undo, echo);
    if (last)
        *last = result_;
    if (nested)
        result_ = saved;
    return ok;
}

bool Interpreter::runAll(const std::vector<ScriptStatement> &statements, Undo undo, bool echo) {
    std::string error;
    for (const ScriptStatement &st : statements) {
        bool ok;
        if (undo == Undo::kHistory) {
            UndoChunk chunk;
            chunk.label = st.text;
            {
                UndoRecordScope scope(&chunk);
                ok = runStatement(st, error);
            }
            if (!chunk.empty())
                UndoHistory::instance().add(std::move(chunk));
        } else {
            ok = runStatement(st, error);
        }
        if (!ok) {
            std::string msg = "line " + std::to_string(st.line) + ": " + st.text;
            if (!error.empty())
                msg += ": " + error;
            MGlobal::displayError(MString(msg.c_str()));
            return false;
        }
        if (echo && !result_.empty())
            print("// Result: " + result_.text() + " //");
    }
    return true;
}

bool Interpreter::runStatement(const ScriptStatement &st, std::string &error) {
    error.clear();
    result_.clear();
    const std::string &name = st.words[0].text;
    BuiltinContext ctx{st, std::vector<ScriptWord>(st.words.begin() + 1, st.words.end()), result_,
                       std::string()};
    ++depth_;
    bool ok = false;
    auto it = builtins_.find(name);
    if (it != builtins_.end()) {
        ok = it->second(ctx);
    } else if (!runPluginCommand(name, ctx, ok)) {
        ctx.error = "Cannot find procedure \"" + name + "\".";
        ok = false;
    }
    --depth_;
    if (!ok) {
        error = ctx.error;
        result_.clear();
    }
    return ok;
}

} // namespace kelphost
