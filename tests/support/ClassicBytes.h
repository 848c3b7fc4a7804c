// Building classic binary geometry files byte by byte, for tests.
//
//   ClassicBytes b;
//   b.header(3, 1).point(0, 0, 0).point(1, 0, 0).point(0, 1, 0)
//    .runHeader(1, 1).polygon({0, 1, 2});
//   Kelp k;
//   k.loadBgeoFromMemory(b.data(), b.size(), "tri.bgeo");
//
// Everything is written big-endian, as in the files.
#ifndef KELP_TESTS_CLASSICBYTES_H
#define KELP_TESTS_CLASSICBYTES_H

#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

namespace kelptest {

typedef std::vector<unsigned char> Bytes;

class ClassicBytes {
public:
    ClassicBytes &u8(std::uint8_t v) {
        m_bytes.push_back(v);
        return *this;
    }
    ClassicBytes &u16(std::uint16_t v) { return u8(v >> 8).u8(v & 0xFF); }
    ClassicBytes &i16(std::int16_t v) { return u16(static_cast<std::uint16_t>(v)); }
    ClassicBytes &u32(std::uint32_t v) { return u16(v >> 16).u16(v & 0xFFFF); }
    ClassicBytes &i32(std::int32_t v) { return u32(static_cast<std::uint32_t>(v)); }
    ClassicBytes &f32(float v) {
        std::uint32_t bits;
        std::memcpy(&bits, &v, 4);
        return u32(bits);
    }
    ClassicBytes &raw(const std::string &text) {
        m_bytes.insert(m_bytes.end(), text.begin(), text.end());
        return *this;
    }
    ClassicBytes &raw(const Bytes &bytes) {
        m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
        return *this;
    }

    // "BgeoV", version and the eight counts.
    ClassicBytes &header(std::uint32_t points, std::uint32_t prims, std::uint32_t pointAttrs = 0,
                         std::uint32_t vertexAttrs = 0, std::uint32_t primAttrs = 0,
                         std::uint32_t detailAttrs = 0, std::uint32_t pointGroups = 0,
                         std::uint32_t primGroups = 0, std::int32_t version = 5) {
        raw("BgeoV").i32(version).u32(points).u32(prims).u32(pointGroups).u32(primGroups);
        return u32(pointAttrs).u32(vertexAttrs).u32(primAttrs).u32(detailAttrs);
    }

    // A dictionary entry of a float (0), integer (1) or vector (5) attribute:
    // name, size, type, then one default per component (given as floats;
    // integer defaults are written as i32).
    ClassicBytes &attr(const std::string &name, std::int16_t size, std::int32_t type,
                       std::initializer_list<float> defaults = {}) {
        i16(static_cast<std::int16_t>(name.size())).raw(name).i16(size).i32(type);
        std::size_t written = 0;
        for (float d : defaults) {
            if (type == 1)
                i32(static_cast<std::int32_t>(d));
            else
                f32(d);
            ++written;
        }
        for (; written < static_cast<std::size_t>(size); ++written)
            type == 1 ? i32(0) : f32(0.0f);
        return *this;
    }
    // A dictionary entry of an index (string) attribute with its table.
    ClassicBytes &indexAttr(const std::string &name, std::initializer_list<std::string> strings) {
        i16(static_cast<std::int16_t>(name.size())).raw(name).i16(1).i32(4);
        i32(static_cast<std::int32_t>(strings.size()));
        for (const std::string &s : strings)
            u16(static_cast<std::uint16_t>(s.size())).raw(s);
        return *this;
    }

    // A point record's position and weight (attribute values follow with f32/i32).
    ClassicBytes &point(float x, float y, float z, float w = 1.0f) {
        return f32(x).f32(y).f32(z).f32(w);
    }

    ClassicBytes &runHeader(std::uint16_t count, std::uint32_t type = 1) {
        return u32(0xFFFFFFFFu).u16(count).u32(type);
    }
    // A polygon body: vertex count, closure byte and the point indices
    // (16-bit unless wide). Vertex values, if any, must be written by hand.
    ClassicBytes &polygon(std::initializer_list<std::uint32_t> ids, bool wide = false,
                          char closure = '<') {
        u32(static_cast<std::uint32_t>(ids.size())).u8(static_cast<std::uint8_t>(closure));
        for (std::uint32_t id : ids)
            wide ? u32(id) : u16(static_cast<std::uint16_t>(id));
        return *this;
    }
    ClassicBytes &polygon(const std::vector<std::uint32_t> &ids, bool wide = false) {
        u32(static_cast<std::uint32_t>(ids.size())).u8('<');
        for (std::uint32_t id : ids)
            wide ? u32(id) : u16(static_cast<std::uint16_t>(id));
        return *this;
    }
    // Detail attribute count 0 and empty groups: the extra section 00 FF.
    ClassicBytes &trailer() { return u8(0x00).u8(0xFF); }

    const Bytes &bytes() const { return m_bytes; }
    const unsigned char *data() const { return m_bytes.data(); }
    std::size_t size() const { return m_bytes.size(); }

private:
    Bytes m_bytes;
};

// A gzip stream (one member) holding data.
inline Bytes gzipBytes(const Bytes &data) {
    z_stream zs{};
    deflateInit2(&zs, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY);
    Bytes out(deflateBound(&zs, static_cast<uLong>(data.size())) + 32);
    zs.next_in = const_cast<Bytef *>(data.data());
    zs.avail_in = static_cast<uInt>(data.size());
    zs.next_out = out.data();
    zs.avail_out = static_cast<uInt>(out.size());
    deflate(&zs, Z_FINISH);
    out.resize(zs.total_out);
    deflateEnd(&zs);
    return out;
}

inline Bytes readFileBytes(const std::string &path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void writeFileBytes(const std::string &path, const Bytes &bytes) {
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

} // namespace kelptest

#endif
