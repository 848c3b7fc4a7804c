// loadPlugin and unloadPlugin.
#include "BuiltinArgs.h"
#include "Interpreter.h"
#include "PluginLoader.h"

namespace kelphost {

namespace {

// loadPlugin [-qt] pathOrName...: returns the names of the plug-ins loaded.
bool loadPluginCommand(BuiltinContext &ctx) {
    BuiltinArgs a;
    if (!parseBuiltinArgs(ctx.args, {{"qt", "quiet", 0}}, a, ctx.error))
        return false;
    if (a.positional.empty()) {
        ctx.error = "loadPlugin needs a plug-in name or path";
        return false;
    }
    std::vector<std::string> names;
    for (const std::string &p : a.positional) {
        std::string name;
        if (!loadPluginFile(p, a.has("quiet"), name, ctx.error))
            return false;
        names.push_back(name);
    }
    ctx.result.setStrings(names);
    return true;
}

// unloadPlugin name...: returns the names unloaded.
bool unloadPluginCommand(BuiltinContext &ctx) {
    BuiltinArgs a;
    if (!parseBuiltinArgs(ctx.args, {{"f", "force", 0}}, a, ctx.error))
        return false;
    if (a.positional.empty()) {
        ctx.error = "unloadPlugin needs a plug-in name";
        return false;
    }
    std::vector<std::string> names;
    for (const std::string &p : a.positional) {
        // A path or a file name stands for its registry name.
        std::string name = p.substr(p.rfind('/') + 1);
        name = name.substr(0, name.find('.'));
        if (!unloadPlugin(name, ctx.error))
            return false;
        names.push_back(name);
    }
    ctx.result.setStrings(names);
    return true;
}

} // namespace

void registerPluginCommands(Interpreter &in) {
    in.addBuiltin("loadPlugin", loadPluginCommand);
    in.addBuiltin("unloadPlugin", unloadPluginCommand);
}

} // namespace kelphost
