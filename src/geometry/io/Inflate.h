// Whole-file input: read a file into memory in one go, and inflate a gzip
// stream held in memory into one buffer.
#ifndef KELP_GEOMETRY_INFLATE_H
#define KELP_GEOMETRY_INFLATE_H

#include "io/ByteBuffer.h"

#include <cstddef>
#include <string>

namespace kelp {

enum class ReadResult { Ok, CannotOpen, NotAFile, ReadFailed, OutOfMemory };

ReadResult readWholeFile(const std::string &path, ByteBuffer &out);

// The error code of an inflate that ran out of memory (zlib's Z_MEM_ERROR).
const int kInflateOutOfMemory = -4;

// Why an inflate failed: zlib's description and error code.
struct InflateError {
    std::string description;
    int code = 0;
};

// Inflates the gzip stream in data (several members one after another are
// joined, bytes after the last member are ignored). False, with the reason,
// for a corrupt or truncated stream.
bool gunzip(const unsigned char *data, std::size_t size, ByteBuffer &out, InflateError &error);

} // namespace kelp

#endif
