// Building binary JSON geometry streams token by token, for tests.
//
//   JsonBytes j;
//   j.magic().arr().key("pointcount").i8(3).end();
//
// Little-endian as Houdini writes on every machine it runs on; bigEndian()
// before magic() writes the other byte order.
#ifndef KELP_TESTS_JSONBYTES_H
#define KELP_TESTS_JSONBYTES_H

#include "ClassicBytes.h"
#include "NeedsBlosc.h"

#include <Kelp>

#if KELP_WITH_BLOSC
#include <blosc.h>
#endif
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

namespace kelptest {

class JsonBytes {
public:
    enum LengthForm { Short, F2, F4, F8 };

    JsonBytes &bigEndian() {
        m_big = true;
        return *this;
    }
    JsonBytes &raw(std::uint8_t b) {
        m_bytes.push_back(b);
        return *this;
    }
    template <class T> JsonBytes &value(T v) {
        unsigned char b[sizeof(T)];
        std::memcpy(b, &v, sizeof(T));
        for (std::size_t k = 0; k < sizeof(T); ++k)
            raw(b[m_big ? sizeof(T) - 1 - k : k]);
        return *this;
    }
    JsonBytes &length(std::uint64_t n, LengthForm form = Short) {
        if (form == Short && n < 0xF1)
            return raw(static_cast<std::uint8_t>(n));
        if (form == F2 || (form == Short && n <= 0xFFFF))
            return raw(0xF2).value(static_cast<std::uint16_t>(n));
        if (form == F4 || (form == Short && n <= 0xFFFFFFFFu))
            return raw(0xF4).value(static_cast<std::uint32_t>(n));
        return raw(0xF8).value(n);
    }

    JsonBytes &magic() { return raw(0x7F).value(std::uint32_t(0x624A534E)); }
    JsonBytes &arr() { return raw(0x5B); }
    JsonBytes &end() { return raw(0x5D); }
    JsonBytes &map() { return raw(0x7B); }
    JsonBytes &mapEnd() { return raw(0x7D); }
    JsonBytes &null() { return raw(0x00); }
    JsonBytes &boolean(bool v) { return raw(v ? 0x31 : 0x30); }
    JsonBytes &i8(std::int8_t v) { return raw(0x11).value(v); }
    JsonBytes &i16(std::int16_t v) { return raw(0x12).value(v); }
    JsonBytes &i32(std::int32_t v) { return raw(0x13).value(v); }
    JsonBytes &i64(std::int64_t v) { return raw(0x14).value(v); }
    JsonBytes &f32(float v) { return raw(0x19).value(v); }
    JsonBytes &f64(double v) { return raw(0x1A).value(v); }
    JsonBytes &str(const std::string &s, LengthForm form = Short) {
        raw(0x27).length(s.size(), form);
        for (char c : s)
            raw(static_cast<std::uint8_t>(c));
        return *this;
    }
    // String table: define, refer, undefine.
    JsonBytes &def(std::uint64_t id, const std::string &s) {
        raw(0x2B).length(id).length(s.size());
        for (char c : s)
            raw(static_cast<std::uint8_t>(c));
        return *this;
    }
    JsonBytes &ref(std::uint64_t id) { return raw(0x26).length(id); }
    JsonBytes &undef(std::uint64_t id) { return raw(0x2D).length(id); }
    // A key as real files write it: through the string table the first time.
    JsonBytes &key(const std::string &s) {
        for (std::size_t k = 0; k < m_keys.size(); ++k)
            if (m_keys[k] == s)
                return ref(k);
        m_keys.push_back(s);
        return def(m_keys.size() - 1, s).ref(m_keys.size() - 1);
    }

    // Uniform arrays.
    JsonBytes &uniformHead(std::uint8_t type, std::uint64_t count, LengthForm form = Short) {
        return raw(0x40).raw(type).length(count, form);
    }
    JsonBytes &uf32(const std::vector<float> &v, LengthForm form = Short) {
        uniformHead(0x19, v.size(), form);
        for (float x : v)
            value(x);
        return *this;
    }
    JsonBytes &uf64(const std::vector<double> &v) {
        uniformHead(0x1A, v.size());
        for (double x : v)
            value(x);
        return *this;
    }
    JsonBytes &ui32(const std::vector<std::int32_t> &v, LengthForm form = Short) {
        uniformHead(0x13, v.size(), form);
        for (std::int32_t x : v)
            value(x);
        return *this;
    }
    JsonBytes &ui16(const std::vector<std::int16_t> &v) {
        uniformHead(0x12, v.size());
        for (std::int16_t x : v)
            value(x);
        return *this;
    }
    JsonBytes &ui8(const std::vector<std::int8_t> &v) {
        uniformHead(0x11, v.size());
        for (std::int8_t x : v)
            value(x);
        return *this;
    }
    JsonBytes &uu8(const std::vector<std::uint8_t> &v) {
        uniformHead(0x21, v.size());
        for (std::uint8_t x : v)
            value(x);
        return *this;
    }
    JsonBytes &ubool(const std::vector<bool> &v) {
        uniformHead(0x10, v.size());
        for (std::size_t w = 0; w < (v.size() + 31) / 32; ++w) {
            std::uint32_t word = 0;
            for (std::size_t b = 0; b < 32 && w * 32 + b < v.size(); ++b)
                if (v[w * 32 + b])
                    word |= 1u << b;
            value(word);
        }
        return *this;
    }
    JsonBytes &ustr(const std::vector<std::string> &v) {
        uniformHead(0x27, v.size());
        for (const std::string &s : v) {
            length(s.size());
            for (char c : s)
                raw(static_cast<std::uint8_t>(c));
        }
        return *this;
    }
    // Plain arrays of number tokens.
    JsonBytes &pf64(const std::vector<double> &v) {
        arr();
        for (double x : v)
            f64(x);
        return end();
    }
    JsonBytes &pi32(const std::vector<std::int32_t> &v) {
        arr();
        for (std::int32_t x : v)
            i32(x);
        return end();
    }

    JsonBytes &append(const JsonBytes &other) {
        m_bytes.insert(m_bytes.end(), other.m_bytes.begin(), other.m_bytes.end());
        return *this;
    }

    const Bytes &bytes() const { return m_bytes; }
    std::size_t size() const { return m_bytes.size(); }

private:
    Bytes m_bytes;
    bool m_big = false;
    std::vector<std::string> m_keys;
};

// One numeric attribute, paged, all pages written out:
// [[ "scope","public","type","numeric","name",N ], [ "size",S,"storage",ST,"values",[...] ]].
inline JsonBytes &numericAttribute(JsonBytes &j, const std::string &name, int size,
                                   const std::vector<float> &values) {
    j.arr().arr().key("scope").str("public").key("type").key("numeric").key("name").str(name);
    j.key("options").map().mapEnd().end();
    j.arr().key("size").i8(static_cast<std::int8_t>(size)).key("storage").key("fpreal32");
    j.key("defaults").arr().key("size").i8(1).key("storage").key("fpreal64").key("values");
    j.uf64({0.0}).end();
    j.key("values").arr().key("size").i8(static_cast<std::int8_t>(size)).key("storage");
    j.key("fpreal32").key("pagesize").i16(1024).key("rawpagedata").uf32(values).end();
    return j.end().end();
}

// The opening of a document: counts and topology.
inline JsonBytes &documentHead(JsonBytes &j, int points, const std::vector<std::int32_t> &topology,
                               int primitives) {
    j.magic().arr().key("fileversion").str("19.5.403").key("hasindex").boolean(false);
    j.key("pointcount")
        .i32(points)
        .key("vertexcount")
        .i32(static_cast<std::int32_t>(topology.size()));
    j.key("primitivecount").i32(primitives);
    j.key("info").map().key("software").str("Houdini 19.5.403").mapEnd();
    j.key("topology").arr().key("pointref").arr().key("indices").ui32(topology).end().end();
    return j;
}

// A polygon run entry: [["type","p_r"], ["s_v",start,"n_p",n,"r_v",[count,n]]].
inline JsonBytes &polygonRun(JsonBytes &j, int start, int polygons, int count) {
    j.arr().arr().key("type").key("p_r").end();
    j.arr().key("s_v").i32(start).key("n_p").i32(polygons).key("r_v").ui8(
        {static_cast<std::int8_t>(count), static_cast<std::int8_t>(polygons)});
    return j.end().end();
}

// Two triangles (0 1 2) and (2 1 3) over four points at (i, 10i, 100i), with
// a vertex attribute "N" (vertex k: (k, -k, 0.5)).
inline JsonBytes twoTriangles() {
    JsonBytes j;
    documentHead(j, 4, {0, 1, 2, 2, 1, 3}, 2);
    j.key("attributes").arr();
    j.key("vertexattributes").arr();
    std::vector<float> n;
    for (int k = 0; k < 6; ++k)
        n.insert(n.end(), {float(k), float(-k), 0.5f});
    numericAttribute(j, "N", 3, n).end();
    j.key("pointattributes").arr();
    std::vector<float> p;
    for (int i = 0; i < 4; ++i)
        p.insert(p.end(), {float(i), float(10 * i), float(100 * i)});
    numericAttribute(j, "P", 3, p).end();
    j.end();
    j.key("primitives").arr();
    polygonRun(j, 0, 2, 3).end();
    return j.end();
}

#if KELP_WITH_BLOSC
// A .bgeo.sc container around data: chunks of chunkBytes, LZ4 with byte
// shuffle as Houdini writes them, then the index and "1fcs".
inline Bytes bloscContainer(const Bytes &data, std::size_t chunkBytes = 1 << 20) {
    Bytes out = {'s', 'c', 'f', '1', 0, 0, 0, 0, 0, 0, 0, 0};
    std::vector<std::uint64_t> starts;
    std::size_t last = 0;
    for (std::size_t at = 0; at < data.size() || at == 0; at += chunkBytes) {
        const std::size_t n = std::min(chunkBytes, data.size() - at);
        Bytes chunk(n + BLOSC_MAX_OVERHEAD);
        const int written = blosc_compress_ctx(5, BLOSC_SHUFFLE, 4, n, data.data() + at,
                                               chunk.data(), chunk.size(), "lz4", 0, 1);
        EXPECT_GT(written, 0);
        starts.push_back(out.size() - 12);
        out.insert(out.end(), chunk.begin(), chunk.begin() + written);
        last = n;
        if (n < chunkBytes)
            break;
    }
    auto be64 = [&](std::uint64_t v) {
        for (int k = 7; k >= 0; --k)
            out.push_back(static_cast<unsigned char>(v >> (8 * k)));
    };
    for (std::size_t k = 1; k < starts.size(); ++k)
        be64(starts[k]);
    be64(chunkBytes);
    be64(last);
    be64(8 * (starts.size() + 1));
    out.insert(out.end(), {'1', 'f', 'c', 's'});
    return out;
}
#else
// Never reached: the tests that build containers skip without Blosc.
inline Bytes bloscContainer(const Bytes &, std::size_t = 1 << 20) {
    ADD_FAILURE() << "built without Blosc";
    return Bytes();
}
#endif

} // namespace kelptest

#endif
