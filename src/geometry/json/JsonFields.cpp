#include "json/JsonFields.h"

#include "io/HugePages.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace kelp {

namespace {

std::string quoted(const char *what) {
    return std::string("'") + what + "'";
}

// The data of the uniform array t just handed out, `items` items of it (its
// elements, or the flag words of a bool array) in pieces: take(p, n) for n
// items at p, false to stop.
template <class Take> bool eachPiece(TokenReader &reader, std::uint64_t items, Take take) {
    while (items > 0) {
        std::size_t n;
        const unsigned char *p = reader.uniformPiece(
            1, static_cast<std::size_t>(std::min<std::uint64_t>(items, SIZE_MAX)), n);
        if (!p || !take(p, n))
            return false;
        items -= n;
    }
    return true;
}

// Each element of a uniform integer array (the element type was checked),
// to take(value), false to stop.
template <class Take> bool eachInt(TokenReader &reader, const Token &t, Take take) {
    const std::size_t width = numericElementSize(t.element);
    return eachPiece(reader, t.count, [&](const unsigned char *p, std::size_t n) {
        for (std::size_t k = 0; k < n; ++k)
            if (!take(reader.intAt(t.element, p + k * width)))
                return false;
        return true;
    });
}

bool outOfRange(TokenReader &reader, std::int64_t value, const char *what, std::size_t at) {
    return reader.fail("value " + std::to_string(value) + " out of range in " + quoted(what), at);
}

// The next token into t; false when there is none or accept refuses its
// kind ("expected <expected> for 'what'").
template <class Accept>
bool nextAccepted(TokenReader &reader, Token &t, Accept accept, const char *expected,
                  const char *what) {
    if (!reader.next(t))
        return false;
    if (!accept(t.kind))
        return reader.fail(std::string("expected ") + expected + " for " + quoted(what), t.offset);
    return true;
}

// The elements of a plain array whose first token was first, each handed
// to take, which fails the reader on one it cannot use.
template <class Take>
bool readListed(TokenReader &reader, const Token &first, const char *what, Take take) {
    if (first.kind != TokenKind::ArrayBegin)
        return reader.fail("expected an array for " + quoted(what), first.offset);
    Token t;
    for (;;) {
        if (!reader.next(t))
            return false;
        if (t.kind == TokenKind::ArrayEnd)
            return true;
        if (!take(t))
            return false;
    }
}

} // namespace

bool readInt(TokenReader &reader, std::int64_t &value, const char *what) {
    Token t;
    const auto isInt = [](TokenKind k) { return k == TokenKind::Int; };
    if (!nextAccepted(reader, t, isInt, "an integer", what))
        return false;
    value = t.i;
    return true;
}

bool readIntIn(TokenReader &reader, std::int64_t low, std::int64_t high, std::int64_t &value,
               const char *what) {
    const std::size_t at = reader.offset();
    if (!readInt(reader, value, what))
        return false;
    if (value < low || value > high)
        return outOfRange(reader, value, what, at);
    return true;
}

bool readBool(TokenReader &reader, bool &value, const char *what) {
    Token t;
    const auto isFlag = [](TokenKind k) { return k == TokenKind::Bool || k == TokenKind::Int; };
    if (!nextAccepted(reader, t, isFlag, "a bool", what))
        return false;
    value = t.i != 0;
    return true;
}

bool readString(TokenReader &reader, std::string_view &value, const char *what) {
    Token t;
    const auto isString = [](TokenKind k) { return k == TokenKind::String; };
    if (!nextAccepted(reader, t, isString, "a string", what))
        return false;
    value = t.s;
    return true;
}

ObjectReader::ObjectReader(TokenReader &reader, const char *what) : m_reader(reader), m_what(what) {
    Token t;
    if (!reader.next(t))
        return;
    if (t.kind == TokenKind::ArrayBegin)
        m_end = TokenKind::ArrayEnd;
    else if (t.kind == TokenKind::MapBegin)
        m_end = TokenKind::MapEnd;
    else
        reader.fail("expected a list of keys and values for " + quoted(what), t.offset);
}

bool ObjectReader::nextKey(std::string_view &key) {
    Token t;
    if (m_reader.failed() || !m_reader.next(t))
        return false;
    if (t.kind == m_end)
        return false;
    if (t.kind != TokenKind::String)
        return m_reader.fail("expected a key in " + quoted(m_what), t.offset);
    key = t.s;
    return true;
}

ArrayReader::ArrayReader(TokenReader &reader, const char *what) : m_reader(reader), m_what(what) {
    Token t;
    if (!reader.next(t))
        return;
    if (t.kind != TokenKind::ArrayBegin)
        reader.fail("expected an array for " + quoted(what), t.offset);
}

bool ArrayReader::nextElement() {
    Token t;
    if (m_reader.failed() || !m_reader.peek(t))
        return false;
    if (t.kind == TokenKind::ArrayEnd) {
        m_reader.next(t);
        return false;
    }
    if (t.kind == TokenKind::MapEnd)
        return m_reader.fail("unbalanced end of map in " + quoted(m_what), t.offset);
    return true;
}

bool readIntArray(TokenReader &reader, std::int64_t low, std::int64_t high,
                  std::vector<std::int64_t> &out, const char *what) {
    out.clear();
    Token t;
    if (!reader.next(t))
        return false;
    if (t.kind == TokenKind::Uniform) {
        if (!isIntegerElement(t.element))
            return reader.fail("expected integers in " + quoted(what), t.offset);
        out.reserve(static_cast<std::size_t>(t.count));
        return eachInt(reader, t, [&](std::int64_t v) {
            if (v < low || v > high)
                return outOfRange(reader, v, what, t.offset);
            out.push_back(v);
            return true;
        });
    }
    return readListed(reader, t, what, [&](const Token &e) {
        if (e.kind != TokenKind::Int)
            return reader.fail("expected an integer in " + quoted(what), e.offset);
        if (e.i < low || e.i > high)
            return outOfRange(reader, e.i, what, e.offset);
        out.push_back(e.i);
        return true;
    });
}

bool readUInt32Array(TokenReader &reader, std::uint32_t high, IndexArray &out, const char *what) {
    out.clear();
    Token t;
    if (!reader.peek(t))
        return false;
    if (t.kind != TokenKind::Uniform || !isIntegerElement(t.element)) {
        std::vector<std::int64_t> values;
        if (!readIntArray(reader, 0, high, values, what))
            return false;
        out.assign(values.begin(), values.end());
        return true;
    }
    reader.next(t);
    const std::size_t n = static_cast<std::size_t>(t.count);
    reserveHuge(out, n);
    const bool bulk = t.element == kTokInt32 && !reader.swapped();
    const std::size_t width = numericElementSize(t.element);
    return eachPiece(reader, n, [&](const unsigned char *p, std::size_t count) {
        const std::size_t done = out.size();
        out.resize(done + count);
        std::uint32_t *to = out.data() + done;
        if (bulk) {
            // The common case: copy in bulk, then check the range in one pass
            // (negative values come out above any 32-bit high).
            std::memcpy(to, p, count * 4);
            std::uint32_t worst = 0;
            for (std::size_t k = 0; k < count; ++k)
                worst = std::max(worst, to[k]);
            if (worst <= high)
                return true;
            for (std::size_t k = 0; k < count; ++k)
                if (to[k] > high)
                    return outOfRange(reader, static_cast<std::int32_t>(to[k]), what, t.offset);
        }
        for (std::size_t k = 0; k < count; ++k) {
            const std::int64_t v = reader.intAt(t.element, p + k * width);
            if (v < 0 || v > static_cast<std::int64_t>(high))
                return outOfRange(reader, v, what, t.offset);
            to[k] = static_cast<std::uint32_t>(v);
        }
        return true;
    });
}

bool readNumberArray(TokenReader &reader, std::vector<double> &out, const char *what) {
    out.clear();
    Token t;
    if (!reader.next(t))
        return false;
    if (t.kind == TokenKind::Uniform) {
        if (isIntegerElement(t.element))
            return eachInt(reader, t, [&](std::int64_t v) {
                out.push_back(static_cast<double>(v));
                return true;
            });
        if (!isRealElement(t.element))
            return reader.fail("expected numbers in " + quoted(what), t.offset);
        const std::size_t width = numericElementSize(t.element);
        return eachPiece(reader, t.count, [&](const unsigned char *p, std::size_t n) {
            for (std::size_t k = 0; k < n; ++k)
                out.push_back(reader.realAt(t.element, p + k * width));
            return true;
        });
    }
    return readListed(reader, t, what, [&](const Token &e) {
        if (e.kind == TokenKind::Int || e.kind == TokenKind::Bool)
            out.push_back(static_cast<double>(e.i));
        else if (e.kind == TokenKind::Real)
            out.push_back(e.r);
        else
            return reader.fail("expected a number in " + quoted(what), e.offset);
        return true;
    });
}

bool readFlagArray(TokenReader &reader, std::vector<std::uint8_t> &out, const char *what) {
    out.clear();
    Token t;
    if (!reader.next(t))
        return false;
    if (t.kind == TokenKind::Uniform) {
        out.reserve(static_cast<std::size_t>(t.count));
        if (t.element == kTokBool) {
            // 32 flags to a 32-bit word, the last word padded.
            const std::uint64_t words = t.count / 32 + (t.count % 32 ? 1 : 0);
            return eachPiece(reader, words, [&](const unsigned char *p, std::size_t n) {
                for (std::size_t w = 0; w < n; ++w) {
                    const std::uint32_t word = reader.loadU32(p + 4 * w);
                    for (unsigned bit = 0; bit < 32 && out.size() < t.count; ++bit)
                        out.push_back(static_cast<std::uint8_t>((word >> bit) & 1u));
                }
                return true;
            });
        }
        if (!isIntegerElement(t.element))
            return reader.fail("expected flags in " + quoted(what), t.offset);
        return eachInt(reader, t, [&](std::int64_t v) {
            out.push_back(v != 0);
            return true;
        });
    }
    return readListed(reader, t, what, [&](const Token &e) {
        if (e.kind != TokenKind::Bool && e.kind != TokenKind::Int)
            return reader.fail("expected a flag in " + quoted(what), e.offset);
        out.push_back(e.i != 0);
        return true;
    });
}

bool readStringArray(TokenReader &reader, std::vector<std::string_view> &out, const char *what) {
    out.clear();
    Token t;
    if (!reader.next(t))
        return false;
    if (t.kind == TokenKind::Uniform) {
        if (t.element != kTokString && t.element != kTokTokenRef) {
            if (t.count == 0)
                return true;
            return reader.fail("expected strings in " + quoted(what), t.offset);
        }
        out.reserve(static_cast<std::size_t>(t.count));
        for (std::uint64_t k = 0; k < t.count; ++k) {
            std::string_view s;
            if (!reader.uniformString(s))
                return false;
            out.push_back(t.element == kTokString ? reader.keep(s) : s);
        }
        return true;
    }
    return readListed(reader, t, what, [&](const Token &e) {
        if (e.kind != TokenKind::String)
            return reader.fail("expected a string in " + quoted(what), e.offset);
        out.push_back(e.s);
        return true;
    });
}

bool readIntOrIntArray(TokenReader &reader, std::int64_t low, std::int64_t high,
                       std::vector<std::int64_t> &out, const char *what) {
    Token t;
    if (!reader.peek(t))
        return false;
    if (t.kind == TokenKind::Int) {
        reader.next(t);
        if (t.i < low || t.i > high)
            return outOfRange(reader, t.i, what, t.offset);
        out.assign(1, t.i);
        return true;
    }
    return readIntArray(reader, low, high, out, what);
}

} // namespace kelp
