// Peak memory of one load, measured in a child process (the load-once driver)
// so that nothing else the benchmark holds is counted.
#ifndef KELP_BENCH_PEAK_MEMORY_H
#define KELP_BENCH_PEAK_MEMORY_H

#include <cstdint>
#include <string>

struct LoadMemory {
    bool ok = false;
    std::uint64_t peakBytes = 0;  // resident high-water mark minus resident size before the load
    std::uint64_t modelBytes = 0; // the loaded detail's own arrays
};

// The most a load may hold at its peak: 1.05 x the model's bytes + 4 MiB.
inline double peakTarget(const LoadMemory &m) {
    return 1.05 * static_cast<double>(m.modelBytes) + 4.0 * 1024 * 1024;
}

// Runs `driver --memory file` and reads what it prints.
LoadMemory measureLoadMemory(const std::string &driver, const std::string &file);

// The folder of the running executable, where the driver is built.
std::string executableDir();

#endif
