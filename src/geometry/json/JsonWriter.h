// Writer of JSON token streams, in the two forms Houdini's JSON-based files
// use: the binary byte stream (one-byte tokens, a string table, uniform
// arrays of raw little-endian elements) and ASCII JSON text. The document
// walk calls the same operations for both; each form spells them its own way.
#ifndef KELP_GEOMETRY_JSON_JSONWRITER_H
#define KELP_GEOMETRY_JSON_JSONWRITER_H

#include "io/ByteSink.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kelp {

class TokenWriter {
public:
    // binary: starts the stream with the magic (7F and 0x624A534E,
    // little-endian); text: writes nothing until the first token.
    explicit TokenWriter(bool binary);

    bool binary() const { return m_binary; }

    void beginArray();
    void endArray();
    void beginMap();
    void endMap();
    // A key of a map (binary: a string; text: "key": ).
    void key(std::string_view k);
    // Strings go through the string table in binary form, as Houdini's
    // writers put keys and repeated values.
    void string(std::string_view s);
    // In the narrowest integer token that holds the value.
    void integer(std::int64_t v);
    void real64(double v);

    // Uniform arrays (text: ordinary arrays).
    void uniformInt32(const std::int32_t *values, std::size_t count);
    // One int32 array of count values given in pieces: begin, pieces whose
    // sizes sum to count (each value at most INT32_MAX), end.
    void beginUniformInt32(std::size_t count);
    void uniformInt32Piece(const std::uint32_t *values, std::size_t count);
    void endUniformInt32();
    // In the narrowest of int8, int16 and int32 that holds every value, as
    // Houdini writes polygon counts.
    void uniformIntNarrow(const std::int32_t *values, std::size_t count);
    void uniformInt64(const std::int64_t *values, std::size_t count);
    void uniformReal32(const float *values, std::size_t count);
    void uniformReal64(const double *values, std::size_t count);

    // Room for a stream of this many bytes, so that big arrays are not
    // copied as the stream grows.
    void reserve(std::size_t bytes);

    // From now on the stream goes to sink in blocks of kDrainBlock bytes as
    // they fill, through one reused buffer, instead of growing in memory;
    // finish() passes on the rest. After a failed write of the sink the
    // writer drops its bytes and finish() returns false (the reason is the
    // sink's error()).
    static const std::size_t kDrainBlock = 1048576;
    void drainTo(ByteSink &sink);
    bool finish();

    // The stream so far (complete once every array and map is closed); when
    // draining, what has not gone to the sink yet.
    const std::vector<unsigned char> &bytes() const { return m_out; }
    std::vector<unsigned char> &bytes() { return m_out; }
    std::size_t depth() const { return m_open.size(); }

private:
    struct Level {
        bool map;
        std::size_t items;
    };
    void byte(unsigned char b) { m_out.push_back(b); }
    void closeLevel(unsigned char end);
    template <class T> bool textNumber(T v);
    // Raw little-endian elements, in pieces when draining.
    template <class T, class U> void little(const T *values, std::size_t count);
    void spill() {
        if (m_sink && m_out.size() >= kDrainBlock)
            drain();
    }
    void drain();
    void append(const void *data, std::size_t size);
    void length(std::uint64_t n);
    void uniformHead(unsigned char element, std::size_t count, std::size_t width);
    // Text: the separator and line break before the next value.
    void beforeValue();
    void text(std::string_view s) { append(s.data(), s.size()); }
    void quoted(std::string_view s);
    template <class T> void textNumbers(const T *values, std::size_t count);

    bool m_binary;
    bool m_afterKey = false;
    bool m_pieceFirst = true;
    ByteSink *m_sink = nullptr;
    bool m_failed = false;
    std::vector<Level> m_open;
    std::vector<unsigned char> m_out;
    std::unordered_map<std::string, std::uint64_t> m_ids;
};

} // namespace kelp

#endif
