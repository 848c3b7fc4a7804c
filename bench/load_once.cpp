// Loads one geometry file once. Used under callgrind (instructions per byte of
// a load) and, with --memory, to measure the resident high-water mark of a
// load in a process of its own.
#include "ModelBytes.h"

#include <Kelp>

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

namespace {

// A "VmRSS:" or "VmHWM:" figure of this process, in bytes.
unsigned long long statusBytes(const char *key) {
    std::ifstream in("/proc/self/status");
    std::string line;
    const std::size_t len = std::strlen(key);
    while (std::getline(in, line))
        if (line.compare(0, len, key) == 0)
            return std::stoull(line.substr(len)) * 1024ull;
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    bool memory = argc == 3 && std::strcmp(argv[1], "--memory") == 0;
    if (argc != 2 && !memory) {
        std::fprintf(stderr, "usage: %s [--memory] file.bgeo[.gz]\n", argv[0]);
        return 2;
    }
    const char *path = argv[argc - 1];
    unsigned long long before = statusBytes("VmRSS:");
    Kelp detail;
    if (!detail.loadBgeo(path))
        return 1;
    if (memory) {
        unsigned long long hwm = statusBytes("VmHWM:");
        std::printf("peak_bytes=%llu model_bytes=%llu\n", hwm > before ? hwm - before : 0ull,
                    static_cast<unsigned long long>(modelBytes(detail)));
    }
    return 0;
}
