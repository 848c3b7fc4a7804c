// An in-memory block that a save encodes into; full blocks go to a ByteSink
// in one write each.
#ifndef KELP_GEOMETRY_BLOCKBUFFER_H
#define KELP_GEOMETRY_BLOCKBUFFER_H

#include "io/ByteOrder.h"
#include "io/ByteSink.h"

#include <charconv>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#ifdef _WIN32
#include "classic/Encoding.h"
#endif

namespace kelp {

class BlockBuffer {
public:
    static const std::size_t kBlockSize = 1 << 20;

    explicit BlockBuffer(ByteSink &sink) : m_sink(sink), m_data(new char[kBlockSize]) {}
    BlockBuffer(const BlockBuffer &) = delete;
    BlockBuffer &operator=(const BlockBuffer &) = delete;

    // Hands what is held to the sink; false once the sink has failed.
    bool flush() {
        if (m_size && !m_failed)
            m_failed = !m_sink.write(m_data.get(), m_size);
        m_size = 0;
        return !m_failed;
    }
    bool failed() const { return m_failed; }

    void append(const char *data, std::size_t size) {
        if (kBlockSize - m_size < size) {
            flush();
            if (size > kBlockSize) {
                if (!m_failed)
                    m_failed = !m_sink.write(data, size);
                return;
            }
        }
        std::memcpy(m_data.get() + m_size, data, size);
        m_size += size;
    }
    void append(char c) {
        if (m_size == kBlockSize)
            flush();
        m_data[m_size++] = c;
    }

    // Room for n bytes (n at most kBlockSize) to be written directly and then
    // committed; flushes first when the block cannot hold them.
    char *room(std::size_t n) {
        if (kBlockSize - m_size < n)
            flush();
        return m_data.get() + m_size;
    }
    void commit(std::size_t n) { m_size += n; }

    // Big-endian bytes of a 16- or 32-bit integer or a float.
    template <typename T> void putBig(T value) {
        static_assert(sizeof(T) == 2 || sizeof(T) == 4, "16- and 32-bit values only");
        if (kBlockSize - m_size < sizeof(T))
            flush();
        char *at = m_data.get() + m_size;
        unsigned char *out = reinterpret_cast<unsigned char *>(at);
        if (sizeof(T) == 2) {
            std::uint16_t bits;
            std::memcpy(&bits, &value, 2);
            storeU16BE(out, bits);
        } else {
            std::uint32_t bits;
            std::memcpy(&bits, &value, 4);
            storeU32BE(out, bits);
        }
        m_size += sizeof(T);
    }

    // Decimal text of an integer.
    template <typename T> void putText(T value) {
        if (kBlockSize - m_size < 24)
            flush();
        char *at = m_data.get() + m_size;
        m_size = static_cast<std::size_t>(std::to_chars(at, at + 24, value).ptr - m_data.get());
    }

private:
    ByteSink &m_sink;
    std::unique_ptr<char[]> m_data;
    std::size_t m_size = 0;
    bool m_failed = false;
};

// Float text as "%g" writes it in the "C" locale (6 significant digits).
template <> inline void BlockBuffer::putText<float>(float value) {
#ifdef _WIN32
    // Three-digit exponents there: leave the formatting to the encoders.
    std::string text = numberText(value);
    append(text.data(), text.size());
#else
    if (kBlockSize - m_size < 48)
        flush();
    char *at = m_data.get() + m_size;
    m_size = static_cast<std::size_t>(
        std::to_chars(at, at + 48, static_cast<double>(value), std::chars_format::general, 6).ptr -
        m_data.get());
#endif
}

} // namespace kelp

#endif
