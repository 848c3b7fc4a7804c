// Generated JSON-based geometry for the benchmarks: the rippled triangle grid
// of the classic mesh (SyntheticFiles.h: the same points, triangles, point
// "N" and vertex "uv") in Houdini's binary JSON layout, written once into the
// cache folder as .bgeo and in the Blosc container as .bgeo.sc by a small
// token writer of its own (it does not depend on Kelp).
#ifndef KELP_BENCH_JSON_FILES_H
#define KELP_BENCH_JSON_FILES_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// One uniform array of 4-byte values inside the binary JSON stream.
struct JsonArray {
    std::size_t offset; // of its first value, in the (decompressed) stream
    std::size_t count;  // number of 4-byte values
};

struct JsonFile {
    std::uint32_t points = 0;
    std::uint32_t primitives = 0;
    std::size_t streamBytes = 0;   // size of the binary JSON stream (the .bgeo)
    std::vector<JsonArray> arrays; // point P and N, vertex uv, point indices
    std::string plainPath;         // .bgeo
    std::string bloscPath;         // .bgeo.sc
};

// Returns the pair of files for about this many points, generating them in
// cacheDir first when they are missing; exits with a message when they cannot
// be written. The layout of the big arrays is rebuilt on every call (the
// stream is regenerated in memory, which takes a fraction of a second).
JsonFile jsonMeshFile(std::uint32_t points, const std::string &cacheDir);

#endif
