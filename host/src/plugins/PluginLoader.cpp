#include "PluginLoader.h"

#include "UndoRecorder.h"
#include "../Scene.h"

#include <maya/MGlobal.h>
#include <maya/MString.h>

#include <sys/stat.h>
#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <cstdlib>
#include <cstring>

namespace kelphost {

namespace {

#define KELP_STR_(x) #x
#define KELP_STR(x) KELP_STR_(x)

struct Loaded {
    PluginInfo info;
    void *handle = nullptr;
    PluginEntry initialize = nullptr;
    PluginEntry uninitialize = nullptr;
    MObject object;
};

std::vector<Loaded> &plugins() {
    static auto *list = new std::vector<Loaded>; // never destroyed (holds scene objects)
    return *list;
}

Loaded *find(const std::string &name) {
    // A host reset may have dropped registrations behind the loader's back.
    auto &list = plugins();
    for (auto it = list.begin(); it != list.end();) {
        if (scene::findPluginObject(MString(it->info.name.c_str())).isNull())
            it = list.erase(it);
        else
            ++it;
    }
    for (Loaded &p : list)
        if (p.info.name == name)
            return &p;
    return nullptr;
}

// The system's library calls: the file name suffix, the separator of the
// search path, opening, looking up and closing.
#ifdef _WIN32
const char *const kSuffix = ".mll";
const char kPathSeparator = ';';
void *openLibrary(const std::string &path, std::string &why) {
    HMODULE module = ::LoadLibraryA(path.c_str());
    if (!module)
        why = "error " + std::to_string(::GetLastError());
    return reinterpret_cast<void *>(module);
}
void *findSymbol(void *handle, const std::string &name) {
    return reinterpret_cast<void *>(::GetProcAddress(static_cast<HMODULE>(handle), name.c_str()));
}
void closeLibrary(void *handle) {
    ::FreeLibrary(static_cast<HMODULE>(handle));
}
#else
const char *const kSuffix = ".so";
const char kPathSeparator = ':';
void *openLibrary(const std::string &path, std::string &why) {
    void *handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char *error = ::dlerror();
        why = error ? error : "";
    }
    return handle;
}
void *findSymbol(void *handle, const std::string &name) {
    return ::dlsym(handle, name.c_str());
}
void closeLibrary(void *handle) {
    ::dlclose(handle);
}
#endif

bool isFile(const std::string &path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string baseName(const std::string &path) {
    size_t slash = path.rfind('/');
    std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
    size_t dot = file.find('.');
    return dot == std::string::npos ? file : file.substr(0, dot);
}

// The file a name or path stands for; "" when there is none.
std::string resolve(const std::string &pathOrName) {
    const bool hasExt =
        baseName(pathOrName).size() != pathOrName.substr(pathOrName.rfind('/') + 1).size();
    std::vector<std::string> tries = {pathOrName};
    if (!hasExt)
        tries.push_back(pathOrName + kSuffix);
    if (pathOrName.find('/') != std::string::npos) {
        for (const std::string &t : tries)
            if (isFile(t))
                return t;
        return std::string();
    }
    std::vector<std::string> dirs = {"."};
    if (const char *env = std::getenv("MAYA_PLUG_IN_PATH")) {
        std::string s = env;
        size_t start = 0;
        while (start <= s.size()) {
            size_t colon = s.find(kPathSeparator, start);
            if (colon == std::string::npos)
                colon = s.size();
            if (colon > start)
                dirs.push_back(s.substr(start, colon - start));
            start = colon + 1;
        }
    }
    for (const std::string &d : dirs)
        for (const std::string &t : tries)
            if (isFile(d + "/" + t))
                return d == "." ? "./" + t : d + "/" + t;
    return std::string();
}

std::string mangled(const char *function) {
    const char *ns = KELP_STR(OPENMAYA_MAJOR_NAMESPACE);
    return "_Z" + std::to_string(std::strlen(function)) + function + "N" +
           std::to_string(std::strlen(ns)) + ns + "7MObjectE";
}

// On Linux the entry points have C++ linkage: their names carry the argument
// type (a plug-in built against headers without the namespace has the plain
// form). Windows plug-ins export them under their bare names.
void *entryPoint(void *handle, const char *function) {
#ifdef _WIN32
    return findSymbol(handle, function);
#else
    void *entry = findSymbol(handle, mangled(function));
    if (!entry)
        entry = findSymbol(handle,
                           "_Z" + std::to_string(std::strlen(function)) + function + "7MObject");
    return entry;
#endif
}

bool enter(Loaded &p, std::string &error) {
    p.object =
        scene::createPluginObject(MString(p.info.name.c_str()), MString(p.info.path.c_str()));
    MStatus st = p.initialize(p.object);
    if (!st) {
        scene::forgetPlugin(p.object);
        error = "initializePlugin function failed (" + p.info.name + ")";
        return false;
    }
    return true;
}

} // namespace

std::string initializePluginSymbol() {
    return mangled("initializePlugin");
}
std::string uninitializePluginSymbol() {
    return mangled("uninitializePlugin");
}

bool loadPluginFile(const std::string &pathOrName, bool quiet, std::string &name,
                    std::string &error) {
    name = baseName(pathOrName);
    if (find(name)) {
        if (!quiet)
            MGlobal::displayWarning(MString(("Plug-in '" + name + "' is already loaded.").c_str()));
        return true;
    }
    const std::string path = resolve(pathOrName);
    if (path.empty()) {
        error = "Plug-in '" + pathOrName + "' was not found.";
        return false;
    }
    std::string why;
    void *handle = openLibrary(path, why);
    if (!handle) {
        error = "Unable to dynamically load : " + path + (why.empty() ? "" : "\n" + why);
        return false;
    }
    Loaded p;
    p.info.name = name;
    p.info.path = path;
    p.handle = handle;
    void *init = entryPoint(handle, "initializePlugin");
    void *uninit = entryPoint(handle, "uninitializePlugin");
    if (!init || !uninit) {
        closeLibrary(handle);
        error = "Plug-in '" + path + "' has no " +
                (init ? "uninitializePlugin" : "initializePlugin") + " function";
        return false;
    }
    p.initialize = reinterpret_cast<PluginEntry>(init);
    p.uninitialize = reinterpret_cast<PluginEntry>(uninit);
    if (const char *version = static_cast<const char *>(findSymbol(handle, "MApiVersion")))
        p.info.apiVersion = version;
    else
        MGlobal::displayWarning(MString(("Plug-in '" + name + "' exports no MApiVersion").c_str()));
    if (!enter(p, error)) {
        closeLibrary(handle);
        return false;
    }
    plugins().push_back(p);
    return true;
}

bool loadLinkedPlugin(const std::string &name, PluginEntry initialize, PluginEntry uninitialize,
                      std::string &error) {
    if (find(name)) {
        error = "Plug-in '" + name + "' is already loaded.";
        return false;
    }
    Loaded p;
    p.info.name = name;
    p.info.apiVersion = KELP_STR(MAYA_API_VERSION);
    p.initialize = initialize;
    p.uninitialize = uninitialize;
    if (!initialize || !uninitialize) {
        error = "Plug-in '" + name + "' lacks an entry point";
        return false;
    }
    if (!enter(p, error))
        return false;
    plugins().push_back(p);
    return true;
}

bool unloadPlugin(const std::string &name, std::string &error) {
    Loaded *p = find(name);
    if (!p) {
        error = "Plug-in '" + name + "' is not loaded.";
        return false;
    }
    UndoHistory::instance().flush();
    MStatus st = p->uninitialize(p->object);
    if (!st) {
        error = "uninitializePlugin function failed (" + name + ")";
        return false;
    }
    scene::forgetPlugin(p->object);
    // The library stays mapped (never dlclose'd): nodes made from its types
    // may still exist and refer to its code.
    for (auto it = plugins().begin(); it != plugins().end(); ++it) {
        if (it->info.name == name) {
            plugins().erase(it);
            break;
        }
    }
    return true;
}

bool isPluginLoaded(const std::string &name) {
    return find(name) != nullptr;
}

std::vector<PluginInfo> loadedPlugins() {
    std::vector<PluginInfo> out;
    for (const Loaded &p : plugins())
        out.push_back(p.info);
    return out;
}

void forgetAllPlugins() {
    plugins().clear();
}

} // namespace kelphost
