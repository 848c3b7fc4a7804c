// Loading plug-ins: shared libraries found by path or by name (in the current
// directory, then the folders of MAYA_PLUG_IN_PATH), entered through their
// C++ entry points initializePlugin(MObject) / uninitializePlugin(MObject),
// with their MApiVersion text read; or plug-ins linked into the program.
#pragma once

#include <maya/MObject.h>
#include <maya/MStatus.h>

#include <string>
#include <vector>

namespace kelphost {

using PluginEntry = MStatus (*)(MObject);

struct PluginInfo {
    std::string name; // registry name: the file name without its extension
    std::string path; // "" for a linked plug-in
    std::string apiVersion;
};

// Loads a plug-in file. Already loaded: a warning (unless `quiet`) and success.
// On failure `error` tells why and nothing stays registered.
bool loadPluginFile(const std::string &pathOrName, bool quiet, std::string &name,
                    std::string &error);
// Enters a plug-in whose entry points are linked into the program.
bool loadLinkedPlugin(const std::string &name, PluginEntry initialize, PluginEntry uninitialize,
                      std::string &error);
// Calls uninitializePlugin and forgets the plug-in's registrations. The undo
// queue is flushed first (it may hold the plug-in's command objects). The
// library stays mapped: nodes of its types may still exist.
bool unloadPlugin(const std::string &name, std::string &error);
bool isPluginLoaded(const std::string &name);
std::vector<PluginInfo> loadedPlugins();
// Forgets every plug-in without calling uninitializePlugin (host reset).
void forgetAllPlugins();

// The symbol names the entry points have in a plug-in built against these headers.
std::string initializePluginSymbol();
std::string uninitializePluginSymbol();

} // namespace kelphost
