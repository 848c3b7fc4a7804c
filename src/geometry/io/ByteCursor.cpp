#include "io/ByteCursor.h"

#include "io/ByteSource.h"

#include <cstring>
#include <limits>
#include <new>

namespace kelp {

ByteCursor::ByteCursor(ByteSource &source, std::size_t windowBytes)
    : m_data(nullptr), m_size(0), m_source(&source),
      m_windowBytes(windowBytes == 0 ? 1 : windowBytes) {}

std::size_t ByteCursor::streamLeft() const {
    const std::uint64_t left = m_source->bound();
    const std::size_t most = std::numeric_limits<std::size_t>::max() / 4;
    return left < most ? static_cast<std::size_t>(left) : most;
}

std::size_t ByteCursor::expectedRemaining() const {
    if (!m_source)
        return remaining();
    const std::uint64_t likely = m_source->expected();
    const std::size_t left = streamLeft();
    return m_size - m_pos + (likely < left ? static_cast<std::size_t>(likely) : left);
}

bool ByteCursor::skip(std::size_t n) {
    if (m_failed)
        return false;
    // Over a stream, a long skip goes through the window a piece at a time.
    while (n > m_size - m_pos) {
        n -= m_size - m_pos;
        m_pos = m_size;
        if (!refill(1)) {
            fail(n);
            return false;
        }
    }
    m_pos += n;
    return true;
}

std::size_t ByteCursor::skipToEnd(unsigned char &last) {
    std::size_t skipped = 0;
    if (m_failed)
        return 0;
    do {
        if (m_size > m_pos) {
            last = m_data[m_size - 1];
            skipped += m_size - m_pos;
            m_pos = m_size;
        }
    } while (refill(1));
    return skipped;
}

void ByteCursor::hold() {
    if (!m_source || m_source->canSeek())
        return;
    if (!m_holding || offset() < m_hold)
        m_hold = offset(); // an earlier hold keeps its bytes
    m_holding = true;
}

void ByteCursor::rewind(std::size_t offset) {
    m_failed = false;
    if (offset >= m_base && offset - m_base <= m_size) {
        m_pos = offset - m_base;
        return;
    }
    if (m_source && m_source->seek(offset)) {
        m_base = offset;
        m_pos = m_size = 0;
        return;
    }
    m_pos = m_size;
    fail(0);
}

// Makes at least n bytes from the position readable, reading on in the
// stream: the bytes already read past are dropped (unless held), the rest
// moved to the front of the window, and the window filled.
bool ByteCursor::refill(std::size_t n) {
    if (!m_source || m_source->failed())
        return false;
    std::size_t keep = m_pos;
    if (m_holding && m_hold >= m_base && m_hold - m_base < keep)
        keep = m_hold - m_base;
    unsigned char *window = m_window.data();
    const std::size_t kept = m_size - keep;
    if (keep > 0 && kept > 0)
        std::memmove(window, window + keep, kept);
    m_base += keep;
    m_pos -= keep;
    m_size = kept;
    m_data = window;
    if (n > std::numeric_limits<std::size_t>::max() - m_pos)
        return false;
    const std::size_t need = m_pos + n;
    if (need > m_size && need - m_size > streamLeft())
        return false; // more than the rest of the stream can hold
    if (need > m_window.capacity() || m_window.capacity() < m_windowBytes) {
        // A read longer than the window, or held bytes: the window grows,
        // by half again at least, so that holding costs no copying over.
        std::size_t grown = need > m_windowBytes ? need : m_windowBytes;
        if (m_window.capacity() > 0 && grown < m_window.capacity() + m_window.capacity() / 2)
            grown = m_window.capacity() + m_window.capacity() / 2;
        if (!m_window.reserve(grown))
            throw std::bad_alloc();
        m_data = m_window.data();
    }
    unsigned char *data = m_window.data();
    while (m_size < need) {
        const std::size_t got = m_source->read(data + m_size, m_window.capacity() - m_size);
        if (got == 0)
            break;
        m_size += got;
    }
    return m_size >= need;
}

} // namespace kelp
