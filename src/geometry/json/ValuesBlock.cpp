#include "json/ValuesBlock.h"

#include "io/ByteOrder.h"
#include "json/JsonFields.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>
#include <type_traits>
#include <vector>

namespace kelp {

namespace {

// Houdini always writes pages of 1024 elements. A constant page stands for a
// whole page from one tuple, so the page size bounds how far a small file can
// make the model grow; larger pages are refused.
const std::int64_t kMaxPageSize = 4096;
const std::int64_t kMaxTupleSize = 32767;

enum class Storage { Unknown, Real, Integer };

Storage storageKind(std::string_view name) {
    if (name == "fpreal32" || name == "fpreal64" || name == "fpreal16")
        return Storage::Real;
    if (name == "int32" || name == "int64" || name == "int8" || name == "int16" ||
        name == "uint8" || name == "uint16")
        return Storage::Integer;
    return Storage::Unknown;
}

// ---- conversions ----------------------------------------------------------

template <class Dst> Dst convert(double v);
template <> inline float convert<float>(double v) {
    return static_cast<float>(v);
}
template <> inline std::int32_t convert<std::int32_t>(double v) {
    if (!(v >= -2147483648.0)) // also NaN
        return std::numeric_limits<std::int32_t>::min();
    if (v > 2147483647.0)
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(v);
}

template <class Dst> Dst convertInt(std::int64_t v);
template <> inline float convertInt<float>(std::int64_t v) {
    return static_cast<float>(v);
}
template <> inline std::int32_t convertInt<std::int32_t>(std::int64_t v) {
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(std::max<std::int64_t>(v, std::numeric_limits<std::int32_t>::min()),
                               std::numeric_limits<std::int32_t>::max()));
}

template <class Dst> inline Dst convertValue(float v) {
    return convert<Dst>(v);
}
template <> inline float convertValue<float>(float v) {
    return v;
}

// One raw element of a uniform array, converted for the destination type.
template <std::uint8_t E, class Dst> inline Dst load(const unsigned char *p, bool swap) {
    const Endian order = orderOf(swap);
    if constexpr (E == kTokInt8) {
        return convertInt<Dst>(static_cast<std::int8_t>(*p));
    } else if constexpr (E == kTokUInt8) {
        return convertInt<Dst>(*p);
    } else if constexpr (E == kTokInt16 || E == kTokUInt16 || E == kTokReal16) {
        const std::uint16_t v = loadAs<std::uint16_t>(p, order);
        if constexpr (E == kTokInt16)
            return convertInt<Dst>(static_cast<std::int16_t>(v));
        else if constexpr (E == kTokUInt16)
            return convertInt<Dst>(v);
        else
            return convertValue<Dst>(halfToFloat(v));
    } else if constexpr (E == kTokInt32 || E == kTokReal32) {
        const std::uint32_t v = loadAs<std::uint32_t>(p, order);
        if constexpr (E == kTokInt32)
            return convertInt<Dst>(static_cast<std::int32_t>(v));
        else
            return convertValue<Dst>(floatFromBits(v));
    } else {
        const std::uint64_t v = loadAs<std::uint64_t>(p, order);
        if constexpr (E == kTokInt64)
            return convertInt<Dst>(static_cast<std::int64_t>(v));
        else
            return convert<Dst>(doubleFromBits(v));
    }
}

// n tuples of w raw elements; components c0 .. c0+keep-1 go to dst with a
// stride of W per tuple.
template <std::uint8_t E, class Dst>
void copyTuples(const unsigned char *src, bool swap, std::size_t n, int w, int c0, int keep,
                Dst *dst, int W) {
    const std::size_t es = numericElementSize(E);
    const std::size_t step = es * static_cast<std::size_t>(w);
    for (std::size_t e = 0; e < n; ++e) {
        const unsigned char *s = src + e * step;
        Dst *d = dst + e * static_cast<std::size_t>(W) + c0;
        for (int k = 0; k < keep; ++k)
            d[k] = load<E, Dst>(s + static_cast<std::size_t>(k) * es, swap);
    }
}

template <class Dst>
void copyUniform(std::uint8_t element, const unsigned char *src, bool swap, std::size_t n, int w,
                 int c0, int keep, Dst *dst, int W) {
    switch (element) {
    case kTokInt8:
        return copyTuples<kTokInt8>(src, swap, n, w, c0, keep, dst, W);
    case kTokUInt8:
        return copyTuples<kTokUInt8>(src, swap, n, w, c0, keep, dst, W);
    case kTokInt16:
        return copyTuples<kTokInt16>(src, swap, n, w, c0, keep, dst, W);
    case kTokUInt16:
        return copyTuples<kTokUInt16>(src, swap, n, w, c0, keep, dst, W);
    case kTokInt32:
        return copyTuples<kTokInt32>(src, swap, n, w, c0, keep, dst, W);
    case kTokInt64:
        return copyTuples<kTokInt64>(src, swap, n, w, c0, keep, dst, W);
    case kTokReal16:
        return copyTuples<kTokReal16>(src, swap, n, w, c0, keep, dst, W);
    case kTokReal32:
        return copyTuples<kTokReal32>(src, swap, n, w, c0, keep, dst, W);
    default:
        return copyTuples<kTokReal64>(src, swap, n, w, c0, keep, dst, W);
    }
}

// ---- where raw values come from -------------------------------------------

// The values of one array, taken in order: the elements of a uniform array
// (copied in bulk) or plain number tokens up to the array's end token.
class Source {
public:
    Source(TokenReader &reader, const Token &array, const char *what)
        : m_reader(reader), m_what(what), m_uniform(array.kind == TokenKind::Uniform) {
        if (m_uniform) {
            m_element = array.element;
            m_left = array.count;
        }
    }

    // n tuples of w values; components c0.. of each go to dst (stride W).
    template <class Dst> bool tuples(std::size_t n, int w, int c0, Dst *dst, int W) {
        const int keep = dst ? std::max(0, std::min(w, W - c0)) : 0;
        const std::uint64_t count = static_cast<std::uint64_t>(n) * static_cast<std::uint64_t>(w);
        if (m_uniform) {
            if (count > m_left)
                return short_();
            m_left -= count;
            return uniformTuples(n, w, c0, keep, dst, W);
        }
        for (std::size_t e = 0; e < n; ++e)
            for (int k = 0; k < w; ++k) {
                Dst value{};
                if (!plain(value))
                    return false;
                if (k < keep)
                    dst[e * static_cast<std::size_t>(W) + c0 + k] = value;
            }
        return true;
    }

    // One tuple of w values repeated for n elements.
    template <class Dst> bool constant(std::size_t n, int w, int c0, Dst *dst, int W) {
        const int keep = dst ? std::max(0, std::min(w, W - c0)) : 0;
        // The sub-vector's first `keep` values are the ones kept: read them
        // as one tuple of width `keep`.
        Dst tuple[4] = {};
        if (!tuples<Dst>(1, w, 0, keep > 0 ? tuple : nullptr, keep))
            return false;
        for (std::size_t e = 0; e < n; ++e)
            for (int k = 0; k < keep; ++k)
                dst[e * static_cast<std::size_t>(W) + c0 + k] = tuple[k];
        return true;
    }

    // After the last value: nothing may be left.
    bool finish() {
        if (m_uniform) {
            if (m_left != 0)
                return m_reader.fail(std::to_string(m_left) + " values too many in '" + m_what +
                                     "'");
            return true;
        }
        Token t;
        if (!m_reader.next(t))
            return false;
        if (t.kind != TokenKind::ArrayEnd)
            return m_reader.fail(std::string("values too many in '") + m_what + "'", t.offset);
        return true;
    }

private:
    bool short_() { return m_reader.fail(std::string("too few values in '") + m_what + "'"); }

    // n tuples of the uniform array, in the pieces the stream holds, copied
    // (or converted) straight into dst.
    template <class Dst>
    bool uniformTuples(std::size_t n, int w, int c0, int keep, Dst *dst, int W) {
        const bool swapped = m_reader.swapped();
        const bool sameType = (m_element == kTokReal32 && std::is_same<Dst, float>::value) ||
                              (m_element == kTokInt32 && std::is_same<Dst, std::int32_t>::value);
        const bool bulk = sameType && !swapped && w == W && c0 == 0;
        const std::size_t per = static_cast<std::size_t>(w);
        std::size_t done = 0;
        while (done < n) {
            std::size_t got;
            const unsigned char *p = m_reader.uniformPiece(per, n - done, got);
            if (!p)
                return false;
            Dst *to = keep > 0 ? dst + done * static_cast<std::size_t>(W) : nullptr;
            if (to && bulk)
                std::memcpy(to, p, got * per * 4);
            else if (to)
                copyUniform(m_element, p, swapped, got, w, c0, keep, to, W);
            done += got;
        }
        return true;
    }

    template <class Dst> bool plain(Dst &value) {
        Token t;
        if (!m_reader.next(t))
            return false;
        if (t.kind == TokenKind::Int || t.kind == TokenKind::Bool)
            value = convertInt<Dst>(t.i);
        else if (t.kind == TokenKind::Real)
            value = convert<Dst>(t.r);
        else if (t.kind == TokenKind::ArrayEnd)
            return m_reader.fail(std::string("too few values in '") + m_what + "'", t.offset);
        else
            return m_reader.fail(std::string("expected a number in '") + m_what + "'", t.offset);
        return true;
    }

    TokenReader &m_reader;
    const char *m_what;
    bool m_uniform;
    std::uint8_t m_element = 0;
    std::uint64_t m_left = 0;
};

// Opens an array of numbers: a uniform numeric array or a plain array.
bool openNumbers(TokenReader &reader, Token &t, const char *what) {
    if (!reader.next(t))
        return false;
    if (t.kind == TokenKind::Uniform) {
        if (!numericElementSize(t.element))
            return reader.fail(std::string("expected numbers in '") + what + "'", t.offset);
        return true;
    }
    if (t.kind != TokenKind::ArrayBegin)
        return reader.fail(std::string("expected an array of numbers for '") + what + "'",
                           t.offset);
    return true;
}

// ---- the three layouts ----------------------------------------------------

struct Layout {
    std::int64_t size = 0; // tuple size, 0 until read
    Storage storage = Storage::Unknown;
    bool haveStorage = false;
    std::int64_t pageSize = 0;
    std::vector<std::int64_t> packing;
    std::vector<std::vector<std::uint8_t>> constantFlags;
};

template <class Dst>
bool decodePaged(TokenReader &reader, const Layout &layout, std::uint64_t elements,
                 const Token &array, Dst *dst, int W) {
    Source source(reader, array, "rawpagedata");
    const std::uint64_t pageSize = static_cast<std::uint64_t>(layout.pageSize);
    std::uint64_t first = 0;
    for (std::uint64_t page = 0; first < elements; ++page, first += pageSize) {
        const std::size_t n = static_cast<std::size_t>(std::min(pageSize, elements - first));
        Dst *at = dst ? dst + first * static_cast<std::uint64_t>(W) : nullptr;
        int c0 = 0;
        for (std::size_t sv = 0; sv < layout.packing.size(); ++sv) {
            const int w = static_cast<int>(layout.packing[sv]);
            const bool constant = sv < layout.constantFlags.size() &&
                                  page < layout.constantFlags[sv].size() &&
                                  layout.constantFlags[sv][page];
            if (!(constant ? source.constant<Dst>(n, w, c0, at, W)
                           : source.tuples<Dst>(n, w, c0, at, W)))
                return false;
            c0 += w;
        }
    }
    return source.finish();
}

template <class Dst>
bool decodeTuples(TokenReader &reader, const Layout &layout, std::uint64_t elements, Dst *dst,
                  int W) {
    ArrayReader list(reader, "tuples");
    const int size = static_cast<int>(layout.size);
    for (std::uint64_t e = 0; e < elements; ++e) {
        if (!list.nextElement())
            return reader.fail("fewer tuples than elements");
        Token t;
        if (size == 1 && reader.peek(t) &&
            (t.kind == TokenKind::Int || t.kind == TokenKind::Real)) {
            // A bare number for a one-component tuple.
            reader.next(t);
            if (dst)
                dst[e * static_cast<std::uint64_t>(W)] =
                    t.kind == TokenKind::Int ? convertInt<Dst>(t.i) : convert<Dst>(t.r);
            continue;
        }
        if (!openNumbers(reader, t, "tuples"))
            return false;
        Source source(reader, t, "tuples");
        if (!source.tuples<Dst>(1, size, 0, dst ? dst + e * static_cast<std::uint64_t>(W) : nullptr,
                                W) ||
            !source.finish())
            return false;
    }
    if (list.nextElement())
        return reader.fail("more tuples than elements");
    return !reader.failed();
}

template <class Dst>
bool decodeArrays(TokenReader &reader, const Layout &layout, std::uint64_t elements, Dst *dst,
                  int W) {
    ArrayReader list(reader, "arrays");
    for (int c = 0; c < layout.size; ++c) {
        if (!list.nextElement())
            return reader.fail("fewer component arrays than the tuple size");
        Token t;
        if (!openNumbers(reader, t, "arrays"))
            return false;
        Source source(reader, t, "arrays");
        if (!source.tuples<Dst>(static_cast<std::size_t>(elements), 1, c, dst, W) ||
            !source.finish())
            return false;
    }
    if (list.nextElement())
        return reader.fail("more component arrays than the tuple size");
    return !reader.failed();
}

// Values the data must hold for the paged layout (a constant page holds one
// tuple of its sub-vector).
std::uint64_t pagedValueCount(const Layout &layout, std::uint64_t elements) {
    const std::uint64_t pageSize = static_cast<std::uint64_t>(layout.pageSize);
    std::uint64_t total = elements * static_cast<std::uint64_t>(layout.size);
    for (std::size_t sv = 0; sv < layout.packing.size() && sv < layout.constantFlags.size(); ++sv) {
        const std::vector<std::uint8_t> &flags = layout.constantFlags[sv];
        const std::uint64_t w = static_cast<std::uint64_t>(layout.packing[sv]);
        for (std::uint64_t page = 0; page < flags.size(); ++page) {
            const std::uint64_t first = page * pageSize;
            if (!flags[page] || first >= elements)
                continue;
            const std::uint64_t n = std::min(pageSize, elements - first);
            total -= (n - 1) * w;
        }
    }
    return total;
}

enum class Form { Paged, Tuples, Arrays };

template <class Dst>
bool decode(TokenReader &reader, Form form, const Layout &layout, std::uint64_t elements,
            const Token &array, Dst *dst, int W) {
    switch (form) {
    case Form::Paged:
        return decodePaged<Dst>(reader, layout, elements, array, dst, W);
    case Form::Tuples:
        return decodeTuples<Dst>(reader, layout, elements, dst, W);
    default:
        return decodeArrays<Dst>(reader, layout, elements, dst, W);
    }
}

bool readData(TokenReader &reader, Form form, Layout &layout, std::uint64_t elements,
              const PrepareTarget &prepare, const char *what) {
    const std::size_t at = reader.offset();
    if (layout.size == 0)
        return reader.fail(std::string("values of '") + what + "' before their tuple size", at);
    if (!layout.haveStorage)
        return reader.fail(std::string("values of '") + what + "' before their storage", at);

    Token array;
    if (form == Form::Paged) {
        if (layout.pageSize == 0)
            return reader.fail(std::string("'rawpagedata' of '") + what + "' without a page size",
                               at);
        if (layout.packing.empty())
            layout.packing.assign(1, layout.size);
        std::int64_t sum = 0;
        for (std::int64_t w : layout.packing)
            sum += w;
        if (sum != layout.size)
            return reader.fail(std::string("packing of '") + what + "' does not add up to " +
                                   std::to_string(layout.size),
                               at);
        if (!layout.constantFlags.empty() && layout.constantFlags.size() != layout.packing.size())
            return reader.fail(
                std::string("constant page flags of '") + what + "' do not match its packing", at);
        const std::uint64_t expected = pagedValueCount(layout, elements);
        if (!openNumbers(reader, array, "rawpagedata"))
            return false;
        if (array.kind == TokenKind::Uniform
                ? array.count != expected
                : expected > reader.remaining() / reader.minElementBytes())
            return reader.fail(std::string("'rawpagedata' of '") + what + "' holds " +
                                   (array.kind == TokenKind::Uniform ? std::to_string(array.count)
                                                                     : std::string("fewer")) +
                                   " values, " + std::to_string(expected) + " expected",
                               array.offset);
    } else {
        // Every tuple or value takes at least one byte (two in text).
        if (elements > reader.remaining() / reader.minElementBytes())
            return reader.fail(std::string("'") + what + "' cannot hold " +
                                   std::to_string(elements) + " elements",
                               at);
    }

    ValueTarget target;
    if (layout.storage != Storage::Unknown &&
        !prepare(static_cast<int>(layout.size), layout.storage == Storage::Real, target))
        return false;
    if (target.width < 1 || target.width > 4)
        target = ValueTarget(); // nothing this decoder can write: read past
    if (target.floats)
        return decode<float>(reader, form, layout, elements, array, target.floats, target.width);
    if (target.ints)
        return decode<std::int32_t>(reader, form, layout, elements, array, target.ints,
                                    target.width);
    return decode<float>(reader, form, layout, elements, array, nullptr, 0);
}

} // namespace

bool readValuesBlock(TokenReader &reader, std::uint64_t elements, const PrepareTarget &prepare,
                     const char *what) {
    Layout layout;
    bool done = false;
    ObjectReader block(reader, what);
    std::string_view key;
    while (block.nextKey(key)) {
        const bool layoutKey = key == "size" || key == "storage" || key == "pagesize" ||
                               key == "packing" || key == "constantpageflags";
        if (done && layoutKey)
            return reader.fail("'" + std::string(key) + "' of '" + what + "' after its values");
        if (key == "size") {
            if (!readIntIn(reader, 1, kMaxTupleSize, layout.size, "size"))
                return false;
        } else if (key == "storage") {
            std::string_view name;
            if (!readString(reader, name, "storage"))
                return false;
            layout.storage = storageKind(name);
            layout.haveStorage = true;
        } else if (key == "pagesize") {
            if (!readIntIn(reader, 1, kMaxPageSize, layout.pageSize, "pagesize"))
                return false;
        } else if (key == "packing") {
            if (!readIntArray(reader, 1, kMaxTupleSize, layout.packing, "packing"))
                return false;
        } else if (key == "constantpageflags") {
            layout.constantFlags.clear();
            ArrayReader lists(reader, "constantpageflags");
            while (lists.nextElement()) {
                layout.constantFlags.emplace_back();
                if (!readFlagArray(reader, layout.constantFlags.back(), "constantpageflags"))
                    return false;
            }
        } else if (!done && (key == "rawpagedata" || key == "tuples" || key == "arrays")) {
            const Form form = key == "rawpagedata" ? Form::Paged
                              : key == "tuples"    ? Form::Tuples
                                                   : Form::Arrays;
            if (!readData(reader, form, layout, elements, prepare, what))
                return false;
            done = true;
        } else if (!reader.skipValue()) {
            return false;
        }
    }
    if (reader.failed())
        return false;
    if (!done) {
        if (elements > 0)
            return reader.fail(std::string("'") + what + "' holds no values");
        ValueTarget unused;
        if (layout.storage != Storage::Unknown)
            return prepare(static_cast<int>(std::max<std::int64_t>(layout.size, 1)),
                           layout.storage == Storage::Real, unused);
    }
    return true;
}

} // namespace kelp
