// The host's script interpreter: runs statements through the built-in commands
// and the commands plug-ins register, keeps the command result, records undo.
#pragma once

#include "CommandResult.h"
#include "ScriptLexer.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace kelphost {

struct BuiltinContext {
    const ScriptStatement &statement;
    std::vector<ScriptWord> args; // the words after the command name
    CommandResult &result;
    std::string error; // set by a failing command
};

using BuiltinCommand = bool (*)(BuiltinContext &);

class Interpreter {
public:
    static Interpreter &instance();

    enum class Undo {
        kHistory, // each statement becomes one entry of the host's undo queue
        kCurrent, // statements record into the innermost open undo chunk (if any)
    };

    // Runs the statements of `script` in order and stops at the first failing
    // one, which is reported with its text. `echo` prints each non-empty result
    // as "// Result: ... //". `last` (optional) receives the last statement's
    // result. A run nested in a running command keeps that command's result.
    bool run(const std::string &script, Undo undo, bool echo, CommandResult *last = nullptr);

    // The result of the last statement run.
    CommandResult &result() { return result_; }

    void addBuiltin(const std::string &name, BuiltinCommand fn);
    bool isBuiltin(const std::string &name) const { return builtins_.count(name) != 0; }
    std::vector<std::string> builtinNames() const;

    // Script output (results, "// Undo: ... //", the print command's text),
    // shown as the host's Output messages.
    void print(const std::string &line);

private:
    Interpreter();
    bool runStatement(const ScriptStatement &st, std::string &error);
    bool runAll(const std::vector<ScriptStatement> &statements, Undo undo, bool echo);

    std::map<std::string, BuiltinCommand> builtins_;
    CommandResult result_;
    int depth_ = 0;
};

// Registration of the built-in command groups (host/src/commands).
void registerHistoryCommands(Interpreter &in);
void registerSceneCommands(Interpreter &in);
void registerNodeCommands(Interpreter &in);
void registerAttributeCommands(Interpreter &in);
void registerPolyCommands(Interpreter &in);
void registerPolySetCommands(Interpreter &in);
void registerPluginCommands(Interpreter &in);
void registerQueryCommands(Interpreter &in);

// Runs a command registered by a plug-in (host/src/commands/PluginCommandRunner.cpp).
// Returns false when no plug-in registered `name`; otherwise `ok` tells success.
bool runPluginCommand(const std::string &name, BuiltinContext &ctx, bool &ok);

} // namespace kelphost
