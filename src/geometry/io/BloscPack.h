// Writing the container of .bgeo.sc files (see BloscContainer.h for the
// layout): the stream cut into 1 MiB blocks, each a Blosc 1.x chunk made
// with LZ4 and byte shuffle over 4-byte items, as Houdini's files have.
#ifndef KELP_GEOMETRY_IO_BLOSCPACK_H
#define KELP_GEOMETRY_IO_BLOSCPACK_H

#include <cstddef>
#include <string>
#include <vector>

namespace kelp {

const std::size_t kBloscBlock = 1048576;

// Packs size bytes of data into out (the whole container). The chunks are
// compressed on `threads` threads (0: one per hardware thread), all joined
// before it returns. False, with the reason in error, when compression fails.
bool packBloscContainer(const unsigned char *data, std::size_t size,
                        std::vector<unsigned char> &out, std::string &error, unsigned threads = 0);

} // namespace kelp

#endif
