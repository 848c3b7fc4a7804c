// Bounds-checked reader of Houdini's binary JSON byte stream: one-byte tokens
// followed by their data, a string table built by token definitions, and
// uniform arrays whose elements follow as raw bytes. The same reader hands
// out the tokens of the text form (JsonText.h), so that the document reader
// above it sees one stream whichever form the file has.
//
// The reader hands out one token at a time (with one token of look-ahead);
// token definitions and undefinitions are applied on the way and never seen
// by the caller. The binary form is read through a cursor that may be a
// window over a longer stream: no pointer into it is kept past the next read.
// Strings are copies the reader owns (views into the text, for the text
// form), valid while the reader lives, also when a table id is later
// redefined. A uniform array token carries its element type and count; its
// elements follow in the stream and are read in pieces (uniformPiece,
// uniformString) before the next token, or are read past by the next token.
#ifndef KELP_GEOMETRY_JSON_JSONTOKENS_H
#define KELP_GEOMETRY_JSON_JSONTOKENS_H

#include "io/ByteCursor.h"
#include "io/ByteOrder.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kelp {

class TextLexer;

// Arrays and maps nested deeper than this are refused in either form; real
// files nest fewer than 20 levels.
const std::size_t kMaxJsonDepth = 4096;

enum class TokenKind : std::uint8_t {
    Null,
    Bool,
    Int,
    Real,
    String,
    MapBegin,
    MapEnd,
    ArrayBegin,
    ArrayEnd,
    Uniform // a uniform array: element type, count and raw bytes in one token
};

// Token bytes, also used as the element type of uniform arrays.
enum : std::uint8_t {
    kTokNull = 0x00,
    kTokBool = 0x10,
    kTokInt8 = 0x11,
    kTokInt16 = 0x12,
    kTokInt32 = 0x13,
    kTokInt64 = 0x14,
    kTokReal16 = 0x18,
    kTokReal32 = 0x19,
    kTokReal64 = 0x1A,
    kTokUInt8 = 0x21,
    kTokUInt16 = 0x22,
    kTokTokenRef = 0x26,
    kTokString = 0x27,
    kTokDefine = 0x2B,
    kTokUndefine = 0x2D,
    kTokFalse = 0x30,
    kTokTrue = 0x31,
    kTokUniform = 0x40,
    kTokArrayBegin = 0x5B,
    kTokArrayEnd = 0x5D,
    kTokMapBegin = 0x7B,
    kTokMapEnd = 0x7D,
    kTokMagic = 0x7F
};

struct Token {
    TokenKind kind = TokenKind::Null;
    std::int64_t i = 0;       // Int and Bool (0 or 1)
    double r = 0.0;           // Real
    std::string_view s;       // String (also a resolved token reference)
    std::uint8_t element = 0; // Uniform: element type byte
    std::uint64_t count = 0;  // Uniform: number of elements
    std::size_t offset = 0;   // offset of the token byte
};

// Byte width of one element of a numeric uniform array, 0 for the others
// (bool, string, token reference).
std::size_t numericElementSize(std::uint8_t element);
bool isIntegerElement(std::uint8_t element);
bool isRealElement(std::uint8_t element);

float halfToFloat(std::uint16_t bits);

class TokenReader {
public:
    // A whole document in memory, of either form.
    TokenReader(const unsigned char *data, std::size_t size);
    // The binary form from the cursor's position (the cursor may be a window
    // over a stream).
    explicit TokenReader(ByteCursor &cursor);
    ~TokenReader();
    TokenReader(const TokenReader &) = delete;
    TokenReader &operator=(const TokenReader &) = delete;

    // Reads the magic (7F and the word 0x624A534E in the writer's byte order)
    // and sets the byte order from it.
    bool start();
    // Reads the text form instead, from the first byte on (a reader of a
    // whole document only).
    void startText();
    // A check of the binary form's reads: every read hands out a fresh copy
    // of its bytes, overwritten and freed at the next read, and runs of
    // records come a few at a time, so that a reader that keeps a pointer
    // past the next read, or expects a run in one piece, reads garbage (and
    // the address sanitizer sees a freed block). For tests.
    void copyEveryRead();
    bool text() const { return m_text != nullptr; }
    // Text: after the document, only blanks may follow. Binary: true.
    bool finish();
    // The fewest bytes one element of an array takes in this form (text: a
    // digit and its separator), for checking counts against the bytes left.
    std::size_t minElementBytes() const { return m_text ? 2 : 1; }

    // The next token; false once the stream has failed (sticky).
    bool next(Token &token);
    // The next token without consuming it.
    bool peek(Token &token);
    // Consumes one whole value (scalar, uniform array, or a nested array or
    // map with everything in it).
    bool skipValue();

    bool swapped() const { return m_order != kHostEndian; }
    bool failed() const { return m_failed; }
    const std::string &error() const { return m_error; }
    // Where the stream stands, the elements of a uniform array handed out
    // counted as read (its numeric or bool data, whose extent is known);
    // size() and remaining() are upper bounds over a stream until its end.
    std::size_t offset() const { return m_cur.offset() + m_pendingBytes; }
    std::size_t size() const { return m_cur.size(); }
    std::size_t remaining() const {
        const std::size_t left = m_cur.remaining();
        return left > m_pendingBytes ? left - m_pendingBytes : 0;
    }

    // Records the first failure with the offset it refers to; returns false.
    bool fail(const std::string &message, std::size_t at);
    bool fail(const std::string &message) { return fail(message, offset()); }

    // The data of the uniform array last handed out by next(), in order.
    // Numeric arrays: between one and `most` runs of `per` elements (whole
    // tuples), as many as are in memory now; units says how many. Bool
    // arrays: 32-bit words of 32 flags, per 1. The pointer is valid until
    // the next read; nullptr (and the failure) past the array's end.
    const unsigned char *uniformPiece(std::size_t per, std::size_t most, std::size_t &units);
    // The next string of a uniform string or token-reference array; a string
    // of the stream stays valid until the next read, a table string while
    // the reader lives.
    bool uniformString(std::string_view &value);
    // A copy of a string that stays valid while the reader lives.
    std::string_view keep(std::string_view text);

    // Raw loads in the stream's byte order.
    std::uint16_t loadU16(const unsigned char *p) const;
    std::uint32_t loadU32(const unsigned char *p) const;
    std::uint64_t loadU64(const unsigned char *p) const;

    // The value of one integer or real element at p, of the element type of
    // a scalar token or a uniform array (its kind checked by the caller).
    std::int64_t intAt(std::uint8_t element, const unsigned char *p) const {
        switch (element) {
        case kTokInt8:
            return static_cast<std::int8_t>(*p);
        case kTokUInt8:
            return *p;
        case kTokInt16:
            return static_cast<std::int16_t>(loadAs<std::uint16_t>(p, m_order));
        case kTokUInt16:
            return loadAs<std::uint16_t>(p, m_order);
        case kTokInt32:
            return static_cast<std::int32_t>(loadAs<std::uint32_t>(p, m_order));
        default:
            return static_cast<std::int64_t>(loadAs<std::uint64_t>(p, m_order));
        }
    }
    double realAt(std::uint8_t element, const unsigned char *p) const {
        switch (element) {
        case kTokReal16:
            return halfToFloat(loadAs<std::uint16_t>(p, m_order));
        case kTokReal32:
            return floatFromBits(loadAs<std::uint32_t>(p, m_order));
        default:
            return doubleFromBits(loadAs<std::uint64_t>(p, m_order));
        }
    }

private:
    // Bytes that follow a length marker byte (0 for a length held in the
    // byte itself, below 0xF1; 1 for a reserved marker).
    static std::size_t lengthWidth(unsigned char marker) {
        return marker < 0xF1 ? 0 : marker == 0xF2 ? 2 : marker == 0xF4 ? 4 : marker == 0xF8 ? 8 : 1;
    }
    std::uint64_t lengthAt(unsigned char marker, const unsigned char *p) const {
        return marker == 0xF2   ? loadAs<std::uint16_t>(p, m_order)
               : marker == 0xF4 ? loadAs<std::uint32_t>(p, m_order)
                                : loadAs<std::uint64_t>(p, m_order);
    }
    bool readToken(Token &token);
    bool readValue(std::uint8_t id, Token &token);
    bool readNumber(std::uint8_t id, std::size_t width, Token &token);
    bool readString(std::string_view &value);
    bool readTextToken(Token &token);
    // " at byte N", or " at line L, column C" in text.
    std::string position(std::size_t at) const;
    bool readLength(std::uint64_t &value);
    bool lookup(std::uint64_t id, std::string_view &out, std::size_t at);
    bool define();
    bool undefine();
    bool readUniform(Token &token);
    bool readStream(std::string_view &value);
    bool readPast();
    const unsigned char *take(std::size_t n);
    const unsigned char *takeUnits(std::size_t unit, std::size_t most, std::size_t &count);
    const unsigned char *handOut(const unsigned char *p, std::size_t n);

    ByteCursor m_own;
    ByteCursor &m_cur;
    // The whole text, for line and column numbers.
    const unsigned char *m_textBase = nullptr;
    Endian m_order = Endian::Little;
    bool m_failed = false;
    std::string m_error;
    bool m_havePeek = false;
    Token m_peek;
    // The string table: ids as real files use them (0, 1, 2, ...) in a
    // vector, anything sparser in a map. A null data pointer marks an
    // undefined id.
    std::vector<std::string_view> m_table;
    std::unordered_map<std::uint64_t, std::string_view> m_sparse;
    // Set for the text form.
    std::unique_ptr<TextLexer> m_text;
    // The data of the uniform array handed out last and not yet read: items
    // (elements, flag words, strings) of m_pendingWidth bytes (0 for
    // strings and token references) and the bytes they take.
    std::uint8_t m_pendingElement = 0;
    std::size_t m_pendingOffset = 0; // of its token
    std::size_t m_pendingWidth = 0;
    std::uint64_t m_pendingItems = 0;
    std::size_t m_pendingBytes = 0;
    // Strings read from the binary stream, in blocks the reader owns.
    std::vector<std::unique_ptr<char[]>> m_blocks;
    char *m_free = nullptr;
    std::size_t m_left = 0;
    // The copy of the last read's bytes, in the checking mode.
    struct CopyWindow;
    std::unique_ptr<CopyWindow> m_window;
};

} // namespace kelp

#endif
