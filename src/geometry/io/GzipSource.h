// A gzip stream inflated as it is read: the compressed bytes come from the
// input a piece at a time, several members one after another are joined and
// bytes after the last member are ignored, as a whole-buffer inflate does.
// ISA-L's inflate is used where the build has it (it is faster here); zlib
// is the path that always works, and the one that words a failure.
#ifndef KELP_GEOMETRY_IO_GZIPSOURCE_H
#define KELP_GEOMETRY_IO_GZIPSOURCE_H

#include "io/ByteSource.h"
#include "io/InputBytes.h"

#include <memory>

namespace kelp {

class GzipSource : public ByteSource {
public:
    // The gzip stream starting at byte `from` of the input.
    explicit GzipSource(InputBytes &input, std::uint64_t from = 0);
    ~GzipSource() override;
    GzipSource(const GzipSource &) = delete;
    GzipSource &operator=(const GzipSource &) = delete;

    std::size_t read(unsigned char *to, std::size_t room) override;
    std::uint64_t bound() const override;
    // From the trailer's size of the (last) member, where it is plausible.
    std::uint64_t expected() const override;

    // Inflates the rest of the stream, throwing it away, so that a damaged
    // end is found even when the reader stopped early; false when damaged.
    bool finish();
    // zlib's description of the failure and its error code.
    const InflateError &inflateError() const { return m_inflateError; }

    struct Engine;

private:
    bool fillInput();
    bool inflateMore();
    std::uint64_t m_from;
    void failWith(const std::string &description, int code);

    InputBytes &m_in;
    std::uint64_t m_next;                   // next input byte to read
    std::unique_ptr<unsigned char[]> m_buf; // compressed bytes read, not yet used
    std::size_t m_bufStart = 0, m_bufEnd = 0;
    std::unique_ptr<unsigned char[]> m_out; // history, then inflated bytes not yet read
    std::size_t m_outStart = 0, m_outEnd = 0;
    std::unique_ptr<Engine> m_engine;
    bool m_ended = false;
    std::uint64_t m_produced = 0; // inflated bytes handed on
    std::uint64_t m_trailerSize = 0;
    InflateError m_inflateError;
};

} // namespace kelp

#endif
