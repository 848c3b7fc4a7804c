#include "json/JsonText.h"

#include <charconv>
#include <cstring>
#include <system_error>

namespace kelp {

namespace {

const std::size_t kBlock = 64 * 1024;
// Longest piece of the text quoted in a failure.
const std::size_t kQuoted = 24;

bool isBlank(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool isDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

// What may follow a number or a word.
bool isDelimiter(unsigned char c) {
    return isBlank(c) || c == ',' || c == ']' || c == '}' || c == ':';
}

const unsigned char *skipBlanks(const unsigned char *p, const unsigned char *end) {
    while (p < end && isBlank(*p))
        ++p;
    return p;
}

// One character of the text as a failure shows it.
std::string shown(unsigned char c) {
    if (c >= 0x20 && c < 0x7F)
        return std::string("'") + static_cast<char>(c) + "'";
    static const char digits[] = "0123456789ABCDEF";
    std::string text = "byte 0x";
    text += digits[c >> 4];
    text += digits[c & 15];
    return text;
}

// The text from p up to the next delimiter, cut at kQuoted bytes.
std::string excerpt(const unsigned char *p, const unsigned char *end) {
    std::string text;
    while (p < end && !isDelimiter(*p) && text.size() < kQuoted) {
        const unsigned char c = *p++;
        text += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
    }
    return "'" + text + "'";
}

int hexValue(unsigned char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Four hex digits at p (the caller checked that they are there); -1 when
// one is not a hex digit.
long hex4(const unsigned char *p) {
    long value = 0;
    for (int k = 0; k < 4; ++k) {
        const int digit = hexValue(p[k]);
        if (digit < 0)
            return -1;
        value = value * 16 + digit;
    }
    return value;
}

char *putUtf8(char *out, unsigned long code) {
    if (code < 0x80) {
        *out++ = static_cast<char>(code);
    } else if (code < 0x800) {
        *out++ = static_cast<char>(0xC0 | (code >> 6));
        *out++ = static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        *out++ = static_cast<char>(0xE0 | (code >> 12));
        *out++ = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (code & 0x3F));
    } else {
        *out++ = static_cast<char>(0xF0 | (code >> 18));
        *out++ = static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        *out++ = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (code & 0x3F));
    }
    return out;
}

} // namespace

bool TextLexer::fail(const std::string &reason, std::size_t at) {
    m_reason = reason;
    m_where = at;
    return false;
}

bool TextLexer::endsEarly(std::size_t at) {
    if (m_open.empty())
        return fail("the text ends before the document", at);
    return fail(m_open.back() ? "the text ends inside a map" : "the text ends inside an array", at);
}

char *TextLexer::reserve(std::size_t n) {
    // A block is owned before the list grows, so that running out of memory
    // while it grows frees the block.
    const auto addBlock = [this](std::size_t bytes) {
        std::unique_ptr<char[]> block(new char[bytes]);
        m_blocks.push_back(std::move(block));
        return m_blocks.back().get();
    };
    if (n > kBlock / 4)
        return addBlock(n);
    if (n > m_left) {
        m_free = addBlock(kBlock);
        m_left = kBlock;
    }
    char *out = m_free;
    m_free += n;
    m_left -= n;
    return out;
}

bool TextLexer::next(ByteCursor &cur, Token &token) {
    const unsigned char *start = cur.here();
    const unsigned char *end = start + cur.remaining();
    const unsigned char *p = skipBlanks(start, end);
    cur.skip(static_cast<std::size_t>(p - start));
    const std::size_t at = cur.offset();
    if (m_expect == Expect::Done)
        return fail("the document has ended", at);
    if (p == end)
        return endsEarly(at);

    switch (m_expect) {
    case Expect::Colon:
        if (*p != ':')
            return fail("expected ':' after a key, found " + shown(*p), at);
        cur.skip(1);
        m_expect = Expect::Value;
        return next(cur, token);
    case Expect::Separator:
        if (*p == ',') {
            cur.skip(1);
            m_expect = m_open.back() ? Expect::Key : Expect::Value;
            return next(cur, token);
        }
        if (*p == ']' || *p == '}')
            return close(cur, token);
        return fail(std::string("expected ',' or '") + (m_open.back() ? '}' : ']') +
                        "' after a value, found " + shown(*p),
                    at);
    case Expect::ValueOrClose:
        if (*p == ']')
            return close(cur, token);
        return value(cur, token);
    case Expect::KeyOrClose:
        if (*p == '}')
            return close(cur, token);
        [[fallthrough]];
    case Expect::Key:
        if (*p != '"')
            return fail("expected a string key in a map, found " + shown(*p), at);
        if (!string(cur, token))
            return false;
        m_expect = Expect::Colon;
        return true;
    default:
        return value(cur, token);
    }
}

bool TextLexer::close(ByteCursor &cur, Token &token) {
    token.offset = cur.offset();
    const bool map = *cur.here() == '}';
    if (m_open.back() != map)
        return fail(map ? "'}' closes an array" : "']' closes a map", token.offset);
    cur.skip(1);
    m_open.pop_back();
    token.kind = map ? TokenKind::MapEnd : TokenKind::ArrayEnd;
    m_expect = m_open.empty() ? Expect::Done : Expect::Separator;
    return true;
}

bool TextLexer::open(Token &token, bool map) {
    if (m_open.size() >= kMaxJsonDepth)
        return fail("nesting deeper than " + std::to_string(kMaxJsonDepth) + " levels",
                    token.offset);
    m_open.push_back(map);
    token.kind = map ? TokenKind::MapBegin : TokenKind::ArrayBegin;
    m_expect = map ? Expect::KeyOrClose : Expect::ValueOrClose;
    return true;
}

bool TextLexer::value(ByteCursor &cur, Token &token) {
    token.offset = cur.offset();
    const unsigned char c = *cur.here();
    bool ok;
    switch (c) {
    case '[':
    case '{':
        cur.skip(1);
        return open(token, c == '{');
    case '"':
        ok = string(cur, token);
        break;
    case 't':
    case 'f':
    case 'n':
        ok = word(cur, token);
        break;
    default:
        if (c != '-' && !isDigit(c))
            return fail("unexpected " + shown(c), token.offset);
        ok = number(cur, token);
        break;
    }
    if (ok)
        m_expect = m_open.empty() ? Expect::Done : Expect::Separator;
    return ok;
}

bool TextLexer::word(ByteCursor &cur, Token &token) {
    const unsigned char *p = cur.here();
    const std::size_t left = cur.remaining();
    static const char *const kWords[] = {"true", "false", "null"};
    for (const char *w : kWords) {
        const std::size_t n = std::strlen(w);
        if (left >= n && std::memcmp(p, w, n) == 0 && (left == n || isDelimiter(p[n]))) {
            cur.skip(n);
            token.kind = w[0] == 'n' ? TokenKind::Null : TokenKind::Bool;
            token.i = w[0] == 't';
            return true;
        }
    }
    return fail("unknown word " + excerpt(p, p + left), token.offset);
}

bool TextLexer::number(ByteCursor &cur, Token &token) {
    const unsigned char *first = cur.here();
    const unsigned char *end = first + cur.remaining();
    const unsigned char *p = first;
    // -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?
    bool good = true;
    bool whole = true;
    if (*p == '-')
        ++p;
    if (p < end && *p == '0') {
        ++p;
    } else if (p < end && isDigit(*p)) {
        while (p < end && isDigit(*p))
            ++p;
    } else {
        good = false;
    }
    if (good && p < end && *p == '.') {
        whole = false;
        ++p;
        good = p < end && isDigit(*p);
        while (p < end && isDigit(*p))
            ++p;
    }
    if (good && p < end && (*p == 'e' || *p == 'E')) {
        whole = false;
        ++p;
        if (p < end && (*p == '+' || *p == '-'))
            ++p;
        good = p < end && isDigit(*p);
        while (p < end && isDigit(*p))
            ++p;
    }
    if (!good || (p < end && !isDelimiter(*p)))
        return fail("bad number " + excerpt(first, end), token.offset);

    const char *text = reinterpret_cast<const char *>(first);
    const char *stop = reinterpret_cast<const char *>(p);
    if (whole) {
        const std::from_chars_result r = std::from_chars(text, stop, token.i);
        if (r.ec == std::errc() && r.ptr == stop) {
            token.kind = TokenKind::Int;
            cur.skip(static_cast<std::size_t>(p - first));
            return true;
        }
        // Wider than 64 bits: a number all the same, read as a real.
    }
    const std::from_chars_result r = std::from_chars(text, stop, token.r);
    if (r.ec == std::errc::result_out_of_range)
        return fail("number out of range " + excerpt(first, end), token.offset);
    if (r.ec != std::errc() || r.ptr != stop)
        return fail("bad number " + excerpt(first, end), token.offset);
    token.kind = TokenKind::Real;
    cur.skip(static_cast<std::size_t>(p - first));
    return true;
}

// The closing quote of the string whose text starts at first; escaped is
// set when the text holds an escape. Every escape takes the byte after it
// along.
bool TextLexer::stringEnd(const ByteCursor &cur, const unsigned char *first,
                          const unsigned char *&close, bool &escaped) {
    const unsigned char *end = cur.here() + cur.remaining();
    const unsigned char *p = first;
    escaped = false;
    while (p < end && *p != '"') {
        if (*p < 0x20)
            return fail("control character " + shown(*p) + " in a string",
                        cur.offset() + static_cast<std::size_t>(p - cur.here()));
        if (*p == '\\') {
            escaped = true;
            ++p;
            if (p == end)
                break;
        }
        ++p;
    }
    if (p >= end)
        return fail("unterminated string", cur.offset());
    close = p;
    return true;
}

// "\uXXXX", or a surrogate pair of two, from q (at the 'u') on: the code
// point written to o as UTF-8, q left at its last digit.
bool TextLexer::unicodeEscape(const unsigned char *&q, const unsigned char *close,
                              std::size_t escapeAt, char *&o) {
    long code = close - q > 4 ? hex4(q + 1) : -1;
    if (code < 0)
        return fail("bad escape '\\u' without four hex digits in a string", escapeAt);
    q += 4;
    if (code >= 0xDC00 && code <= 0xDFFF)
        return fail("bad escape: unpaired surrogate in a string", escapeAt);
    if (code >= 0xD800 && code <= 0xDBFF) {
        const long low = close - q > 6 && q[1] == '\\' && q[2] == 'u' ? hex4(q + 3) : -1;
        if (low < 0xDC00 || low > 0xDFFF)
            return fail("bad escape: unpaired surrogate in a string", escapeAt);
        code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        q += 6;
    }
    o = putUtf8(o, static_cast<unsigned long>(code));
    return true;
}

namespace {

// The character a one-letter escape stands for; -1 for the others.
int escapedChar(unsigned char e) {
    switch (e) {
    case '"':
    case '\\':
    case '/':
        return e;
    case 'b':
        return '\b';
    case 'f':
        return '\f';
    case 'n':
        return '\n';
    case 'r':
        return '\r';
    case 't':
        return '\t';
    default:
        return -1;
    }
}

} // namespace

// The text from first to close decoded into o.
bool TextLexer::decodeString(const ByteCursor &cur, const unsigned char *first,
                             const unsigned char *close, char *&o) {
    for (const unsigned char *q = first; q < close; ++q) {
        if (*q != '\\') {
            *o++ = static_cast<char>(*q);
            continue;
        }
        const std::size_t escapeAt = cur.offset() + static_cast<std::size_t>(q - cur.here());
        const unsigned char e = *++q;
        const int c = escapedChar(e);
        if (c >= 0)
            *o++ = static_cast<char>(c);
        else if (e == 'u') {
            if (!unicodeEscape(q, close, escapeAt, o))
                return false;
        } else
            return fail(e >= 0x20 && e < 0x7F
                            ? "bad escape '\\" + std::string(1, static_cast<char>(e)) +
                                  "' in a string"
                            : "bad escape: '\\' then " + shown(e) + " in a string",
                        escapeAt);
    }
    return true;
}

bool TextLexer::string(ByteCursor &cur, Token &token) {
    token.offset = cur.offset();
    const unsigned char *first = cur.here() + 1; // after the quote
    const unsigned char *close = nullptr;
    bool escaped = false;
    if (!stringEnd(cur, first, close, escaped))
        return false;
    const std::size_t raw = static_cast<std::size_t>(close - first);
    token.kind = TokenKind::String;
    if (!escaped) {
        token.s = std::string_view(reinterpret_cast<const char *>(first), raw);
        cur.skip(raw + 2);
        return true;
    }
    // Decoded, the string is never longer than its text.
    char *out = reserve(raw);
    char *o = out;
    if (!decodeString(cur, first, close, o))
        return false;
    token.s = std::string_view(out, static_cast<std::size_t>(o - out));
    cur.skip(raw + 2);
    return true;
}

bool TextLexer::finish(ByteCursor &cur) {
    const unsigned char *start = cur.here();
    const unsigned char *end = start + cur.remaining();
    const unsigned char *p = skipBlanks(start, end);
    cur.skip(static_cast<std::size_t>(p - start));
    if (m_expect != Expect::Done)
        return endsEarly(cur.offset());
    if (p != end)
        return fail("text after the end of the document", cur.offset());
    return true;
}

} // namespace kelp
