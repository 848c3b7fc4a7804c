// One bounds-checked read position over a byte buffer, the one both parsers
// read through. Every read checks what is left; a read past the end sets a
// sticky failure (the position stays put and every later read yields 0), so
// a parser can read a group of fields and test once. The typed reads are
// big-endian, the classic format's order; other orders take() the bytes and
// load them through ByteOrder.h.
//
// A pointer from take(), peek() or takeUnits() stays valid until the next
// read from the cursor: the bytes may be a window over a longer stream.
// remaining() and size() are then upper bounds (what the rest of the stream
// could hold) until the stream's end is reached; they are exact over a
// buffer in memory.
#ifndef KELP_GEOMETRY_BYTECURSOR_H
#define KELP_GEOMETRY_BYTECURSOR_H

#include "io/ByteOrder.h"

#include <cstddef>
#include <cstdint>

namespace kelp {

class ByteCursor {
public:
    ByteCursor(const unsigned char *data, std::size_t size) : m_data(data), m_size(size) {}

    std::size_t offset() const { return m_pos; }
    std::size_t size() const { return m_size; }
    std::size_t remaining() const { return m_size - m_pos; }
    // The next byte to be read (one past the last when all are read).
    const unsigned char *here() const { return m_data + m_pos; }
    bool failed() const { return m_failed; }
    // Where the failed read started and how many bytes it wanted.
    std::size_t failedAt() const { return m_failAt; }
    std::size_t failedWanted() const { return m_failWanted; }

    // Pointer to the next n bytes, advancing past them; nullptr (and the
    // sticky failure) when fewer than n are left.
    const unsigned char *take(std::size_t n) {
        if (m_failed || n > m_size - m_pos) {
            fail(n);
            return nullptr;
        }
        const unsigned char *p = m_data + m_pos;
        m_pos += n;
        return p;
    }
    bool skip(std::size_t n) { return take(n) != nullptr; }

    // The next n bytes without advancing; nullptr (no failure) when fewer
    // than n are left.
    const unsigned char *peek(std::size_t n) {
        if (m_failed || n > m_size - m_pos)
            return nullptr;
        return m_data + m_pos;
    }

    // For long runs of fixed-size records (uniform arrays, point records):
    // between one and `most` whole records of `unit` bytes, as many as are in
    // memory now, advancing past them; count says how many. nullptr (and the
    // sticky failure) when not even one record is left. A caller loops until
    // it has its whole run.
    const unsigned char *takeUnits(std::size_t unit, std::size_t most, std::size_t &count) {
        count = 0;
        if (m_failed || unit == 0 || most == 0 || unit > m_size - m_pos) {
            fail(unit);
            return nullptr;
        }
        const std::size_t have = (m_size - m_pos) / unit;
        count = have < most ? have : most;
        const unsigned char *p = m_data + m_pos;
        m_pos += count * unit;
        return p;
    }

    std::uint8_t u8() {
        const unsigned char *p = take(1);
        return p ? *p : 0;
    }
    std::uint16_t u16() {
        const unsigned char *p = take(2);
        return p ? loadU16BE(p) : 0;
    }
    std::int16_t i16() { return static_cast<std::int16_t>(u16()); }
    std::uint32_t u32() {
        const unsigned char *p = take(4);
        return p ? loadU32BE(p) : 0;
    }
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
    float f32() {
        const unsigned char *p = take(4);
        return p ? loadF32BE(p) : 0.0f;
    }

    // Returns to an earlier position and clears the failure (used to read a
    // section again another way).
    void rewind(std::size_t offset) {
        m_pos = offset <= m_size ? offset : m_size;
        m_failed = false;
    }

private:
    void fail(std::size_t wanted) {
        if (!m_failed) {
            m_failed = true;
            m_failAt = m_pos;
            m_failWanted = wanted;
        }
    }

    const unsigned char *m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
    bool m_failed = false;
    std::size_t m_failAt = 0;
    std::size_t m_failWanted = 0;
};

} // namespace kelp

#endif
