// kelp check FILE...: loads each file as the reader node does and prints one
// line per file.
#include "Cli.h"
#include "Geometry.h"

#include <iostream>

namespace kelptool {

const char *const kCheckUsage = "usage: kelp check FILE...";
const char *const kCheckHelp =
    "usage: kelp check FILE...\n"
    "\n"
    "Loads each geometry file as the reader node does and prints one line per file:\n"
    "  NAME: ok (P points, V vertices, N primitives)\n"
    "  NAME: failed: REASON\n"
    "\n"
    "Exit status: 0 when every file loaded, 1 when any did not, 2 on a usage error.\n";

int runCheck(const Args &args) {
    Args files;
    bool flags = true;
    for (const std::string &arg : args) {
        if (flags && arg == "--")
            flags = false;
        else if (flags && arg.size() > 1 && arg[0] == '-')
            throw UsageError("kelp check: unknown option " + arg, kCheckUsage);
        else
            files.push_back(arg);
    }
    if (files.empty())
        throw UsageError("kelp check: no file given", kCheckUsage);

    int status = kExitOk;
    for (const std::string &path : files) {
        Kelp model;
        const Outcome load = loadGeometry(model, path);
        if (load.ok) {
            std::cout << path << ": ok (" << model.getNumPoints() << " points, "
                      << model.getNumVerts() << " vertices, " << model.getNumPrims()
                      << " primitives)\n";
        } else {
            std::cout << path << ": failed: " << loadReason(load, path) << '\n';
            status = kExitFailed;
        }
        std::cout.flush();
    }
    return status;
}

} // namespace kelptool
