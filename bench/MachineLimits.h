// The machine's limits on the bytes of a geometry file: the least work any
// loader or saver of that file has to do, timed next to Kelp's own calls.
#ifndef KELP_BENCH_MACHINE_LIMITS_H
#define KELP_BENCH_MACHINE_LIMITS_H

#include "JsonFiles.h"

#include <Kelp>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Whole file in memory (set-up work, not timed).
std::vector<unsigned char> readWholeFile(const std::string &path);

// Reads the plain file into a freshly allocated buffer and byte-swaps every
// value into freshly allocated arrays, one per attribute (positions, each
// point attribute, polygon vertex counts, point indices, each vertex
// attribute). Returns a checksum of the arrays, or 0 when the bytes do not
// parse. When wholeFile is false, the file is read in 1 MiB pieces into one
// reused buffer instead (the arrays are still fresh). With hugePages, every
// new block larger than 4 MiB is given 2 MiB pages (madvise MADV_HUGEPAGE).
std::uint64_t readAndSwap(const std::string &plainPath, bool wholeFile, bool hugePages);

// Reads a gzip file in pieces, inflates it through a reused 1 MiB window and
// byte-swaps into fresh arrays as readAndSwap does: what a streaming loader of
// a .bgeo.gz has to do at least.
std::uint64_t inflateAndSwap(const std::string &gzipPath);

// One-shot zlib inflate of a whole gzip member into a fresh buffer of the
// size its trailer gives (with 2 MiB pages when hugePages is set); returns
// the number of bytes produced.
std::size_t inflateWhole(const std::vector<unsigned char> &gz, bool hugePages);

// The same with libdeflate, for comparison.
std::size_t libdeflateInflateWhole(const std::vector<unsigned char> &gz);

// One-shot zlib deflate (gzip wrapper, level 6, window 15, memory level 8,
// the saver's parameters) of the whole plain file held in memory; returns
// the compressed size.
std::size_t deflateWhole(const std::vector<unsigned char> &plain, int level);

// Gathers a detail's arrays into the classic byte layout in a reused 1 MiB
// block and writes the block to path as it fills; returns the bytes written,
// or 0 on a write failure. With sync, the file is also flushed to the disk
// (fsync) before it is closed.
std::size_t gatherAndWrite(const Kelp &detail, const std::string &path, bool sync);

// JSON-based files. Reads the .bgeo into a fresh buffer and byte-swaps each
// of its big arrays (P, N, uv, point indices) into a fresh array: the same
// kind of limit as readAndSwap. Returns a checksum, or 0 on a read failure.
// hugePages as for readAndSwap.
std::uint64_t jsonReadSwap(const std::string &plainPath, const std::vector<JsonArray> &arrays,
                           bool hugePages);

// Reads the .bgeo.sc into a fresh buffer, decompresses all its Blosc chunks
// (libblosc, one thread) into one fresh buffer of streamBytes and byte-swaps
// the big arrays as jsonReadSwap does. Returns a checksum, or 0 when the
// container does not decompress to streamBytes.
std::uint64_t bloscReadSwap(const std::string &scPath, std::size_t streamBytes,
                            const std::vector<JsonArray> &arrays, bool hugePages);

// Blosc decompression alone of the whole container held in memory, into a
// fresh buffer; returns the bytes produced (0 on a failure).
std::size_t bloscDecompressWhole(const std::vector<unsigned char> &sc, std::size_t streamBytes);

// The least a JSON .bgeo save does: copies the detail's big arrays (point
// "P" and every point and vertex attribute of floats or vectors, then each
// polygon's point numbers as 32-bit values) through a reused 1 MiB block,
// padded with zeros to streamBytes (the size of the stream the saver
// writes, token bytes included), and writes each block to path as it fills.
// Returns the bytes written, or 0 on a write failure. sync as for
// gatherAndWrite.
std::size_t jsonGatherAndWrite(const Kelp &detail, std::size_t streamBytes, const std::string &path,
                               bool sync);

// Blosc compression alone of a whole stream held in memory, with the saver's
// settings: 1 MiB chunks, LZ4 at level 7, byte shuffle over 4-byte items,
// each chunk on one thread of `threads` (0: one per hardware thread), into
// fresh buffers. Returns the compressed bytes, or 0 on a failure.
std::size_t bloscCompressWhole(const std::vector<unsigned char> &stream, unsigned threads);

#endif
