// Streaming-inflate limits of a .bgeo.gz: the whole gzip stream inflated
// through one bounded output window that is reused, the file read in pieces;
// nothing is kept. This is the decompression a streaming loader cannot avoid.
#ifndef KELP_BENCH_STREAM_INFLATE_H
#define KELP_BENCH_STREAM_INFLATE_H

#include <cstddef>
#include <string>

// Bytes of the reused output window and of each read of the file.
const std::size_t kInflateWindow = 1 << 20;

// zlib's inflate; returns the bytes inflated, or 0 when the file cannot be
// read or its stream (or its check value) is damaged.
std::size_t zlibStreamInflate(const std::string &gzipPath);

// Whether ISA-L's inflate was found when the benchmarks were built.
bool haveIsal();

// The same with ISA-L's streaming isal_inflate (0 without ISA-L).
std::size_t isalStreamInflate(const std::string &gzipPath);

#endif
