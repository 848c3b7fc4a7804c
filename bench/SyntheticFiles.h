// Generated classic geometry files for the benchmarks: particle clouds and
// triangulated grids of a chosen point count, written once into a cache
// folder as .bgeo and .bgeo.gz by a small byte writer of their own (they do
// not depend on Kelp's saver).
#ifndef KELP_BENCH_SYNTHETIC_FILES_H
#define KELP_BENCH_SYNTHETIC_FILES_H

#include <cstdint>
#include <string>

enum class DetailKind { Particles, Mesh };

struct SyntheticFile {
    DetailKind kind;
    std::uint32_t points;
    std::uint32_t primitives;
    std::string plainPath; // .bgeo
    std::string gzipPath;  // .bgeo.gz
};

const char *kindName(DetailKind kind);

// Returns the pair of files for this kind and point count, generating them in
// cacheDir first when they are missing; exits with a message when they cannot
// be written.
SyntheticFile syntheticFile(DetailKind kind, std::uint32_t points, const std::string &cacheDir);

// The folder that holds the generated files: $KELP_BENCH_CACHE, or
// "bench-cache" in the current directory; created when missing.
std::string benchCacheDir();

#endif
