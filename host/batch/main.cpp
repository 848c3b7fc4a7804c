// kelp-batch: the stand-in host's batch program.
//
//   kelp-batch [-q] [-c "statements"]... [script-file]...
//
// Runs the statements given with -c and the script files, in the order given,
// each statement as one entry of the undo queue, printing each result as
// "// Result: ... //" (not with -q). Stops at the first failing statement and
// exits with 1; exits with 2 on a usage error or an unreadable file.
#include "ScriptHost.h"

#include <cstring>
#include <iostream>
#include <string>
#include <vector>

namespace {

void usage() {
    std::cerr << "usage: kelp-batch [-q] [-c \"statements\"]... [script-file]...\n";
}

} // namespace

int main(int argc, char **argv) {
    struct Job {
        bool isFile;
        std::string text;
    };
    std::vector<Job> jobs;
    bool echo = true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-c") == 0 || std::strcmp(argv[i], "-command") == 0) {
            if (i + 1 >= argc) {
                usage();
                return 2;
            }
            jobs.push_back({false, argv[++i]});
        } else if (std::strcmp(argv[i], "-q") == 0) {
            echo = false;
        } else if (std::strcmp(argv[i], "-h") == 0 || std::strcmp(argv[i], "--help") == 0) {
            usage();
            return 0;
        } else if (argv[i][0] == '-' && argv[i][1] != '\0') {
            std::cerr << "kelp-batch: unknown option " << argv[i] << "\n";
            usage();
            return 2;
        } else {
            jobs.push_back({true, argv[i]});
        }
    }
    if (jobs.empty()) {
        usage();
        return 2;
    }
    for (const Job &job : jobs) {
        std::string script = job.text;
        if (job.isFile) {
            std::string error;
            if (!kelphost::script::readFile(job.text, script, error)) {
                std::cerr << "kelp-batch: " << error << "\n";
                return 2;
            }
        }
        if (!kelphost::script::run(script, echo))
            return 1;
    }
    return 0;
}
