// Script running and plug-in loading for tests and kelp-batch (testing/ScriptHost.h).
#include "../../testing/ScriptHost.h"

#include "ActiveSelection.h"
#include "Interpreter.h"
#include "PluginLoader.h"
#include "UndoRecorder.h"

#include <maya/MGlobal.h>
#include <maya/MSelectionList.h>
#include <maya/MStringArray.h>

#include <fstream>
#include <sstream>

namespace kelphost {
namespace script {

namespace {
CommandResult &last() {
    static CommandResult r;
    return r;
}

void report(const std::string &error, std::string *out) {
    if (out)
        *out = error;
}
} // namespace

bool run(const std::string &statements, bool echo) {
    hookCommandSideReset();
    return Interpreter::instance().run(statements, Interpreter::Undo::kHistory, echo, &last());
}

std::vector<std::string> lastResult() {
    std::vector<std::string> items;
    for (size_t i = 0; i < last().size(); ++i)
        items.push_back(last().item(i));
    return items;
}

std::string lastResultText() {
    return last().text();
}

bool loadPlugin(const std::string &pathOrName, std::string *error) {
    std::string name, why;
    const bool ok = loadPluginFile(pathOrName, true, name, why);
    report(why, error);
    return ok;
}

bool unloadPlugin(const std::string &name, std::string *error) {
    std::string why;
    const bool ok = kelphost::unloadPlugin(name, why);
    report(why, error);
    return ok;
}

bool loadLinkedPlugin(const std::string &name, MStatus (*initialize)(MObject),
                      MStatus (*uninitialize)(MObject), std::string *error) {
    std::string why;
    const bool ok = kelphost::loadLinkedPlugin(name, initialize, uninitialize, why);
    report(why, error);
    return ok;
}

std::string pluginApiVersion(const std::string &name) {
    for (const PluginInfo &p : loadedPlugins())
        if (p.name == name)
            return p.apiVersion;
    return std::string();
}

std::vector<std::string> selection() {
    MSelectionList list;
    MGlobal::getActiveSelectionList(list);
    MStringArray names;
    list.getSelectionStrings(names);
    std::vector<std::string> out;
    for (unsigned int i = 0; i < names.length(); ++i)
        out.push_back(names[i].asChar());
    return out;
}

size_t undoCount() {
    return UndoHistory::instance().undoCount();
}
size_t redoCount() {
    return UndoHistory::instance().redoCount();
}

bool readFile(const std::string &path, std::string &text, std::string &error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read " + path;
        return false;
    }
    std::ostringstream s;
    s << in.rdbuf();
    text = s.str();
    return true;
}

} // namespace script
} // namespace kelphost
