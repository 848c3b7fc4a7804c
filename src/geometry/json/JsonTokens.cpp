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

TokenReader::TokenReader(const unsigned char *data, std::size_t size) : m_cur(data, size) {}

TokenReader::~TokenReader() = default;

std::string TokenReader::position(std::size_t at) const {
    if (!m_text)
        return " at byte " + std::to_string(at);
    // Counted only when a load fails.
    const unsigned char *base = m_cur.here() - m_cur.offset();
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

const unsigned char *TokenReader::take(std::size_t n) {
    const std::size_t left = m_cur.remaining();
    const unsigned char *p = m_failed ? nullptr : m_cur.take(n);
    if (!p)
        fail("data ends early (" + std::to_string(n) + " bytes wanted, " + std::to_string(left) +
             " left)");
    return p;
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

bool TokenReader::readString(std::string_view &value) {
    std::uint64_t length;
    if (!readLength(length))
        return false;
    if (length > remaining())
        return fail("string of " + std::to_string(length) + " bytes with " +
                    std::to_string(remaining()) + " left");
    value = std::string_view(reinterpret_cast<const char *>(take(static_cast<std::size_t>(length))),
                             static_cast<std::size_t>(length));
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

bool TokenReader::readUniform(Token &token) {
    const unsigned char *p = take(1);
    if (!p)
        return false;
    token.element = *p;
    if (!readLength(token.count))
        return false;
    token.data = m_cur.here();
    const std::uint64_t n = token.count;
    const std::size_t width = numericElementSize(token.element);
    if (width) {
        if (n > remaining() / width)
            return fail("uniform array of " + std::to_string(n) + " elements of " +
                        std::to_string(width) + " bytes with " + std::to_string(remaining()) +
                        " bytes left");
        take(static_cast<std::size_t>(n) * width);
        return true;
    }
    switch (token.element) {
    case kTokBool: {
        // 32 flags to a 32-bit word, the last word padded.
        const std::uint64_t words = n / 32 + (n % 32 ? 1 : 0);
        if (words > remaining() / 4)
            return fail("uniform bool array of " + std::to_string(n) + " elements with " +
                        std::to_string(remaining()) + " bytes left");
        take(static_cast<std::size_t>(words) * 4);
        return true;
    }
    case kTokString:
        if (n > remaining())
            return fail("uniform string array of " + std::to_string(n) + " elements with " +
                        std::to_string(remaining()) + " bytes left");
        for (std::uint64_t k = 0; k < n; ++k) {
            std::string_view text;
            if (!readString(text))
                return false;
        }
        return true;
    case kTokTokenRef:
        if (n > remaining())
            return fail("uniform token array of " + std::to_string(n) + " elements with " +
                        std::to_string(remaining()) + " bytes left");
        for (std::uint64_t k = 0; k < n; ++k) {
            std::uint64_t id;
            if (!readLength(id))
                return false;
        }
        return true;
    default:
        return fail("uniform array of unknown element type " + hexByte(token.element),
                    token.offset + 1);
    }
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

bool TokenReader::uniformStrings(const Token &token, std::vector<std::string_view> &out) {
    out.clear();
    const unsigned char *p = token.data;
    // The extent was checked when the token was read; this walks it again.
    for (std::uint64_t k = 0; k < token.count; ++k) {
        const unsigned char marker = *p++;
        const std::size_t width = lengthWidth(marker);
        const std::uint64_t value = width ? lengthAt(marker, p) : marker;
        p += width;
        if (token.element == kTokString) {
            out.emplace_back(reinterpret_cast<const char *>(p), static_cast<std::size_t>(value));
            p += value;
        } else {
            std::string_view s;
            if (!lookup(value, s, token.offset))
                return false;
            out.push_back(s);
        }
    }
    return true;
}

void TokenReader::uniformBools(const Token &token, std::vector<std::uint8_t> &out) const {
    out.resize(static_cast<std::size_t>(token.count));
    for (std::size_t k = 0; k < out.size(); ++k) {
        const std::uint32_t word = loadU32(token.data + 4 * (k / 32));
        out[k] = static_cast<std::uint8_t>((word >> (k % 32)) & 1u);
    }
}

} // namespace kelp
