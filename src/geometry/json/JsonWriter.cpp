#include "json/JsonWriter.h"

#include "io/ByteOrder.h"
#include "json/JsonTokens.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <type_traits>

namespace kelp {

namespace {

// Text numbers: the shortest form that reads back to the same value.
// Infinities and NaNs have no JSON spelling; they are written as the largest
// finite values and 0.
template <class T> std::size_t formatNumber(char *buf, std::size_t size, T v) {
    if constexpr (std::is_floating_point_v<T>) {
        if (std::isnan(v))
            v = 0;
        else if (std::isinf(v))
            v = v > 0 ? std::numeric_limits<T>::max() : std::numeric_limits<T>::lowest();
    }
    const std::to_chars_result r = std::to_chars(buf, buf + size, v);
    return static_cast<std::size_t>(r.ptr - buf);
}

// Elements per piece of the big arrays, between which a draining writer
// hands its full blocks on.
const std::size_t kPiece = 65536;

} // namespace

TokenWriter::TokenWriter(bool binary) : m_binary(binary) {
    if (m_binary) {
        byte(kTokMagic);
        unsigned char word[4];
        storeU32LE(word, 0x624A534Eu);
        append(word, 4);
    }
}

template <class T, class U> void TokenWriter::little(const T *values, std::size_t count) {
    static_assert(sizeof(T) == sizeof(U), "element width");
    for (std::size_t done = 0; done < count;) {
        // Up to the end of the block being filled, so that a draining writer
        // passes whole blocks on without moving bytes.
        std::size_t n = count - done;
        if (m_sink) {
            const std::size_t room = (kDrainBlock - m_out.size() % kDrainBlock) / sizeof(T);
            n = std::min(n, std::max<std::size_t>(room, 1));
        }
        if (kHostEndian == Endian::Little) {
            // Straight from the values: no zero fill of the room first.
            const unsigned char *bytes = reinterpret_cast<const unsigned char *>(values + done);
            m_out.insert(m_out.end(), bytes, bytes + n * sizeof(T));
        } else {
            const std::size_t at = m_out.size();
            m_out.resize(at + n * sizeof(T));
            unsigned char *p = m_out.data() + at;
            for (std::size_t k = 0; k < n; ++k) {
                U bits;
                std::memcpy(&bits, values + done + k, sizeof bits);
                storeAs<U>(p + k * sizeof(T), bits, Endian::Little);
            }
        }
        done += n;
        spill();
    }
}

void TokenWriter::drainTo(ByteSink &sink) {
    m_sink = &sink;
    m_out.reserve(kDrainBlock + kPiece * 8);
    spill();
}

void TokenWriter::drain() {
    const std::size_t whole = m_out.size() / kDrainBlock * kDrainBlock;
    if (!m_failed && !m_sink->write(reinterpret_cast<const char *>(m_out.data()), whole))
        m_failed = true;
    m_out.erase(m_out.begin(), m_out.begin() + static_cast<std::ptrdiff_t>(whole));
}

bool TokenWriter::finish() {
    if (m_sink && !m_out.empty()) {
        if (!m_failed && !m_sink->write(reinterpret_cast<const char *>(m_out.data()), m_out.size()))
            m_failed = true;
        m_out.clear();
    }
    return !m_failed;
}

void TokenWriter::append(const void *data, std::size_t size) {
    const unsigned char *p = static_cast<const unsigned char *>(data);
    m_out.insert(m_out.end(), p, p + size);
}

void TokenWriter::length(std::uint64_t n) {
    unsigned char b[8];
    if (n < 0xF1) {
        byte(static_cast<unsigned char>(n));
    } else if (n <= 0xFFFF) {
        byte(0xF2);
        storeU16LE(b, static_cast<std::uint16_t>(n));
        append(b, 2);
    } else if (n <= 0xFFFFFFFFu) {
        byte(0xF4);
        storeU32LE(b, static_cast<std::uint32_t>(n));
        append(b, 4);
    } else {
        byte(0xF8);
        storeU64LE(b, n);
        append(b, 8);
    }
}

void TokenWriter::beforeValue() {
    spill();
    if (m_binary || m_open.empty())
        return;
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    Level &level = m_open.back();
    if (level.items++ > 0)
        byte(',');
    // Line breaks and tabs for the outer levels, as Houdini's text files
    // have; deeper values stay on their parent's line.
    if (m_open.size() <= 3) {
        byte('\n');
        m_out.insert(m_out.end(), m_open.size(), '\t');
    }
}

void TokenWriter::beginArray() {
    beforeValue();
    byte(kTokArrayBegin);
    m_open.push_back(Level{false, 0});
}

// Closes the innermost array or map with its end token; in text, the three
// outer levels end on a line of their own when they hold anything.
void TokenWriter::closeLevel(unsigned char end) {
    const bool broken = !m_binary && m_open.back().items > 0 && m_open.size() <= 3;
    m_open.pop_back();
    if (broken) {
        byte('\n');
        m_out.insert(m_out.end(), m_open.size(), '\t');
    }
    byte(end);
}

void TokenWriter::endArray() {
    closeLevel(kTokArrayEnd);
    if (!m_binary && m_open.empty())
        byte('\n');
}

void TokenWriter::beginMap() {
    beforeValue();
    byte(kTokMapBegin);
    m_open.push_back(Level{true, 0});
}

void TokenWriter::endMap() {
    closeLevel(kTokMapEnd);
}

void TokenWriter::key(std::string_view k) {
    string(k);
    if (!m_binary) {
        byte(':');
        m_afterKey = true;
    }
}

void TokenWriter::quoted(std::string_view s) {
    static const char hex[] = "0123456789abcdef";
    byte('"');
    for (char c : s) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            byte('\\');
            byte(u);
        } else if (c == '\n') {
            text("\\n");
        } else if (c == '\t') {
            text("\\t");
        } else if (u < 0x20) {
            const char esc[6] = {'\\', 'u', '0', '0', hex[u >> 4], hex[u & 15]};
            append(esc, 6);
        } else {
            byte(u);
        }
    }
    byte('"');
}

void TokenWriter::string(std::string_view s) {
    beforeValue();
    if (!m_binary) {
        quoted(s);
        return;
    }
    auto found = m_ids.find(std::string(s));
    std::uint64_t id;
    if (found == m_ids.end()) {
        id = m_ids.size();
        m_ids.emplace(std::string(s), id);
        byte(kTokDefine);
        length(id);
        length(s.size());
        append(s.data(), s.size());
    } else {
        id = found->second;
    }
    byte(kTokTokenRef);
    length(id);
}

// In text, the number as its shortest text; false in binary.
template <class T> bool TokenWriter::textNumber(T v) {
    if (m_binary)
        return false;
    char buf[32];
    append(buf, formatNumber(buf, sizeof buf, v));
    return true;
}

void TokenWriter::integer(std::int64_t v) {
    beforeValue();
    if (textNumber(v))
        return;
    unsigned char b[8];
    if (v >= -128 && v <= 127) {
        byte(kTokInt8);
        byte(static_cast<unsigned char>(static_cast<std::int8_t>(v)));
    } else if (v >= -32768 && v <= 32767) {
        byte(kTokInt16);
        storeU16LE(b, static_cast<std::uint16_t>(v));
        append(b, 2);
    } else if (v >= INT32_MIN && v <= INT32_MAX) {
        byte(kTokInt32);
        storeU32LE(b, static_cast<std::uint32_t>(v));
        append(b, 4);
    } else {
        byte(kTokInt64);
        storeU64LE(b, static_cast<std::uint64_t>(v));
        append(b, 8);
    }
}

void TokenWriter::real64(double v) {
    beforeValue();
    if (textNumber(v))
        return;
    unsigned char b[8];
    byte(kTokReal64);
    storeF64LE(b, v);
    append(b, 8);
}

template <class T> void TokenWriter::textNumbers(const T *values, std::size_t count) {
    beforeValue();
    byte('[');
    char buf[32];
    for (std::size_t k = 0; k < count; ++k) {
        if (k)
            byte(',');
        append(buf, formatNumber(buf, sizeof buf, values[k]));
        spill();
    }
    byte(']');
}

void TokenWriter::reserve(std::size_t bytes) {
    m_out.reserve(bytes);
}

void TokenWriter::uniformHead(unsigned char element, std::size_t count, std::size_t width) {
    beforeValue();
    // Room for this array in a stream kept whole; one that did not reserve
    // enough grows geometrically rather than by one copy of everything per
    // array.
    const std::size_t need = m_out.size() + 16 + count * width;
    if (!m_sink && need > m_out.capacity())
        m_out.reserve(std::max(need, 2 * m_out.capacity()));
    byte(kTokUniform);
    byte(element);
    length(count);
}

void TokenWriter::uniformInt32(const std::int32_t *values, std::size_t count) {
    if (!m_binary)
        return textNumbers(values, count);
    uniformHead(kTokInt32, count, 4);
    little<std::int32_t, std::uint32_t>(values, count);
}

void TokenWriter::uniformIntNarrow(const std::int32_t *values, std::size_t count) {
    if (!m_binary)
        return textNumbers(values, count);
    std::int32_t low = 0, high = 0;
    for (std::size_t k = 0; k < count; ++k) {
        low = std::min(low, values[k]);
        high = std::max(high, values[k]);
    }
    if (low < -32768 || high > 32767)
        return uniformInt32(values, count);
    if (low < -128 || high > 127) {
        uniformHead(kTokInt16, count, 2);
        for (std::size_t done = 0; done < count; done += kPiece) {
            const std::size_t n = std::min(kPiece, count - done);
            const std::size_t at = m_out.size();
            m_out.resize(at + 2 * n);
            for (std::size_t k = 0; k < n; ++k)
                storeU16LE(m_out.data() + at + 2 * k, static_cast<std::uint16_t>(values[done + k]));
            spill();
        }
        return;
    }
    uniformHead(kTokInt8, count, 1);
    for (std::size_t k = 0; k < count; ++k) {
        byte(static_cast<unsigned char>(static_cast<std::int8_t>(values[k])));
        if (k % kPiece == kPiece - 1)
            spill();
    }
}

void TokenWriter::beginUniformInt32(std::size_t count) {
    m_pieceFirst = true;
    if (!m_binary) {
        beforeValue();
        byte('[');
        return;
    }
    uniformHead(kTokInt32, count, 4);
}

void TokenWriter::uniformInt32Piece(const std::uint32_t *values, std::size_t count) {
    if (m_binary)
        return little<std::uint32_t, std::uint32_t>(values, count);
    char buf[32];
    for (std::size_t k = 0; k < count; ++k) {
        if (!m_pieceFirst)
            byte(',');
        m_pieceFirst = false;
        append(buf, formatNumber(buf, sizeof buf, static_cast<std::int32_t>(values[k])));
        spill();
    }
}

void TokenWriter::endUniformInt32() {
    if (!m_binary)
        byte(']');
}

void TokenWriter::uniformInt64(const std::int64_t *values, std::size_t count) {
    if (!m_binary)
        return textNumbers(values, count);
    uniformHead(kTokInt64, count, 8);
    little<std::int64_t, std::uint64_t>(values, count);
}

void TokenWriter::uniformReal32(const float *values, std::size_t count) {
    if (!m_binary)
        return textNumbers(values, count);
    uniformHead(kTokReal32, count, 4);
    little<float, std::uint32_t>(values, count);
}

void TokenWriter::uniformReal64(const double *values, std::size_t count) {
    if (!m_binary)
        return textNumbers(values, count);
    uniformHead(kTokReal64, count, 8);
    little<double, std::uint64_t>(values, count);
}

} // namespace kelp
