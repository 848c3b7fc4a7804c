// The container of .bgeo.sc files: "scf1", 8 reserved bytes, Blosc 1.x
// chunks back to back, then an index (big-endian 64-bit words: the start of
// every chunk but the first counted from the first chunk, the uncompressed
// size of every chunk but the last, the uncompressed size of the last, and
// the index length) and "1fcs".
#ifndef KELP_GEOMETRY_JSON_BLOSCCONTAINER_H
#define KELP_GEOMETRY_JSON_BLOSCCONTAINER_H

#include "io/ByteBuffer.h"

#include <cstddef>
#include <string>

namespace kelp {

// Decompresses every chunk into out (the whole stream in one buffer). The
// index and each chunk's own header must agree; false, with the reason in
// error, for a damaged or truncated container.
bool unpackBloscContainer(const unsigned char *data, std::size_t size, ByteBuffer &out,
                          std::string &error);

} // namespace kelp

#endif
