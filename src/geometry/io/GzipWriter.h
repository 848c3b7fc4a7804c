// gzip compression in front of a ByteSink.
//
// Writes the same stream as a gzip compressor with zlib's default level,
// deflate, a 15-bit window, memory level 8, the default strategy, no file
// name, no comment and modification time 0: the 10-byte header
// 1F 8B 08 00 00000000 00 FF, the raw deflate data, then the CRC-32 and the
// length of the input (both little-endian).
#ifndef KELP_GEOMETRY_GZIPWRITER_H
#define KELP_GEOMETRY_GZIPWRITER_H

#include "io/ByteSink.h"

#include <memory>
#include <string>
#include <zlib.h>

namespace kelp {

class GzipWriter : public ByteSink {
public:
    // The name is used in messages only.
    GzipWriter(ByteSink &out, const std::string &name);
    ~GzipWriter() override;
    GzipWriter(const GzipWriter &) = delete;
    GzipWriter &operator=(const GzipWriter &) = delete;

    bool write(const char *data, std::size_t size) override;
    // Compresses what is left and writes the trailer; false on any failure.
    bool finish();
    const std::string &error() const override;

private:
    bool start();
    bool deflateSome(int flush);
    bool fail(const std::string &why);

    ByteSink &m_out;
    std::string m_name;
    z_stream m_zs;
    bool m_started = false;
    bool m_failed = false;
    unsigned long m_crc = 0;
    unsigned long m_length = 0; // input length modulo 2^32
    std::unique_ptr<unsigned char[]> m_buffer;
    std::string m_error;
};

} // namespace kelp

#endif
