// One bounds-checked read position over a byte buffer, the one both parsers
// read through. Every read checks what is left; a read past the end sets a
// sticky failure (the position stays put and every later read yields 0), so
// a parser can read a group of fields and test once. The typed reads are
// big-endian, the classic format's order; other orders take() the bytes and
// load them through ByteOrder.h.
//
// The bytes are either a buffer in memory or a window over a longer stream
// (ByteSource), refilled as the reads need: the window holds what is being
// read, not the stream. A pointer from take(), peek() or takeUnits() stays
// valid until the next read from the cursor. Over a stream, remaining() and
// size() are upper bounds (what the rest of the stream could hold) until its
// end is reached; they are exact over a buffer, a file or a Blosc container.
#ifndef KELP_GEOMETRY_BYTECURSOR_H
#define KELP_GEOMETRY_BYTECURSOR_H

#include "io/ByteBuffer.h"
#include "io/ByteOrder.h"

#include <cstddef>
#include <cstdint>

namespace kelp {

class ByteSource;

// How much of a stream a cursor keeps in memory at a time, unless asked
// otherwise.
const std::size_t kStreamWindow = std::size_t(1) << 20;

class ByteCursor {
public:
    ByteCursor(const unsigned char *data, std::size_t size) : m_data(data), m_size(size) {}
    // Over a stream, through a window of about windowBytes (more while a
    // single read needs more, or while bytes are held).
    ByteCursor(ByteSource &source, std::size_t windowBytes = kStreamWindow);
    ByteCursor(const ByteCursor &) = delete;
    ByteCursor &operator=(const ByteCursor &) = delete;

    std::size_t offset() const { return m_base + m_pos; }
    std::size_t size() const { return offset() + remaining(); }
    std::size_t remaining() const { return m_size - m_pos + (m_source ? streamLeft() : 0); }
    // What is likely left, for reserving room: remaining() over a buffer or
    // a file, the gzip trailer's size over a gzip stream.
    std::size_t expectedRemaining() const;
    // The next byte to be read (one past the last when all are read).
    const unsigned char *here() const { return m_data + m_pos; }
    bool failed() const { return m_failed; }
    // Where the failed read started and how many bytes it wanted.
    std::size_t failedAt() const { return m_failAt; }
    std::size_t failedWanted() const { return m_failWanted; }

    // Pointer to the next n bytes, advancing past them; nullptr (and the
    // sticky failure) when fewer than n are left.
    const unsigned char *take(std::size_t n) {
        if (m_failed || (n > m_size - m_pos && !refill(n))) {
            fail(n);
            return nullptr;
        }
        const unsigned char *p = m_data + m_pos;
        m_pos += n;
        return p;
    }
    bool skip(std::size_t n);

    // The next n bytes without advancing; nullptr (no failure) when fewer
    // than n are left.
    const unsigned char *peek(std::size_t n) {
        if (m_failed || (n > m_size - m_pos && !refill(n)))
            return nullptr;
        return m_data + m_pos;
    }
    // True when every byte has been read.
    bool atEnd() { return !m_failed && m_pos == m_size && !refill(1); }

    // For long runs of fixed-size records (uniform arrays, point records):
    // between one and `most` whole records of `unit` bytes, as many as are in
    // memory now, advancing past them; count says how many. nullptr (and the
    // sticky failure) when not even one record is left. A caller loops until
    // it has its whole run.
    const unsigned char *takeUnits(std::size_t unit, std::size_t most, std::size_t &count) {
        count = 0;
        if (m_failed || unit == 0 || most == 0 || (unit > m_size - m_pos && !refill(unit))) {
            fail(unit);
            return nullptr;
        }
        const std::size_t have = (m_size - m_pos) / unit;
        count = have < most ? have : most;
        const unsigned char *p = m_data + m_pos;
        m_pos += count * unit;
        return p;
    }

    // Reads to the end of the stream; returns how many bytes that was, with
    // the last of them in last (left alone when there were none).
    std::size_t skipToEnd(unsigned char &last);

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
    // section again another way). Over a stream that cannot go back, the
    // bytes from the position must be held (hold()); an offset that is
    // neither held nor reachable leaves the cursor failed at the end.
    void rewind(std::size_t offset);
    // Keeps every byte from the current position in memory until release(),
    // so that a rewind to it needs no going back in the stream (a no-op over
    // a buffer or a stream that can go back). Holds nest: the earliest one
    // counts, release() ends them all.
    void hold();
    void release() { m_holding = false; }

private:
    bool refill(std::size_t n);
    std::size_t streamLeft() const;
    void fail(std::size_t wanted) {
        if (!m_failed) {
            m_failed = true;
            m_failAt = offset();
            m_failWanted = wanted;
        }
    }

    const unsigned char *m_data;
    std::size_t m_size;    // bytes at m_data
    std::size_t m_pos = 0; // within m_data
    bool m_failed = false;
    std::size_t m_failAt = 0;
    std::size_t m_failWanted = 0;
    // Over a stream: the window and where it starts in the stream.
    ByteSource *m_source = nullptr;
    ByteBuffer m_window;
    std::size_t m_windowBytes = 0;
    std::size_t m_base = 0;
    bool m_holding = false;
    std::size_t m_hold = 0; // stream offset held from
};

} // namespace kelp

#endif
