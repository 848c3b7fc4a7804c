// The parallel-decompression limit of a .bgeo.sc: its Blosc chunks are
// independent, so each of a few threads takes the next chunk, decompresses
// it into a 1 MiB window of its own and copies the parts of the big arrays
// that lie in that chunk into fresh arrays (the values of a JSON stream are
// little-endian already). Memory beyond the file and the arrays: one window
// per thread.
#ifndef KELP_BENCH_PARALLEL_BLOSC_H
#define KELP_BENCH_PARALLEL_BLOSC_H

#include "JsonFiles.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Reads the .bgeo.sc into a fresh buffer and does the above on `threads`
// threads (the calling one among them; all joined before it returns).
// Returns a checksum of the arrays, or 0 when the container does not
// decompress to streamBytes or an array lies outside the stream.
std::uint64_t bloscPlaceParallel(const std::string &scPath, std::size_t streamBytes,
                                 const std::vector<JsonArray> &arrays, unsigned threads);

#endif
