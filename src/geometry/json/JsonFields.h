// Typed reads on top of the token reader: scalars, key/value lists and maps,
// and arrays written either as uniform arrays or as plain tokens (Houdini
// writes both forms for the same field).
#ifndef KELP_GEOMETRY_JSON_JSONFIELDS_H
#define KELP_GEOMETRY_JSON_JSONFIELDS_H

#include "json/JsonTokens.h"

#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <string_view>
#include <vector>

namespace kelp {

bool readInt(TokenReader &reader, std::int64_t &value, const char *what);
// An integer in [low, high].
bool readIntIn(TokenReader &reader, std::int64_t low, std::int64_t high, std::int64_t &value,
               const char *what);
bool readBool(TokenReader &reader, bool &value, const char *what);
bool readString(TokenReader &reader, std::string_view &value, const char *what);

// Reads the opening of an object written as a key/value list ([k, v, k, v])
// or as a map ({k: v}); then nextKey gives each key in turn (the caller reads
// or skips its value) and false at the closing token (or on failure, which
// the reader records).
class ObjectReader {
public:
    ObjectReader(TokenReader &reader, const char *what);
    bool nextKey(std::string_view &key);
    bool ok() const { return !m_reader.failed(); }

private:
    TokenReader &m_reader;
    const char *m_what;
    TokenKind m_end = TokenKind::ArrayEnd;
};

// Every key of an object ("what" in failures), each handed to read, which
// reads its value (reader.skipValue() for a key it does not use); false on
// the first failure.
template <class Read> bool readObject(TokenReader &reader, const char *what, Read read) {
    ObjectReader object(reader, what);
    std::string_view key;
    while (object.nextKey(key))
        if (!read(key))
            return false;
    return !reader.failed();
}

// Reads the opening of an array; then nextElement is true while elements
// remain (the caller reads each one) and false at the end token.
class ArrayReader {
public:
    ArrayReader(TokenReader &reader, const char *what);
    bool nextElement();

private:
    TokenReader &m_reader;
    const char *m_what;
};

// An array of integers, uniform or plain, each in [low, high].
bool readIntArray(TokenReader &reader, std::int64_t low, std::int64_t high,
                  std::vector<std::int64_t> &out, const char *what);
// An allocator whose arrays, when sized, leave their new elements unset:
// for arrays that are filled right after.
template <class T> struct UnsetAllocator : std::allocator<T> {
    template <class U> struct rebind { using other = UnsetAllocator<U>; };
    UnsetAllocator() = default;
    template <class U> UnsetAllocator(const UnsetAllocator<U> &) noexcept {}
    template <class U> void construct(U *p) noexcept { ::new (static_cast<void *>(p)) U; }
    template <class U, class... Args> void construct(U *p, Args &&...args) {
        ::new (static_cast<void *>(p)) U(std::forward<Args>(args)...);
    }
};
using IndexArray = std::vector<std::uint32_t, UnsetAllocator<std::uint32_t>>;

bool readUInt32Array(TokenReader &reader, std::uint32_t high, IndexArray &out, const char *what);
// An array of numbers, uniform or plain, as doubles (small arrays only:
// defaults, bounds).
bool readNumberArray(TokenReader &reader, std::vector<double> &out, const char *what);
// An array of flags: uniform bool, or plain bool or integer tokens.
bool readFlagArray(TokenReader &reader, std::vector<std::uint8_t> &out, const char *what);
// An array of strings: uniform string or token-reference, or plain strings.
bool readStringArray(TokenReader &reader, std::vector<std::string_view> &out, const char *what);

// One integer or an array of them (fields written both ways, such as a
// primitive's "vertex").
bool readIntOrIntArray(TokenReader &reader, std::int64_t low, std::int64_t high,
                       std::vector<std::int64_t> &out, const char *what);

} // namespace kelp

#endif
