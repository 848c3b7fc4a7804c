#include "ClassicFile.h"

#include <algorithm>

#include <cstring>
#include <fstream>

namespace kelptest {

namespace {

class Bytes {
public:
    explicit Bytes(std::vector<unsigned char> &out) : m_out(out) {}
    void u8(unsigned char v) { m_out.push_back(v); }
    void u16(std::uint16_t v) {
        u8(static_cast<unsigned char>(v >> 8));
        u8(static_cast<unsigned char>(v));
    }
    void u32(std::uint32_t v) {
        for (int shift = 24; shift >= 0; shift -= 8)
            u8(static_cast<unsigned char>(v >> shift));
    }
    void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
    void f32(float v) {
        std::uint32_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        u32(bits);
    }
    void text(const std::string &s) {
        u16(static_cast<std::uint16_t>(s.size()));
        m_out.insert(m_out.end(), s.begin(), s.end());
    }

private:
    std::vector<unsigned char> &m_out;
};

} // namespace

std::vector<unsigned char> ClassicFile::bytes() const {
    const char magic[] = "BgeoV";
    std::vector<unsigned char> out(magic, magic + 5);
    Bytes b(out);
    b.i32(5);
    b.u32(static_cast<std::uint32_t>(positions.size()));
    b.u32(static_cast<std::uint32_t>(polygons.size()));
    b.u32(0);
    b.u32(0);
    b.u32(static_cast<std::uint32_t>(pointAttrs.size()));
    b.u32(withUv ? 1 : 0);
    b.u32(0);
    b.u32(0);

    for (const PointAttr &a : pointAttrs) {
        b.text(a.name);
        b.u16(a.vector ? 3 : 1);
        b.i32(a.vector ? 5 : 0);
        for (int c = 0; c < (a.vector ? 3 : 1); ++c)
            b.f32(0.0f);
    }
    for (std::size_t p = 0; p < positions.size(); ++p) {
        for (float c : positions[p])
            b.f32(c);
        b.f32(1.0f);
        for (const PointAttr &a : pointAttrs)
            for (int c = 0; c < (a.vector ? 3 : 1); ++c)
                b.f32(a.values[p][c]);
    }
    if (withUv) {
        b.text("uv");
        b.u16(static_cast<std::uint16_t>(uvComponents));
        b.i32(0);
        for (int c = 0; c < uvComponents; ++c)
            b.f32(0.0f);
    }

    const bool wideIds = positions.size() > 65532;
    // Three or more polygons go in runs of at most 65535, each with its own
    // header; one or two are written with a type word each.
    const bool runs = polygons.size() > 2;
    std::size_t k = 0;
    for (std::size_t i = 0; i < polygons.size(); ++i) {
        const std::vector<std::uint32_t> &poly = polygons[i];
        if (runs && i % 65535 == 0) {
            const std::size_t left = polygons.size() - i;
            b.i32(-1);
            b.u16(static_cast<std::uint16_t>(left < 65535 ? left : 65535));
            b.i32(1);
        }
        if (!runs)
            b.i32(1);
        b.u32(static_cast<std::uint32_t>(poly.size()));
        const bool open =
            std::find(openPolygons.begin(), openPolygons.end(), i) != openPolygons.end();
        b.u8(open ? ':' : '<');
        for (std::uint32_t id : poly) {
            if (wideIds)
                b.u32(id);
            else
                b.u16(static_cast<std::uint16_t>(id));
            if (withUv) {
                for (int c = 0; c < uvComponents; ++c)
                    b.f32(uvs[k][c]);
            }
            ++k;
        }
    }
    b.u8(0);
    b.u8(0xFF);
    return out;
}

bool ClassicFile::write(const std::string &path) const {
    const std::vector<unsigned char> data = bytes();
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char *>(data.data()),
               static_cast<std::streamsize>(data.size()));
    return static_cast<bool>(file);
}

} // namespace kelptest
