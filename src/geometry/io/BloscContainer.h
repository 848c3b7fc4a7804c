// The container of .bgeo.sc files: "scf1", 8 reserved bytes, Blosc 1.x
// chunks back to back, then an index (big-endian 64-bit words: the start of
// every chunk but the first counted from the first chunk, the uncompressed
// size of every chunk but the last, the uncompressed size of the last, and
// the index length) and "1fcs".
#ifndef KELP_GEOMETRY_JSON_BLOSCCONTAINER_H
#define KELP_GEOMETRY_JSON_BLOSCCONTAINER_H

#include "io/ByteBuffer.h"
#include "io/ByteSource.h"
#include "io/InputBytes.h"

#include <cstddef>
#include <memory>
#include <string>

namespace kelp {

// Decompresses every chunk into out (the whole stream in one buffer). The
// index and each chunk's own header must agree; false, with the reason in
// error, for a damaged or truncated container.
bool unpackBloscContainer(const unsigned char *data, std::size_t size, ByteBuffer &out,
                          std::string &error);

// The stream inside the container at the start of input, decompressed a
// batch of chunks at a time (one chunk per hardware thread, all joined
// before the batch is read) as it is read. The layout and the index are
// checked here; each chunk's header when its batch comes. nullptr, with the
// reason in error, when the layout or the index is damaged.
std::unique_ptr<ByteSource> openBloscStream(InputBytes &input, std::string &error);

} // namespace kelp

#endif
