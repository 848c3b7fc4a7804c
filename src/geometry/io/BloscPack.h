// Writing the container of .bgeo.sc files (see BloscContainer.h for the
// layout): the stream cut into 1 MiB blocks, each a Blosc 1.x chunk made
// with LZ4 and byte shuffle over 4-byte items, as Houdini's files have.
#ifndef KELP_GEOMETRY_IO_BLOSCPACK_H
#define KELP_GEOMETRY_IO_BLOSCPACK_H

#include "io/ByteSink.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kelp {

const std::size_t kBloscBlock = 1048576;

// The container in front of a ByteSink: takes the stream in pieces of any
// size, compresses its blocks a batch at a time on `threads` threads (0: one
// per hardware thread, all joined before each batch is written) and writes
// the container to out as it goes, the same bytes on any thread count.
class BloscWriter : public ByteSink {
public:
    explicit BloscWriter(ByteSink &out, unsigned threads = 0);
    BloscWriter(const BloscWriter &) = delete;
    BloscWriter &operator=(const BloscWriter &) = delete;

    bool write(const char *data, std::size_t size) override;
    // Compresses what is left and writes the index and the closing magic;
    // false on any failure.
    bool finish();
    // The reason of the first failure: the compression's own, or out's.
    const std::string &error() const override;
    // Empty unless a block failed to compress.
    const std::string &compressionError() const { return m_error; }

private:
    bool start();
    bool flushBatch();

    ByteSink &m_out;
    unsigned m_threads;
    std::size_t m_batch; // blocks compressed at a time
    std::unique_ptr<unsigned char[]> m_raw, m_packed;
    std::size_t m_used = 0;              // bytes of m_raw waiting
    std::size_t m_blocks = 0;            // blocks written so far
    std::uint64_t m_at = 0;              // compressed bytes written so far
    std::vector<std::uint64_t> m_starts; // of every block but the first
    std::uint64_t m_lastRaw = 0;
    bool m_started = false, m_failed = false;
    std::string m_error;
};

// Packs size bytes of data into out (the whole container), as BloscWriter
// writes it. False, with the reason in error, when compression fails.
bool packBloscContainer(const unsigned char *data, std::size_t size,
                        std::vector<unsigned char> &out, std::string &error, unsigned threads = 0);

} // namespace kelp

#endif
