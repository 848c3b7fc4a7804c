#include "PeakMemory.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>

LoadMemory measureLoadMemory(const std::string &driver, const std::string &file) {
    LoadMemory m;
    std::string cmd = "'" + driver + "' --memory '" + file + "'";
    std::FILE *p = popen(cmd.c_str(), "r");
    if (!p)
        return m;
    char line[512];
    while (std::fgets(line, sizeof(line), p)) {
        unsigned long long peak = 0, model = 0;
        if (std::sscanf(line, "peak_bytes=%llu model_bytes=%llu", &peak, &model) == 2) {
            m.peakBytes = peak;
            m.modelBytes = model;
            m.ok = true;
        }
    }
    if (pclose(p) != 0)
        m.ok = false;
    return m;
}

std::string executableDir() {
    char buf[4096];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof(buf) - 1);
    if (n <= 0)
        return ".";
    buf[n] = 0;
    char *slash = std::strrchr(buf, '/');
    if (slash)
        *slash = 0;
    return buf;
}
