// A growable byte buffer that does not zero what it allocates: whole files
// and inflated streams are written straight into it.
#ifndef KELP_GEOMETRY_BYTEBUFFER_H
#define KELP_GEOMETRY_BYTEBUFFER_H

#include <cstddef>
#include <cstdlib>
#include <utility>

#include "io/HugePages.h"

namespace kelp {

class ByteBuffer {
public:
    ByteBuffer() = default;
    ByteBuffer(const ByteBuffer &) = delete;
    ByteBuffer &operator=(const ByteBuffer &) = delete;
    ByteBuffer(ByteBuffer &&other) noexcept
        : m_data(other.m_data), m_size(other.m_size), m_capacity(other.m_capacity) {
        other.m_data = nullptr;
        other.m_size = other.m_capacity = 0;
    }
    ByteBuffer &operator=(ByteBuffer &&other) noexcept {
        if (this != &other) {
            std::free(m_data);
            m_data = other.m_data;
            m_size = other.m_size;
            m_capacity = other.m_capacity;
            other.m_data = nullptr;
            other.m_size = other.m_capacity = 0;
        }
        return *this;
    }
    ~ByteBuffer() { std::free(m_data); }

    unsigned char *data() { return m_data; }
    const unsigned char *data() const { return m_data; }
    std::size_t size() const { return m_size; }
    std::size_t capacity() const { return m_capacity; }

    // Grows the capacity to at least n; false when memory runs out.
    bool reserve(std::size_t n) {
        if (n <= m_capacity)
            return true;
        void *grown = std::realloc(m_data, n);
        if (!grown)
            return false;
        m_data = static_cast<unsigned char *>(grown);
        m_capacity = n;
        adviseHugePages(m_data, n);
        return true;
    }
    // Sets the size (new bytes are not initialised); false when memory runs out.
    bool resize(std::size_t n) {
        if (!reserve(n))
            return false;
        m_size = n;
        return true;
    }

private:
    unsigned char *m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
};

} // namespace kelp

#endif
