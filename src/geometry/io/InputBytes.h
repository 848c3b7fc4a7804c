// The bytes of a file, or of a buffer in memory, read at any offset: what
// the stream sources read from. A file is opened, never read whole.
#ifndef KELP_GEOMETRY_IO_INPUTBYTES_H
#define KELP_GEOMETRY_IO_INPUTBYTES_H

#include "io/Inflate.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace kelp {

class InputBytes {
public:
    InputBytes() = default;
    InputBytes(const InputBytes &) = delete;
    InputBytes &operator=(const InputBytes &) = delete;
    ~InputBytes();

    // Over a buffer the caller keeps alive.
    void useMemory(const unsigned char *data, std::size_t size);
    // Opens a file. One that cannot be positioned (a pipe) is read whole
    // into memory here.
    ReadResult open(const std::string &path);

    std::uint64_t size() const { return m_size; }
    // Copies n bytes from offset to `to`; false when they are not all there
    // or the file cannot be read.
    bool readAt(std::uint64_t offset, unsigned char *to, std::size_t n);

private:
    const unsigned char *m_data = nullptr; // memory, or the file's bytes read whole
    std::FILE *m_file = nullptr;
    ByteBuffer m_whole;
    std::uint64_t m_size = 0;
    std::uint64_t m_at = 0; // where the file is positioned
};

} // namespace kelp

#endif
