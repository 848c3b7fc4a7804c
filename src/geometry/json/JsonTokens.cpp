#include "json/JsonTokens.h"

#include "io/ByteOrder.h"
#include "json/JsonText.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace kelp {

namespace {

std::string hexByte(unsigned value) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text = "0x";
    text += digits[(value >> 4) & 15];
    text += digits[value & 15];
    return text;
}

} // namespace

std::size_t numericElementSize(std::uint8_t element) {
    switch (element) {
    case kTokInt8:
    case kTokUInt8:
        return 1;
    case kTokInt16:
    case kTokUInt16:
    case kTokReal16:
        return 2;
    case kTokInt32:
    case kTokReal32:
        return 4;
    case kTokInt64:
    case kTokReal64:
        return 8;
    default:
        return 0;
    }
}

bool isIntegerElement(std::uint8_t element) {
    return element == kTokInt8 || element == kTokInt16 || element == kTokInt32 ||
           element == kTokInt64 || element == kTokUInt8 || element == kTokUInt16;
}

bool isRealElement(std::uint8_t element) {
    return element == kTokReal16 || element == kTokReal32 || element == kTokReal64;
}

float halfToFloat(std::uint16_t bits) {
    const std::uint32_t sign = static_cast<std::uint32_t>(bits & 0x8000u) << 16;
    const std::uint32_t exponent = (bits >> 10) & 0x1Fu;
    const std::uint32_t mantissa = bits & 0x3FFu;
    float magnitude;
    if (exponent == 0)
        magnitude = std::ldexp(static_cast<float>(mantissa), -24);
    else if (exponent == 31)
        magnitude = mantissa ? NAN : INFINITY;
    else
        magnitude =
            std::ldexp(static_cast<float>(mantissa | 0x400u), static_cast<int>(exponent) - 25);
    float result;
    std::uint32_t out;
    std::memcpy(&out, &magnitude, 4);
    out |= sign;
    std::memcpy(&result, &out, 4);
    return result;
}

std::uint16_t TokenReader::loadU16(const unsigned char *p) const {
    return loadAs<std::uint16_t>(p, m_order);
}

std::uint32_t TokenReader::loadU32(const unsigned char *p) const {
    return loadAs<std::uint32_t>(p, m_order);
}

std::uint64_t TokenReader::loadU64(const unsigned char *p) const {
    return loadAs<std::uint64_t>(p, m_order);
}

// The checking mode's window: the bytes of the last read.
struct TokenReader::CopyWindow {
    std::unique_ptr<unsigned char[]> bytes;
    std::size_t size = 0;
    unsigned turn = 0;
};

TokenReader::TokenReader(const unsigned char *data, std::size_t size)
    : m_own(data, size), m_cur(m_own), m_textBase(data) {}

TokenReader::TokenReader(ByteCursor &cursor) : m_own(nullptr, 0), m_cur(cursor) {}

TokenReader::~TokenReader() = default;

void TokenReader::copyEveryRead() {
    m_window = std::make_unique<CopyWindow>();
}

std::string TokenReader::position(std::size_t at) const {
    if (!m_text)
        return " at byte " + std::to_string(at);
    // Counted only when a load fails.
    const unsigned char *base = m_textBase;
    const unsigned char *stop = base + std::min(at, m_cur.size());
    std::size_t line = 1;
    const unsigned char *lineStart = base;
    for (const unsigned char *p = base; p < stop; ++p)
        if (*p == '\n') {
            ++line;
            lineStart = p + 1;
        }
    return " at line " + std::to_string(line) + ", column " +
           std::to_string(static_cast<std::size_t>(stop - lineStart) + 1);
}

bool TokenReader::fail(const std::string &message, std::size_t at) {
    if (!m_failed) {
        m_failed = true;
        m_error = message + position(at);
    }
    return false;
}

const unsigned char *TokenReader::handOut(const unsigned char *p, std::size_t n) {
    if (!m_window || !p)
        return p;
    CopyWindow &w = *m_window;
    if (w.bytes)
        std::memset(w.bytes.get(), 0xA5, w.size);
    w.bytes.reset(new unsigned char[n ? n : 1]);
    w.size = n;
    std::memcpy(w.bytes.get(), p, n);
    return w.bytes.get();
}

const unsigned char *TokenReader::take(std::size_t n) {
    const std::size_t left = m_cur.remaining();
    const unsigned char *p = m_failed ? nullptr : m_cur.take(n);
    if (!p)
        fail("data ends early (" + std::to_string(n) + " bytes wanted, " + std::to_string(left) +
             " left)");
    return handOut(p, n);
}

const unsigned char *TokenReader::takeUnits(std::size_t unit, std::size_t most,
                                            std::size_t &count) {
    count = 0;
    if (m_window) // a few records at a time
        most = std::min<std::size_t>(most, 1 + m_window->turn++ % 3);
    const std::size_t left = m_cur.remaining();
    const unsigned char *p = m_failed ? nullptr : m_cur.takeUnits(unit, most, count);
    if (!p)
        fail("data ends early (" + std::to_string(unit) + " bytes wanted, " + std::to_string(left) +
             " left)");
    return handOut(p, count * unit);
}

std::string_view TokenReader::keep(std::string_view text) {
    // Blocks of 4 KiB shared by short strings, one block each for long ones.
    const std::size_t kBlock = 4096;
    const std::size_t n = text.size();
    if (n == 0)
        return std::string_view("", 0);
    // A block is owned before the list grows, so that running out of memory
    // while it grows frees the block.
    const auto addBlock = [this](std::size_t bytes) {
        std::unique_ptr<char[]> block(new char[bytes]);
        m_blocks.push_back(std::move(block));
        return m_blocks.back().get();
    };
    char *out;
    if (n > kBlock / 4) {
        out = addBlock(n);
    } else {
        if (n > m_left) {
            m_free = addBlock(kBlock);
            m_left = kBlock;
        }
        out = m_free;
        m_free += n;
        m_left -= n;
    }
    std::memcpy(out, text.data(), n);
    return std::string_view(out, n);
}

bool TokenReader::start() {
    const unsigned char *p = take(5);
    if (!p)
        return false;
    if (p[0] != kTokMagic)
        return fail("not a binary JSON stream (first byte " + hexByte(p[0]) + ")", 0);
    // The word 0x624A534E in the writer's byte order.
    if (loadU32LE(p + 1) == 0x624A534Eu)
        m_order = Endian::Little;
    else if (loadU32BE(p + 1) == 0x624A534Eu)
        m_order = Endian::Big;
    else
        return fail("bad binary JSON magic", 1);
    return true;
}

void TokenReader::startText() {
    m_text = std::make_unique<TextLexer>();
}

bool TokenReader::finish() {
    if (m_failed)
        return false;
    if (!m_text)
        return true;
    if (m_havePeek)
        return fail("text after the end of the document", m_peek.offset);
    return m_text->finish(m_cur) || fail(m_text->reason(), m_text->where());
}

bool TokenReader::readTextToken(Token &token) {
    if (m_failed)
        return false;
    return m_text->next(m_cur, token) || fail(m_text->reason(), m_text->where());
}

bool TokenReader::readLength(std::uint64_t &value) {
    const unsigned char *p = take(1);
    if (!p)
        return false;
    const unsigned char marker = *p;
    if (marker < 0xF1) {
        value = marker;
        return true;
    }
    const std::size_t width = lengthWidth(marker);
    if (width != 2 && width != 4 && width != 8)
        return fail("reserved length byte " + hexByte(marker), m_cur.offset() - 1);
    if (!(p = take(width)))
        return false;
    value = lengthAt(marker, p);
    return true;
}

bool TokenReader::lookup(std::uint64_t id, std::string_view &out, std::size_t at) {
    if (id < m_table.size() && m_table[id].data()) {
        out = m_table[id];
        return true;
    }
    auto found = m_sparse.find(id);
    if (found != m_sparse.end() && found->second.data()) {
        out = found->second;
        return true;
    }
    return fail("reference to undefined string id " + std::to_string(id), at);
}

// A string of the stream, valid until the next read.
bool TokenReader::readStream(std::string_view &value) {
    std::uint64_t length;
    if (!readLength(length))
        return false;
    if (length > remaining())
        return fail("string of " + std::to_string(length) + " bytes with " +
                    std::to_string(remaining()) + " left");
    const unsigned char *p = take(static_cast<std::size_t>(length));
    if (!p)
        return false;
    value = std::string_view(reinterpret_cast<const char *>(p), static_cast<std::size_t>(length));
    return true;
}

bool TokenReader::readString(std::string_view &value) {
    if (!readStream(value))
        return false;
    value = keep(value);
    return true;
}

bool TokenReader::define() {
    std::uint64_t id;
    std::string_view value;
    if (!readLength(id) || !readString(value))
        return false;
    if (id < m_table.size())
        m_table[id] = value;
    else if (id == m_table.size() && m_sparse.empty())
        m_table.push_back(value);
    else
        m_sparse[id] = value;
    return true;
}

bool TokenReader::undefine() {
    std::uint64_t id;
    if (!readLength(id))
        return false;
    if (id < m_table.size())
        m_table[id] = std::string_view();
    m_sparse.erase(id);
    return true;
}

// The header of a uniform array: its element type and count, checked
// against the bytes left; its data is read by uniformPiece/uniformString or
// read past by the next token.
bool TokenReader::readUniform(Token &token) {
    const unsigned char *p = take(1);
    if (!p)
        return false;
    token.element = *p;
    if (!readLength(token.count))
        return false;
    const std::uint64_t n = token.count;
    std::size_t width = numericElementSize(token.element);
    std::uint64_t items = n;
    if (width) {
        if (n > remaining() / width)
            return fail("uniform array of " + std::to_string(n) + " elements of " +
                        std::to_string(width) + " bytes with " + std::to_string(remaining()) +
                        " bytes left");
    } else if (token.element == kTokBool) {
        // 32 flags to a 32-bit word, the last word padded.
        items = n / 32 + (n % 32 ? 1 : 0);
        width = 4;
        if (items > remaining() / 4)
            return fail("uniform bool array of " + std::to_string(n) + " elements with " +
                        std::to_string(remaining()) + " bytes left");
    } else if (token.element == kTokString || token.element == kTokTokenRef) {
        if (n > remaining())
            return fail(std::string(token.element == kTokString ? "uniform string array of "
                                                                : "uniform token array of ") +
                        std::to_string(n) + " elements with " + std::to_string(remaining()) +
                        " bytes left");
    } else {
        return fail("uniform array of unknown element type " + hexByte(token.element),
                    token.offset + 1);
    }
    m_pendingElement = token.element;
    m_pendingOffset = token.offset;
    m_pendingWidth = width;
    m_pendingItems = items;
    m_pendingBytes = static_cast<std::size_t>(items) * width;
    return true;
}

const unsigned char *TokenReader::uniformPiece(std::size_t per, std::size_t most,
                                               std::size_t &units) {
    units = 0;
    if (m_failed)
        return nullptr;
    if (m_havePeek || m_pendingWidth == 0 || per == 0 || most == 0 || m_pendingItems / per < most) {
        fail("uniform array read past its end");
        return nullptr;
    }
    const unsigned char *p = takeUnits(per * m_pendingWidth, most, units);
    if (!p)
        return nullptr;
    m_pendingItems -= static_cast<std::uint64_t>(units) * per;
    m_pendingBytes -= units * per * m_pendingWidth;
    return p;
}

bool TokenReader::uniformString(std::string_view &value) {
    if (m_failed)
        return false;
    const bool strings = m_pendingElement == kTokString || m_pendingElement == kTokTokenRef;
    if (m_havePeek || !strings || m_pendingWidth != 0 || m_pendingItems == 0)
        return fail("uniform array read past its end");
    --m_pendingItems;
    if (m_pendingElement == kTokString)
        return readStream(value);
    std::uint64_t id;
    return readLength(id) && lookup(id, value, m_pendingOffset);
}

// The rest of the uniform array handed out last, read past in pieces.
bool TokenReader::readPast() {
    while (m_pendingItems > 0 && !m_failed) {
        if (m_pendingWidth) {
            std::size_t units;
            const std::size_t most = static_cast<std::size_t>(
                std::min<std::uint64_t>(m_pendingItems, m_pendingBytes / m_pendingWidth));
            if (!uniformPiece(1, most, units))
                return false;
            continue;
        }
        --m_pendingItems;
        std::string_view text;
        std::uint64_t id;
        if (!(m_pendingElement == kTokString ? readStream(text) : readLength(id)))
            return false;
    }
    m_pendingItems = 0;
    m_pendingBytes = 0;
    m_pendingWidth = 0;
    m_pendingElement = 0;
    return !m_failed;
}

bool TokenReader::readNumber(std::uint8_t id, std::size_t width, Token &token) {
    const unsigned char *p = take(width);
    if (!p)
        return false;
    if (isRealElement(id)) {
        token.kind = TokenKind::Real;
        token.r = realAt(id, p);
    } else {
        token.kind = TokenKind::Int;
        token.i = intAt(id, p);
    }
    return true;
}

bool TokenReader::readValue(std::uint8_t id, Token &token) {
    if (const std::size_t width = numericElementSize(id))
        return readNumber(id, width, token);
    const unsigned char *p;
    switch (id) {
    case kTokNull:
        token.kind = TokenKind::Null;
        return true;
    case kTokFalse:
    case kTokTrue:
        token.kind = TokenKind::Bool;
        token.i = id == kTokTrue;
        return true;
    case kTokBool:
        if (!(p = take(1)))
            return false;
        token.kind = TokenKind::Bool;
        token.i = *p != 0;
        return true;
    case kTokString:
        token.kind = TokenKind::String;
        return readString(token.s);
    case kTokTokenRef: {
        std::uint64_t ref;
        if (!readLength(ref) || !lookup(ref, token.s, token.offset))
            return false;
        token.kind = TokenKind::String;
        return true;
    }
    case kTokUniform:
        token.kind = TokenKind::Uniform;
        return readUniform(token);
    case kTokArrayBegin:
        token.kind = TokenKind::ArrayBegin;
        return true;
    case kTokArrayEnd:
        token.kind = TokenKind::ArrayEnd;
        return true;
    case kTokMapBegin:
        token.kind = TokenKind::MapBegin;
        return true;
    case kTokMapEnd:
        token.kind = TokenKind::MapEnd;
        return true;
    default:
        return fail("unknown token " + hexByte(id), token.offset);
    }
}

bool TokenReader::readToken(Token &token) {
    if (m_text)
        return readTextToken(token);
    if (m_pendingItems > 0 && !readPast())
        return false;
    m_pendingElement = 0;
    m_pendingWidth = 0;
    m_pendingBytes = 0;
    for (;;) {
        if (m_failed)
            return false;
        token.offset = m_cur.offset();
        const unsigned char *p = take(1);
        if (!p)
            return false;
        const std::uint8_t id = *p;
        if (id != kTokDefine && id != kTokUndefine)
            return readValue(id, token);
        // Table changes are applied here and never handed out.
        if (!(id == kTokDefine ? define() : undefine()))
            return false;
    }
}

bool TokenReader::next(Token &token) {
    if (m_havePeek) {
        m_havePeek = false;
        token = m_peek;
        return !m_failed;
    }
    return readToken(token);
}

bool TokenReader::peek(Token &token) {
    if (!m_havePeek) {
        if (!readToken(m_peek))
            return false;
        m_havePeek = true;
    }
    token = m_peek;
    return !m_failed;
}

bool TokenReader::skipValue() {
    // Open containers as a string of 0 (array) and 1 (map).
    std::vector<std::uint8_t> open;
    Token token;
    do {
        if (!next(token))
            return false;
        switch (token.kind) {
        case TokenKind::ArrayBegin:
        case TokenKind::MapBegin:
            if (open.size() >= kMaxJsonDepth)
                return fail("nesting deeper than " + std::to_string(kMaxJsonDepth) + " levels",
                            token.offset);
            open.push_back(token.kind == TokenKind::MapBegin);
            break;
        case TokenKind::ArrayEnd:
        case TokenKind::MapEnd:
            if (open.empty() || open.back() != (token.kind == TokenKind::MapEnd))
                return fail("unbalanced end of array or map", token.offset);
            open.pop_back();
            break;
        default:
            break;
        }
    } while (!open.empty());
    return true;
}

} // namespace kelp
