// kelp: the command-line companion of the plug-in. Shows what geometry files
// hold, checks that they load, and converts between their forms, with the
// same geometry library the plug-in uses and no host at all.
#include "Cli.h"

#include <Kelp>

#include <cstdlib>
#include <cstring>
#include <iostream>

namespace kelptool {

bool isHelpFlag(const std::string &arg) {
    return arg == "--help" || arg == "-h";
}

namespace {

const char *const kUsage = "usage: kelp info|convert|check ARGS... (kelp help for more)";
const char *const kHelp =
    "usage: kelp VERB ARGS...\n"
    "\n"
    "  kelp info [--json] FILE...       what each geometry file holds\n"
    "  kelp convert IN OUT [--format classic|json] [--range A-B[:STEP]]\n"
    "                                   converts a file or a frame sequence\n"
    "  kelp check FILE...               whether each file loads, one line each\n"
    "  kelp help [VERB]                 this text, or a verb's\n"
    "\n"
    "Every verb takes --help. KELP_TRACE=1 adds the geometry library's byte-level\n"
    "trace on standard error.\n"
    "\n"
    "Exit status: 0 when everything succeeded, 1 when any file failed, 2 on a\n"
    "usage error.\n";

struct Verb {
    const char *name;
    int (*run)(const Args &);
    const char *help;
};

const Verb kVerbs[] = {
    {"info", runInfo, kInfoHelp},
    {"convert", runConvert, kConvertHelp},
    {"check", runCheck, kCheckHelp},
};

const Verb *findVerb(const std::string &name) {
    for (const Verb &v : kVerbs)
        if (name == v.name)
            return &v;
    return nullptr;
}

int usageError(const std::string &message, const std::string &usage) {
    std::cerr << message << '\n' << usage << '\n';
    return kExitUsage;
}

int help(const Args &args) {
    if (args.empty()) {
        std::cout << kHelp;
        return kExitOk;
    }
    if (args.size() > 1)
        return usageError("kelp help: one verb at most", kUsage);
    const Verb *verb = findVerb(args[0]);
    if (!verb)
        return usageError("kelp help: unknown verb " + args[0], kUsage);
    std::cout << verb->help;
    return kExitOk;
}

int run(int argc, char **argv) {
    if (argc < 2)
        return usageError("kelp: no verb given", kUsage);
    const std::string name = argv[1];
    const Args args(argv + 2, argv + argc);
    if (isHelpFlag(name))
        return help(Args());
    if (name == "help")
        return help(args);
    const Verb *verb = findVerb(name);
    if (!verb)
        return usageError("kelp: unknown verb " + name, kUsage);
    for (const std::string &arg : args) {
        if (arg == "--")
            break;
        if (isHelpFlag(arg)) {
            std::cout << verb->help;
            return kExitOk;
        }
    }
    try {
        return verb->run(args);
    } catch (const UsageError &e) {
        return usageError(e.what(), e.usage());
    }
}

} // namespace

} // namespace kelptool

int main(int argc, char **argv) {
    if (const char *debug = std::getenv("KELP_TRACE"))
        global_doDebug = std::strcmp(debug, "1") == 0 ? 1 : 0;
    try {
        return kelptool::run(argc, argv);
    } catch (const std::exception &e) {
        std::cerr << "kelp: " << e.what() << '\n';
        return kelptool::kExitFailed;
    }
}
