// Big-endian byte writer for the benchmark's generated files: values are
// gathered into a 1 MiB block that goes to a plain file and, through one
// zlib deflate stream in gzip form, to a compressed file.
#ifndef KELP_BENCH_BYTE_SINK_H
#define KELP_BENCH_BYTE_SINK_H

#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

class ByteSink {
public:
    // Opens both outputs; ok() tells whether that worked.
    ByteSink(const std::string &plainPath, const std::string &gzipPath, int level);
    ~ByteSink();
    ByteSink(const ByteSink &) = delete;
    ByteSink &operator=(const ByteSink &) = delete;

    bool ok() const { return m_ok; }

    void bytes(const void *data, std::size_t n) {
        if (m_used + n > m_block.size())
            flush();
        if (n > m_block.size()) {
            pass(static_cast<const unsigned char *>(data), n, Z_NO_FLUSH);
            return;
        }
        std::memcpy(m_block.data() + m_used, data, n);
        m_used += n;
    }
    void u8(std::uint8_t v) { bytes(&v, 1); }
    void u16(std::uint16_t v) {
        unsigned char b[2] = {static_cast<unsigned char>(v >> 8), static_cast<unsigned char>(v)};
        bytes(b, 2);
    }
    void u32(std::uint32_t v) {
        unsigned char b[4] = {static_cast<unsigned char>(v >> 24),
                              static_cast<unsigned char>(v >> 16),
                              static_cast<unsigned char>(v >> 8), static_cast<unsigned char>(v)};
        bytes(b, 4);
    }
    void i16(std::int16_t v) { u16(static_cast<std::uint16_t>(v)); }
    void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
    void f32(float v) {
        std::uint32_t u;
        std::memcpy(&u, &v, 4);
        u32(u);
    }
    void text(const char *s) { bytes(s, std::strlen(s)); }

    // Writes what is pending, ends the gzip stream and closes both files;
    // false when any write failed.
    bool finish();

private:
    void flush();
    void pass(const unsigned char *data, std::size_t n, int mode);

    std::vector<unsigned char> m_block;
    std::size_t m_used = 0;
    std::vector<unsigned char> m_out;
    z_stream m_zs;
    std::FILE *m_plain = nullptr;
    std::FILE *m_gzip = nullptr;
    bool m_ok = false;
    bool m_zInit = false;
};

#endif
