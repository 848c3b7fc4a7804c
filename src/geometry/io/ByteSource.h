// A stream of bytes read in pieces: a file read as it is parsed, a gzip
// stream inflated as it is parsed, the chunks of a Blosc container
// decompressed a few at a time. ByteCursor reads through one of these with a
// bounded window.
#ifndef KELP_GEOMETRY_IO_BYTESOURCE_H
#define KELP_GEOMETRY_IO_BYTESOURCE_H

#include <cstddef>
#include <cstdint>
#include <string>

namespace kelp {

class ByteSource {
public:
    virtual ~ByteSource() = default;

    // Writes the next bytes of the stream to `to`, at most `room` (more than
    // 0); returns how many. 0 only at the end of the stream or on a failure.
    virtual std::size_t read(unsigned char *to, std::size_t room) = 0;
    // At most how many bytes are still to come: exact for files and Blosc
    // containers, what the compressed bytes left could hold for gzip.
    virtual std::uint64_t bound() const = 0;
    // How many bytes are likely still to come, for sizing arrays ahead (a
    // guess never above bound(); a wrong guess costs only growth or room).
    virtual std::uint64_t expected() const { return bound(); }
    // Goes back (or on) to byte `offset` of the stream; false when this
    // source cannot, which is then no failure of the stream.
    virtual bool seek(std::uint64_t offset) {
        (void)offset;
        return false;
    }
    virtual bool canSeek() const { return false; }

    bool failed() const { return !m_error.empty(); }
    // Why the stream broke off (empty while it is whole).
    const std::string &error() const { return m_error; }

protected:
    void setError(const std::string &reason) {
        if (m_error.empty())
            m_error = reason.empty() ? "the stream could not be read" : reason;
    }

private:
    std::string m_error;
};

} // namespace kelp

#endif
